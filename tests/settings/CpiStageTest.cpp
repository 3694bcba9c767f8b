#include "settings/CpiStage.h"

#include <gtest/gtest.h>

namespace veldrane {
namespace {

struct TrackCase
{
    int y; // window row of the press; the track of an open section at the top spans 58 to 227
    std::uint8_t value;
};

class CpiTrackPress : public testing::TestWithParam<TrackCase>
{
};

TEST_P(CpiTrackPress, GivesOneStepOf50CpiPerPixel)
{
    constexpr int kTrackTop = 58;
    EXPECT_EQ(CpiValueAtTrackRow(GetParam().y - kTrackTop), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(Edges, CpiTrackPress,
                         testing::Values(TrackCase{58, 164}, // the very top: 8200 CPI
                                         TrackCase{63, 164}, // everything from 63 up is capped
                                         TrackCase{64, 163}, // the first pixel below the cap
                                         TrackCase{150, 77}, // 228 - 150 - 3 + 2
                                         TrackCase{225, 2},  // the last pixel above the foot
                                         TrackCase{226, 1},  // the lowest two pixels: 50 CPI
                                         TrackCase{227, 1}));

TEST(CpiStage, TrackPictureIsHalfTheValueForAnyByte)
{
    EXPECT_EQ(CpiTrackPictureOf(164), 82);
    EXPECT_EQ(CpiTrackPictureOf(1), 0);
    EXPECT_EQ(CpiTrackPictureOf(0), 0);     // out of the domain, drawn unchanged
    EXPECT_EQ(CpiTrackPictureOf(255), 127); // a picture the skin does not have
}

TEST(CpiStage, DisplayedCpiIsFiftyTimesTheValueForAnyByte)
{
    EXPECT_EQ(DisplayedCpiOf(1), 50);
    EXPECT_EQ(DisplayedCpiOf(164), 8200);
    EXPECT_EQ(DisplayedCpiOf(0), 0);
    EXPECT_EQ(DisplayedCpiOf(255), 12750);
}

TEST(CpiStage, ToggleGivesBackTheFlagOnlyWhenItWasZeroOrOne)
{
    EXPECT_EQ(ToggledStageSwitch(ToggledStageSwitch(0)), 0);
    EXPECT_EQ(ToggledStageSwitch(ToggledStageSwitch(1)), 1);
    EXPECT_EQ(ToggledStageSwitch(2), 0); // any other byte counts as enabled
    EXPECT_EQ(ToggledStageSwitch(ToggledStageSwitch(2)), 1);
    EXPECT_EQ(ToggledStageSwitch(255), 0);
}

} // namespace
} // namespace veldrane
