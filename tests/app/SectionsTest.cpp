// What every settings section shares: hovering, the texts of the three languages, presses only
// while open.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "app/SectionsFixture.h"
#include "app/sections/AngleSnapSection.h"
#include "app/sections/CpiSection.h"
#include "app/sections/LightingSection.h"
#include "app/sections/ReportRateSection.h"
#include "app/sections/ScrollSpeedSection.h"
#include "app/sections/SensitivitySection.h"
#include "app/sections/SideLightSection.h"
#include "app/sections/SpeedDialSection.h"
#include "profile/ConfigFiles.h"

namespace veldrane {
namespace {

class SectionHoverTest : public test::SectionsFixture
{
protected:
    SectionHoverTest()
    {
        images.sizes["/Enable-over.png"] = {10, 9};
        Current().cpiEnabled = {1, 0, 1, 1, 1, 1};
        ToggleRight(RightPanel::kCpiSetting);
        view.Clear();
    }

    bool PanelRedrawn()
    {
        const bool redrawn =
            std::find(view.redraws.begin(), view.redraws.end(), RightPanel::kViewport) != view.redraws.end();
        view.Clear();
        return redrawn;
    }
};

TEST_F(SectionHoverTest, AControlShowsItsOverPictureWhereTheSkinHasOne)
{
    Model().Move({775, 255}, false); // the switch of stage 1, enabled
    EXPECT_TRUE(PanelRedrawn());
    auto& drawn = Drawn();
    EXPECT_EQ(drawn.ImagesAt("/Enable-over.png").at(0).at, (Point{772, 251}));
    for (const auto& image : drawn.ImagesAt("/Enable.png")) {
        EXPECT_NE(image.at, (Point{772, 251}));
    }
    Model().Move({776, 256}, false); // within the same switch: nothing to change
    EXPECT_FALSE(PanelRedrawn());
}

using SectionLabelTest = test::SectionsFixture;

// A press on a control, then a move with the button held to a point past the control: the value
// follows the pointer and stops at the control's end; the window is not dragged.
struct ControlDragCase
{
    const char* name;
    bool left; // the section's panel
    std::size_t row;
    Point press;
    Point to;
    std::uint8_t (*field)(const ProfileRecord&);
    std::uint8_t pressed; // the value after the press
    std::uint8_t dragged; // and after the move
};

class ControlDragTest : public test::SectionsFixture, public testing::WithParamInterface<ControlDragCase>
{
};

TEST_P(ControlDragTest, TheValueFollowsThePointerClampedToTheControl)
{
    const ControlDragCase& c = GetParam();
    Current().reportRate = 2;
    Current().mouseSpeed = 6;
    c.left ? ToggleLeft(static_cast<LeftPanel::RowIndex>(c.row))
           : ToggleRight(static_cast<RightPanel::SectionIndex>(c.row));
    view.Clear();
    Model().Press(c.press);
    EXPECT_EQ(c.field(Current()), c.pressed);
    Model().Move(c.to, true);
    EXPECT_EQ(c.field(Current()), c.dragged);
    Model().Release(c.to);
    Model().Move(c.press, false); // after the release the pointer only hovers
    EXPECT_EQ(c.field(Current()), c.dragged);
    EXPECT_TRUE(view.drags.empty());
}

INSTANTIATE_TEST_SUITE_P(Controls, ControlDragTest,
                         testing::Values(
                             // stage 1's track from (775, 58): up past its top
                             ControlDragCase{"CpiTrack",
                                             false,
                                             RightPanel::kCpiSetting,
                                             {777, 200},
                                             {790, 0},
                                             [](const ProfileRecord& r) { return r.cpiValue[0]; },
                                             27,
                                             164},
                             ControlDragCase{"SensitivityX",
                                             true,
                                             LeftPanel::kXySensitivity,
                                             {87, 223},
                                             {600, 100},
                                             [](const ProfileRecord& r) { return r.sensitivityX; },
                                             3,
                                             11},
                             ControlDragCase{"AngleSnap",
                                             false,
                                             RightPanel::kAngleSnap,
                                             {851, 303},
                                             {0, 303},
                                             [](const ProfileRecord& r) { return r.angleSnap; },
                                             6,
                                             1},
                             // mode 1's level strip from (834, 97)
                             ControlDragCase{"LightLevel",
                                             false,
                                             RightPanel::kLighting,
                                             {840, 100},
                                             {1000, 300},
                                             [](const ProfileRecord& r) { return r.lightLevel[0]; },
                                             2,
                                             6},
                             // the dial's centre is (855, 172): from the upper right quarter to far below on the left
                             ControlDragCase{"ReportRate",
                                             false,
                                             RightPanel::kUsbReportRate,
                                             {885, 142},
                                             {655, 322},
                                             [](const ProfileRecord& r) { return r.reportRate; },
                                             1,
                                             4},
                             // the dial's centre is (855, 206): from the left end to below the right one
                             ControlDragCase{"MouseSpeed",
                                             false,
                                             RightPanel::kMouseSpeed,
                                             {805, 206},
                                             {1155, 306},
                                             [](const ProfileRecord& r) { return r.mouseSpeed; },
                                             2,
                                             12}),
                         [](const auto& info) { return std::string(info.param.name); });

// What a control's setting stands for is written beside it: the report rates with the chosen one
// marked, the desktop's pointer speed and double-click time, the strips' positions with angle
// snap's two off positions.
struct ShownValueCase
{
    const char* name;
    bool left;
    std::size_t row;
    void (*set)(ProfileRecord&);
    const char* text;
    bool dimmed; // drawn see-through beside the chosen one
};

class ShownValueTest : public test::SectionsFixture, public testing::WithParamInterface<ShownValueCase>
{
};

TEST_P(ShownValueTest, TheSectionWritesTheValue)
{
    const ShownValueCase& c = GetParam();
    c.set(Current());
    c.left ? ToggleLeft(static_cast<LeftPanel::RowIndex>(c.row))
           : ToggleRight(static_cast<RightPanel::SectionIndex>(c.row));
    const auto text = Drawn().FindText(c.text);
    ASSERT_TRUE(text.has_value()) << c.text;
    EXPECT_EQ(text->colour.a < 255, c.dimmed);
}

INSTANTIATE_TEST_SUITE_P(Values, ShownValueTest,
                         testing::Values(ShownValueCase{"ChosenRate", false, RightPanel::kUsbReportRate,
                                                        [](ProfileRecord& r) { r.reportRate = 2; }, "500 Hz", false},
                                         ShownValueCase{"OtherRate", false, RightPanel::kUsbReportRate,
                                                        [](ProfileRecord& r) { r.reportRate = 2; }, "125 Hz", true},
                                         ShownValueCase{"FastestSpeed", false, RightPanel::kMouseSpeed,
                                                        [](ProfileRecord& r) { r.mouseSpeed = 12; }, "20", false},
                                         ShownValueCase{"SlowestSpeed", false, RightPanel::kMouseSpeed,
                                                        [](ProfileRecord& r) { r.mouseSpeed = 1; }, "1", false},
                                         ShownValueCase{"DoubleClick", false, RightPanel::kDoubleClickSpeed,
                                                        [](ProfileRecord& r) { r.doubleClickSpeed = 12; }, "130 ms",
                                                        false},
                                         ShownValueCase{"SensitivityEnd", true, LeftPanel::kXySensitivity,
                                                        [](ProfileRecord& r) { r.sensitivityY = 11; }, "11", false},
                                         ShownValueCase{"AngleSnapFirst", false, RightPanel::kAngleSnap,
                                                        [](ProfileRecord& r) { r.angleSnap = 1; }, "Off", false},
                                         ShownValueCase{"AngleSnapLast", false, RightPanel::kAngleSnap,
                                                        [](ProfileRecord& r) { r.angleSnap = 11; }, "Off", false},
                                         ShownValueCase{"AngleSnapOn", false, RightPanel::kAngleSnap,
                                                        [](ProfileRecord& r) { r.angleSnap = 10; }, "10", false}),
                         [](const auto& info) { return std::string(info.param.name); });

// A section whose desktop setting the desktop lacks says so under its picture and grows by that
// line; the others stay as they are.
TEST_F(SectionLabelTest, ASettingTheDesktopLacksIsNamedInItsSection)
{
    pointerSettings.lacking = {PointerSetting::DoubleClickTime};
    Current().doubleClickSpeed = 6;
    files.point.mouseSpeed_Y = 1000; // as low as the dial goes: the note is no room for it
    const Rect scrollHeader = Model().Right().Stack().HeaderArea(RightPanel::kScrollSpeed);
    ToggleRight(RightPanel::kDoubleClickSpeed);
    ToggleRight(RightPanel::kScrollSpeed);
    auto& drawn = Drawn();
    const auto notes = std::count_if(drawn.texts.begin(), drawn.texts.end(), [](const auto& text) {
        return text.text == "This desktop cannot take this setting.";
    });
    EXPECT_EQ(notes, 1);
    const int doubleClickHeight = Model().Right().Stack().ContentArea(RightPanel::kDoubleClickSpeed).Height();
    EXPECT_EQ(Model().Right().Stack().HeaderArea(RightPanel::kScrollSpeed), scrollHeader.Offset(0, doubleClickHeight));
    EXPECT_EQ(doubleClickHeight, 110 + 18);
    const Point origin = Model().Right().Stack().ContentOrigin(RightPanel::kDoubleClickSpeed);
    EXPECT_EQ(drawn.ImagesAt("/MouseAttribute/Speed/6.png").at(0).at, (Point{origin.x + 50, origin.y + 110 - 83 - 17}));
}

// A click on a box's text acts like one on its box; a press on an empty spot of an open section
// still moves the window.
TEST_F(SectionLabelTest, LabelsBelongToTheirBoxesAndEmptySpotsMoveTheWindow)
{
    Current().sideButtonLight = 0;
    Current().lightMode = 3;
    Current().scrollOneScreen = 1;
    ToggleLeft(LeftPanel::kLightButton);
    const Point side = LeftOrigin(LeftPanel::kLightButton);
    Model().Press({side.x + 60, side.y + 18}); // "ON"
    EXPECT_EQ(Current().sideButtonLight, 1);
    ToggleRight(RightPanel::kLighting);
    Model().Press({784, 101}); // "Single color"
    EXPECT_EQ(Current().lightMode, 1);
    ToggleRight(RightPanel::kLighting);
    ToggleRight(RightPanel::kScrollSpeed);
    const Point scroll = RightOrigin(RightPanel::kScrollSpeed);
    Model().Press({scroll.x + 100, scroll.y + 17}); // "The number of rows"
    EXPECT_EQ(Current().scrollOneScreen, 0);
    EXPECT_TRUE(view.drags.empty());
    Model().Press({scroll.x + 4, scroll.y + 70});
    EXPECT_EQ(view.drags.size(), 1u);
}

class SectionsShutTest : public test::SectionsFixture
{
};

// Every press of every section, made while all of them are shut, changes nothing.
TEST_F(SectionsShutTest, NoSectionActsWhileShut)
{
    const auto before = records.Current;
    // The absolute places of the controls of each section as it opens alone, none of them on a
    // shut header.
    for (Point p : {Point{775, 230}, Point{772, 251}, Point{772, 265}, Point{825, 202}, Point{895, 212},
                    Point{760, 230}, Point{751, 299}, Point{850, 299}, Point{37, 225}, Point{100, 279}, Point{50, 234},
                    Point{150, 234}, Point{834, 250}}) {
        Model().Press(p);
    }
    EXPECT_EQ(records.Current, before);
    EXPECT_EQ(colours.runs, 0);
}

} // namespace
} // namespace veldrane
