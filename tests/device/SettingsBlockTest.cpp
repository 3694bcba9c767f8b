#include <array>
#include <cstdint>
#include <utility>

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
    // Positions 0 to 11, then two beyond the table.
    const std::uint8_t positions[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 255};
    const std::uint8_t codes[] = {0x00, 0x00, 0x82, 0x84, 0x85, 0x86, 0x87, 0x89, 0x8B, 0x8D, 0x8F, 0x00, 0x00, 0x00};
    ProfileRecord record{};
    for (std::size_t i = 0; i < std::size(positions); ++i) {
        record.angleSnap = positions[i];
        EXPECT_EQ(Patched(record)[51], codes[i]) << int{positions[i]};
    }
}

TEST(PatchSettingsBlock, SetsExactlyTheBytesTheSystemManages)
{
    ProfileRecord record{};
    record.angleSnap = 10;
    record.lightMode = 2;
    record.lightLevel = {4, 5, 4};
    record.sensitivityX = 5;
    record.sensitivityY = 7;
    record.cpiValue = {8, 16, 32, 64, 100, 120};
    record.cpiEnabled = {2, 1, 0, 0xFF, 1, 1}; // bytes other than 0 or 1 from an odd file set only their bit
    for (std::size_t i = 0; i < record.cpiColor.size(); ++i) {
        record.cpiColor[i] = static_cast<std::uint8_t>(i + 1);
    }
    Block expected = AsReturned();
    const std::pair<std::size_t, std::uint8_t> set[] = {
        {2, 1},  {50, 0x42}, {51, 0x8F}, {64, 0x0F}, {70, 4}, {71, 2},  {72, 5},  {73, 3},  {74, 100},  {75, 140},
        {84, 8}, {85, 16},   {86, 32},   {87, 64},   {92, 8}, {93, 16}, {94, 32}, {95, 64}, {100, 0x0B}};
    for (const auto& [index, value] : set) {
        expected[index] = value;
    }
    for (std::size_t i = 104; i < expected.size(); ++i) {
        expected[i] = i < 116 ? static_cast<std::uint8_t>(i - 103) : 0; // four stages' colours, then zeros
    }
    EXPECT_EQ(Patched(record), expected);
}

TEST(PatchSettingsBlock, LightingModeAndLevelGiveBytes71To73)
{
    const Block returned = AsReturned();
    const int kept = -1;
    const struct
    {
        std::uint8_t mode;
        std::array<std::uint8_t, 3> levels;
        int bytes[3];
    } cases[] = {{0, {4, 4, 4}, {0, kept, kept}}, {1, {1, 4, 4}, {0, kept, kept}}, {1, {2, 4, 4}, {1, 4, 3}},
                 {2, {4, 5, 4}, {2, 5, 3}},       {3, {4, 4, 100}, {3, 44, kept}}, // 300 kept to 8 bits
                 {7, {4, 4, 4}, {7, kept, kept}}};
    for (const auto& c : cases) {
        ProfileRecord record{};
        record.lightMode = c.mode;
        record.lightLevel = c.levels;
        const Block patched = Patched(record);
        for (std::size_t i = 0; i < 3; ++i) {
            EXPECT_EQ(patched[71 + i], c.bytes[i] == kept ? returned[71 + i] : c.bytes[i]) << int{c.mode} << " " << i;
        }
    }
}

} // namespace
} // namespace veldrane
