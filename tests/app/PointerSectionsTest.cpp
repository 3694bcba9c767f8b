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

TEST_F(SpeedDialSectionTest, APositionOutsideTheDomainIsDrawnAsItIs)
{
    Current().mouseSpeed = 0;
    EXPECT_EQ(Drawn().ImagesAt("/MouseAttribute/Speed/0.png").size(), 1u);
    EXPECT_EQ(Current().mouseSpeed, 0);
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

} // namespace
} // namespace veldrane
