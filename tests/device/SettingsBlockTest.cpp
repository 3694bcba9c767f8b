#include <array>
#include <cstdint>
#include <vector>

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

ProfileRecord SomeRecord()
{
    ProfileRecord record{};
    record.angleSnap = 4;
    record.lightMode = 2;
    record.lightLevel = {3, 5, 2};
    record.sensitivityX = 11;
    record.sensitivityY = 6;
    record.cpiValue = {16, 32, 48, 64, 80, 96};
    record.cpiEnabled = {1, 0, 1, 1, 1, 1};
    for (std::size_t i = 0; i < record.cpiColor.size(); ++i) {
        record.cpiColor[i] = static_cast<std::uint8_t>(0x10 + i);
    }
    return record;
}

TEST(PatchSettingsBlock, WritesEveryManagedByte)
{
    Block block = AsReturned();
    PatchSettingsBlock(SomeRecord(), block);
    EXPECT_EQ(block[2], 1);
    EXPECT_EQ(block[50], 0x42);
    EXPECT_EQ(block[51], 0x85); // angle snap position 4
    EXPECT_EQ(block[64], 0x0F);
    EXPECT_EQ(block[70], 4);
    EXPECT_EQ(block[71], 2);
    EXPECT_EQ(block[72], 5);
    EXPECT_EQ(block[73], 3);
    EXPECT_EQ(block[74], 220);
    EXPECT_EQ(block[75], 120);
    EXPECT_EQ((std::vector<std::uint8_t>(block.begin() + 84, block.begin() + 88)),
              (std::vector<std::uint8_t>{0x10, 0x20, 0x30, 0x40}));
    EXPECT_EQ((std::vector<std::uint8_t>(block.begin() + 92, block.begin() + 96)),
              (std::vector<std::uint8_t>{0x10, 0x20, 0x30, 0x40}));
    EXPECT_EQ(block[100], 0x0D);
    for (std::size_t i = 0; i < 12; ++i) {
        EXPECT_EQ(block[104 + i], 0x10 + i) << "colour byte " << i;
    }
    for (std::size_t i = 116; i < 128; ++i) {
        EXPECT_EQ(block[i], 0) << "byte " << i;
    }
}

TEST(PatchSettingsBlock, LeavesEveryUnmanagedByteAsTheMouseReturnedIt)
{
    // 0, 1, 3-49, 52-63, 65-69, 76-83, 88-91, 96-99 and 101-103; lighting mode 2 writes 71 to 73.
    std::vector<std::size_t> kept = {0, 1};
    auto keep = [&](std::size_t from, std::size_t to) {
        for (std::size_t i = from; i <= to; ++i) {
            kept.push_back(i);
        }
    };
    keep(3, 49);
    keep(52, 63);
    keep(65, 69);
    keep(76, 83);
    keep(88, 91);
    keep(96, 99);
    keep(101, 103);

    const Block returned = AsReturned();
    Block block = returned;
    PatchSettingsBlock(SomeRecord(), block);
    for (std::size_t i : kept) {
        EXPECT_EQ(block[i], returned[i]) << "byte " << i;
    }
}

struct AngleSnapCase
{
    std::uint8_t position;
    std::uint8_t code;
};

class AngleSnapTest : public ::testing::TestWithParam<AngleSnapCase>
{
};

TEST_P(AngleSnapTest, PositionGivesItsCode)
{
    ProfileRecord record = SomeRecord();
    record.angleSnap = GetParam().position;
    Block block = AsReturned();
    PatchSettingsBlock(record, block);
    EXPECT_EQ(block[51], GetParam().code);
}

INSTANTIATE_TEST_SUITE_P(Table, AngleSnapTest,
                         ::testing::Values(AngleSnapCase{0, 0x00}, AngleSnapCase{1, 0x00}, AngleSnapCase{2, 0x82},
                                           AngleSnapCase{3, 0x84}, AngleSnapCase{4, 0x85}, AngleSnapCase{5, 0x86},
                                           AngleSnapCase{6, 0x87}, AngleSnapCase{7, 0x89}, AngleSnapCase{8, 0x8B},
                                           AngleSnapCase{9, 0x8D}, AngleSnapCase{10, 0x8F}, AngleSnapCase{11, 0x00},
                                           // Beyond the table: no read past it, the neutral code.
                                           AngleSnapCase{12, 0x00}, AngleSnapCase{255, 0x00}));

struct LightingCase
{
    const char* name;
    std::uint8_t mode;
    std::array<std::uint8_t, 3> levels;
    std::array<int, 3> bytes; // 71, 72, 73; -1 for kept
};

class LightingTest : public ::testing::TestWithParam<LightingCase>
{
};

TEST_P(LightingTest, ModeAndLevelGiveBytes71To73)
{
    ProfileRecord record = SomeRecord();
    record.lightMode = GetParam().mode;
    record.lightLevel = GetParam().levels;
    const Block returned = AsReturned();
    Block block = returned;
    PatchSettingsBlock(record, block);
    for (std::size_t i = 0; i < 3; ++i) {
        const int expected = GetParam().bytes[i];
        EXPECT_EQ(block[71 + i], expected < 0 ? returned[71 + i] : expected) << "byte " << 71 + i;
    }
}

INSTANTIATE_TEST_SUITE_P(Table, LightingTest,
                         ::testing::Values(LightingCase{"Off", 0, {4, 4, 4}, {0, -1, -1}},
                                           LightingCase{"SingleColourLevelOne", 1, {1, 4, 4}, {0, -1, -1}},
                                           LightingCase{"SingleColourLevelTwo", 1, {2, 4, 4}, {1, 4, 3}},
                                           LightingCase{"SingleColourLevelSix", 1, {6, 4, 4}, {1, 12, 3}},
                                           LightingCase{"Pulsating", 2, {4, 5, 4}, {2, 5, 3}},
                                           LightingCase{"MultiColour", 3, {4, 4, 6}, {3, 18, -1}},
                                           // 100 x 3 = 300, kept to 8 bits: 44.
                                           LightingCase{"MultiColourWraps", 3, {4, 4, 100}, {3, 44, -1}},
                                           LightingCase{"UnknownMode", 7, {4, 4, 4}, {7, -1, -1}}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(PatchSettingsBlock, SensitivityTimesTwentyIsKeptToEightBits)
{
    ProfileRecord record = SomeRecord();
    record.sensitivityX = 13; // 260
    record.sensitivityY = 1;
    Block block = AsReturned();
    PatchSettingsBlock(record, block);
    EXPECT_EQ(block[74], 4);
    EXPECT_EQ(block[75], 20);
}

TEST(PatchSettingsBlock, StageSwitchesSetOnlyBitsZeroToThree)
{
    ProfileRecord record = SomeRecord();
    record.cpiEnabled = {2, 1, 0, 0xFF, 1, 1}; // bytes other than 0 or 1 from an odd file
    Block block = AsReturned();
    PatchSettingsBlock(record, block);
    EXPECT_EQ(block[100], 0x0B);
}

TEST(PatchSettingsBlock, StagesFiveAndSixAreNotSent)
{
    ProfileRecord record = SomeRecord();
    record.cpiValue = {1, 2, 3, 4, 0x55, 0x66};
    const Block returned = AsReturned();
    Block block = returned;
    PatchSettingsBlock(record, block);
    EXPECT_EQ(block[88], returned[88]);
    EXPECT_EQ(block[89], returned[89]);
    EXPECT_EQ(block[96], returned[96]);
}

} // namespace
} // namespace veldrane
