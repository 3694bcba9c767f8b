// The command interface: framing, the chunked block transfers and their failures, the trace.

#include <array>
#include <string>

#include <gtest/gtest.h>

#include "MouseTestSupport.h"
#include "device/CommandSet.h"
#include "device/HidTransport.h"
#include "device/MouseSearch.h"
#include "device/ReportTrace.h"

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

    // Reads with 0x8C into `block` after the mouse announced `length` bytes.
    BlockTransfer Read(std::uint8_t length, std::span<std::uint8_t> block)
    {
        script->featureAnswer = Bytes{0x00, 0x8C, 0x00, length, 0, 0, 0, 0, 0};
        CommandReport command = CommandReport::Make(0x8C);
        return TransferBlock(link, command, block);
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
        bool ok;
        std::size_t received;
        std::vector<std::size_t> readSizes;
    } cases[] = {{"beyond the room", 65, {Chunk(1), Chunk(2), Chunk(3), Chunk(4)}, 0xFF, false, 128, {65, 65}},
                 {"time-out", 65, {Chunk(7)}, 0x80, false, 64, {65, 65}},
                 {"long input", 200, {Bytes(200, 9)}, 0x40, true, 64, {80}}};
    for (const auto& c : cases) {
        script = std::make_shared<HidScript>();
        Install(c.inputLength);
        script->inputReports.assign(c.chunks.begin(), c.chunks.end());
        std::array<std::uint8_t, 140> room;
        room.fill(0xCC);
        const BlockTransfer read = Read(c.announced, std::span(room).first(128));
        EXPECT_EQ(read.ok, c.ok) << c.name;
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
        EXPECT_FALSE(TransferBlock(link, write, block).ok);
        EXPECT_FALSE(SendCommand(link, read));
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
    ASSERT_TRUE(FindMouse(link));
    image.bytes.fill(0xEE);
    EXPECT_TRUE(TransferSettingsBlock(link, image, BlockDirection::Read));
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
        EXPECT_FALSE(TransferSettingsBlock(link, image, BlockDirection::Read));
        EXPECT_EQ(image.bytes, before.bytes);
    }
    Install();
    script->featureAnswer = Bytes{0x00, 0x8C, 0x00, 0x00, 0, 0, 0, 0, 0x73}; // no bytes at all
    EXPECT_FALSE(TransferSettingsBlock(link, image, BlockDirection::Read));
    EXPECT_EQ(image.bytes, before.bytes);
    EXPECT_TRUE(script->readSizes.empty());
    EXPECT_EQ(clock.pauses.size(), pauses);
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

} // namespace
} // namespace veldrane::test
