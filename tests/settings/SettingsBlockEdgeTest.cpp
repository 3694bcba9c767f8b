#include "device/SettingsBlock.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <map>
#include <string>

#include "profile/ProfileRecord.h"

namespace veldrane {
namespace {

using Block = std::array<std::uint8_t, kSettingsBlockSize>;

// A block as a mouse might return it: byte i holds 255 - i, so a byte that moves or is written
// by mistake shows.
Block AsReturned()
{
    Block block{};
    for (std::size_t i = 0; i < block.size(); ++i) {
        block[i] = static_cast<std::uint8_t>(255 - i);
    }
    return block;
}

struct EdgeCase
{
    const char* name;
    ProfileRecord record;
    // Every byte that differs from the block as returned, worked out by hand.
    std::map<std::size_t, std::uint8_t> written;
};

// Bytes 104 to 127 are cleared and take the colours of stages 1 to 4 (12 bytes): the colours below
// are 1, 2, ..., 12, and 13 onwards belong to stages 5 and 6, which are not sent.
ProfileRecord WithColours(ProfileRecord record)
{
    for (std::size_t i = 0; i < record.cpiColor.size(); ++i) {
        record.cpiColor[i] = static_cast<std::uint8_t>(i + 1);
    }
    return record;
}

std::map<std::size_t, std::uint8_t> ColourBytes()
{
    std::map<std::size_t, std::uint8_t> bytes;
    const std::uint8_t colours[24] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    for (std::size_t i = 0; i < 24; ++i) {
        bytes[104 + i] = colours[i];
    }
    return bytes;
}

EdgeCase HighestAndLowestCpi()
{
    ProfileRecord record{};
    record.cpiValue = {164, 1, 164, 1, 0x55, 0x66}; // 8200 and 50 CPI; stages 5 and 6 stay home
    record.cpiEnabled = {1, 0, 2, 0, 1, 1};         // a 2 from a file still sets only its own bit
    record.sensitivityX = 11;                       // 220
    record.sensitivityY = 1;                        // 20
    record.angleSnap = 1;                           // off
    record.lightMode = 1;                           // "Single color" at level 1: light off
    record.lightLevel = {1, 6, 6};
    auto written = ColourBytes();
    written.insert({{2, 1},
                    {50, 0x42},
                    {51, 0x00},
                    {64, 0x0F},
                    {70, 4},
                    {71, 0},
                    {74, 220},
                    {75, 20},
                    {84, 164},
                    {85, 1},
                    {86, 164},
                    {87, 1},
                    {92, 164},
                    {93, 1},
                    {94, 164},
                    {95, 1},
                    {100, 0x05}});
    return {"HighestAndLowestCpi", WithColours(record), written};
}

EdgeCase MultiColourLevelFive()
{
    ProfileRecord record{};
    record.cpiValue = {2, 3, 4, 5, 6, 7};
    record.cpiEnabled = {1, 1, 1, 1, 0, 0};
    record.sensitivityX = 6;  // 120
    record.sensitivityY = 13; // 260 kept to 8 bits: 4
    record.angleSnap = 11;    // off again
    record.lightMode = 3;
    record.lightLevel = {1, 1, 5}; // 15; byte 73 stays as returned
    auto written = ColourBytes();
    written.insert({{2, 1},
                    {50, 0x42},
                    {51, 0x00},
                    {64, 0x0F},
                    {70, 4},
                    {71, 3},
                    {72, 15},
                    {74, 120},
                    {75, 4},
                    {84, 2},
                    {85, 3},
                    {86, 4},
                    {87, 5},
                    {92, 2},
                    {93, 3},
                    {94, 4},
                    {95, 5},
                    {100, 0x0F}});
    return {"MultiColourLevelFive", WithColours(record), written};
}

EdgeCase SingleColourLevelSixAndPulsatingKept()
{
    ProfileRecord record{};
    record.cpiValue = {0, 200, 1, 164, 0, 0}; // 0 and 200 from a file go out unchanged
    record.cpiEnabled = {0, 0, 0, 0, 0, 0};
    record.sensitivityX = 1;
    record.sensitivityY = 1;
    record.angleSnap = 10; // 0x8F
    record.lightMode = 1;
    record.lightLevel = {6, 3, 3}; // 12 and 3
    auto written = ColourBytes();
    written.insert({{2, 1},
                    {50, 0x42},
                    {51, 0x8F},
                    {64, 0x0F},
                    {70, 4},
                    {71, 1},
                    {72, 12},
                    {73, 3},
                    {74, 20},
                    {75, 20},
                    {84, 0},
                    {85, 200},
                    {86, 1},
                    {87, 164},
                    {92, 0},
                    {93, 200},
                    {94, 1},
                    {95, 164},
                    {100, 0x00}});
    return {"SingleColourLevelSix", WithColours(record), written};
}

class SettingsBlockEdges : public testing::TestWithParam<EdgeCase>
{
};

TEST_P(SettingsBlockEdges, EveryByteOfTheBlockIsAsWorkedOut)
{
    const Block returned = AsReturned();
    Block expected = returned;
    for (const auto& [offset, value] : GetParam().written) {
        expected[offset] = value;
    }
    Block block = returned;
    PatchSettingsBlock(GetParam().record, block);
    for (std::size_t i = 0; i < block.size(); ++i) {
        EXPECT_EQ(int{block[i]}, int{expected[i]}) << "byte " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(Records, SettingsBlockEdges,
                         testing::Values(HighestAndLowestCpi(), MultiColourLevelFive(),
                                         SingleColourLevelSixAndPulsatingKept()),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace veldrane
