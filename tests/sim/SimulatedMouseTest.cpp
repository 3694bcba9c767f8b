// The simulated mouse that "Save" talks to: what it takes and refuses.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdint>
#include <numeric>
#include <optional>
#include <span>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "sim/SimulatedMouse.h"
#include "support/FakeClock.h"

namespace veldrane {
namespace {

using namespace std::chrono_literals;
using test::FakeClock;
using Bytes = std::vector<std::uint8_t>;

// A feature report: its ID, seven command bytes, and their checksum 0xFF minus their sum.
Bytes Feature(std::initializer_list<std::uint8_t> command, std::optional<std::uint8_t> checksum = {},
              std::uint8_t id = 0)
{
    Bytes report(9, 0);
    report[0] = id;
    std::copy(command.begin(), command.end(), report.begin() + 1);
    const unsigned sum = std::accumulate(report.begin() + 1, report.begin() + 8, 0u);
    report[8] = checksum.value_or(static_cast<std::uint8_t>(0xFF - sum % 256));
    return report;
}

// An output report of 64 data bytes after its ID 0.
const Bytes kOutput = [] {
    Bytes report(65, 1);
    report[0] = 0;
    return report;
}();

TEST(SimulatedMouse, AMalformedReportIsRecordedAsAnErrorAndNothingIsTaken)
{
    // Features sent in order, then the outputs, and the one error recorded.
    const std::tuple<std::vector<Bytes>, std::vector<Bytes>, std::string> cases[] = {
        {{Feature({0x01, 0xFC}, 0x03)}, {}, "command 0x01 with checksum 0x03, expected 0x02"},
        {{Bytes(8, 0)}, {}, "feature report of 8 bytes, the mouse takes 9"},
        {{Feature({0x01, 0xFC}, {}, 0x01)}, {}, "feature report with report id 0x01"},
        {{Feature({0x04, 0xFC})}, {}, "unknown command 0x04"},
        {{Feature({0x0F, 0x00, 0x80})}, {kOutput, kOutput}, "macro slot 0 out of range"},
        {{}, {kOutput}, "output report without a block command before it"},
        // A refused block's chunks are taken off the wire without a further error.
        // clang-format off
        {{Feature({0x0C, 0x00, 0x80})}, {Bytes(64, 0)},
            "output report of 64 bytes with report id 0x00, the mouse takes 65 bytes with id 0x00"},
        {{Feature({0x0C, 0x00, 0x80}), Feature({0x05, 0x01})}, {},
            "data phase of command 0x0C cut short after 0 bytes"},
        {{Feature({0x0F, 0x01, 0x81})}, {kOutput, kOutput, kOutput},
            "command 0x0F announces 129 bytes, a block has 128"}};
    // clang-format on
    for (const auto& [features, outputs, error] : cases) {
        FakeClock clock;
        SimulatedMouse mouse{clock};
        auto device = mouse.Open(SimulatedMouse::PathOf(SimulatedInterface::Command), HidOpenMode::Commands);
        const auto settings = mouse.SettingsBlock(0);
        for (const Bytes& feature : features) {
            device->SetFeature(feature);
        }
        for (const Bytes& output : outputs) {
            device->WriteOutput(output);
        }
        EXPECT_EQ(mouse.Errors(), (std::vector<std::string>{error}));
        EXPECT_EQ(mouse.ModeByte(), 0x00) << error;
        EXPECT_EQ(mouse.SettingsBlock(0), settings) << error;
        EXPECT_EQ(mouse.MacroSlot(1)[0], 0x00) << error;
    }
}

TEST(SimulatedMouse, ButtonPressReachesEveryOpenNotificationHandle)
{
    FakeClock clock;
    SimulatedMouse mouse{clock};
    const std::string path = SimulatedMouse::PathOf(SimulatedInterface::Notification);
    auto first = mouse.Open(path, HidOpenMode::Reading);
    auto second = mouse.Open(path, HidOpenMode::Reading);
    mouse.PressCpiButton(3);
    EXPECT_EQ(mouse.CpiStage(), 3);
    for (auto* device : {first.get(), second.get()}) {
        std::array<std::uint8_t, 9> buffer{};
        ASSERT_EQ(device->ReadInput(std::span(buffer).first(8), 0ms).length, 8u);
        // Eight bytes, nothing past the length asked for.
        EXPECT_EQ(Bytes(buffer.begin(), buffer.end()), (Bytes{0x06, 0x07, 0x01, 0x03, 0, 0, 0, 0, 0}));
    }
}

TEST(SimulatedFault, ParseNamesAFaultOrNothing)
{
    const std::pair<std::string, std::optional<SimulatedFault>> cases[] = {
        {"silent", SimulatedFault{SimulatedFault::Kind::Silent}},
        {"garbage", SimulatedFault{SimulatedFault::Kind::Garbage}},
        {"unplug-after:14", SimulatedFault{SimulatedFault::Kind::UnplugAfter, 14}},
        {"slow:60000", SimulatedFault{SimulatedFault::Kind::Slow, 0, 60000ms}}};
    for (const auto& [text, fault] : cases) {
        EXPECT_EQ(SimulatedFault::Parse(text), fault) << text;
    }
    for (const char* text :
         {"slow:60001", "unplug-after:", "unplug-after:-1", "unplug-after:3x", "slow: 5", "Silent", "", "none"}) {
        EXPECT_EQ(SimulatedFault::Parse(text), std::nullopt) << text;
    }
}

} // namespace
} // namespace veldrane
