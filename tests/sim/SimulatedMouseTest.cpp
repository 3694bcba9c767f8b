#include <array>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "device/MouseSearch.h"
#include "sim/SimulatedMouse.h"
#include "support/FakeClock.h"

namespace veldrane::test {
namespace {

using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;

Bytes Feature(std::initializer_list<std::uint8_t> command)
{
    Bytes report(9, 0);
    std::copy(command.begin(), command.end(), report.begin() + 1);
    unsigned sum = 0;
    for (std::size_t i = 1; i < 8; ++i) {
        sum += report[i];
    }
    report[8] = static_cast<std::uint8_t>(0xFF - sum % 256);
    return report;
}

Bytes Output(std::uint8_t fill)
{
    Bytes report(65, fill);
    report[0] = 0;
    return report;
}

class SimulatedMouseTest : public ::testing::Test
{
protected:
    std::unique_ptr<HidDevice> OpenCommand()
    {
        return mouse.Open(SimulatedMouse::PathOf(SimulatedInterface::Command), HidOpenMode::Commands);
    }
    std::unique_ptr<HidDevice> OpenNotification()
    {
        return mouse.Open(SimulatedMouse::PathOf(SimulatedInterface::Notification), HidOpenMode::Reading);
    }

    FakeClock clock;
    SimulatedMouse mouse{clock};
};

struct MalformedCase
{
    std::string name;
    std::vector<Bytes> features; // sent in order, each followed by the outputs below
    std::vector<Bytes> outputs;
    std::string error;
};

class SimulatedMouseMalformedTest : public SimulatedMouseTest, public ::testing::WithParamInterface<MalformedCase>
{
};

TEST_P(SimulatedMouseMalformedTest, RecordsTheErrorAndTakesNothing)
{
    auto device = OpenCommand();
    const auto settings = mouse.SettingsBlock(0);
    for (const Bytes& feature : GetParam().features) {
        device->SetFeature(feature);
    }
    for (const Bytes& output : GetParam().outputs) {
        device->WriteOutput(output);
    }
    EXPECT_EQ(mouse.Errors(), (std::vector<std::string>{GetParam().error}));
    EXPECT_EQ(mouse.ModeByte(), 0x00);
    EXPECT_EQ(mouse.SettingsBlock(0), settings);
    EXPECT_EQ(mouse.MacroSlot(1)[0], 0x00);
}

Bytes WrongChecksum()
{
    Bytes report = Feature({0x01, 0xFC});
    report[8] = 0x03;
    return report;
}

Bytes Numbered()
{
    Bytes report = Feature({0x01, 0xFC});
    report[0] = 0x01;
    return report;
}

INSTANTIATE_TEST_SUITE_P(
    Reports, SimulatedMouseMalformedTest,
    ::testing::Values(
        MalformedCase{"WrongChecksum", {WrongChecksum()}, {}, "command 0x01 with checksum 0x03, expected 0x02"},
        MalformedCase{"ShortFeature", {Bytes(8, 0)}, {}, "feature report of 8 bytes, the mouse takes 9"},
        MalformedCase{"NumberedFeature", {Numbered()}, {}, "feature report with report id 0x01"},
        MalformedCase{"UnknownCommand", {Feature({0x04, 0xFC})}, {}, "unknown command 0x04"},
        MalformedCase{
            "MacroSlotZero", {Feature({0x0F, 0x00, 0x80})}, {Output(1), Output(1)}, "macro slot 0 out of range"},
        MalformedCase{"OutputWithoutCommand", {}, {Output(1)}, "output report without a block command before it"},
        MalformedCase{"ShortOutput",
                      {Feature({0x0C, 0x00, 0x80})},
                      {Bytes(64, 0)},
                      "output report of 64 bytes with report id 0x00, the mouse takes 65 bytes with id 0x00"},
        MalformedCase{"DataPhaseCutShort",
                      {Feature({0x0C, 0x00, 0x80}), Feature({0x05, 0x01})},
                      {},
                      "data phase of command 0x0C cut short after 0 bytes"},
        MalformedCase{"BlockTooLong",
                      {Feature({0x0F, 0x01, 0x81})},
                      // A refused block's chunks are taken off the wire without a further error.
                      {Output(1), Output(1), Output(1)},
                      "command 0x0F announces 129 bytes, a block has 128"}),
    [](const auto& info) { return info.param.name; });

TEST_F(SimulatedMouseTest, ButtonPressReachesEveryOpenNotificationHandle)
{
    auto first = OpenNotification();
    auto second = OpenNotification();
    mouse.PressCpiButton(3);
    EXPECT_EQ(mouse.CpiStage(), 3);
    for (auto* device : {first.get(), second.get()}) {
        std::array<std::uint8_t, 40> buffer{};
        const HidReadResult read = device->ReadInput(std::span(buffer).first(8), 0ms);
        ASSERT_EQ(read.length, 8u);
        EXPECT_EQ(Bytes(buffer.begin(), buffer.begin() + 8), (Bytes{0x06, 0x07, 0x01, 0x03, 0, 0, 0, 0}));
        EXPECT_EQ(buffer[8], 0x00); // nothing past the length asked for
    }
    mouse.PressMacroKey(2);
    std::array<std::uint8_t, 8> buffer{};
    ASSERT_EQ(first->ReadInput(buffer, 0ms).length, 8u);
    EXPECT_EQ(buffer[2], 0x09);
    EXPECT_EQ(buffer[3], 0x02);
}

struct FaultTextCase
{
    std::string text;
    std::optional<SimulatedFault> fault;
};

class SimulatedFaultParseTest : public ::testing::TestWithParam<FaultTextCase>
{
};

TEST_P(SimulatedFaultParseTest, NamesAFaultOrNothing)
{
    EXPECT_EQ(SimulatedFault::Parse(GetParam().text), GetParam().fault);
}

using Kind = SimulatedFault::Kind;
INSTANTIATE_TEST_SUITE_P(
    Texts, SimulatedFaultParseTest,
    ::testing::Values(FaultTextCase{"silent", SimulatedFault{Kind::Silent}},
                      FaultTextCase{"garbage", SimulatedFault{Kind::Garbage}},
                      FaultTextCase{"unplug-after:14", SimulatedFault{Kind::UnplugAfter, 14}},
                      FaultTextCase{"unplug-after:0", SimulatedFault{Kind::UnplugAfter, 0}},
                      FaultTextCase{"slow:250", SimulatedFault{Kind::Slow, 0, 250ms}},
                      FaultTextCase{"slow:60000", SimulatedFault{Kind::Slow, 0, 60000ms}},
                      FaultTextCase{"slow:60001", std::nullopt}, FaultTextCase{"unplug-after:", std::nullopt},
                      FaultTextCase{"unplug-after:-1", std::nullopt}, FaultTextCase{"unplug-after:3x", std::nullopt},
                      FaultTextCase{"slow: 5", std::nullopt}, FaultTextCase{"Silent", std::nullopt},
                      FaultTextCase{"", std::nullopt}, FaultTextCase{"none", std::nullopt}));

} // namespace
} // namespace veldrane::test
