#include <array>
#include <cstdint>

#include <gtest/gtest.h>

#include "device/SettingsBlock.h"
#include "profile/ProfileRecord.h"

namespace veldrane {
namespace {

using Block = std::array<std::uint8_t, kSettingsBlockSize>;

// What a mouse might return: every byte different from its neighbours and from the values a patch
// writes, so that a byte written by mistake shows.
Block AsReturned()
{
    Block block{};
    for (std::size_t i = 0; i < block.size(); ++i) {
        block[i] = static_cast<std::uint8_t>(0xA0 + i);
    }
    return block;
}

Block Patched(const ProfileRecord& record)
{
    Block block = AsReturned();
    PatchSettingsBlock(record, block);
    return block;
}

TEST(PatchSettingsBlock, AngleSnapPositionsGiveTheirCodesAndNothingBeyondTheTable)
{
    const std::uint8_t codes[] = {0x00, 0x00, 0x82, 0x84, 0x85, 0x86, 0x87, 0x89, 0x8B, 0x8D, 0x8F, 0x00};
    ProfileRecord record{};
    for (std::uint8_t position = 0; position < 12; ++position) {
        record.angleSnap = position;
        EXPECT_EQ(Patched(record)[51], codes[position]) << int{position};
    }
    for (std::uint8_t position : {12, 255}) {
        record.angleSnap = position;
        EXPECT_EQ(Patched(record)[51], 0x00) << int{position};
    }
}

TEST(PatchSettingsBlock, LightingModeAndLevelGiveBytes71To73)
{
    const Block returned = AsReturned();
    ProfileRecord record{};
    record.lightMode = 0;
    record.lightLevel = {4, 4, 4};
    EXPECT_EQ(Patched(record)[71], 0);
    EXPECT_EQ(Patched(record)[72], returned[72]);
    record.lightMode = 1;
    record.lightLevel = {2, 4, 4};
    EXPECT_EQ(Patched(record)[71], 1);
    EXPECT_EQ(Patched(record)[72], 4);
    EXPECT_EQ(Patched(record)[73], 3);
    record.lightMode = 2;
    record.lightLevel = {4, 5, 4};
    EXPECT_EQ(Patched(record)[71], 2);
    EXPECT_EQ(Patched(record)[72], 5);
    // 100 x 3 = 300, kept to 8 bits: 44.
    record.lightMode = 3;
    record.lightLevel = {4, 4, 100};
    EXPECT_EQ(Patched(record)[72], 44);
    EXPECT_EQ(Patched(record)[73], returned[73]);
    record.lightMode = 7;
    EXPECT_EQ(Patched(record)[71], 7);
    EXPECT_EQ(Patched(record)[72], returned[72]);
}

TEST(PatchSettingsBlock, StageSwitchesSetOnlyBitsZeroToThree)
{
    ProfileRecord record{};
    record.cpiEnabled = {2, 1, 0, 0xFF, 1, 1}; // bytes other than 0 or 1 from an odd file
    EXPECT_EQ(Patched(record)[100], 0x0B);
}

} // namespace
} // namespace veldrane
