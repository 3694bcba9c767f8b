#include "app/MainWindowModel.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "app/MainWindowFixture.h"
#include "app/MainWindowLayout.h"
#include "app/PanelSection.h"

namespace veldrane {
namespace {

using namespace std::chrono_literals;
using test::RecordingCanvas;
using Shown = test::RecordingMessageSink::Shown;

bool Contains(const std::vector<std::string>& calls, std::string_view call)
{
    return std::find(calls.begin(), calls.end(), call) != calls.end();
}

// A section that records what reaches it; it takes its presses when told to, as the
// button-assignment rows do.
class ProbeSection : public PanelSection
{
public:
    ProbeSection(int height, bool takesPress) : m_height(height), m_takesPress(takesPress) {}

    std::string_view Title() const override { return "Probe"; }
    int ContentHeight() const override { return m_height; }
    void Draw(SkinCanvas&, Point origin) override { drawnAt.push_back(origin); }
    bool Press(Point p, Point origin) override
    {
        presses.push_back({p.x - origin.x, p.y - origin.y});
        lit = litOnPress;
        return true;
    }
    std::optional<std::string> MousePicture() const override { return lit; }
    bool Hover(Point, Point) override
    {
        ++hovers;
        return false;
    }
    bool TakesPress(Point, Point) const override { return m_takesPress; }
    bool Drag(Point p, Point) override
    {
        drags.push_back(p);
        return false;
    }
    bool Release(Point p, Point) override
    {
        releases.push_back(p);
        return false;
    }
    bool Unhover() override
    {
        ++unhovers;
        return false;
    }
    void CloseLists() override { ++listCloses; }
    void MouseViewChanged(MouseView view) override { views.push_back(view); }

    std::vector<Point> drawnAt;
    std::vector<Point> presses;
    std::vector<Point> drags;
    std::vector<Point> releases;
    std::vector<MouseView> views;
    std::optional<std::string> litOnPress; // the mouse picture a press asks for
    std::optional<std::string> lit;
    int hovers = 0;
    int unhovers = 0;
    int listCloses = 0;

private:
    int m_height;
    bool m_takesPress;
};

class MainWindowModelTest : public test::MainWindowFixture
{
protected:
    ProbeSection& PutRightProbe(RightPanel::SectionIndex index, int height, bool takesPress = false)
    {
        auto probe = std::make_unique<ProbeSection>(height, takesPress);
        ProbeSection& ref = *probe;
        Model().SetRightSection(index, std::move(probe));
        return ref;
    }
    ProbeSection& PutLeftProbe(LeftPanel::RowIndex row, int height, bool takesPress)
    {
        auto probe = std::make_unique<ProbeSection>(height, takesPress);
        ProbeSection& ref = *probe;
        Model().SetLeftSection(row, std::move(probe));
        return ref;
    }
};

struct FirstGroupCase
{
    const char* name;
    Point p;
    const char* call; // the view call the click makes; empty when none
};

class FirstGroupTest : public MainWindowModelTest, public ::testing::WithParamInterface<FirstGroupCase>
{
};

TEST_P(FirstGroupTest, EndsTheHandlingWithoutADrag)
{
    Model().Press(GetParam().p);
    EXPECT_TRUE(view.drags.empty());
    if (*GetParam().call != '\0') {
        EXPECT_TRUE(Contains(view.calls, GetParam().call)) << GetParam().name;
    }
}

INSTANTIATE_TEST_SUITE_P(Areas, FirstGroupTest,
                         ::testing::Values(FirstGroupCase{"HelpTopLeft", {937, 5}, "ShowHelp"},
                                           FirstGroupCase{"MinimiseBottomRight", {972, 19}, "Hide"},
                                           FirstGroupCase{"Close", {979, 5}, "ExitProcess"},
                                           FirstGroupCase{"Config", {18, 604}, "OpenProfileManager"},
                                           FirstGroupCase{"Cancel", {860, 633}, "Hide"},
                                           FirstGroupCase{"Save", {923, 604}, ""},
                                           FirstGroupCase{"Reset", {854, 604}, ""},
                                           FirstGroupCase{"Top", {500, 527}, ""},
                                           FirstGroupCase{"Side", {498, 555}, ""},
                                           FirstGroupCase{"MacroManagerRowBottom", {261, 169}, "RunMacroManager"},
                                           FirstGroupCase{"ButtonAssignmentRow", {20, 107}, ""}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(MainWindowModelTest, MacroManagerOkTakesItsMacroDataAndCancelKeepsTheRecord)
{
    const ProfileRecord before = records.Current;
    Model().Press({100, 140});
    EXPECT_EQ(records.Current, before);

    std::array<std::uint8_t, kMacroPartSize> macros{};
    macros.fill(0x5A);
    view.macroManagerResult = macros;
    Model().Press({100, 140});
    EXPECT_TRUE(std::all_of(records.Current.macroData.begin(), records.Current.macroData.end(),
                            [](std::uint8_t b) { return b == 0x5A; }));
    EXPECT_TRUE(std::equal(records.Current.SettingsPart().begin(), records.Current.SettingsPart().end(),
                           before.Bytes().begin()));
}

// A header press moves no window; a press the open section sees but does not take for itself (an
// empty spot) does.
TEST_F(MainWindowModelTest, OnlyAPressASectionLeavesStartsADrag)
{
    ProbeSection& cpi = PutRightProbe(RightPanel::kCpiSetting, 232);
    Model().Press({740, 40});
    EXPECT_TRUE(view.drags.empty());
    Model().Press({775, 58});
    EXPECT_EQ(cpi.presses, std::vector<Point>{Point(41, 6)});
    EXPECT_EQ(view.drags.size(), 1u);
}

TEST_F(MainWindowModelTest, AnAssignmentRowHitEndsTheHandlingAndGetsTheDrag)
{
    ProbeSection& assignment = PutLeftProbe(LeftPanel::kButtonAssignment, 170, true);
    Model().Press({30, 110});
    view.Clear();
    Model().Press({120, 154});
    EXPECT_EQ(assignment.presses, std::vector<Point>{Point(100, 27)});
    EXPECT_TRUE(view.drags.empty());

    Model().Move({125, 160}, true);
    Model().Release({125, 161});
    EXPECT_EQ(assignment.drags, std::vector<Point>{Point(125, 160)});
    EXPECT_EQ(assignment.releases, std::vector<Point>{Point(125, 161)});
    Model().Move({126, 160}, true);
    EXPECT_EQ(assignment.drags.size(), 1u);
}

TEST_F(MainWindowModelTest, SwitchingTheMouseViewClosesTheOpenLists)
{
    ProbeSection& assignment = PutLeftProbe(LeftPanel::kButtonAssignment, 170, true);
    Model().Press({530, 540}); // the top view
    Model().Press({470, 540}); // the side view
    EXPECT_EQ(assignment.views, (std::vector<MouseView>{MouseView::Top, MouseView::Side}));
    // Each press outside the lists closes them, and so does each change of view.
    EXPECT_EQ(assignment.listCloses, 4);
}

TEST_F(MainWindowModelTest, HoverRestoresEachNormalPictureExactlyOnce)
{
    Model().Move({930, 610}, false); // Save
    EXPECT_EQ(view.redraws, (std::vector<std::optional<Rect>>{kSaveButton}));
    view.Clear();
    Model().Move({931, 611}, false); // still Save: nothing to swap
    EXPECT_TRUE(view.redraws.empty());
    Model().Move({870, 610}, false); // Cancel: its "-over", Save's "-normal"
    EXPECT_EQ(view.redraws, (std::vector<std::optional<Rect>>{kCancelButton, kSaveButton}));
    EXPECT_TRUE(Model().BottomRowOver(MainWindowModel::kCancel));
    EXPECT_FALSE(Model().BottomRowOver(MainWindowModel::kSave));
    view.Clear();
    Model().Move({940, 10}, false); // into another group: the bottom row goes back to normal
    EXPECT_EQ(view.redraws, (std::vector<std::optional<Rect>>{kHelpButton, kCancelButton}));
    view.Clear();
    Model().Move({400, 300}, false);
    Model().Move({401, 300}, false);
    EXPECT_EQ(view.redraws, (std::vector<std::optional<Rect>>{kHelpButton}));
}

// A button that opened a dialog or hid the window does not stay lit behind it: the pointer that
// leaves it there sends no move that would give it its "-normal" picture back.
TEST_F(MainWindowModelTest, NoButtonStaysLitBehindADialogOrAHiddenWindow)
{
    const struct
    {
        Point p;
        std::function<bool()> over;
    } buttons[] = {
        {{940, 10}, [&] { return Model().TitleBarOver(MainWindowModel::kHelp); }},
        {{870, 610}, [&] { return Model().BottomRowOver(MainWindowModel::kCancel); }},
        {{50, 610}, [&] { return Model().BottomRowOver(MainWindowModel::kConfig); }},
        {{960, 10}, [&] { return Model().TitleBarOver(MainWindowModel::kMinimise); }},
    };
    for (const auto& button : buttons) {
        Model().Move(button.p, false);
        ASSERT_TRUE(button.over());
        view.Clear();
        Model().Press(button.p);
        EXPECT_FALSE(button.over()) << button.p.x;
        EXPECT_FALSE(view.redraws.empty());
    }
    Model().Move({940, 10}, false);
    Model().PointerLeft();
    EXPECT_FALSE(Model().TitleBarOver(MainWindowModel::kHelp));
}

TEST_F(MainWindowModelTest, SaveTwiceWithinTwoSecondsDownloadsOnce)
{
    Model().Press({930, 610});
    clock.Advance(1999ms);
    Model().OnTimer();
    Model().Press({930, 610});
    EXPECT_EQ(mouse.downloads.size(), 1u);
    EXPECT_TRUE(Model().ApplyLocked());

    clock.Advance(1ms);
    Model().OnTimer();
    EXPECT_FALSE(Model().ApplyLocked());
    Model().Press({930, 610});
    EXPECT_EQ(mouse.downloads.size(), 2u);
}

// The wait cursor stands for the download (ProfileCommandsTest sees it around the download): it is
// gone when "Save" returns, and only the apply lock's timer runs on.
TEST_F(MainWindowModelTest, SaveShowsTheWaitCursorOnlyWhileItRuns)
{
    Model().Press({930, 610});
    EXPECT_EQ(view.waitCursor, (std::vector<bool>{true, false}));
    EXPECT_EQ(Model().NextDeadline(), 2000ms);
    clock.Advance(2000ms);
    Model().OnTimer();
    EXPECT_EQ(Model().NextDeadline(), std::nullopt);
}

TEST_F(MainWindowModelTest, CancelThenTrayClickShowsTheStoredProfile)
{
    ProfileRecord stored = records.Current;
    stored.cpiValue[0] = 7;
    files.SaveConfig(stored); // what another program left in the profile file
    records.Current.cpiValue[0] = 120;
    files.buttonLabel[0] = "edited";

    Model().Press({870, 610});
    EXPECT_FALSE(view.visible);
    EXPECT_TRUE(Model().ReloadOnShow());
    EXPECT_EQ(records.Current, records.Backup);

    Model().ShowFromTray();
    EXPECT_TRUE(view.visible);
    EXPECT_FALSE(Model().ReloadOnShow());
    EXPECT_EQ(records.Current.cpiValue[0], 7);
    EXPECT_EQ(files.buttonLabel[0], "Click");
}

TEST_F(MainWindowModelTest, ResetShowsTheWaitCursorAndReturnsToTheTop)
{
    PutRightProbe(RightPanel::kCpiSetting, 400);
    Model().Press({740, 40});
    Model().ThumbPress({990, 40});
    Model().ThumbDrag({990, 140});
    ASSERT_GT(Model().Right().Stack().ScrollOffset(), 0);

    Model().Press({800, 610});
    EXPECT_EQ(view.waitCursor, (std::vector<bool>{true, false}));
    EXPECT_EQ(Model().NextDeadline(), std::nullopt);
    EXPECT_EQ(Model().Thumb().Top(), 32);
    EXPECT_EQ(Model().Right().Stack().ScrollOffset(), 0);
    EXPECT_EQ(view.redraws.back(), std::nullopt);
}

TEST_F(MainWindowModelTest, TheWindowShowsTheConnectionAndTheProfileName)
{
    files.currentProfileName = "Work";
    RecordingCanvas canvas;
    Model().Draw(canvas);
    EXPECT_EQ(canvas.FindText("Connected")->area.right, 418);
    EXPECT_EQ(canvas.FindText("Profile: Work")->area.left, 568);
    mouse.connected = false;
    canvas.Clear();
    Model().Draw(canvas);
    EXPECT_TRUE(canvas.FindText("Not connected").has_value());
    EXPECT_FALSE(canvas.FindText("Connected").has_value());
}

TEST_F(MainWindowModelTest, FirstDrawFillsTheFirstRunLabelsOnce)
{
    files.buttonLabel.fill("x");
    RecordingCanvas canvas;
    Model().Draw(canvas);
    EXPECT_EQ(files.buttonLabel[5], "CPI +");
    files.buttonLabel[5] = "changed";
    Model().Draw(canvas);
    EXPECT_EQ(files.buttonLabel[5], "changed");
}

TEST_F(MainWindowModelTest, ThumbDragScrollsTheOpenPanel)
{
    ProbeSection& cpi = PutRightProbe(RightPanel::kCpiSetting, 600);
    Model().Press({740, 40});
    // 7 headers 25 apart less the last gap, plus 600 pixels of content: 770 in a 564 viewport.
    EXPECT_EQ(Model().Right().Overflow(), 770 - 564);
    Model().ThumbPress({990, 50});
    view.Clear();
    Model().ThumbDrag({990, 50 + 251}); // half of the band of tops 32 to 535
    EXPECT_EQ(Model().Thumb().Top(), 283);
    EXPECT_EQ(Model().Right().Stack().ScrollOffset(), 251 * 206 / 503);
    EXPECT_EQ(view.redraws, (std::vector<std::optional<Rect>>{RightPanel::kViewport}));
    EXPECT_EQ(view.thumbMoves, 1);

    RecordingCanvas canvas;
    Model().Draw(canvas);
    EXPECT_EQ(cpi.drawnAt.back(), (Point{734, 52 - 251 * 206 / 503}));
}

TEST_F(MainWindowModelTest, WheelScrollsOnlyOverThePanel)
{
    PutRightProbe(RightPanel::kCpiSetting, 600);
    Model().Press({740, 40});
    Model().Wheel({400, 300}, -1);
    EXPECT_EQ(Model().Right().Stack().ScrollOffset(), 0);
    Model().Wheel({800, 300}, -1);
    EXPECT_GE(Model().Right().Stack().ScrollOffset(), RightPanel::kWheelStep);
    EXPECT_LT(Model().Right().Stack().ScrollOffset(), 2 * RightPanel::kWheelStep);
    for (int i = 0; i < 20; ++i) {
        Model().Wheel({800, 300}, -1);
    }
    EXPECT_EQ(Model().Right().Stack().ScrollOffset(), Model().Right().Overflow());
    EXPECT_EQ(Model().Thumb().Top(), Model().Thumb().MaxTop());
    Model().Wheel({990, 550}, 100); // over the thumb at the bottom
    EXPECT_EQ(Model().Right().Stack().ScrollOffset(), 0);
    EXPECT_EQ(Model().Thumb().Top(), 32);
}

} // namespace
} // namespace veldrane
