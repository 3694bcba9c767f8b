#include "screens/main/MainWindowModel.h"

#include <gtest/gtest.h>

#include <functional>

#include "core/profile/ConfigFile.h"
#include "screens/MainWindowFixture.h"

namespace veldrane {
namespace {

using namespace std::chrono_literals;
using test::RecordingCanvas;
using Redraws = std::vector<std::optional<Rect>>;

using MainWindowModelTest = test::MainWindowFixture;

TEST_F(MainWindowModelTest, MacroManagerOkTakesItsMacroDataAndCancelKeepsTheRecord)
{
    const ProfileRecord before = records.Current;
    Model().Press({100, 140});
    EXPECT_EQ(records.Current, before);

    ProfileRecord expected = before;
    expected.macroData.fill(0x5A);
    view.macroManagerResult.emplace().fill(0x5A);
    Model().Press({100, 140});
    EXPECT_EQ(records.Current, expected);
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
}

// The wait cursor stands for the download: it is gone when "Save" returns, and only the apply
// lock's timer runs on, during which Save does nothing.
TEST_F(MainWindowModelTest, SaveTwiceWithinTwoSecondsDownloadsOnce)
{
    Model().Press({930, 610});
    EXPECT_EQ(view.waitCursor, (std::vector<bool>{true, false}));
    EXPECT_EQ(Model().NextDeadline(), 2000ms);
    clock.Advance(1999ms);
    Model().OnTimer();
    Model().Press({930, 610});
    EXPECT_EQ(mouse.downloads.size(), 1u);

    clock.Advance(1ms);
    Model().OnTimer();
    EXPECT_EQ(Model().NextDeadline(), std::nullopt);
    Model().Press({930, 610});
    EXPECT_EQ(mouse.downloads.size(), 2u);
}

// Hidden by "Minimise" the window comes back with the unsaved edits; hidden by "Cancel" it comes
// back, once, with the profile as its files hold it.
TEST_F(MainWindowModelTest, TheTrayShowsUnsavedEditsAfterMinimiseAndTheStoredProfileAfterCancel)
{
    Model(); // the window is made first: a profile's first run gets its labels then
    ProfileRecord stored = records.Current;
    stored.cpiValue[0] = 7;
    ASSERT_TRUE(files.SaveConfig(stored).Done()); // what another program left in the profile file
    records.Current.cpiValue[0] = 120;
    files.SetButtonLabel(0, "edited");

    Model().Press({960, 10}); // Minimise
    Model().ShowFromTray();
    EXPECT_EQ(records.Current.cpiValue[0], 120);
    EXPECT_EQ(files.ButtonLabel()[0], "edited");

    Model().Press({870, 610}); // Cancel
    EXPECT_FALSE(view.visible);
    EXPECT_EQ(records.Current, records.Backup);
    view.Clear();
    Model().ShowFromTray();
    EXPECT_TRUE(view.visible);
    EXPECT_EQ(records.Current, stored);
    EXPECT_EQ(files.ButtonLabel()[0], "Click");
    EXPECT_EQ(view.redraws, Redraws{std::nullopt});

    records.Current.cpiValue[0] = 120;
    Model().ShowFromTray();
    EXPECT_EQ(records.Current.cpiValue[0], 120);
}

// A profile file of 100 bytes gave no word, a window of all-zero settings and a Save that did
// nothing: the user's edits were lost. The window now says which file and why, shows the factory
// settings, and Save stores them and sends them.
TEST_F(MainWindowModelTest, AnUnreadableProfileGivesTheFactorySettingsWhichSaveStores)
{
    test::WriteFileBytes(dir / "config0.bin", std::string(100, '\x07'));
    files.EditedLabels().fill("stale");
    Model().ReloadProfile();
    const ProfileRecord factory = ConfigFile::Read(dir / "config.bin").contents.record;
    EXPECT_EQ(records.Current, factory);
    EXPECT_EQ(files.ButtonLabel()[1], "Menu");
    EXPECT_EQ(messages.shown,
              (std::vector<test::RecordingMessageSink::Shown>{
                  {test::RecordingMessageSink::Shown::Kind::Message,
                   "The profile file could not be read; the factory settings are shown. Save stores them in this "
                   "profile.\n" +
                       (dir / "config0.bin").string() + ": A profile file has 1825 bytes; this one has another size",
                   "Warning"}}));

    records.Current.cpiValue[0] = 20; // an edit on the factory settings
    Model().Press({930, 610});        // Save
    ASSERT_EQ(mouse.downloads.size(), 1u);
    EXPECT_EQ(mouse.downloads[0].cpiValue[0], 20);
    // Where the old file is kept aside is the profile files' test.
    EXPECT_EQ(ConfigFile::Read(dir / "config0.bin").contents.record, records.Current);
}

TEST_F(MainWindowModelTest, TheWindowShowsTheConnectionAndTheProfileName)
{
    const std::string work = "Work";
    ASSERT_TRUE(files.StoreSelectedProfile(std::span(&work, 1), 0));
    ASSERT_TRUE(files.LoadConfig(records.Current).Done());
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

TEST_F(MainWindowModelTest, TheThumbAndTheWheelOverThePanelScrollIt)
{
    // "CPI Setting" 600 high and open: 7 headers 25 apart less the last gap, plus 600 pixels of
    // content, make 770 in a viewport of 564.
    images.sizes["/DPISetting/BK_DPISetting.png"] = {242, 600};
    Model().Press({740, 40});
    ASSERT_EQ(Model().Right().Overflow(), 770 - 564);
    Model().ThumbPress({990, 50});
    view.Clear();
    Model().ThumbDrag({990, 50 + 251}); // half of the band of tops 32 to 535
    Model().ThumbRelease();
    EXPECT_EQ(Model().Thumb().Top(), 283);
    EXPECT_EQ(Model().Right().Stack().ScrollOffset(), 251 * 206 / 503);
    EXPECT_EQ(view.redraws, Redraws{RightPanel::kViewport});
    EXPECT_EQ(view.thumbMoves, 1);
    RecordingCanvas canvas;
    Model().Draw(canvas);
    EXPECT_EQ(canvas.ImagesAt("/DPISetting/BK_DPISetting.png").at(0).at, (Point{734, 52 - 251 * 206 / 503}));

    Model().Wheel({400, 300}, 100); // not over the panel
    EXPECT_EQ(Model().Thumb().Top(), 283);
    Model().Wheel({990, 300}, 100); // over the thumb
    EXPECT_EQ(Model().Right().Stack().ScrollOffset(), 0);
    EXPECT_EQ(Model().Thumb().Top(), 32);
}

} // namespace
} // namespace veldrane
