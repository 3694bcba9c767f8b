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

class HidTransportTest : public MouseTest
{
protected:
    void SetUp() override { ASSERT_TRUE(FindMouse(link)); }
};

// A link whose command interface plays a script.
class ScriptedTransportTest : public ::testing::Test
{
protected:
    void Install(std::uint16_t inputLength = 65)
    {
        link.SetCommandInterface(std::make_unique<ScriptedHidDevice>(script), {9, inputLength, 65});
    }

    static std::vector<std::uint8_t> Chunk(std::uint8_t fill)
    {
        std::vector<std::uint8_t> report(65, fill);
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
    script->featureAnswer = Bytes{0x00, 0x8C, 0x00, 0xFF, 0, 0, 0, 0, 0};
    for (std::uint8_t fill : {0x01, 0x02, 0x03, 0x04}) {
        script->inputReports.push_back(Chunk(fill));
    }
    std::array<std::uint8_t, 140> room{};
    CommandReport command = CommandReport::Make(0x8C);
    EXPECT_EQ(TransferBlock(link, command, std::span(room).first(128)), 128u);
    EXPECT_EQ(script->readSizes.size(), 2u);
    EXPECT_EQ(room[127], 0x02);
    EXPECT_EQ(room[128], 0x00); // nothing lands behind the room
}

TEST_F(ScriptedTransportTest, ChunkThatTimesOutCountsAsNoBytesAndEndsTheRead)
{
    Install();
    script->featureAnswer = Bytes{0x00, 0x8C, 0x00, 0x80, 0, 0, 0, 0, 0};
    script->inputReports.push_back(Chunk(0x07));
    std::array<std::uint8_t, 128> block{};
    block.fill(0xCC);
    CommandReport command = CommandReport::Make(0x8C);
    EXPECT_EQ(TransferBlock(link, command, block), 64u);
    EXPECT_EQ(script->readTimeouts, (std::vector<std::chrono::milliseconds>{1000ms, 1000ms}));
    EXPECT_EQ(block[63], 0x07);
    EXPECT_EQ(block[64], 0xCC);
}

TEST_F(ScriptedTransportTest, ChunkReadNeverAsksForMoreThanTheReceiveBuffer)
{
    Install(200);
    script->featureAnswer = Bytes{0x00, 0x8C, 0x00, 0x40, 0, 0, 0, 0, 0};
    script->inputReports.push_back(Bytes(200, 0x09));
    std::array<std::uint8_t, 128> block{};
    CommandReport command = CommandReport::Make(0x8C);
    EXPECT_EQ(TransferBlock(link, command, block), 64u);
    EXPECT_EQ(script->readSizes, (std::vector<std::size_t>{80}));
    EXPECT_EQ(block[64], 0x00);
}

TEST_F(HidTransportTest, UnplugBetweenTheChunksOfAReadKeepsTheFirstChunkAndReturns)
{
    mouse.UnplugAfterCommandReports(3); // the command, its answer, the first chunk
    std::array<std::uint8_t, 128> block{};
    CommandReport command = CommandReport::Make(0x8C);
    EXPECT_EQ(TransferBlock(link, command, block), 64u);
    const auto factory = SimulatedMouse::FactorySettingsBlock(0);
    EXPECT_TRUE(std::equal(block.begin(), block.begin() + 64, factory.begin()));
    EXPECT_EQ(block[64], 0);
}

} // namespace
} // namespace veldrane::test
