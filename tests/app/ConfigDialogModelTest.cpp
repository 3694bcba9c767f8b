#include "app/ConfigDialogModel.h"

#include <gtest/gtest.h>

#include "app/MainWindowFixture.h"
#include "profile/InstalledProfiles.h"
#include "profile/ScriptedFileDialog.h"
#include "support/RecordingCanvas.h"

namespace veldrane {
namespace {

using test::InstalledProfiles;
using test::Patterned;
using test::RecordingCanvas;
using test::ScriptedFileDialog;
using test::WriteFileBytes;
using Shown = test::RecordingMessageSink::Shown;
using Names = std::vector<std::string>;

constexpr Colour kText{230, 230, 230, 255};

class ConfigDialogModelTest : public InstalledProfiles
{
protected:
    ConfigDialogModelTest()
    {
        canvas.sizes = {{"/Config/Config.png", {263, 598}},
                        {"/Config/New-Config.png", {263, 23}},
                        {"/button-close-normal.png", {15, 15}},
                        {"/button-close-over.png", {15, 15}}};
    }

    ConfigDialogModel& Model()
    {
        if (!m_model) {
            m_model = std::make_unique<ConfigDialogModel>(
                ConfigDialogContext{files, records, codec, messages, dialog, language, kText,
                                    [this](ProfileManagerNotice notice) { notices.push_back(notice); }});
            size = m_model->Open(canvas);
        }
        return *m_model;
    }

    Language language = Language::English;
    ProfileRecords records{Patterned(1), Patterned(1)};
    ScriptedFileDialog dialog;
    RecordingCanvas canvas;
    std::vector<ProfileManagerNotice> notices;
    Size size;

private:
    std::unique_ptr<ConfigDialogModel> m_model;
};

struct PressCase
{
    const char* label;
    Point at;
    std::size_t names; // after the press
    bool close;
    bool move;
};

class ConfigDialogPressTest : public ConfigDialogModelTest, public ::testing::WithParamInterface<PressCase>
{
};

TEST_P(ConfigDialogPressTest, HitsTheAreasAtTheirEdges)
{
    const ConfigDialogOutcome outcome = Model().Press(GetParam().at);
    EXPECT_EQ(Model().Names().size(), GetParam().names);
    EXPECT_EQ(outcome.close, GetParam().close);
    EXPECT_EQ(outcome.startMove, GetParam().move);
}

INSTANTIATE_TEST_SUITE_P(Areas, ConfigDialogPressTest,
                         ::testing::Values(PressCase{"NewRowTopLeft", {0, 575}, 2, false, false},
                                           PressCase{"NewRowBottomRight", {262, 597}, 2, false, false},
                                           PressCase{"CloseTopLeft", {240, 8}, 1, true, false},
                                           PressCase{"CloseBottomRight", {254, 22}, 1, true, false},
                                           PressCase{"LeftOfClose", {239, 8}, 1, false, true},
                                           PressCase{"BelowClose", {254, 23}, 1, false, true},
                                           PressCase{"AboveNewRow", {100, 574}, 1, false, true}),
                         [](const auto& info) { return std::string(info.param.label); });

TEST_F(ConfigDialogModelTest, CloseStoresTheListAndTellsTheMainWindowOnce)
{
    Model().Press({10, 580});
    EXPECT_TRUE(Model().Press({245, 12}).close);
    EXPECT_TRUE(Model().Closed());
    EXPECT_EQ(ListValue("ItemCount"), "2");
    EXPECT_EQ(ListValue("CurProfileName"), "PROFILE_1");
    EXPECT_EQ(files.currentProfileIndex, 1);
    EXPECT_FALSE(Model().Close().close);
    EXPECT_EQ(notices, (std::vector<ProfileManagerNotice>{ProfileManagerNotice::Closed}));
}

// Import and export worked on the current record whatever profile was selected.
TEST_F(ConfigDialogModelTest, TransfersWorkOnTheSelectedProfile)
{
    InstallThree();
    files.currentProfileIndex = 1; // B is loaded and edited
    files.buttonLabel[0] = "edited";
    WriteFileBytes(dir / "mine.bin", ConfigFile::Encode(1, Patterned(40)));
    WriteFileBytes(dir / "mine.ini", "[Setting-EN]\r\nItem1=label mine\r\n");
    dialog.answer = dir / "mine.bin";
    Model().SelectionChanged(2);
    const ConfigDialogOutcome outcome = Model().RunMenuCommand(ProfileMenuCommand::Load);
    ASSERT_EQ(outcome.post, ProfileManagerNotice::Import);
    EXPECT_TRUE(dialog.asked.empty()); // only when the posted request runs
    Model().RunTransfer(*outcome.post);
    EXPECT_EQ(SettingsOf(2), Patterned(40));
    EXPECT_EQ(LabelOf(2), "label mine");
    EXPECT_EQ(records.Current, Patterned(1)) << "C is not the loaded profile";
    EXPECT_EQ(files.buttonLabel[0], "edited");
    EXPECT_EQ(files.currentProfileIndex, 1);
    EXPECT_EQ(notices, (std::vector<ProfileManagerNotice>{ProfileManagerNotice::Import}));

    // Export of A writes A's stored settings and labels, not the edited current ones.
    dialog.answer = dir / "out.bin";
    Model().SelectionChanged(0);
    Model().RunTransfer(*Model().RunMenuCommand(ProfileMenuCommand::Save).post);
    EXPECT_EQ(ConfigFile::Read(dir / "out.bin").contents.record, Patterned(10));
    EXPECT_EQ(IniFile(dir / "out.ini", codec).GetString("Setting-EN", "Item1"), "label A");
    EXPECT_EQ(files.buttonLabel[0], "edited");

    // Into the loaded profile the import goes to memory, for "Save".
    dialog.answer = dir / "mine.bin";
    Model().SelectionChanged(1);
    Model().RunTransfer(*Model().RunMenuCommand(ProfileMenuCommand::Load).post);
    EXPECT_EQ(records.Current, Patterned(40));
    EXPECT_EQ(SettingsOf(1), Patterned(11));
}

// Closing with another profile selected kept the old record, and the next Save wrote it into the
// selected profile's files.
TEST_F(ConfigDialogModelTest, CloseLoadsTheSelectedProfileAskingBeforeChangesAreDropped)
{
    InstallThree();
    files.LoadConfig(records.Current); // B
    records.Snapshot();
    records.Current.reportRate = 77;
    Model().SelectionChanged(2);
    messages.answer = false;
    EXPECT_FALSE(Model().Close().close);
    EXPECT_EQ(messages.shown,
              (std::vector<Shown>{{Shown::Kind::Question,
                                   "The current profile has changes that were not saved. Drop them and load the "
                                   "selected profile?",
                                   "Warning"}}));
    EXPECT_EQ(records.Current.reportRate, 77);
    EXPECT_EQ(ListValue("CurProfileName"), "B");
    EXPECT_TRUE(notices.empty());

    messages.answer = true;
    EXPECT_TRUE(Model().Close().close);
    EXPECT_EQ(files.currentProfileIndex, 2);
    EXPECT_EQ(files.CurrentProfileName(), "C");
    EXPECT_EQ(records.Current, Patterned(12));
    EXPECT_EQ(records.Backup, Patterned(12));
    EXPECT_EQ(files.buttonLabel[0], "label C");
    EXPECT_EQ(notices, (std::vector<ProfileManagerNotice>{ProfileManagerNotice::Closed}));
}

TEST_F(ConfigDialogModelTest, AListThatCannotBeStoredKeepsTheManagerOpen)
{
    InstallThree();
    const std::string damaged = test::ReadFileBytes(dir / "str.ini") + "; \x81\r\n";
    WriteFileBytes(dir / "str.ini", damaged);
    Model().Press({10, 580});
    EXPECT_FALSE(Model().Press({245, 12}).close);
    EXPECT_FALSE(Model().Closed());
    EXPECT_EQ(Model().Names(), (Names{"A", "B", "C", "C_3"}));
    EXPECT_TRUE(notices.empty());
}

TEST_F(ConfigDialogModelTest, TransferPostedBeforeTheCloseDoesNotRun)
{
    InstallThree();
    Model().SelectionChanged(1);
    const ConfigDialogOutcome outcome = Model().RunMenuCommand(ProfileMenuCommand::Load);
    Model().Close();
    Model().RunTransfer(*outcome.post);
    EXPECT_TRUE(dialog.asked.empty());
    EXPECT_EQ(notices, (std::vector<ProfileManagerNotice>{ProfileManagerNotice::Closed}));
}

} // namespace
} // namespace veldrane
