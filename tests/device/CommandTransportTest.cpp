// The command interface: framing, the chunked block transfers and their failures.

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include <gtest/gtest.h>

#include "MouseTestSupport.h"
#include "ScriptedHidDevice.h"
#include "device/CommandSet.h"
#include "device/HidTransport.h"
#include "device/MouseSearch.h"

namespace veldrane::test {
namespace {

using namespace std::chrono_literals;

// A link whose command interface plays a script.
class ScriptedTransportTest : public ::testing::Test
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

    FakeClock clock;
    SimulatedMouse backend{clock};
    DeviceLink link{backend, clock};
    std::shared_ptr<HidScript> script = std::make_shared<HidScript>();
};

TEST_F(ScriptedTransportTest, AnnouncedLengthBeyondTheCallersRoomIsReadOnlyUpToTheRoom)
{
    Install();
    for (std::uint8_t fill : {0x01, 0x02, 0x03, 0x04}) {
        script->inputReports.push_back(Chunk(fill));
    }
    std::array<std::uint8_t, 140> room{};
    const BlockTransfer read = Read(0xFF, std::span(room).first(128));
    EXPECT_FALSE(read.ok); // 255 announced, 128 taken
    EXPECT_EQ(read.received, 128u);
    EXPECT_EQ(script->readSizes.size(), 2u);
    EXPECT_EQ(room[127], 0x02);
    EXPECT_EQ(room[128], 0x00); // nothing lands behind the room
}

TEST_F(ScriptedTransportTest, ChunkThatTimesOutCountsAsNoBytesAndEndsTheRead)
{
    Install();
    script->inputReports.push_back(Chunk(0x07));
    std::array<std::uint8_t, 128> block{};
    block.fill(0xCC);
    const BlockTransfer read = Read(0x80, block);
    EXPECT_FALSE(read.ok);
    EXPECT_EQ(read.received, 64u);
    EXPECT_EQ(script->readTimeouts, (std::vector<std::chrono::milliseconds>{1000ms, 1000ms}));
    EXPECT_EQ(block[63], 0x07);
    EXPECT_EQ(block[64], 0xCC);
}

TEST_F(ScriptedTransportTest, ChunkReadNeverAsksForMoreThanTheReceiveBuffer)
{
    Install(200);
    script->inputReports.push_back(Bytes(200, 0x09));
    std::array<std::uint8_t, 128> block{};
    const BlockTransfer read = Read(0x40, block);
    EXPECT_TRUE(read.ok);
    EXPECT_EQ(read.received, 64u);
    EXPECT_EQ(script->readSizes, (std::vector<std::size_t>{80}));
    EXPECT_EQ(block[64], 0x00);
}

// Every report the platform refuses fails its exchange, and nothing of that exchange follows it.
TEST_F(ScriptedTransportTest, RefusedReportFailsTheExchangeAndNothingFollowsIt)
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
        script->refuseFetch = script->refuseWrite = c.refuseFetchAndWrite;
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

class CommandSetTest : public MouseTest
{
protected:
    void SetUp() override { ASSERT_TRUE(FindMouse(link)); }
};

TEST_F(CommandSetTest, SettingsBlockReadOf128BytesChangesExactlyImageBytes12To91)
{
    image.bytes.fill(0xEE);
    EXPECT_TRUE(TransferSettingsBlock(link, image, BlockDirection::Read));
    const auto factory = SimulatedMouse::FactorySettingsBlock(0);
    for (std::size_t i = 0; i < kDeviceImageSize; ++i) {
        const bool inArea = i >= 0x12 && i <= 0x91;
        ASSERT_EQ(image.bytes[i], inArea ? factory[i - 0x12] : 0xEE) << "image byte " << i;
    }
    EXPECT_EQ(clock.pauses, (std::vector<std::chrono::milliseconds>{10ms}));
    const auto reports = CommandReports(mouse);
    ASSERT_EQ(reports.size(), 4u);
    EXPECT_EQ(reports[0].bytes, (Bytes{0x00, 0x8C, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x73}));
}

TEST_F(CommandSetTest, LostShortOrEmptySettingsAnswerLeavesTheAreaAsItWas)
{
    image.SettingsArea(0)[0] = 0x42;
    image.SettingsArea(0)[127] = 0x43;
    const DeviceImage before = image;
    // Garbage: 255 bytes announced, then one short report.
    for (const auto fault : {SimulatedFault::Kind::Silent, SimulatedFault::Kind::Garbage}) {
        mouse.SetFault({fault});
        EXPECT_FALSE(TransferSettingsBlock(link, image, BlockDirection::Read));
        EXPECT_EQ(image.bytes, before.bytes);
    }
    auto script = std::make_shared<HidScript>();
    script->featureAnswer = Bytes{0x00, 0x8C, 0x00, 0x00, 0, 0, 0, 0, 0x73}; // no bytes at all
    link.SetCommandInterface(std::make_unique<ScriptedHidDevice>(script), {9, 65, 65});
    EXPECT_FALSE(TransferSettingsBlock(link, image, BlockDirection::Read));
    EXPECT_EQ(image.bytes, before.bytes);
    EXPECT_TRUE(script->readSizes.empty());
    EXPECT_TRUE(clock.pauses.empty());
}

} // namespace
} // namespace veldrane::test
