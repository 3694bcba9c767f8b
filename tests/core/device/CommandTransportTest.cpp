// The command interface: finding it, framing, the chunked block transfers and their failures, the
// trace.

#include <array>
#include <atomic>
#include <map>
#include <string>
#include <string_view>
#include <tuple>

#include <gtest/gtest.h>

#include "MouseTestSupport.h"
#include "core/device/CommandSet.h"
#include "core/device/HidTransport.h"
#include "core/device/MouseSearch.h"
#include "core/device/ReportDescriptorParser.h"
#include "core/device/ReportTrace.h"

namespace veldrane::test {
namespace {

using namespace std::chrono_literals;

// The simulated mouse, whose command interface a test may replace with a script.
class TransportTest : public MouseTest
{
protected:
    void Install(std::uint16_t inputLength = 65)
    {
        link.SetCommandInterface(std::make_unique<ScriptedHidDevice>(script), {9, inputLength, 65});
    }

    static Bytes Chunk(std::uint8_t fill)
    {
        Bytes report(65, fill);
        report[0] = 0;
        return report;
    }

    std::shared_ptr<HidScript> script = std::make_shared<HidScript>();
};

// A read takes what came, up to the caller's room and the announced length; a chunk that times out
// counts as no bytes and ends the read; no read asks for more than the receive buffer.
TEST_F(TransportTest, ChunkedReadTakesWhatCameUpToTheRoomAndTheAnnouncedLength)
{
    const struct
    {
        const char* name;
        std::uint16_t inputLength;
        std::vector<Bytes> chunks;
        std::uint8_t announced;
        std::error_code error;
        std::size_t received;
        std::vector<std::size_t> readSizes;
    } cases[] = {
        {"beyond the room", 65, {Chunk(1), Chunk(2), Chunk(3), Chunk(4)}, 0xFF, DeviceError::ShortBlock, 128, {65, 65}},
        {"time-out", 65, {Chunk(7)}, 0x80, DeviceError::ShortBlock, 64, {65, 65}},
        {"long input", 200, {Bytes(200, 9)}, 0x40, {}, 64, {80}}};
    for (const auto& c : cases) {
        script = std::make_shared<HidScript>();
        Install(c.inputLength);
        script->inputReports.assign(c.chunks.begin(), c.chunks.end());
        std::array<std::uint8_t, 140> room;
        room.fill(0xCC);
        // A read with 0x8C after the mouse announced its length.
        script->featureAnswer = Bytes{0x00, 0x8C, 0x00, c.announced, 0, 0, 0, 0, 0};
        CommandReport command = CommandReport::Make(0x8C);
        const BlockTransfer read = TransferBlock(link, command, std::span(room).first(128));
        EXPECT_EQ(read.outcome.error, c.error) << c.name;
        EXPECT_EQ(read.outcome.command, c.error ? 0x8C : 0) << c.name;
        EXPECT_EQ(read.received, c.received) << c.name;
        EXPECT_EQ(script->readSizes, c.readSizes) << c.name;
        EXPECT_EQ(script->readTimeouts, std::vector(c.readSizes.size(), 1000ms)) << c.name;
        std::array<std::uint8_t, 140> expected;
        expected.fill(0xCC); // nothing lands behind what came
        for (std::size_t i = 0; i < c.received; ++i) {
            expected[i] = c.chunks[i / 64][1 + i % 64];
        }
        EXPECT_EQ(room, expected) << c.name;
    }
}

// Every report the platform refuses fails its exchange, and nothing of that exchange follows it.
TEST_F(TransportTest, RefusedReportFailsTheExchangeAndNothingFollowsIt)
{
    const struct
    {
        bool refuseFeature;
        bool refuseFetchAndWrite;
        std::size_t outputsWritten;
        std::size_t featureFetches;
    } cases[] = {{true, false, 0, 0}, {false, true, 1, 1}};
    for (const auto& c : cases) {
        script = std::make_shared<HidScript>();
        Install();
        script->refuseFeature = c.refuseFeature;
        script->refuseAnswers = c.refuseFetchAndWrite;
        script->featureAnswer = Bytes{0x00, 0x82, 0x03, 0, 0, 0, 0, 0, 0x7A};
        std::array<std::uint8_t, 128> block{};
        CommandReport write = CommandReport::Make(0x0D, 0, 0x80);
        CommandReport read = CommandReport::Make(0x82);
        const DeviceOutcome written = TransferBlock(link, write, block).outcome;
        EXPECT_EQ(std::tuple(written.error, written.command),
                  std::tuple(make_error_code(DeviceError::ReportNotTaken), 0x0D));
        // However the request of a read fails, the mouse did not answer it.
        const DeviceOutcome answered = SendCommand(link, read);
        EXPECT_EQ(std::tuple(answered.error, answered.command),
                  std::tuple(make_error_code(DeviceError::NoAnswer), 0x82));
        EXPECT_EQ(script->featuresSent.size(), 2u);
        EXPECT_EQ(script->outputsWritten.size(), c.outputsWritten);
        EXPECT_EQ(script->featureFetches, c.featureFetches); // no fetch after a refused command
        EXPECT_TRUE(clock.pauses.empty());                   // no pause after a refused chunk
        EXPECT_EQ(read.bytes, (CommandReport{}.bytes));      // a refused answer reads as zeros
    }
}

// A read of the 128 bytes changes exactly image bytes 0x12 to 0x91; a lost, short or empty answer
// leaves them as they were.
TEST_F(TransportTest, SettingsBlockReadChangesExactlyTheAreaAndAFailedOneNothing)
{
    ASSERT_TRUE(FindMouse(link).Done());
    image.bytes.fill(0xEE);
    EXPECT_TRUE(TransferSettingsBlock(link, image, BlockDirection::Read).Done());
    const auto factory = SimulatedMouse::FactorySettingsBlock(0);
    for (std::size_t i = 0; i < kDeviceImageSize; ++i) {
        const bool inArea = i >= 0x12 && i <= 0x91;
        ASSERT_EQ(image.bytes[i], inArea ? factory[i - 0x12] : 0xEE) << "image byte " << i;
    }
    image.SettingsArea(0).front() = 0x42; // not what the mouse would send again
    image.SettingsArea(0).back() = 0x43;
    const DeviceImage before = image;
    const std::size_t pauses = clock.pauses.size();
    // Garbage: 255 bytes announced, then one short report.
    for (const auto fault : {SimulatedFault::Kind::Silent, SimulatedFault::Kind::Garbage}) {
        mouse.SetFault({fault});
        EXPECT_EQ(TransferSettingsBlock(link, image, BlockDirection::Read).error, DeviceError::ShortBlock);
        EXPECT_EQ(image.bytes, before.bytes);
    }
    Install();
    script->featureAnswer = Bytes{0x00, 0x8C, 0x00, 0x00, 0, 0, 0, 0, 0x73}; // no bytes at all
    EXPECT_EQ(TransferSettingsBlock(link, image, BlockDirection::Read).error, DeviceError::ShortBlock);
    EXPECT_EQ(image.bytes, before.bytes);
    EXPECT_TRUE(script->readSizes.empty());
    EXPECT_EQ(clock.pauses.size(), pauses);
}

// The mouse answers 0x82 with its profile number, 0 to 5; without an answer the image keeps the
// number it had, rather than a made-up profile 0.
TEST_F(TransportTest, ProfileNumberReadTakesAnAnswerAndNamesAWrongOne)
{
    const struct
    {
        std::uint8_t answer;
        bool refused;
        std::error_code error;
        std::uint8_t number;
    } cases[] = {{5, false, {}, 5}, {6, false, DeviceError::WrongAnswer, 6}, {2, true, DeviceError::NoAnswer, 0xEE}};
    for (const auto& c : cases) {
        script = std::make_shared<HidScript>();
        Install();
        script->refuseAnswers = c.refused;
        script->featureAnswer = Bytes{0x00, 0x82, c.answer, 0, 0, 0, 0, 0, 0};
        image.bytes[kImageProfileNumber] = 0xEE;
        const DeviceOutcome read = ReadCurrentProfile(link, image);
        EXPECT_EQ(read.error, c.error) << int{c.answer};
        EXPECT_EQ(image.bytes[kImageProfileNumber], c.number) << int{c.answer};
    }
}

TEST_F(TransportTest, TraceWritesEachReportWithItsTimeKindAndBytes)
{
    std::vector<std::string> lines;
    ReportTrace trace{[&](const std::string& line) { lines.push_back(line); }, clock};
    TracingHidBackend tracing{mouse, trace};
    const auto device = tracing.Open(SimulatedMouse::PathOf(SimulatedInterface::Command), HidOpenMode::Commands);
    ASSERT_NE(device, nullptr);
    clock.Advance(250ms); // the trace counts from its own start
    ASSERT_TRUE(device->SetFeature(Feature({0x82})));
    clock.Advance(16ms);
    Bytes answer(9, 0);
    ASSERT_TRUE(device->GetFeature(answer));
    // The mouse answers 0x82 with its profile number, 0 here.
    EXPECT_EQ(lines, (std::vector<std::string>{"+250 SET_FEATURE 00 82 00 00 00 00 00 00 7D",
                                               "+266 GET_FEATURE 00 82 00 00 00 00 00 00 7D"}));
}

// The simulated mouse, noting how each path was opened.
class OpenRecordingBackend : public HidBackend
{
public:
    explicit OpenRecordingBackend(SimulatedMouse& mouse) : m_mouse(mouse) {}
    std::vector<HidInterfaceInfo> Enumerate() override { return m_mouse.Enumerate(); }
    std::unique_ptr<HidDevice> Open(const std::string& path, HidOpenMode mode) override
    {
        opened[path] = mode;
        return m_mouse.Open(path, mode);
    }

    std::map<std::string, HidOpenMode> opened;

private:
    SimulatedMouse& m_mouse;
};

using MouseSearchTest = MouseTest;

// On Linux most HID nodes of other devices are not open to the user; they must not hide the
// mouse. Listed first and open to the user, a too long command interface still does not stand in
// for it.
TEST_F(MouseSearchTest, FindsBothInterfacesWhateverTheOrderPastOtherDevicesAndTooLongInputs)
{
    HidInterfaceInfo command{"fits", kMouseVendorId, kMouseProductId, 0, kCommandUsagePage, kCommandUsage, 80, 65, 9};
    EXPECT_EQ(ClassifyInterface(command), MouseInterfaceRole::Command);
    command.path = "mouse:long";
    command.inputReportLength = 81;
    EXPECT_EQ(ClassifyInterface(command), MouseInterfaceRole::Other);
    HidInterfaceInfo other{"other:locked", 0x046D, 0xC077, 0, 0x0001, 0x0002, 5};
    mouse.AddOtherInterface(other, false);
    other.path = "other:open";
    mouse.AddOtherInterface(other, true);
    mouse.AddOtherInterface(command, true);
    using I = SimulatedInterface;
    const std::vector<std::vector<I>> orders = {{I::Pointer, I::Command, I::Notification},
                                                {I::Command, I::Notification, I::Pointer},
                                                {I::Notification, I::Pointer, I::Command}};
    for (const auto& order : orders) {
        mouse.SetInterfaceOrder(order);
        OpenRecordingBackend backend(mouse);
        DeviceLink searched{backend, clock};
        ASSERT_TRUE(FindMouse(searched).Done());
        EXPECT_EQ(backend.opened, (std::map<std::string, HidOpenMode>{
                                      {SimulatedMouse::PathOf(I::Command), HidOpenMode::Commands},
                                      {SimulatedMouse::PathOf(I::Notification), HidOpenMode::Reading}}));
        const CommandReportLengths lengths = searched.CommandLengths();
        EXPECT_EQ(std::tuple(lengths.feature, lengths.input, lengths.output), std::tuple(9, 65, 65));
        const std::atomic<bool> stop{false};
        const auto listener = searched.WaitForListenerInterface(0, stop);
        ASSERT_TRUE(listener); // the search opened it, or the wait would not end
        EXPECT_EQ(listener->inputLength, 8);
        // Commands reach the simulated mouse's command interface.
        mouse.ClearLog();
        EXPECT_TRUE(SendModeByte(searched, image).Done());
        const auto reports = CommandReports(mouse);
        ASSERT_EQ(reports.size(), 1u);
        EXPECT_TRUE(reports[0].delivered);
    }
}

using Descriptor = std::vector<std::uint8_t>;

// "06 00 FF": a descriptor as the tools that dump one print it.
Descriptor Hex(std::string_view text)
{
    Descriptor bytes;
    for (std::size_t i = 0; i + 1 < text.size(); i += 3) {
        bytes.push_back(static_cast<std::uint8_t>(std::stoi(std::string(text.substr(i, 2)), nullptr, 16)));
    }
    return bytes;
}

TEST(ReportDescriptorParser, GivesTheWindowsLengthsOfEveryTopLevelCollection)
{
    const auto pointer = SimulatedMouse::ReportDescriptor(SimulatedInterface::Pointer);
    const struct
    {
        const char* name;
        Descriptor descriptor;
        bool numbered;
        std::vector<TopLevelCollection> collections;
    } cases[] = {// 3 button bits + 5 padding bits + X + Y = 3 bytes, so 4; the physical collection inside
                 // the application collection is not a top-level collection.
                 {"boot mouse", {pointer.begin(), pointer.end()}, false, {{0x0001, 0x0002, 4, 0, 0}}},
                 // A wireless receiver's three vendor collections on one node: reports 0x10 (6 bytes) give 7,
                 // 0x11 (19 bytes) 20; of 0x20 (14 bytes) and 0x21 (31 bytes) the longest counts: 32.
                 {"receiver",
                  Hex("06 00 FF 09 01 A1 01 85 10 75 08 95 06 15 00 26 FF 00 09 01 81 00 09 01 91 00 C0 "
                      "06 00 FF 09 02 A1 01 85 11 75 08 95 13 15 00 26 FF 00 09 02 81 00 09 02 91 00 C0 "
                      "06 00 FF 09 04 A1 01 85 20 75 08 95 0E 15 00 26 FF 00 09 41 81 00 09 41 91 00 "
                      "85 21 95 1F 15 00 26 FF 00 09 42 81 00 09 42 91 00 C0"),
                  true,
                  {{0xFF00, 0x0001, 7, 7, 0}, {0xFF00, 0x0002, 20, 20, 0}, {0xFF00, 0x0004, 32, 32, 0}}},
                 // Usage 0xFF000001 in four bytes carries its page; Push keeps size 8 and count 4 while the
                 // input uses 16 x 2, and Pop brings them back for the feature: 4 + 1 and 4 + 1.
                 {"push and pop",
                  Hex("0B 01 00 00 FF A1 01 75 08 95 04 A4 75 10 95 02 81 02 B4 B1 02 C0"),
                  false,
                  {{0xFF00, 0x0001, 5, 0, 5}}},
                 // A long item (0xFE, size 2, tag) in the middle is stepped over.
                 {"long item",
                  Hex("06 00 FF 09 01 A1 01 FE 02 10 AA BB 75 08 95 02 81 02 C0"),
                  false,
                  {{0xFF00, 0x0001, 3, 0, 0}}},
                 // Report Size 0xFFFFFFFF x Report Count 0xFFFFFFFF, twice, is capped at 65535.
                 {"huge",
                  Hex("06 00 FF 09 01 A1 01 77 FF FF FF FF 97 FF FF FF FF 81 02 81 02 C0"),
                  false,
                  {{0xFF00, 0x0001, 0xFFFF, 0, 0}}}};
    for (const auto& c : cases) {
        const ReportDescriptorInfo info = ParseReportDescriptor(c.descriptor);
        EXPECT_EQ(info.numberedReports, c.numbered) << c.name;
        EXPECT_EQ(info.collections, c.collections) << c.name;
    }
}

} // namespace
} // namespace veldrane::test
