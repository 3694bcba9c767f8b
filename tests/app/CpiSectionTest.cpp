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

TEST_F(CpiSectionTest, OpensAtTheAbsolutePlaceOfItsRectangles)
{
    EXPECT_EQ(RightOrigin(RightPanel::kCpiSetting), (Point{734, 52}));
    EXPECT_EQ(Model().Right().Stack().Section(RightPanel::kCpiSetting)->ContentHeight(), 232);
}

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

TEST_F(CpiSectionTest, PressesBesideTheTracksChangeNothing)
{
    const auto before = Current();
    for (Point p : {Point{774, 100}, Point{782, 100}, Point{775, 57}, Point{775, 228}, Point{800, 100}}) {
        Model().Press(p);
    }
    EXPECT_EQ(Current(), before);
}

TEST_F(CpiSectionTest, DrawsEachStageFromTheRecord)
{
    auto& drawn = Drawn();
    const std::pair<const char*, Point> tracks[] = {{"/DPISetting/DPIStage/5.png", {775, 58}},
                                                    {"/DPISetting/DPIStage/10.png", {825, 58}},
                                                    {"/DPISetting/DPIStage/15.png", {875, 58}},
                                                    {"/DPISetting/DPIStage/20.png", {925, 58}}};
    for (const auto& [picture, at] : tracks) {
        const auto found = drawn.ImagesAt(picture);
        ASSERT_EQ(found.size(), 1u) << picture;
        EXPECT_EQ(found[0].at, at) << picture;
        EXPECT_EQ(found[0].clip, RightPanel::kViewport);
    }
    const auto value = drawn.FindText("1500");
    ASSERT_TRUE(value);
    EXPECT_EQ(value->area, (Rect{856, 230, 900, 248}));
    EXPECT_EQ(value->align, TextAlign::Centre);
    EXPECT_EQ(drawn.ImagesAt("/DPISetting/BK-DPIValue.png").at(2).at, (Point{856, 230}));
    EXPECT_TRUE(drawn.FindText("500") && drawn.FindText("1000") && drawn.FindText("2000"));

    const auto enabled = drawn.ImagesAt("/Enable.png");
    const auto disabled = drawn.ImagesAt("/Disable.png");
    ASSERT_EQ(enabled.size(), 3u);
    ASSERT_EQ(disabled.size(), 1u);
    EXPECT_EQ(disabled[0].at, (Point{872, 251}));

    auto filled = [&](const test::RecordingCanvas::Fill& fill) {
        return std::find(drawn.fills.begin(), drawn.fills.end(), fill) != drawn.fills.end();
    };
    EXPECT_TRUE(filled({{772, 265, 782, 275}, {100, 101, 102, 255}}));
    EXPECT_TRUE(filled({{822, 265, 832, 275}, {103, 104, 105, 255}}));
    EXPECT_TRUE(filled({{922, 265, 932, 275}, {109, 110, 111, 255}}));
}

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

TEST_F(CpiSectionTest, TheSwatchStoresTheChosenColourWithoutADrag)
{
    colours.answers.push_back(Colour{1, 2, 3, 255});
    Model().Press({825, 270}); // stage 2
    EXPECT_EQ(colours.runs, 1);
    EXPECT_EQ(Current().cpiColor[3], 1);
    EXPECT_EQ(Current().cpiColor[4], 2);
    EXPECT_EQ(Current().cpiColor[5], 3);
    EXPECT_EQ(Current().cpiColor[2], 102);
    EXPECT_EQ(Current().cpiColor[6], 106);
    EXPECT_TRUE(view.drags.empty()); // the dialog's press starts no window drag
    Model().Release({825, 270});
}

TEST_F(CpiSectionTest, CancellingTheColourDialogKeepsTheColour)
{
    const auto before = Current();
    Model().Press({922, 265}); // stage 4, no answer queued: Cancel
    EXPECT_EQ(colours.runs, 1);
    EXPECT_EQ(Current(), before);
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

TEST_F(CpiSectionTest, APressWhileShutActsNot)
{
    ToggleRight(RightPanel::kCpiSetting);
    const auto before = Current();
    // Where the track of stage 1 lies while open; shut, nothing of the panel is there.
    Model().Press({775, 250});
    Model().Press({772, 265});
    EXPECT_EQ(Current(), before);
    EXPECT_EQ(colours.runs, 0);
}

TEST_F(CpiSectionTest, EverythingMovesWithTheContentOrigin)
{
    // Every section open, the panel scrolled by one wheel notch: the tracks lie 25 pixels higher.
    for (std::size_t i = 1; i < RightPanel::kSectionCount; ++i) {
        ToggleRight(static_cast<RightPanel::SectionIndex>(i));
    }
    Model().Wheel({800, 300}, -1);
    const Point origin = RightOrigin(RightPanel::kCpiSetting);
    ASSERT_LT(origin.y, 52);
    const int top = origin.y + 6;
    Model().Press({origin.x + 41, top + 100}); // 100 pixels down the track of stage 1
    EXPECT_EQ(Current().cpiValue[0], 164 - 100 + 5);
    const auto drawn = Drawn().ImagesAt("/DPISetting/DPIStage/34.png");
    ASSERT_EQ(drawn.size(), 1u);
    EXPECT_EQ(drawn[0].at, (Point{775, top}));
}

TEST_F(CpiSectionTest, TheValueBoxShowsTheTrackPressAtOnce)
{
    Model().Press({825, 58});
    EXPECT_TRUE(Drawn().FindText("8200"));
    EXPECT_FALSE(view.redraws.empty());
}

} // namespace
} // namespace veldrane
