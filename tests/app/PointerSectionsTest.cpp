// "Mouse Speed", "Double Click Speed" and "Scroll Speed".
#include <gtest/gtest.h>

#include <optional>

#include "app/SectionsFixture.h"
#include "app/sections/ScrollSpeedSection.h"
#include "profile/ConfigFiles.h"

namespace veldrane {
namespace {

// "Mouse Speed" open alone: content from (734, 127), the dial at (784, 135), its centre (855, 206).
class SpeedDialSectionTest : public test::SectionsFixture
{
protected:
    static constexpr Point kCentre{855, 206};

    SpeedDialSectionTest()
    {
        Current().mouseSpeed = 6;
        Current().doubleClickSpeed = 6;
        ToggleRight(RightPanel::kMouseSpeed);
    }
};

struct DialCase
{
    const char* name;
    int dx;
    int dy;
    std::uint8_t position; // 6, the position before, when nothing happens
};

class SpeedDialPressTest : public SpeedDialSectionTest, public testing::WithParamInterface<DialCase>
{
};

TEST_P(SpeedDialPressTest, SetsTheMouseSpeedOnly)
{
    Model().Press({kCentre.x + GetParam().dx, kCentre.y + GetParam().dy});
    EXPECT_EQ(Current().mouseSpeed, GetParam().position);
    EXPECT_EQ(Current().doubleClickSpeed, 6);
}

INSTANTIATE_TEST_SUITE_P(
    Points, SpeedDialPressTest,
    testing::Values(DialCase{"RightHorizontal", 50, 0, 12}, DialCase{"LeftHorizontal", -50, 0, 2},
                    DialCase{"StraightUp", 0, -50, 7}, DialCase{"JustAboveTheRightEnd", 60, -1, 11},
                    DialCase{"LeftColumnOfTheDial", -71, 0, 2}, DialCase{"RightColumnOfTheDial", 70, 0, 12},
                    DialCase{"TopRowOfTheDial", 0, -71, 7}, DialCase{"OnePixelBelowTheCentre", 50, 1, 6},
                    DialCase{"InsideTheRing", 42, 0, 6}, DialCase{"BottomRowOfTheDial", 0, 11, 6}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SpeedDialSectionTest, DrawsThePositionsPictureAndTheEndLabels)
{
    Current().mouseSpeed = 12;
    auto& drawn = Drawn();
    EXPECT_EQ(drawn.ImagesAt("/MouseAttribute/Speed/12.png").at(0).at, (Point{784, 135}));
    const auto slow = drawn.FindText("Slow");
    const auto fast = drawn.FindText("Fast");
    ASSERT_TRUE(slow && fast);
    EXPECT_EQ(slow->area, (Rect{768, 219, 828, 235})); // centred under x 798, the left end of the ring
    EXPECT_EQ(fast->area, (Rect{882, 219, 942, 235})); // and under x 912
    EXPECT_EQ(slow->align, TextAlign::Centre);
}

TEST_F(SpeedDialSectionTest, APositionOutsideTheDomainIsDrawnAsItIs)
{
    Current().mouseSpeed = 0;
    EXPECT_EQ(Drawn().ImagesAt("/MouseAttribute/Speed/0.png").size(), 1u);
    EXPECT_EQ(Current().mouseSpeed, 0);
}

TEST_F(SpeedDialSectionTest, TheDialStaysInsideForAPositionTooLowForIt)
{
    files.point.mouseSpeed_Y = 28; // the dial and its labels would reach past the section's 110 pixels
    EXPECT_EQ(Drawn().ImagesAt("/MouseAttribute/Speed/6.png").at(0).at, (Point{784, 127 + 10}));
    Model().Press({kCentre.x + 50, 127 + 10 + 71});
    EXPECT_EQ(Current().mouseSpeed, 12);
}

TEST_F(SpeedDialSectionTest, TheDoubleClickDialSetsItsOwnField)
{
    ToggleRight(RightPanel::kMouseSpeed);
    ToggleRight(RightPanel::kDoubleClickSpeed);
    ASSERT_EQ(RightOrigin(RightPanel::kDoubleClickSpeed), (Point{734, 152}));
    Model().Press({855 - 50, 152 + 8 + 71});
    EXPECT_EQ(Current().doubleClickSpeed, 2);
    EXPECT_EQ(Current().mouseSpeed, 6);
    EXPECT_EQ(Drawn().ImagesAt("/MouseAttribute/Speed/2.png").at(0).at, (Point{784, 160}));
}

// "Scroll Speed" open alone: content from (734, 177). The option boxes are at (754, 189) and
// (754, 224), the field at (902, 185) with the edit box inside it, the buttons at (953, 187) and
// (953, 197).
class ScrollSpeedSectionTest : public test::SectionsFixture
{
protected:
    static constexpr Point kRows{760, 195};
    static constexpr Point kOneScreen{760, 230};
    static constexpr Point kUp{958, 190};
    static constexpr Point kDown{958, 200};

    ScrollSpeedSectionTest()
    {
        Current().scrollOneScreen = 0;
        Current().scrollLines = 3;
        ToggleRight(RightPanel::kScrollSpeed);
        Drawn();
    }
};

TEST_F(ScrollSpeedSectionTest, TheOpenSectionShowsTheBoxOverItsFieldWithTheCount)
{
    ASSERT_FALSE(scrollLinesBox.shows.empty());
    const Rect box{904, 187, 948, 203};
    EXPECT_EQ(scrollLinesBox.shows.back(), (test::RecordingEditBox::Shown{box, box}));
    EXPECT_EQ(scrollLinesBox.text, "3");
    EXPECT_EQ(scrollLinesBox.enabled, true);
    EXPECT_EQ(scrollLinesBox.textColour, Model().TextColour());
    EXPECT_EQ(canvas.ImagesAt("/MouseAttribute/ScrollSpeed/ScrollLines.png").at(0).at, (Point{902, 185}));
    EXPECT_EQ(canvas.FindText("The number of rows")->area, (Rect{772, 186, 900, 203}));
    EXPECT_EQ(canvas.FindText("Scroll one screen")->area, (Rect{772, 221, 968, 238}));
}

TEST_F(ScrollSpeedSectionTest, OneScreenDisablesTheBoxAndRowsEnablesIt)
{
    Model().Press(kOneScreen);
    EXPECT_EQ(Current().scrollOneScreen, 1);
    auto& drawn = Drawn();
    EXPECT_EQ(scrollLinesBox.enabled, false);
    EXPECT_EQ(drawn.ImagesAt("/MouseAttribute/ScrollSpeed/Enable.png").at(0).at, (Point{754, 224}));
    EXPECT_EQ(drawn.ImagesAt("/MouseAttribute/ScrollSpeed/Disable.png").at(0).at, (Point{754, 189}));
    Model().Press(kRows);
    EXPECT_EQ(Current().scrollOneScreen, 0);
    Drawn();
    EXPECT_EQ(scrollLinesBox.enabled, true);
}

TEST_F(ScrollSpeedSectionTest, AnyOtherModeShowsAsRows)
{
    Current().scrollOneScreen = 2;
    auto& drawn = Drawn();
    EXPECT_EQ(drawn.ImagesAt("/MouseAttribute/ScrollSpeed/Enable.png").at(0).at, (Point{754, 189}));
    EXPECT_EQ(scrollLinesBox.enabled, true);
    EXPECT_EQ(Current().scrollOneScreen, 2);
}

TEST_F(ScrollSpeedSectionTest, TheButtonsStepTheCountWithinOneToOneHundred)
{
    Model().Press(kUp);
    EXPECT_EQ(Current().scrollLines, 4);
    EXPECT_EQ(scrollLinesBox.text, "4");
    for (int i = 0; i < 5; ++i) {
        Model().Press(kDown);
    }
    EXPECT_EQ(Current().scrollLines, 1);
    EXPECT_EQ(scrollLinesBox.text, "1");
    Current().scrollLines = 100;
    Model().Press(kUp);
    EXPECT_EQ(Current().scrollLines, 100);
    EXPECT_EQ(scrollLinesBox.text, "100");
}

TEST_F(ScrollSpeedSectionTest, TheButtonsActWhileTheBoxIsDisabled)
{
    Model().Press(kOneScreen);
    Drawn();
    ASSERT_EQ(scrollLinesBox.enabled, false);
    Model().Press(kUp);
    EXPECT_EQ(Current().scrollLines, 4);
    EXPECT_EQ(scrollLinesBox.text, "4");
}

struct TypedCase
{
    const char* typed;
    std::uint8_t lines;
    const char* shown;
};

class ScrollLinesTypingTest : public ScrollSpeedSectionTest, public testing::WithParamInterface<TypedCase>
{
};

TEST_P(ScrollLinesTypingTest, ACountOutsideOneToOneHundredTurnsIntoOne)
{
    scrollLinesBox.textsSet.clear();
    scrollLinesBox.Type(GetParam().typed);
    EXPECT_EQ(Current().scrollLines, GetParam().lines);
    EXPECT_EQ(scrollLinesBox.text, GetParam().shown);
    Drawn(); // the next drawing leaves the user's text alone
    EXPECT_EQ(scrollLinesBox.text, GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(Texts, ScrollLinesTypingTest,
                         testing::Values(TypedCase{"55", 55, "55"}, TypedCase{"100", 100, "100"},
                                         TypedCase{"07", 7, "07"}, TypedCase{"0", 1, "1"}, TypedCase{"101", 1, "1"},
                                         TypedCase{"", 1, "1"}, TypedCase{"abc", 1, "1"}));

TEST_F(ScrollSpeedSectionTest, TheBoxFollowsTheRecordOnEachDrawing)
{
    Current().scrollLines = 42; // a reload or a "Reset"
    Drawn();
    EXPECT_EQ(scrollLinesBox.text, "42");
    Current().scrollLines = 0; // from a file: shown as it is
    Drawn();
    EXPECT_EQ(scrollLinesBox.text, "0");
}

TEST_F(ScrollSpeedSectionTest, AShutSectionDoesNotShowTheBox)
{
    ToggleRight(RightPanel::kScrollSpeed);
    const std::size_t before = scrollLinesBox.shows.size();
    Drawn();
    EXPECT_EQ(scrollLinesBox.shows.size(), before);
    Model().Press(kUp); // where the button was
    EXPECT_EQ(Current().scrollLines, 3);
}

TEST(ScrollSpeedSectionClip, OnlyThePartInsideThePanelIsSeen)
{
    ProfileRecord record{};
    test::RecordingCanvas canvas;
    test::RecordingEditBox box;
    PointSettings point;
    SettingsSectionContext context{record, MainWindowTextsFor(Language::English), canvas, point, [] {
                                       return Colour{1, 2, 3, 255};
                                   }};
    ScrollSpeedSection section(context, box, Rect{734, 32, 984, 100});
    section.Draw(canvas, {734, 80}); // the box at 90 to 106; the panel ends at 100
    EXPECT_EQ(box.shows.back(), (test::RecordingEditBox::Shown{{904, 90, 948, 106}, {904, 90, 948, 100}}));
    section.Draw(canvas, {734, 200});
    EXPECT_TRUE(box.shows.back().visible.IsEmpty());
    EXPECT_EQ(box.textColour, (Colour{1, 2, 3, 255}));
}

} // namespace
} // namespace veldrane
