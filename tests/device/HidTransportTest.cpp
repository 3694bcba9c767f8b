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

struct ChunkCase
{
    std::size_t length;
    std::size_t chunks;
};

class ChunkCountTest : public ::testing::TestWithParam<ChunkCase>
{
};

TEST_P(ChunkCountTest, RoundsTheLengthUpToWholeChunks)
{
    EXPECT_EQ(ChunkCount(GetParam().length), GetParam().chunks);
}

INSTANTIATE_TEST_SUITE_P(Lengths, ChunkCountTest,
                         ::testing::Values(ChunkCase{0, 0}, ChunkCase{1, 1}, ChunkCase{64, 1}, ChunkCase{65, 2},
                                           ChunkCase{128, 2}, ChunkCase{129, 3}, ChunkCase{255, 4}));

TEST_F(HidTransportTest, WriteCommandIsOneFeatureReportWithItsChecksumAndNoFetch)
{
    CommandReport command = CommandReport::Make(0x01, 0xFC);
    command.bytes[7] = 0x55; // whatever the caller leaves in byte 7 is replaced
    SendCommand(link, command);

    const auto reports = CommandReports(mouse);
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0].kind, ReportKind::SetFeature);
    EXPECT_EQ(reports[0].bytes, (Bytes{0x00, 0x01, 0xFC, 0x00, 0x00, 0x00, 0x00, 0x00, 0x02}));
    EXPECT_EQ(command.bytes[1], 0xFC);
    EXPECT_EQ(command.bytes[7], 0x55); // a write command stays as the caller gave it
    EXPECT_TRUE(mouse.Errors().empty());
}

TEST_F(ScriptedTransportTest, NoWriteCommandFetchesAnAnswerWhateverItsParameters)
{
    Install();
    script->featureAnswer = Bytes(9, 0xEE);
    for (std::uint8_t code : {0x00, 0x01, 0x05, 0x0C, 0x7F}) {
        CommandReport command = CommandReport::Make(code, 0xFF, 0);
        command.bytes[3] = 0xFF;
        SendCommand(link, command);
    }
    EXPECT_EQ(script->featuresSent.size(), 5u);
    EXPECT_EQ(script->featureFetches, 0u);
}

TEST_F(HidTransportTest, ReadCommandFetchesTheAnswerOverTheCallersCommand)
{
    mouse.SetProfileNumber(3);
    CommandReport command = CommandReport::Make(0x82);
    SendCommand(link, command);

    const auto reports = CommandReports(mouse);
    ASSERT_EQ(reports.size(), 2u);
    EXPECT_EQ(reports[0].bytes, (Bytes{0x00, 0x82, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x7D}));
    EXPECT_EQ(reports[1].kind, ReportKind::GetFeature);
    EXPECT_EQ(command.bytes, (std::array<std::uint8_t, 8>{0x82, 3, 0, 0, 0, 0, 0, 0x7A}));
}

TEST_F(HidTransportTest, ReadOf128BytesTakesExactlyTwoInputReportsWithoutPause)
{
    std::array<std::uint8_t, 128> block{};
    CommandReport command = CommandReport::Make(0x8C);
    EXPECT_EQ(TransferBlock(link, command, block), 128u);

    const auto reports = CommandReports(mouse);
    ASSERT_EQ(reports.size(), 4u);
    EXPECT_EQ(reports[2].kind, ReportKind::Read);
    EXPECT_EQ(reports[3].kind, ReportKind::Read);
    EXPECT_EQ(reports[2].timeout, 1000ms);
    const auto expected = SimulatedMouse::FactorySettingsBlock(0);
    EXPECT_EQ(block, expected);
    EXPECT_EQ(command.BlockLength(), 0x80);
    EXPECT_TRUE(clock.pauses.empty());
}

TEST_F(ScriptedTransportTest, AnswerOfLengthZeroReadsNoChunk)
{
    Install();
    script->featureAnswer = Bytes{0x00, 0x8C, 0x00, 0x00, 0, 0, 0, 0, 0x73};
    script->inputReports.push_back(Chunk(0x11));
    std::array<std::uint8_t, 128> block{};
    CommandReport command = CommandReport::Make(0x8C);
    EXPECT_EQ(TransferBlock(link, command, block), 0u);
    EXPECT_TRUE(script->readSizes.empty());
    EXPECT_EQ(block, (std::array<std::uint8_t, 128>{}));
}

TEST_F(HidTransportTest, WrittenBlockIsOneFeatureThenTwoOutputReportsEachFollowedBy20Ms)
{
    std::array<std::uint8_t, 128> block{};
    for (std::size_t i = 0; i < block.size(); ++i) {
        block[i] = static_cast<std::uint8_t>(i + 1);
    }
    CommandReport command = CommandReport::Make(0x0C, 0x00, 0x80);
    TransferBlock(link, command, block);

    const auto reports = CommandReports(mouse);
    ASSERT_EQ(reports.size(), 3u);
    EXPECT_EQ(reports[0].bytes, (Bytes{0x00, 0x0C, 0x00, 0x80, 0x00, 0x00, 0x00, 0x00, 0x73}));
    EXPECT_EQ(reports[1].bytes, Output(std::span(block).first(64)));
    EXPECT_EQ(reports[2].bytes, Output(std::span(block).last(64)));
    // No pause between the feature report and the first chunk; one after every chunk.
    EXPECT_EQ(reports[1].time, 0ms);
    EXPECT_EQ(reports[2].time, 20ms);
    EXPECT_EQ(clock.pauses, (std::vector<std::chrono::milliseconds>{20ms, 20ms}));
    EXPECT_EQ(mouse.SettingsBlock(0), block);
}

TEST_F(ScriptedTransportTest, ShortBlockLengthStillSendsWholeChunksOfTheBuffer)
{
    Install();
    std::array<std::uint8_t, 128> block{};
    block.fill(0x5A);
    CommandReport command = CommandReport::Make(0x0F, 0x01, 65);
    TransferBlock(link, command, block);
    ASSERT_EQ(script->outputsWritten.size(), 2u);
    EXPECT_EQ(script->outputsWritten[1], Output(std::span(block).last(64)));
}

TEST_F(ScriptedTransportTest, WriteFromASmallerBufferSendsZerosPastItsEnd)
{
    Install();
    std::array<std::uint8_t, 70> block{};
    block.fill(0x33);
    CommandReport command = CommandReport::Make(0x0D, 0x00, 0x80);
    TransferBlock(link, command, block);
    ASSERT_EQ(script->outputsWritten.size(), 2u);
    Bytes second(65, 0);
    std::fill_n(second.begin() + 1, 6, 0x33);
    EXPECT_EQ(script->outputsWritten[1], second);
}

TEST_F(ScriptedTransportTest, WithoutAMouseEveryOperationReturnsAndAReadAnswersZeros)
{
    // No command interface at all: nothing is sent, but the pauses still pace the sequence.
    CommandReport read = CommandReport::Make(0x82);
    read.bytes[5] = 0x99;
    SendCommand(link, read);
    EXPECT_EQ(read.bytes, (std::array<std::uint8_t, 8>{}));

    std::array<std::uint8_t, 128> block{};
    block.fill(0x44);
    CommandReport readBlock = CommandReport::Make(0x8C);
    EXPECT_EQ(TransferBlock(link, readBlock, block), 0u);
    EXPECT_EQ(block[0], 0x44);

    CommandReport write = CommandReport::Make(0x0C, 0, 0x80);
    TransferBlock(link, write, block);
    EXPECT_EQ(clock.pauses, (std::vector<std::chrono::milliseconds>{20ms, 20ms}));
}

TEST_F(ScriptedTransportTest, FailedFetchReadsAsEightZeroBytes)
{
    Install();
    script->featureAnswer.reset();
    CommandReport command = CommandReport::Make(0x82, 0x12, 0x34);
    SendCommand(link, command);
    EXPECT_EQ(script->featureFetches, 1u);
    EXPECT_EQ(command.bytes, (std::array<std::uint8_t, 8>{}));
}

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

TEST_F(ScriptedTransportTest, FailedChunkReadEndsTheReadAtOnce)
{
    Install();
    script->featureAnswer = Bytes{0x00, 0x8C, 0x00, 0x80, 0, 0, 0, 0, 0};
    script->readsFail = true;
    std::array<std::uint8_t, 128> block{};
    CommandReport command = CommandReport::Make(0x8C);
    EXPECT_EQ(TransferBlock(link, command, block), 0u);
    EXPECT_EQ(script->readSizes.size(), 1u);
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

TEST_F(ScriptedTransportTest, ShortChunkBringsOnlyTheBytesThatCame)
{
    Install();
    script->featureAnswer = Bytes{0x00, 0x8C, 0x00, 0x80, 0, 0, 0, 0, 0};
    script->inputReports.push_back(Bytes(11, 0x21)); // report id and ten bytes
    script->inputReports.push_back(Chunk(0x22));
    std::array<std::uint8_t, 128> block{};
    CommandReport command = CommandReport::Make(0x8C);
    EXPECT_EQ(TransferBlock(link, command, block), 10u);
    EXPECT_EQ(block[9], 0x21);
    EXPECT_EQ(block[10], 0x00);
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
