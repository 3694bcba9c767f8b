#include <benchmark/benchmark.h>

#include <chrono>
#include <string>

#include "adapters/linux/IconvTextCodec.h"
#include "adapters/linux/SteadyClock.h"
#include "core/device/DeviceImage.h"
#include "core/device/DeviceLink.h"
#include "core/device/MouseSearch.h"
#include "core/device/ProfileDownload.h"
#include "core/profile/ConfigFiles.h"
#include "core/profile/ProfileRecord.h"
#include "ports/MessageSink.h"
#include "sim/SimulatedMouse.h"
#include "support/TempDir.h"

namespace veldrane {
namespace {

class NoMessages : public MessageSink
{
public:
    void ShowMessage(std::string_view, std::string_view) override {}
    void ShowBalloon(std::string_view, std::string_view, std::chrono::milliseconds) override {}
};

// Wall time of whole downloads divided by the 842 ms of pauses they must make: what the sleeper's
// overshoot, the transport and the file writes before it add. The goal is 1.03 at most.
void DownloadProfileAgainstItsPauses(benchmark::State& state)
{
    SteadyClock clock;
    SimulatedMouse mouse(clock);
    DeviceLink link(mouse, clock);
    DeviceImage image;
    test::TempDir dir;
    test::WriteFileBytes(dir / "config0.bin", std::string(kConfigFileSize, '\0'));
    NoMessages messages;
    IconvTextCodec codec;
    ConfigFiles files(dir.Path(), codec);
    ProfileRecord record{};
    record.reportRate = 1;
    record.cpiValue = {16, 32, 48, 64, 80, 96};
    record.macroData.fill(0x5A);
    if (!FindMouse(link).Done()) {
        state.SkipWithError("the simulated mouse was not found");
        return;
    }

    std::chrono::steady_clock::duration total{};
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        if (!DownloadProfile(link, image, record, files).Taken()) {
            state.SkipWithError("the simulated mouse did not take the profile");
            return;
        }
        total += std::chrono::steady_clock::now() - start;
    }
    const double pauses = std::chrono::duration<double>(kDownloadPauseTotal).count() * state.iterations();
    state.counters["pause_ratio"] = std::chrono::duration<double>(total).count() / pauses;
    state.counters["pauses_ms"] = static_cast<double>(kDownloadPauseTotal.count());
}

BENCHMARK(DownloadProfileAgainstItsPauses)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

} // namespace
} // namespace veldrane
