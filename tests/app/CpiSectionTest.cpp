#include "app/sections/CpiSection.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "app/SectionsFixture.h"

namespace veldrane {
namespace {

// "CPI Setting" opens right under the first header of the right panel: content origin (734, 52).
class CpiSectionTest : public test::SectionsFixture
{
protected:
    CpiSectionTest()
    {
        Current().cpiValue = {10, 20, 30, 40, 0x55, 0x66};
        Current().cpiEnabled = {1, 1, 0, 1, 1, 0};
        for (std::size_t i = 0; i < Current().cpiColor.size(); ++i) {
            Current().cpiColor[i] = static_cast<std::uint8_t>(100 + i);
        }
        ToggleRight(RightPanel::kCpiSetting);
        view.Clear();
    }
};

struct TrackPressCase
{
    Point p;
    std::size_t stage;
    std::uint8_t value;
};

class CpiTrackPressTest : public CpiSectionTest, public testing::WithParamInterface<TrackPressCase>
{
};

TEST_P(CpiTrackPressTest, StoresTheValueOfThePixelInItsStage)
{
    const auto before = Current();
    Model().Press(GetParam().p);
    auto expected = before.cpiValue;
    expected[GetParam().stage] = GetParam().value;
    EXPECT_EQ(Current().cpiValue, expected);
}

INSTANTIATE_TEST_SUITE_P(Tracks, CpiTrackPressTest,
                         testing::Values(TrackPressCase{{775, 58}, 0, 164}, // the top of stage 1
                                         TrackPressCase{{781, 226}, 0, 1},  // its lowest pixels
                                         TrackPressCase{{825, 227}, 1, 1},  // stage 2
                                         TrackPressCase{{875, 225}, 2, 2},  // stage 3
                                         TrackPressCase{{931, 64}, 3, 163}, // stage 4, its right column
                                         TrackPressCase{{931, 63}, 3, 164}));

TEST_F(CpiSectionTest, ValuesOutsideTheDomainAreDrawnUnchanged)
{
    Current().cpiValue[0] = 0;
    Current().cpiValue[1] = 200;
    auto& drawn = Drawn();
    EXPECT_EQ(drawn.ImagesAt("/DPISetting/DPIStage/0.png").size(), 1u);
    EXPECT_EQ(drawn.ImagesAt("/DPISetting/DPIStage/100.png").size(), 1u);
    EXPECT_TRUE(drawn.FindText("0"));
    EXPECT_TRUE(drawn.FindText("10000"));
    EXPECT_EQ(Current().cpiValue[1], 200);
}

TEST_F(CpiSectionTest, TheSwitchTogglesAndAFlagOfTwoBecomesZero)
{
    Model().Press({872, 251}); // stage 3: 0 -> 1
    Model().Press({781, 259}); // stage 1, its last pixel: 1 -> 0
    EXPECT_EQ(Current().cpiEnabled[2], 1);
    EXPECT_EQ(Current().cpiEnabled[0], 0);
    Current().cpiEnabled[3] = 2;
    Model().Press({922, 255});
    EXPECT_EQ(Current().cpiEnabled[3], 0);
    Model().Press({922, 255});
    EXPECT_EQ(Current().cpiEnabled[3], 1);
    EXPECT_EQ(Drawn().ImagesAt("/Disable.png").at(0).at, (Point{772, 251}));
}

TEST_F(CpiSectionTest, StagesFiveAndSixKeepTheirValues)
{
    colours.answers.push_back(Colour{9, 9, 9, 255});
    for (Point p : {Point{775, 58}, Point{825, 100}, Point{875, 200}, Point{925, 226}, Point{772, 251}, Point{922, 251},
                    Point{772, 265}}) {
        Model().Press(p);
    }
    EXPECT_EQ(Current().cpiValue[4], 0x55);
    EXPECT_EQ(Current().cpiValue[5], 0x66);
    EXPECT_EQ(Current().cpiEnabled[4], 1);
    EXPECT_EQ(Current().cpiEnabled[5], 0);
    for (std::size_t i = 12; i < 18; ++i) {
        EXPECT_EQ(Current().cpiColor[i], 100 + i);
    }
}

} // namespace
} // namespace veldrane
