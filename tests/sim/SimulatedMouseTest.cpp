#include <array>
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

TEST_F(SimulatedMouseTest, EnumeratesItsInterfacesWithTheLengthsOfTheirDescriptors)
{
    const auto interfaces = mouse.Enumerate();
    ASSERT_EQ(interfaces.size(), 3u);
    EXPECT_EQ(interfaces[0], (HidInterfaceInfo{"sim:pointer", 0x04D9, 0xA0CB, 0x0104, 0x0001, 0x0002, 4, 0, 0}));
    EXPECT_EQ(interfaces[1], (HidInterfaceInfo{"sim:command", 0x04D9, 0xA0CB, 0x0104, 0xFF00, 0xFF00, 65, 65, 9}));
    EXPECT_EQ(interfaces[2], (HidInterfaceInfo{"sim:notification", 0x04D9, 0xA0CB, 0x0104, 0xFF01, 0x0001, 8, 0, 0}));
}

TEST_F(SimulatedMouseTest, StoresTheSmallWriteCommands)
{
    auto device = OpenCommand();
    ASSERT_TRUE(device->SetFeature(Feature({0x01, 0xFC})));
    ASSERT_TRUE(device->SetFeature(Feature({0x02, 0x03})));
    ASSERT_TRUE(device->SetFeature(Feature({0x03, 0x00, 0x08})));
    ASSERT_TRUE(device->SetFeature(Feature({0x05, 0x00})));
    EXPECT_EQ(mouse.ModeByte(), 0xFC);
    EXPECT_EQ(mouse.SelectedProfile(), 3);
    EXPECT_EQ(mouse.ReportRate(), 8);
    EXPECT_EQ(mouse.SideButtonLight(), 0);
    EXPECT_TRUE(mouse.Errors().empty());
}

TEST_F(SimulatedMouseTest, AnswersTheProfileNumberWithAValidChecksum)
{
    mouse.SetProfileNumber(5);
    auto device = OpenCommand();
    device->SetFeature(Feature({0x82}));
    Bytes answer(9, 0xEE);
    answer[0] = 0;
    ASSERT_TRUE(device->GetFeature(answer));
    EXPECT_EQ(answer, (Bytes{0x00, 0x82, 0x05, 0x00, 0x00, 0x00, 0x00, 0x00, 0x78}));
}

TEST_F(SimulatedMouseTest, AnswersTheSettingsBlockReadWithItsLengthAndTwoInputReports)
{
    auto device = OpenCommand();
    device->SetFeature(Feature({0x8C, 0x00}));
    Bytes answer(9, 0);
    ASSERT_TRUE(device->GetFeature(answer));
    EXPECT_EQ(answer, (Bytes{0x00, 0x8C, 0x00, 0x80, 0x00, 0x00, 0x00, 0x00, 0xF3}));
    const auto block = SimulatedMouse::FactorySettingsBlock(0);
    for (std::size_t chunk = 0; chunk < 2; ++chunk) {
        Bytes report(65, 0xEE);
        const HidReadResult read = device->ReadInput(report, 1000ms);
        ASSERT_EQ(read.length, 65u);
        EXPECT_EQ(report[0], 0x00);
        EXPECT_TRUE(std::equal(report.begin() + 1, report.end(), block.begin() + 64 * chunk));
    }
    Bytes extra(65, 0);
    EXPECT_EQ(device->ReadInput(extra, 1000ms).length, 0u);
}

TEST_F(SimulatedMouseTest, StoresABlockOnceAllItsChunksHaveCome)
{
    auto device = OpenCommand();
    device->SetFeature(Feature({0x0F, 0x07, 0x80}));
    device->WriteOutput(Output(0x11));
    EXPECT_EQ(mouse.MacroSlot(7)[0], 0x00);
    device->WriteOutput(Output(0x22));
    EXPECT_EQ(mouse.MacroSlot(7)[0], 0x11);
    EXPECT_EQ(mouse.MacroSlot(7)[127], 0x22);
    device->SetFeature(Feature({0x0D, 0x00, 0x80}));
    device->WriteOutput(Output(0x33));
    device->WriteOutput(Output(0x44));
    EXPECT_EQ(mouse.KeyMatrix()[64], 0x44);
    EXPECT_TRUE(mouse.Errors().empty());
}

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

TEST_F(SimulatedMouseTest, FetchWithoutAReadCommandIsAnError)
{
    auto device = OpenCommand();
    Bytes answer(9, 0);
    EXPECT_FALSE(device->GetFeature(answer));
    EXPECT_EQ(mouse.Errors(), (std::vector<std::string>{"feature report fetched with no read command to answer"}));
}

TEST_F(SimulatedMouseTest, LogsEveryReportWithTheTimeOfTheInjectedClock)
{
    auto device = OpenCommand();
    device->SetFeature(Feature({0x05, 0x01}));
    clock.Advance(15ms);
    device->WriteOutput(Output(0));
    const auto log = mouse.Log();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0].time, 0ms);
    EXPECT_EQ(log[0].kind, ReportKind::SetFeature);
    EXPECT_EQ(log[0].bytes, Feature({0x05, 0x01}));
    EXPECT_EQ(log[1].time, 15ms);
    EXPECT_EQ(log[1].kind, ReportKind::Write);
}

TEST_F(SimulatedMouseTest, HandlesFromBeforeAnUnplugStayDeadAfterThePlug)
{
    auto before = OpenCommand();
    mouse.Unplug();
    EXPECT_EQ(OpenCommand(), nullptr);
    EXPECT_TRUE(mouse.Enumerate().empty());
    EXPECT_FALSE(before->SetFeature(Feature({0x01, 0xFC})));
    mouse.Plug();
    EXPECT_FALSE(before->SetFeature(Feature({0x01, 0xFC})));
    Bytes report(65, 0);
    EXPECT_TRUE(before->ReadInput(report, 1000ms).failed);
    EXPECT_EQ(mouse.ModeByte(), 0x00);
    EXPECT_FALSE(mouse.Log().back().delivered);

    auto after = OpenCommand();
    EXPECT_TRUE(after->SetFeature(Feature({0x01, 0xFC})));
    EXPECT_EQ(mouse.ModeByte(), 0xFC);
}

TEST_F(SimulatedMouseTest, PlugAndUnplugSendOneEventPerInterface)
{
    mouse.Unplug();
    mouse.Plug();
    const auto events = mouse.TakeEvents();
    ASSERT_EQ(events.size(), 6u);
    EXPECT_EQ(events[0], (HotplugEvent{HotplugEvent::Kind::Removal, "sim:pointer", 0x04D9, 0xA0CB}));
    EXPECT_EQ(events[5], (HotplugEvent{HotplugEvent::Kind::Arrival, "sim:notification", 0x04D9, 0xA0CB}));
    EXPECT_TRUE(mouse.TakeEvents().empty());
    EXPECT_FALSE(mouse.WaitForEvents(0ms));
}

TEST_F(SimulatedMouseTest, UnplugsItselfAfterTheGivenNumberOfCommandReports)
{
    auto device = OpenCommand();
    mouse.UnplugAfterCommandReports(2);
    EXPECT_TRUE(device->SetFeature(Feature({0x05, 0x00})));
    EXPECT_TRUE(device->SetFeature(Feature({0x01, 0xFC})));
    EXPECT_FALSE(mouse.IsPlugged());
    EXPECT_FALSE(device->SetFeature(Feature({0x02, 0x00})));
}

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

TEST_F(SimulatedMouseTest, NotificationReadFailsAtOnceAfterAnUnplug)
{
    auto device = OpenNotification();
    mouse.Unplug();
    std::array<std::uint8_t, 8> buffer{};
    EXPECT_TRUE(device->ReadInput(buffer, 1h).failed); // would hang the test if it waited
}

TEST_F(SimulatedMouseTest, SilentMouseTakesNothingAndAnswersNothing)
{
    mouse.SetFault(SimulatedFault::Silent);
    auto device = OpenCommand();
    EXPECT_FALSE(device->SetFeature(Feature({0x01, 0xFC})));
    Bytes answer(9, 0);
    EXPECT_FALSE(device->GetFeature(answer));
    EXPECT_EQ(mouse.ModeByte(), 0x00);
    EXPECT_TRUE(mouse.Errors().empty());
}

TEST_F(SimulatedMouseTest, GarbageMouseAnswersEveryReadWithTheSameWrongBytes)
{
    mouse.SetFault(SimulatedFault::Garbage);
    auto device = OpenCommand();
    device->SetFeature(Feature({0x8C}));
    Bytes answer(9, 0);
    ASSERT_TRUE(device->GetFeature(answer));
    EXPECT_EQ(answer, (Bytes{0x00, 0xA5, 0x3C, 0xFF, 0x96, 0x5A, 0xC3, 0x0F, 0x77}));
    Bytes report(65, 0);
    EXPECT_EQ(device->ReadInput(report, 1000ms).length, 0u);
}

TEST_F(SimulatedMouseTest, OtherDevicesComeFirstAndOnlyOpenableOnesOpen)
{
    HidInterfaceInfo other;
    other.path = "other:0";
    mouse.AddOtherInterface(other, false);
    other.path = "other:1";
    mouse.AddOtherInterface(other, true);
    const auto interfaces = mouse.Enumerate();
    ASSERT_EQ(interfaces.size(), 5u);
    EXPECT_EQ(interfaces[0].path, "other:0");
    EXPECT_EQ(mouse.Open("other:0", HidOpenMode::Commands), nullptr);
    EXPECT_NE(mouse.Open("other:1", HidOpenMode::Commands), nullptr);
    EXPECT_EQ(mouse.Open("nowhere", HidOpenMode::Commands), nullptr);
}

} // namespace
} // namespace veldrane::test
