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
    const BlockTransfer read = TransferBlock(link, command, std::span(room).first(128));
    EXPECT_FALSE(read.ok); // 255 announced, 128 taken
    EXPECT_EQ(read.received, 128u);
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
    const BlockTransfer read = TransferBlock(link, command, block);
    EXPECT_FALSE(read.ok);
    EXPECT_EQ(read.received, 64u);
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
    const BlockTransfer read = TransferBlock(link, command, block);
    EXPECT_TRUE(read.ok);
    EXPECT_EQ(read.received, 64u);
    EXPECT_EQ(script->readSizes, (std::vector<std::size_t>{80}));
    EXPECT_EQ(block[64], 0x00);
}

struct RefusalCase
{
    const char* name;
    bool refuseFeature;
    bool refuseFetch;
    bool refuseWrite;
    std::size_t featuresSent;
    std::size_t outputsWritten;
};

class TransportRefusalTest : public ScriptedTransportTest, public ::testing::WithParamInterface<RefusalCase>
{
};

// A device that refuses what the case says and otherwise behaves.
class RefusingDevice : public ScriptedHidDevice
{
public:
    RefusingDevice(std::shared_ptr<HidScript> script, const RefusalCase& refusal)
        : ScriptedHidDevice(std::move(script)), m_refusal(refusal)
    {}
    bool SetFeature(std::span<const std::uint8_t> report) override
    {
        return ScriptedHidDevice::SetFeature(report) && !m_refusal.refuseFeature;
    }
    bool GetFeature(std::span<std::uint8_t> report) override
    {
        return ScriptedHidDevice::GetFeature(report) && !m_refusal.refuseFetch;
    }
    bool WriteOutput(std::span<const std::uint8_t> report) override
    {
        return ScriptedHidDevice::WriteOutput(report) && !m_refusal.refuseWrite;
    }

private:
    RefusalCase m_refusal;
};

TEST_P(TransportRefusalTest, RefusedReportFailsTheExchangeAndNothingFollowsIt)
{
    link.SetCommandInterface(std::make_unique<RefusingDevice>(script, GetParam()), {9, 65, 65});
    script->featureAnswer = Bytes{0x00, 0x82, 0x03, 0, 0, 0, 0, 0, 0x7A};
    std::array<std::uint8_t, 128> block{};
    CommandReport write = CommandReport::Make(0x0D, 0, 0x80);
    CommandReport read = CommandReport::Make(0x82);
    EXPECT_FALSE(TransferBlock(link, write, block).ok);
    EXPECT_FALSE(SendCommand(link, read));
    EXPECT_EQ(script->featuresSent.size(), GetParam().featuresSent);
    EXPECT_EQ(script->outputsWritten.size(), GetParam().outputsWritten);
    EXPECT_EQ(script->featureFetches, GetParam().refuseFeature ? 0u : 1u); // no fetch after a refused command
    EXPECT_EQ(clock.pauses.size(), 0u);                                    // no pause after a refused chunk
    EXPECT_EQ(read.bytes, (CommandReport{}.bytes));                        // a refused answer reads as zeros
}

INSTANTIATE_TEST_SUITE_P(Refusals, TransportRefusalTest,
                         ::testing::Values(RefusalCase{"Feature", true, false, false, 2, 0},
                                           RefusalCase{"Fetch", false, true, true, 2, 1}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(HidTransportTest, UnplugBetweenTheChunksOfAReadKeepsTheFirstChunkAndReturns)
{
    mouse.UnplugAfterCommandReports(3); // the command, its answer, the first chunk
    std::array<std::uint8_t, 128> block{};
    CommandReport command = CommandReport::Make(0x8C);
    EXPECT_EQ(TransferBlock(link, command, block).received, 64u);
    const auto factory = SimulatedMouse::FactorySettingsBlock(0);
    EXPECT_TRUE(std::equal(block.begin(), block.begin() + 64, factory.begin()));
    EXPECT_EQ(block[64], 0);
}

} // namespace
} // namespace veldrane::test
