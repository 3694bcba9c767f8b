#include <array>
#include <cstdint>

#include <gtest/gtest.h>

#include "device/CommandReport.h"

namespace veldrane {
namespace {

struct ChecksumCase
{
    std::array<std::uint8_t, kCommandReportSize> command;
    std::uint8_t checksum;
};

class CommandChecksumTest : public ::testing::TestWithParam<ChecksumCase>
{
};

TEST_P(CommandChecksumTest, IsFfMinusTheSumOfBytesZeroToSix)
{
    EXPECT_EQ(CommandChecksum(GetParam().command), GetParam().checksum);
}

INSTANTIATE_TEST_SUITE_P(KnownCommands, CommandChecksumTest,
                         ::testing::Values(ChecksumCase{{0x82, 0, 0, 0, 0, 0, 0, 0}, 0x7D},       // read profile number
                                           ChecksumCase{{0x01, 0xFC, 0, 0, 0, 0, 0, 0}, 0x02},    // mode byte
                                           ChecksumCase{{0x0C, 0x00, 0x80, 0, 0, 0, 0, 0}, 0x73}, // settings block
                                           ChecksumCase{{0x0F, 0x0C, 0x80, 0, 0, 0, 0, 0}, 0x64}, // macro 12
                                           // Byte 7 as the caller left it is never part of the sum.
                                           ChecksumCase{{0x82, 0, 0, 0, 0, 0, 0, 0xAB}, 0x7D},
                                           // The sum wraps at 256: 7 x 0xFF = 0x6F9, 0xFF - 0xF9 = 0x06.
                                           ChecksumCase{{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0}, 0x06},
                                           ChecksumCase{{0, 0, 0, 0, 0, 0, 0, 0}, 0xFF}));

TEST(CommandReport, BitSevenOfTheCodeAloneMarksARead)
{
    EXPECT_TRUE(CommandReport::Make(0x82).IsRead());
    EXPECT_TRUE(CommandReport::Make(0x80).IsRead());
    EXPECT_FALSE(CommandReport::Make(0x7F, 0xFF, 0xFF).IsRead());
    EXPECT_FALSE(CommandReport::Make(0x0C).IsRead());
}

} // namespace
} // namespace veldrane
