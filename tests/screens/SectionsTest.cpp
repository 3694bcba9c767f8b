// The settings sections on the window's model: presses at the edges of their controls, drags,
// the values and notes they write, presses only while open.
#include <gtest/gtest.h>

#include <algorithm>
#include <utility>

#include "screens/SectionsFixture.h"

namespace veldrane {
namespace {

// A section of the left or the right panel.
struct Where
{
    bool left;
    std::size_t index;
};
constexpr Where kCpi{false, RightPanel::kCpiSetting};
constexpr Where kLighting{false, RightPanel::kLighting};
constexpr Where kRate{false, RightPanel::kUsbReportRate};
constexpr Where kSpeed{false, RightPanel::kMouseSpeed};
constexpr Where kDoubleClick{false, RightPanel::kDoubleClickSpeed};
constexpr Where kSnap{false, RightPanel::kAngleSnap};
constexpr Where kSensitivity{true, LeftPanel::kXySensitivity};
constexpr Where kSideLight{true, LeftPanel::kLightButton};

class SectionsTest : public test::SectionsFixture
{
protected:
    SectionsTest()
    {
        Current().cpiValue = {10, 20, 30, 40, 0x55, 0x66};
        Current().cpiEnabled = {1, 1, 0, 2, 1, 0};
        Current().reportRate = 1;
        Current().doubleClickSpeed = 6;
        Current().sensitivityX = 6;
        Current().lightMode = 1;
        Current().lightLevel = {3, 3, 3};
        Current().sideButtonLight = 2; // as a file may hold it: shown as off
    }
    void Open(Where section) { Toggle(section.left, section.index); }
};

using Change = void (*)(ProfileRecord&);
constexpr Change kNothing = [](ProfileRecord&) {};

// One press in a section opened alone, the whole record compared after it. The open sections'
// contents start at: CPI (734, 52), stage tracks from x 775 and switches at y 251; Lighting
// (734, 77), boxes at x 744 and the strips from 834 to 962; the report-rate dial's centre
// (855, 172); the mouse-speed dial's centre (855, 206); X/Y sensitivity (20, 195), its strips
// from x 37; the side light (20, 220), ON at (50, 234) and OFF at (150, 234).
struct PressCase
{
    const char* name;
    Where section;
    Point p;
    Change change;
};

class SectionPressTest : public SectionsTest, public testing::WithParamInterface<PressCase>
{
};

TEST_P(SectionPressTest, ChangesItsOwnSettingOnly)
{
    ProfileRecord expected = Current();
    GetParam().change(expected);
    Open(GetParam().section);
    Model().Press(GetParam().p);
    EXPECT_EQ(Current(), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Edges, SectionPressTest,
    testing::Values(
        PressCase{"CpiTrackFoot", kCpi, {781, 226}, [](ProfileRecord& r) { r.cpiValue[0] = 1; }},
        PressCase{"CpiSwitchLastPixel", kCpi, {781, 259}, [](ProfileRecord& r) { r.cpiEnabled[0] = 0; }},
        PressCase{"CpiSwitchOfTwo", kCpi, {922, 255}, [](ProfileRecord& r) { r.cpiEnabled[3] = 0; }},
        PressCase{"LightModeBoxLastPixel", kLighting, {753, 163}, [](ProfileRecord& r) { r.lightMode = 3; }},
        PressCase{"LightStripFirst", kLighting, {837, 97}, [](ProfileRecord& r) { r.lightLevel[0] = 1; }},
        PressCase{"LightStripSecond", kLighting, {838, 97}, [](ProfileRecord& r) { r.lightLevel[0] = 2; }},
        PressCase{"LightStripEnd", kLighting, {961, 97}, [](ProfileRecord& r) { r.lightLevel[0] = 6; }},
        PressCase{"LightStripRight", kLighting, {962, 97}, kNothing},
        PressCase{"RateLowerRight", kRate, {885, 202}, [](ProfileRecord& r) { r.reportRate = 2; }},
        PressCase{"SpeedBelowCentre", kSpeed, {905, 207}, kNothing},
        PressCase{"SensitivityFirstStep", kSensitivity, {45, 223}, [](ProfileRecord& r) { r.sensitivityX = 1; }},
        PressCase{"SensitivitySecond", kSensitivity, {46, 223}, [](ProfileRecord& r) { r.sensitivityX = 2; }},
        PressCase{"SideLightLeftOfOn", kSideLight, {30, 238}, kNothing},
        PressCase{"SideLightOnLastPixel", kSideLight, {59, 242}, [](ProfileRecord& r) { r.sideButtonLight = 1; }}),
    [](const auto& info) { return std::string(info.param.name); });

// A press on a control, then a move with the button held to a point past the control: the value
// follows the pointer and stops at the control's end; the window is not dragged.
struct DragCase
{
    const char* name;
    Where section;
    Point press;
    Point to;
    std::uint8_t (*field)(const ProfileRecord&);
    std::uint8_t pressed; // the value after the press
    std::uint8_t dragged; // and after the move
};

class ControlDragTest : public SectionsTest, public testing::WithParamInterface<DragCase>
{
};

TEST_P(ControlDragTest, TheValueFollowsThePointerClampedToTheControl)
{
    const DragCase& c = GetParam();
    Open(c.section);
    view.Clear();
    Model().Press(c.press);
    EXPECT_EQ(c.field(Current()), c.pressed);
    Model().Move(c.to, true);
    EXPECT_EQ(c.field(Current()), c.dragged);
    Model().Release(c.to);
    Model().Move(c.press, false); // after the release the pointer only hovers
    EXPECT_EQ(c.field(Current()), c.dragged);
    EXPECT_EQ(view.drags, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Controls, ControlDragTest,
    testing::Values(
        DragCase{"CpiTrack", kCpi, {777, 200}, {790, 0}, [](const ProfileRecord& r) { return r.cpiValue[0]; }, 27, 164},
        DragCase{"Sensitivity",
                 kSensitivity,
                 {87, 223},
                 {600, 100},
                 [](const ProfileRecord& r) { return r.sensitivityX; },
                 3,
                 11},
        DragCase{
            "ReportRate", kRate, {885, 202}, {655, 322}, [](const ProfileRecord& r) { return r.reportRate; }, 2, 4},
        DragCase{
            "MouseSpeed", kSpeed, {805, 206}, {1155, 306}, [](const ProfileRecord& r) { return r.mouseSpeed; }, 2, 12}),
    [](const auto& info) { return std::string(info.param.name); });

// What a setting stands for is written beside its control: the report rates with the chosen one
// marked (the others see-through), the desktop's double-click time, angle snap's last position.
TEST_F(SectionsTest, TheSectionsWriteWhatTheSettingsStandFor)
{
    Current().reportRate = 2;
    Current().doubleClickSpeed = 12;
    Current().angleSnap = 11;
    Open(kRate);
    Open(kDoubleClick);
    Open(kSnap);
    auto& drawn = Drawn();
    for (const auto& [text, dimmed] :
         {std::pair{"500 Hz", false}, {"125 Hz", true}, {"130 ms", false}, {"Off", false}}) {
        const auto found = drawn.FindText(text);
        ASSERT_TRUE(found.has_value()) << text;
        EXPECT_EQ(found->colour.a < 255, dimmed) << text;
    }
}

// A section whose desktop setting the desktop lacks says so under its picture and grows by that
// line; the others stay as they are.
TEST_F(SectionsTest, ASettingTheDesktopLacksIsNamedInItsSection)
{
    pointerSettings.lacking = {PointerSetting::DoubleClickTime};
    files.point.mouseSpeed_Y = 1000; // as low as the dial goes: the note is no room for it
    const Rect scrollHeader = Model().Right().Stack().HeaderArea(RightPanel::kScrollSpeed);
    Open(kDoubleClick);
    ToggleRight(RightPanel::kScrollSpeed);
    auto& drawn = Drawn();
    EXPECT_EQ(std::count_if(drawn.texts.begin(), drawn.texts.end(),
                            [](const auto& text) { return text.text == "This desktop cannot take this setting."; }),
              1);
    const int height = Model().Right().Stack().ContentArea(RightPanel::kDoubleClickSpeed).Height();
    EXPECT_EQ(height, 110 + 18);
    EXPECT_EQ(Model().Right().Stack().HeaderArea(RightPanel::kScrollSpeed), scrollHeader.Offset(0, height));
    const Point origin = Model().Right().Stack().ContentOrigin(RightPanel::kDoubleClickSpeed);
    EXPECT_EQ(drawn.ImagesAt("/MouseAttribute/Speed/6.png").at(0).at, (Point{origin.x + 50, origin.y + 110 - 83 - 17}));
}

// A box's text stands beside it, and a click on the text acts like one on its box; a press on an
// empty spot of an open section still moves the window.
TEST_F(SectionsTest, LabelsBelongToTheirBoxesAndEmptySpotsMoveTheWindow)
{
    Current().lightMode = 3;
    Current().scrollOneScreen = 1;
    Open(kSideLight);
    EXPECT_EQ(Drawn().FindText("ON")->area, (Rect{64, 230, 144, 247}));
    EXPECT_EQ(Drawn().FindText("OFF")->area, (Rect{164, 230, 244, 247}));
    Model().Press({80, 238}); // "ON"
    EXPECT_EQ(Current().sideButtonLight, 1);
    Open(kLighting);
    Model().Press({784, 101}); // "Single color"
    EXPECT_EQ(Current().lightMode, 1);
    Open(kLighting);
    ToggleRight(RightPanel::kScrollSpeed);
    const Point scroll = Model().Right().Stack().ContentOrigin(RightPanel::kScrollSpeed);
    Model().Press({scroll.x + 100, scroll.y + 17}); // "The number of rows"
    EXPECT_EQ(Current().scrollOneScreen, 0);
    EXPECT_EQ(view.drags, 0);
    Model().Press({scroll.x + 4, scroll.y + 70});
    EXPECT_EQ(view.drags, 1);
}

// Every press of every section, made while all of them are shut, changes nothing.
TEST_F(SectionsTest, NoSectionActsWhileShut)
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

// "Scroll Speed" open alone: content from (734, 177), the option boxes at (754, 189) and
// (754, 224), the up button at (953, 187).
TEST_F(SectionsTest, OneScreenDisablesTheLineCountAndTheButtonsStepIt)
{
    Current().scrollOneScreen = 0;
    Current().scrollLines = 3;
    ToggleRight(RightPanel::kScrollSpeed);
    Model().Press({760, 230});
    EXPECT_EQ(Current().scrollOneScreen, 1);
    EXPECT_EQ(Drawn().ImagesAt("/MouseAttribute/ScrollSpeed/Enable.png").at(0).at, (Point{754, 224}));
    EXPECT_EQ(scrollLinesBox.enabled, false);
    Model().Press({760, 195});
    Model().Press({958, 190});
    Drawn();
    EXPECT_EQ(scrollLinesBox.enabled, true);
    EXPECT_EQ(Current().scrollLines, 4);
    EXPECT_EQ(scrollLinesBox.text, "4");
}

} // namespace
} // namespace veldrane
