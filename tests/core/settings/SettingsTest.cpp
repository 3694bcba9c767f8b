// The settings page's controls (the CPI tracks, the sliders, the dials and the scroll-speed box) and
// the settings block they fill.

#include <gtest/gtest.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <numeric>
#include <optional>
#include <span>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "core/device/SettingsBlock.h"
#include "core/profile/ProfileRecord.h"
#include "core/settings/CpiStage.h"
#include "core/settings/ReportRate.h"
#include "core/settings/ScrollLines.h"
#include "screens/main/controls/ReportRateDial.h"
#include "screens/main/controls/SliderStrip.h"
#include "screens/main/controls/SpeedDial.h"
#include "support/HexBytes.h"

namespace veldrane {
namespace {

using test::HexBytes;

// The settings page's controls: the CPI tracks, the sliders, the dials and the scroll-speed box.
// Rows of a press from the track's top: 164 (8200 CPI) down to row 5, then one less per pixel
// down to 2 just above the 3-pixel foot, whose lowest two rows give 1.
TEST(CpiStage, TrackGivesOneStepOf50CpiPerPixel)
{
    for (const auto& [row, value] :
         std::vector<std::pair<int, int>>{{0, 164}, {5, 164}, {6, 163}, {92, 77}, {167, 2}, {168, 1}, {169, 1}}) {
        EXPECT_EQ(CpiValueAtTrackRow(row), value) << row;
    }
}

// A stage slider: position 1 on pixels 0 to 8, 2 to 10 on 21 pixels each, 11 from pixel 198; a
// drag past either end keeps that end's position.
TEST(SliderStrip, PressGivesThePositionOfItsPixel)
{
    for (const auto& [offset, position] :
         std::vector<std::pair<int, int>>{{-5, 1}, {8, 1}, {9, 2}, {29, 2}, {30, 3}, {197, 10}, {198, 11}, {300, 11}}) {
        EXPECT_EQ(kStageSliderStrip.PositionAt(offset), position) << offset;
    }
}

struct Press
{
    int dx, dy;
    std::optional<std::uint8_t> chosen;
};

constexpr int kFar = 2000000000; // its square does not fit an int

// Quarters: upper right 1000 Hz, upper left 125, lower left 250, lower right 500. The ring runs
// from 35 to 64 pixels (21, -28 lies on 35; 40, -50 just past 64); the lines through the centre
// choose nothing.
TEST(ReportRateDial, RingAndQuarterChooseTheRate)
{
    // clang-format off
    const std::vector<Press> presses{{30, -30, 1}, {-30, -30, 8}, {-30, 30, 4}, {30, 30, 2}, {21, -28, 1},
        {16, -30, std::nullopt}, {-39, 50, 4}, {40, -50, std::nullopt}, {0, -50, std::nullopt},
        {50, 0, std::nullopt}, {kFar, -kFar, std::nullopt}};
    // clang-format on
    for (const auto& [dx, dy, rate] : presses) {
        EXPECT_EQ(ReportRateAtDialOffset(dx, dy), rate) << dx << ", " << dy;
    }
    for (const auto& [rate, frequency] : std::vector<std::pair<int, std::optional<int>>>{
             {1, 1000}, {2, 500}, {4, 250}, {8, 125}, {0, std::nullopt}, {3, std::nullopt}, {255, std::nullopt}}) {
        EXPECT_EQ(ReportFrequencyOf(static_cast<std::uint8_t>(rate)), frequency) << rate;
    }
}

// The keys step the dial 125, 250, 500, 1000 Hz and stop at the ends; an unknown byte is below
// 125 Hz, so any step up lands on a rate the mouse knows.
TEST(ReportRateDial, KeysStepThroughTheFourRates)
{
    const std::vector<std::array<int, 3>> steps{{8, 1, 4},  {4, 1, 2},   {2, 1, 1},  {1, 1, 1}, {1, -1, 2},
                                                {8, -1, 8}, {8, 2, 2},   {1, -8, 8}, {0, 1, 8}, {3, -1, 8},
                                                {0, 8, 1},  {255, 2, 4}, {2, 0, 2}};
    for (const auto& [rate, by, result] : steps) {
        EXPECT_EQ(ReportRateStepped(static_cast<std::uint8_t>(rate), by), result) << rate << " by " << by;
    }
}

// 12 - θ ÷ 18 rounded down on the upper half of the ring from 43 to 71 pixels: 12 on the right,
// 11 just above it and up to 17.6 degrees (60, -19), 10 past 18 degrees, 2 on the left.
TEST(SpeedDial, AngleOnTheUpperRingGivesThePosition)
{
    // clang-format off
    const std::vector<Press> presses{{50, 0, 12}, {-50, 0, 2}, {0, -50, 7}, {60, -1, 11}, {-60, -1, 2},
        {60, -19, 11}, {60, -20, 10}, {40, -40, 9}, {-40, -40, 4}, {43, 0, 12}, {42, 0, std::nullopt},
        {-71, 0, 2}, {0, -72, std::nullopt}, {50, 1, std::nullopt}, {-kFar, -kFar, std::nullopt}};
    // clang-format on
    for (const auto& [dx, dy, position] : presses) {
        EXPECT_EQ(SpeedDialPositionAt(dx, dy), position) << dx << ", " << dy;
    }
}

// A step stays within 1 to 100; a loaded count outside it steps by the same rule, without
// wrapping through 0. The edit box's text counts only as a decimal number from 1 to 100.
TEST(ScrollLines, StepsAndTextStayWithinOneToOneHundred)
{
    // clang-format off
    const std::vector<std::tuple<int, int, int>> steps{{3, +1, 4}, {3, -1, 2}, {99, +1, 100}, {100, +1, 100},
        {2, -1, 1}, {1, -1, 1}, {0, +1, 1}, {0, -1, 1}, {200, -1, 199}, {255, +1, 100}};
    // clang-format on
    for (const auto& [lines, step, stepped] : steps) {
        EXPECT_EQ(SteppedScrollLines(static_cast<std::uint8_t>(lines), step), stepped) << lines << " " << step;
    }
    const std::optional<std::uint8_t> none;
    // clang-format off
    const std::vector<std::pair<std::string, std::optional<std::uint8_t>>> texts{{"1", 1}, {"100", 100},
        {"007", 7}, {" 5 ", 5}, {"0", none}, {"101", none}, {"", none}, {"   ", none}, {"-3", none}, {"+3", none},
        {"5x", none}, {"1 2", none}, {"99999999999999999999", none}, {"\xEF\xBC\x95", none}}; // a full-width 5
    // clang-format on
    for (const auto& [text, lines] : texts) {
        EXPECT_EQ(ScrollLinesOfText(text), lines) << '"' << text << '"';
    }
}

using Stages = std::array<std::uint8_t, kCpiStageCount>;
// cpiValue, cpiEnabled, sensitivityX, sensitivityY, angleSnap, lightMode, lightLevel, and every
// byte before the colours that differs from the block as returned, worked out by hand.
using EdgeCase = std::tuple<Stages, Stages, int, int, int, int, std::array<std::uint8_t, 3>, std::string>;

// Settings at the edges of their controls and past them, in a block as a mouse might return it:
// byte i holds 255 - i, so a byte that moves or is written by mistake shows.
TEST(SettingsBlockEdges, EveryByteOfTheBlockIsAsWorkedOut)
{
    // clang-format off
    const std::vector<EdgeCase> cases{
        // 8200 and 50 CPI, a switch byte 2 from a file, X 11 and Y 1, snap off at 1; "Single
        // color" at level 1 turns the light off.
        {{164, 1, 164, 1, 0x55, 0x66}, {1, 0, 2, 0, 1, 1}, 11, 1, 1, 1, {1, 6, 6},
         "2:01 50:42 51:00 64:0F 70:04 71:00 74:DC 75:14 "
         "84:A4 85:01 86:A4 87:01 92:A4 93:01 94:A4 95:01 100:05 "},
        // Y 13 is 260, kept to 8 bits; snap off again at 11; multi-colour at level 5.
        {{2, 3, 4, 5, 6, 7}, {1, 1, 1, 1, 0, 0}, 6, 13, 11, 3, {1, 1, 5},
         "2:01 50:42 51:00 64:0F 70:04 71:03 72:0F 74:78 75:04 "
         "84:02 85:03 86:04 87:05 92:02 93:03 94:04 95:05 100:0F "},
        // CPI codes 0 and 200 from a file go out unchanged; snap 10 is 0x8F; single colour level 6.
        {{0, 200, 1, 164, 0, 0}, {0, 0, 0, 0, 0, 0}, 1, 1, 10, 1, {6, 3, 3},
         "2:01 50:42 51:8F 64:0F 70:04 71:01 72:0C 73:03 74:14 75:14 "
         "84:00 85:C8 86:01 87:A4 92:00 93:C8 94:01 95:A4 100:00 "}};
    // clang-format on
    for (const auto& [cpiValue, cpiEnabled, x, y, snap, mode, lightLevel, expected] : cases) {
        ProfileRecord record{};
        std::tie(record.cpiValue, record.cpiEnabled, record.lightLevel) = std::tie(cpiValue, cpiEnabled, lightLevel);
        record.sensitivityX = static_cast<std::uint8_t>(x);
        record.sensitivityY = static_cast<std::uint8_t>(y);
        record.angleSnap = static_cast<std::uint8_t>(snap);
        record.lightMode = static_cast<std::uint8_t>(mode);
        std::iota(record.cpiColor.begin(), record.cpiColor.end(), std::uint8_t{1});
        std::array<std::uint8_t, kSettingsBlockSize> block{};
        std::iota(block.rbegin(), block.rend(), std::uint8_t{128}); // byte i holds 255 - i
        PatchSettingsBlock(record, block);

        std::string changed;
        for (std::size_t i = 0; i < 104; ++i) {
            if (block[i] != 255 - i) {
                changed += std::to_string(i) + ":" + HexBytes(std::span(block).subspan(i, 1)) + " ";
            }
        }
        EXPECT_EQ(changed, expected);
        // The colours of stages 1 to 4 only, then zeros.
        EXPECT_EQ(HexBytes(std::span(block).subspan(104)),
                  "01 02 03 04 05 06 07 08 09 0A 0B 0C 00 00 00 00 00 00 00 00 00 00 00 00");
    }
}

} // namespace
} // namespace veldrane
