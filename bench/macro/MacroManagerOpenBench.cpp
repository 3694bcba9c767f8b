// The macro manager opening on a large macro file, as the main window opens it: the list of
// names, the first macro shown and its loop count written back. A file edited by hand or by
// another program can hold hundreds of thousands of sections; the figures show what the manager
// costs then, in time and in the process's peak memory (the "peak_rss_mb" counter).
#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <cstddef>
#include <string>

#include "adapters/linux/IconvTextCodec.h"
#include "core/ini/IniFile.h"
#include "core/macro/MacroFile.h"
#include "ports/Clock.h"
#include "screens/macro/MacroManagerModel.h"
#include "support/RecordingCanvas.h"
#include "support/RecordingMessageSink.h"
#include "support/TempDir.h"

namespace veldrane {
namespace {

class StillClock : public Clock
{
public:
    std::chrono::milliseconds Now() const override { return std::chrono::milliseconds{0}; }
};

// record.ini with `macros` sections of a saved two-event macro, about 125 bytes each: 400,000 of
// them make 50 MB.
std::string LargeMacroFile(std::size_t macros)
{
    std::string text;
    text.reserve(macros * 128);
    for (std::size_t n = 0; n < macros; ++n) {
        text += "[Macro_" + std::to_string(n) +
                "]\r\nDelayTimeSelStatus=1\r\nLoopTimeSelStatus=0\r\nMacroLoopTimes=1\r\nItemCount=3\r\n"
                "Item0=A   Dn\r\nItem1=120 ms\r\nItem2=A   Up\r\n";
    }
    return text;
}

double PeakRssMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0; // kilobytes on Linux
}

void BM_OpenMacroManager(benchmark::State& state)
{
    test::TempDir dir;
    IconvTextCodec codec;
    IniFile file(dir / kMacroFileName, codec);
    const std::string text = LargeMacroFile(static_cast<std::size_t>(state.range(0)));
    StillClock clock;
    MacroManagerState managerState(clock);
    test::RecordingMessageSink messages;
    test::RecordingCanvas skin;
    skin.sizes[std::string(kMacroManagerBackground)] = {500, 440};
    for (auto _ : state) {
        state.PauseTiming();
        test::WriteFileBytes(file.Path(), text);
        state.ResumeTiming();
        MacroManagerModel model({file, managerState, messages, Language::English, Colour{255, 255, 255, 255}});
        benchmark::DoNotOptimize(model.Open(skin));
        benchmark::DoNotOptimize(model.MacroNames().size());
    }
    state.counters["file_mb"] = static_cast<double>(text.size()) / (1024.0 * 1024.0);
    state.counters["peak_rss_mb"] = PeakRssMegabytes();
}
// 30,000 macros stay below the limit of the macro file (3.7 MB); 400,000 are the 50 MB file.
BENCHMARK(BM_OpenMacroManager)->Arg(12)->Arg(30000)->Arg(400000)->Unit(benchmark::kMillisecond)->Iterations(2);

} // namespace
} // namespace veldrane
