#include "HexBlock.h"

#include <gtest/gtest.h>

namespace veldrane::ctl {
namespace {

TEST(HexBlock, PrintsSixteenUpperCaseBytesToALine)
{
    std::vector<std::uint8_t> bytes(18);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<std::uint8_t>(0xF0 + i);
    }
    EXPECT_EQ(FormatHexLines(bytes), "F0 F1 F2 F3 F4 F5 F6 F7 F8 F9 FA FB FC FD FE FF\n00 01\n");
    EXPECT_EQ(FormatHexLines({}), "");
}

TEST(HexBlock, ReadsEitherCaseWithOrWithoutBlanksAndItsOwnOutput)
{
    std::string error;
    EXPECT_EQ(ParseHexBytes("0aFf 7c\t\r\n 00", error), (std::vector<std::uint8_t>{0x0A, 0xFF, 0x7C, 0x00}));
    const std::vector<std::uint8_t> bytes(40, 0xA5);
    EXPECT_EQ(ParseHexBytes(FormatHexLines(bytes), error), bytes);
    EXPECT_EQ(ParseHexBytes("", error), std::vector<std::uint8_t>{});
}

struct BadHex
{
    const char* text;
    const char* error;
};

class HexBlockBadTest : public ::testing::TestWithParam<BadHex>
{
};

TEST_P(HexBlockBadTest, RefusesAnythingButPairsOfHexDigits)
{
    std::string error;
    EXPECT_EQ(ParseHexBytes(GetParam().text, error), std::nullopt);
    EXPECT_EQ(error, GetParam().error);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, HexBlockBadTest,
    ::testing::Values(BadHex{"00 0G", "not a hex byte at character 5"}, BadHex{"0 00", "not a hex byte at character 2"},
                      BadHex{"0x00", "not a hex byte at character 2"}, BadHex{"00,01", "not a hex byte at character 3"},
                      BadHex{"00 1", "odd number of hex digits"}, BadHex{"-1", "not a hex byte at character 1"}));

} // namespace
} // namespace veldrane::ctl
