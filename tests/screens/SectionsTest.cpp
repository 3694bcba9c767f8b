// The settings sections on the window's model: presses at the edges of their controls, drags,
// the values and notes they write, presses only while open.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <utility>

#include "core/text/ControlCaptionTexts.h"
#include "screens/SectionsFixture.h"
#include "screens/main/MainWindowLayout.h"
#include "support/Parameterised.h"

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

using SectionPressTest = test::Parameterised<SectionsTest, PressCase>;

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
        PressCase{"LightStripEnd", kLighting, {961, 97}, [](ProfileRecord& r) { r.lightLevel[0] = 6; }},
        PressCase{"LightStripRight", kLighting, {962, 97}, kNothing},
        PressCase{"RateLowerRight", kRate, {885, 202}, [](ProfileRecord& r) { r.reportRate = 2; }},
        PressCase{"SpeedBelowCentre", kSpeed, {905, 207}, kNothing},
        PressCase{"SensitivityFirstStep", kSensitivity, {45, 223}, [](ProfileRecord& r) { r.sensitivityX = 1; }},
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

using ControlDragTest = test::Parameterised<SectionsTest, DragCase>;

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

using R = const ProfileRecord&;

INSTANTIATE_TEST_SUITE_P(
    Controls, ControlDragTest,
    testing::Values(DragCase{"CpiTrack", kCpi, {777, 200}, {790, 0}, [](R r) { return r.cpiValue[0]; }, 27, 164},
                    DragCase{
                        "Sensitivity", kSensitivity, {87, 223}, {600, 100}, [](R r) { return r.sensitivityX; }, 3, 11},
                    DragCase{"ReportRate", kRate, {885, 202}, {655, 322}, [](R r) { return r.reportRate; }, 2, 4},
                    DragCase{"MouseSpeed", kSpeed, {805, 206}, {1155, 306}, [](R r) { return r.mouseSpeed; }, 2, 12}),
    [](const auto& info) { return std::string(info.param.name); });

// The keyboard's order: the title bar, the left headers, the view buttons, the right headers with
// an open section's controls after its header, the bottom row; the press that opened a section
// gave its header the focus, Tab goes on from there and wraps round, and the ring is drawn in red
// just outside the control with the focus.
TEST_F(SectionsTest, TabWalksTheControlsInReadingOrderWithARing)
{
    Current().cpiValue[0] = 32;
    Current().cpiEnabled[0] = 1;
    Open(kCpi);
    const auto focused = [this] { return Model().Controls().at(Model().FocusIndex().value()).name; };
    EXPECT_EQ(focused(), "CPI Setting");
    std::vector<std::string> walked;
    for (int i = 0; i < 32; ++i) {
        Model().KeyPressed(WindowKey::Tab);
        walked.push_back(focused());
    }
    std::vector<std::string> expected;
    for (const char* kind : {"CPI stage ", "Use CPI stage ", "Colour of CPI stage "}) {
        for (const char* stage : {"1", "2", "3", "4"}) {
            expected.push_back(kind + std::string(stage));
        }
    }
    expected.insert(expected.end(), {"Lighting", "USB Report Rate", "Mouse Speed", "Double Click Speed", "Scroll Speed",
                                     "Angle Snap", "Config", "Reset", "Cancel", "Save", "Help", "Minimise", "Close",
                                     "Button Assignment", "Macro Manager", "X/Y Sensitivity Setting"});
    expected.insert(expected.end(), {"M1-M5 Light Button ", "Side", "Top", "CPI Setting"});
    EXPECT_EQ(walked, expected);
    for (int i = 0; i < 9; ++i) {
        Model().KeyPressed(WindowKey::BackTab);
    }
    EXPECT_EQ(Model().FocusIndex(), 0U);
    Model().KeyPressed(WindowKey::BackTab);
    EXPECT_EQ(focused(), "Save");
    Model().KeyPressed(WindowKey::Tab);
    EXPECT_EQ(Model().FocusIndex(), 0U);

    std::vector<Rect> ring;
    for (const auto& fill : Drawn().fills) {
        if (fill.colour == kFocusRingColour) {
            ring.push_back(fill.area);
        }
    }
    const Rect r{kHelpButton.left - 2, kHelpButton.top - 2, kHelpButton.right + 2, kHelpButton.bottom + 2};
    EXPECT_EQ(ring, (std::vector<Rect>{{r.left, r.top, r.right, r.top + 2},
                                       {r.left, r.bottom - 2, r.right, r.bottom},
                                       {r.left, r.top, r.left + 2, r.bottom},
                                       {r.right - 2, r.top, r.right, r.bottom}}));

    // Its role, value and area are the assistive technology test's; the view buttons' the view's.
    const std::vector<FocusControl> controls = Model().Controls();
    const FocusControl& track = controls[10];
    EXPECT_EQ((std::array{*track.number, track.minimum, track.maximum, track.step}), (std::array{1600, 50, 8200, 50}));
    EXPECT_TRUE(controls[14].checked);
    EXPECT_EQ(controls[14].role, ControlRole::CheckBox);
}

// A key acts on the control with the focus only: Return folds a header, the arrows step a track
// and stop at its ends; a section shut under the focus leaves it on the header; F1 opens the help
// panel and Escape closes it.
TEST_F(SectionsTest, KeysActOnTheFocusedControl)
{
    Current().cpiValue[3] = 163;
    const std::uint8_t third = Current().cpiValue[2];
    for (int i = 0; i < 10; ++i) {
        Model().KeyPressed(WindowKey::Tab);
    }
    Model().KeyPressed(WindowKey::Up); // a header does not step
    EXPECT_FALSE(Model().Right().Stack().IsOpen(RightPanel::kCpiSetting));
    Model().KeyPressed(WindowKey::Return);
    EXPECT_TRUE(Model().Right().Stack().IsOpen(RightPanel::kCpiSetting));
    for (int i = 0; i < 4; ++i) {
        Model().KeyPressed(WindowKey::Tab);
    }
    for (WindowKey key : {WindowKey::Up, WindowKey::Up, WindowKey::Right}) {
        Model().KeyPressed(key);
    }
    EXPECT_EQ(Current().cpiValue[3], 164); // the other keys' steps are the keys-alone save test's
    Model().KeyPressed(WindowKey::Home);
    Model().KeyPressed(WindowKey::Down);
    EXPECT_EQ(Current().cpiValue[3], 1);
    EXPECT_EQ(Current().cpiValue[2], third); // only the focused track moved

    Model().KeyPressed(WindowKey::Tab); // "Use CPI stage 1"
    const std::uint8_t enabled = Current().cpiEnabled[0];
    Model().KeyPressed(WindowKey::Space);
    EXPECT_NE(Current().cpiEnabled[0], enabled);

    Open(kCpi); // shut by the pointer
    EXPECT_EQ(Model().Controls().at(Model().FocusIndex().value()).name, "CPI Setting");

    Model().KeyPressed(WindowKey::Help);
    EXPECT_TRUE(Model().HelpOpen());
    Model().KeyPressed(WindowKey::Escape);
    EXPECT_FALSE(Model().HelpOpen());
}

// The strips and dials step by one position between their ends; Return leaves them as they are
// (a click in the middle would move them), and angle snap's ends read "Off".
TEST_F(SectionsTest, StripsAndDialsStepBetweenTheirEnds)
{
    Current().sensitivityX = 6;
    Current().mouseSpeed = 3;
    Current().angleSnap = 4;
    Open(kSensitivity);
    Open(kSpeed);
    Open(kSnap);
    Open(kLighting);
    const auto focusOn = [this](std::string_view name, ControlRole role = ControlRole::Slider) {
        const std::vector<FocusControl> controls = Model().Controls();
        for (std::size_t i = 0; i < controls.size(); ++i) {
            if (controls[i].name == name && controls[i].role == role) {
                Model().SetFocus(i);
                return controls[i];
            }
        }
        ADD_FAILURE() << name;
        return FocusControl{};
    };
    EXPECT_EQ(focusOn("X axis").value, "6");
    for (WindowKey key : {WindowKey::Return, WindowKey::End, WindowKey::Right, WindowKey::Left, WindowKey::PageDown}) {
        Model().KeyPressed(key);
    }
    EXPECT_EQ(Current().sensitivityX, 7); // 11, 11, 10, 7
    (void)focusOn("Mouse Speed");
    for (WindowKey key : {WindowKey::Down, WindowKey::Down, WindowKey::Down}) {
        Model().KeyPressed(key);
    }
    EXPECT_EQ(Current().mouseSpeed, 2);
    (void)focusOn("Angle Snap");
    Model().KeyPressed(WindowKey::Home);
    EXPECT_EQ(Current().angleSnap, 1);
    EXPECT_EQ(Model().Controls().at(Model().FocusIndex().value()).value, "Off");

    Current().lightMode = 1;
    Current().lightLevel = {3, 3, 3};
    EXPECT_FALSE(focusOn("Pulsating", ControlRole::RadioButton).checked);
    Model().KeyPressed(WindowKey::Space);
    EXPECT_EQ(Current().lightMode, 2);
    (void)focusOn("Pulsating");
    Model().KeyPressed(WindowKey::End);
    EXPECT_EQ(Current().lightLevel, (std::array<std::uint8_t, 3>{3, 6, 3}));

    Open(kSideLight);
    const std::uint8_t light = Current().sideButtonLight;
    const bool offChecked = focusOn("OFF", ControlRole::RadioButton).checked;
    Model().KeyPressed(WindowKey::Return);
    EXPECT_TRUE(Model().Controls().at(Model().FocusIndex().value()).checked);
    EXPECT_EQ(Current().sideButtonLight != light, !offChecked);
}

// Tab into a section below the right panel's fold scrolls the panel until the control shows.
TEST_F(SectionsTest, TheFocusScrollsTheRightPanelToItsControl)
{
    for (std::size_t i = 0; i < RightPanel::kSectionCount; ++i) {
        Model().Right().Toggle(i);
    }
    ASSERT_GT(Model().Right().Overflow(), 0);
    Model().Right().ScrollToTop();
    view.Clear();
    for (int i = 0; i < 5; ++i) {
        Model().KeyPressed(WindowKey::BackTab); // "Save", "Cancel", "Reset", "Config", then angle snap's strip
    }
    const FocusControl focused = Model().Controls().at(Model().FocusIndex().value());
    EXPECT_EQ(focused.name, "Angle Snap");
    EXPECT_NE(focused.role, ControlRole::PageTab);
    EXPECT_GE(focused.area.top, RightPanel::kViewport.top);
    EXPECT_LE(focused.area.bottom, RightPanel::kViewport.bottom);
    EXPECT_GT(view.thumbMoves, 0);
}

// The names a screen reader gives in each language (the English ones are the Tab walk's).
TEST(ControlCaptions, NumberedInEachLanguage)
{
    EXPECT_EQ(NumberedCaption(ControlCaptionTextsFor(Language::SimplifiedChinese).cpiStage, 2), "CPI 档位 2");
    EXPECT_EQ(NumberedCaption(ControlCaptionTextsFor(Language::TraditionalChinese).cpiStageSwitch, 4),
              "啟用 CPI 檔位 4");
}

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

// A section whose desktop setting the desktop lacks says so inside its frame, under its controls,
// and grows by that line: the frame's lower border moves down under the note, the row above it
// stretched over the note's height; the others stay as they are.
TEST_F(SectionsTest, ASettingTheDesktopLacksIsNamedInItsSection)
{
    pointerSettings.lacking = {PointerSetting::DoubleClickTime};
    UsePoint({24, 84, 97, 1000}); // as low as the dial goes: the note is no room for it
    const Rect scrollHeader = Model().Right().Stack().HeaderArea(RightPanel::kScrollSpeed);
    Open(kDoubleClick);
    ToggleRight(RightPanel::kScrollSpeed);
    auto& drawn = Drawn();
    EXPECT_EQ(std::count_if(drawn.texts.begin(), drawn.texts.end(),
                            [](const auto& text) { return text.text == "This desktop cannot take this setting."; }),
              1);
    const int height = Model().Right().Stack().ContentArea(RightPanel::kDoubleClickSpeed).Height();
    EXPECT_EQ(height, 110 + 20);
    EXPECT_EQ(Model().Right().Stack().HeaderArea(RightPanel::kScrollSpeed), scrollHeader.Offset(0, height));
    const Point origin = Model().Right().Stack().ContentOrigin(RightPanel::kDoubleClickSpeed);
    EXPECT_EQ(drawn.ImagesAt("/MouseAttribute/Speed/6.png").at(0).at, (Point{origin.x + 50, origin.y + 110 - 83 - 17}));
    EXPECT_EQ(drawn.FindText("This desktop cannot take this setting.")->area,
              (Rect{origin.x + 8, origin.y + 106, origin.x + 234, origin.y + 124}));
    const auto frame = drawn.ImagesAt("/MouseAttribute/BK_MouseAttribute.png");
    ASSERT_EQ(frame.size(), 3u);
    const auto rows = [](const auto& image) {
        return std::array{image.at.y, image.fromRow, image.toRow, image.height};
    };
    EXPECT_EQ(rows(frame[0]), (std::array{origin.y, 0, 104, 104}));
    EXPECT_EQ(rows(frame[1]), (std::array{origin.y + 104, 103, 104, 20}));
    EXPECT_EQ(rows(frame[2]), (std::array{origin.y + 124, 104, 110, 6}));
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
