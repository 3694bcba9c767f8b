#include "screens/profiles/ConfigDialogModel.h"

#include <gtest/gtest.h>

#include "core/apps/AppRules.h"
#include "core/buttons/ButtonAssignment.h"
#include "core/profile/FactoryDefaults.h"
#include "core/profile/InstalledProfiles.h"
#include "core/profile/ScriptedFileDialog.h"
#include "support/RecordingCanvas.h"

namespace veldrane {
namespace {

using test::Patterned;
using Shown = test::RecordingMessageSink::Shown;
using Notices = std::vector<ProfileManagerNotice>;

// The manager opens at its first use, over the files the test has installed.
class ConfigDialogModelTest : public test::InstalledProfiles
{
protected:
    ConfigDialogModel& Model()
    {
        if (!m_model) {
            m_model = std::make_unique<ConfigDialogModel>(ConfigDialogContext{
                files, records, codec, messages, dialog, Language::English, Colour{230, 230, 230, 255},
                [this](ProfileManagerNotice notice) { notices.push_back(notice); }});
            test::RecordingCanvas canvas;
            canvas.sizes = {{"/Config/Config.png", {263, 598}}, {"/Config/New-Config.png", {263, 23}}};
            m_model->Open(canvas);
        }
        return *m_model;
    }

    // Selects profile `index` and runs the import or export that `command` posts, from or to `file`.
    void Transfer(std::size_t index, ProfileMenuCommand command, const std::filesystem::path& file)
    {
        dialog.answer = file;
        Model().SelectionChanged(index);
        const std::size_t asked = dialog.asked.size();
        const ConfigDialogOutcome outcome = Model().RunMenuCommand(command);
        ASSERT_TRUE(outcome.post.has_value());
        EXPECT_EQ(dialog.asked.size(), asked); // the file is asked for only when the posted request runs
        Model().RunTransfer(*outcome.post);
    }

    std::string ListValue(std::string_view key)
    {
        return IniFile(dir / "str.ini", codec).GetString("Profile", key, "<missing>");
    }

    ProfileRecords records{Patterned(1), Patterned(1)};
    test::ScriptedFileDialog dialog;
    Notices notices;

private:
    std::unique_ptr<ConfigDialogModel> m_model;
};

// The new row from (0, 575), the close button from (240, 8) to (254, 22); elsewhere the press
// moves the manager.
TEST_F(ConfigDialogModelTest, CloseStoresTheListAndTellsTheMainWindowOnce)
{
    EXPECT_TRUE(Model().Press({239, 8}).startMove);
    EXPECT_TRUE(Model().Press({254, 23}).startMove);
    Model().Press({0, 575});
    EXPECT_TRUE(Model().Press({254, 22}).close);
    EXPECT_TRUE(Model().Closed());
    EXPECT_EQ(ListValue("ItemCount"), "2");
    EXPECT_EQ(ListValue("CurProfileName"), "PROFILE_1");
    EXPECT_EQ(files.CurrentProfileIndex(), 1);
    EXPECT_FALSE(Model().Close().close);
    EXPECT_EQ(notices, Notices{ProfileManagerNotice::Closed});
}

// The arrows walk the names without starting a rename, which F2 starts at once; Delete, Insert and
// the "New" row reached by Tab act as their menu entry and row; Return on the list closes the
// manager with the name walked to as the current profile.
TEST_F(ConfigDialogModelTest, KeysWalkRenameDeleteAddAndReturnMakesTheSelectedProfileCurrent)
{
    InstallThree(); // A, B, C; B loaded
    ConfigDialogModel& model = Model();
    const auto key = [&model](WindowKey k) { return model.KeyPressed(k); };
    for (const WindowKey walk : {WindowKey::Down, WindowKey::Up, WindowKey::End, WindowKey::Home, WindowKey::Up}) {
        EXPECT_FALSE(key(walk).editLine);
    }
    EXPECT_EQ(model.Selected(), 0u);
    key(WindowKey::PageDown);
    EXPECT_EQ(model.Selected(), 2u);
    EXPECT_EQ(key(WindowKey::Rename).editLine, 2u);
    model.CommitRename(2, "Game");
    key(WindowKey::Home);
    key(WindowKey::Delete);
    key(WindowKey::Insert);
    EXPECT_EQ(model.Names(), (std::vector<std::string>{"B", "Game", "Game_2"}));
    key(WindowKey::Tab);
    EXPECT_EQ(model.Controls()[*model.FocusIndex()].name, "New");
    key(WindowKey::Space);
    EXPECT_EQ(model.Names().size(), 4u);
    key(WindowKey::Tab);
    EXPECT_EQ(model.Controls()[*model.FocusIndex()].name, "Close");
    key(WindowKey::Tab);
    key(WindowKey::Up);
    key(WindowKey::Up);
    EXPECT_TRUE(notices.empty());
    EXPECT_TRUE(key(WindowKey::Return).close);
    EXPECT_EQ(ListValue("CurProfileName"), "Game");
    EXPECT_EQ(files.CurrentProfileIndex(), 1);
    EXPECT_EQ(records.Current, Patterned(12)) << "C's settings, now Game's";
    EXPECT_EQ(notices, Notices{ProfileManagerNotice::Closed});
}

// Import and export worked on the current record whatever profile was selected.
TEST_F(ConfigDialogModelTest, TransfersWorkOnTheSelectedProfile)
{
    InstallThree();
    files.SelectProfileIndex(1); // B is loaded and edited
    files.SetButtonLabel(0, "edited");
    test::WriteFileBytes(dir / "mine.bin", ConfigFile::Encode(1, Patterned(40)));
    test::WriteFileBytes(dir / "mine.ini", "[Setting-EN]\r\nItem1=label mine\r\n");
    Transfer(2, ProfileMenuCommand::Load, dir / "mine.bin");
    EXPECT_EQ(test::ReadFileBytes(dir / "config2.bin"), test::ReadFileBytes(dir / "mine.bin"));
    EXPECT_EQ(LabelOf(2), "label mine");
    EXPECT_EQ(records.Current, Patterned(1)) << "C is not the loaded profile";
    EXPECT_EQ(files.ButtonLabel()[0], "edited");

    // Export of A writes A's stored settings and labels, not the edited current ones.
    Transfer(0, ProfileMenuCommand::Save, dir / "out.bin");
    EXPECT_EQ(test::ReadFileBytes(dir / "out.bin"), test::ReadFileBytes(dir / "config0.bin"));
    EXPECT_EQ(IniFile(dir / "out.ini", codec).GetString("Setting-EN", "Item1"), "label A");

    // Into the loaded profile the import goes to memory, for "Save".
    Transfer(1, ProfileMenuCommand::Load, dir / "mine.bin");
    EXPECT_EQ(records.Current, Patterned(40));
    EXPECT_EQ(SettingsOf(1), Patterned(11));
    EXPECT_EQ(notices,
              (Notices{ProfileManagerNotice::Import, ProfileManagerNotice::Export, ProfileManagerNotice::Import}));
    EXPECT_EQ(files.CurrentProfileIndex(), 1);
}

// A name ending in ".json" (in any case) chooses the readable form: Save writes it alone, Load
// reads it into the profile's files.
TEST_F(ConfigDialogModelTest, AReadableProfileSavedAndLoadedGivesTheSameFiles)
{
    InstallThree();
    files.SelectProfileIndex(1);
    ProfileRecord game = FactoryProfile();
    game.cpiValue[0] = 64;
    game.mouseSpeed = 7;
    ASSERT_FALSE(ConfigFile::Write(dir / ProfileConfigName(2), 1, game));
    test::TempDir elsewhere;
    Transfer(2, ProfileMenuCommand::Save, elsewhere.Path() / "Game.JSON");
    EXPECT_EQ(test::ReadFolder(elsewhere.Path()).size(), 1u) << "no binary pair beside it";
    EXPECT_NE(test::ReadFileBytes(elsewhere.Path() / "Game.JSON").find("\"name\": \"C\""), std::string::npos);
    const std::string stored = test::ReadFileBytes(dir / ProfileConfigName(2));

    // Into profile A, which is not loaded (a fresh folder reading it back, labels and all, is the
    // readable form's test).
    Transfer(0, ProfileMenuCommand::Load, elsewhere.Path() / "Game.JSON");
    EXPECT_EQ(test::ReadFileBytes(dir / ProfileConfigName(0)), stored);
    EXPECT_EQ(records.Current, Patterned(1)) << "the loaded profile is left alone";

    // Into the loaded profile (B), the record follows its files; a broken document changes nothing.
    Transfer(1, ProfileMenuCommand::Load, elsewhere.Path() / "Game.JSON");
    EXPECT_EQ(records.Current, game);
    EXPECT_EQ(records.Backup, game);
    test::WriteFileBytes(elsewhere.Path() / "broken.json", "{\"format\": \"veldrane-profile\"");
    Transfer(0, ProfileMenuCommand::Load, elsewhere.Path() / "broken.json");
    EXPECT_EQ(test::ReadFileBytes(dir / ProfileConfigName(0)), stored);
    ASSERT_EQ(messages.shown.size(), 1u) << "only the broken document is refused";
    EXPECT_TRUE(messages.shown[0].text.starts_with("The profile file could not be imported; nothing was changed:\n"))
        << messages.shown[0].text;
}

// A damaged import of the right size left Buttons 1 and 2 sending 00 00 00 00 under empty labels
// and the pointer dials where no control can show them: everything is brought to what the
// controls produce, and the user is told once what changed.
TEST_F(ConfigDialogModelTest, ADamagedImportIsBroughtIntoTheControlsAndSaysWhatChanged)
{
    InstallThree();
    files.SelectProfileIndex(1);
    files.SetButtonRepair(&BringButtonsIntoMenuRange);
    ProfileRecord damaged = FactoryProfile();
    damaged.buttonFunction[0] = 0xFF;
    damaged.buttonFunction[1] = 0x20;
    damaged.mouseSpeed = 0;
    damaged.scrollLines = 200;
    test::WriteFileBytes(dir / "damaged.bin", ConfigFile::Encode(1, damaged));
    test::WriteFileBytes(dir / "damaged.ini", "[Setting-EN]\r\nItem1=\r\nItem3=mine\r\n");
    Transfer(1, ProfileMenuCommand::Load, dir / "damaged.bin");

    ProfileRecord expected = FactoryProfile();
    expected.mouseSpeed = 1;
    expected.scrollLines = 100;
    EXPECT_EQ(records.Current, expected);
    EXPECT_EQ(files.ButtonLabel()[0], "Click");
    EXPECT_EQ(files.ButtonLabel()[1], "Menu");
    EXPECT_EQ(files.ButtonLabel()[2], "mine");
    EXPECT_EQ(messages.shown,
              (std::vector<Shown>{{Shown::Kind::Message,
                                   "The imported profile held values that the window cannot show. They were changed "
                                   "to the nearest ones it can, or to the factory function of the button, in:\n"
                                   "Button Assignment: 1, 2\nMouse Speed\nScroll Speed",
                                   "Tessaly VELDRANE"}}));

    // An import that needed nothing changed says nothing.
    messages.shown.clear();
    test::WriteFileBytes(dir / "damaged.bin", ConfigFile::Encode(1, expected));
    Transfer(1, ProfileMenuCommand::Load, dir / "damaged.bin");
    EXPECT_TRUE(messages.shown.empty());
}

// Closing with another profile selected kept the old record, and the next Save wrote it into the
// selected profile's files.
TEST_F(ConfigDialogModelTest, CloseLoadsTheSelectedProfileAskingBeforeChangesAreDropped)
{
    InstallThree();
    EXPECT_TRUE(files.LoadConfig(records.Current).Done()); // B
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
    EXPECT_EQ(files.CurrentProfileName(), "C");
    EXPECT_EQ(records.Current, Patterned(12));
    EXPECT_EQ(records.Backup, Patterned(12));
    EXPECT_EQ(files.ButtonLabel()[0], "label C");
    EXPECT_EQ(notices, Notices{ProfileManagerNotice::Closed});
}

// A list that cannot be stored keeps the manager open; a transfer posted before a close does not
// run after it.
TEST_F(ConfigDialogModelTest, TheManagerClosesOnlyWithItsListStoredAndThenRunsNoTransfer)
{
    InstallThree();
    const std::string list = test::ReadFileBytes(dir / "str.ini");
    test::WriteFileBytes(dir / "str.ini", list + "; \x81\r\n");
    Model().SelectionChanged(1);
    const ConfigDialogOutcome outcome = Model().RunMenuCommand(ProfileMenuCommand::Load);
    EXPECT_FALSE(Model().Close().close);
    EXPECT_FALSE(Model().Closed());
    EXPECT_TRUE(notices.empty());
    EXPECT_EQ(messages.shown, (std::vector<Shown>{{Shown::Kind::Message, "Error Code is: 5 \n", "NULL ==fp "}}));

    test::WriteFileBytes(dir / "str.ini", list);
    EXPECT_TRUE(Model().Close().close);
    Model().RunTransfer(*outcome.post);
    EXPECT_TRUE(dialog.asked.empty());
    EXPECT_EQ(notices, Notices{ProfileManagerNotice::Closed});
}

// What the list and the transfers refuse is told in the program's words, in the order it happened.
TEST_F(ConfigDialogModelTest, RefusedTransfersAndListEditsAreToldInOrder)
{
    InstallThree();
    files.SelectProfileIndex(1);
    AppRules rules;
    ASSERT_TRUE(rules.AddApp("A", "firefox"));
    ASSERT_FALSE(WriteAppRules(dir.Path(), rules));
    test::WriteFileBytes(dir / "odd.bin", std::string(1824, '\x07'));
    Transfer(2, ProfileMenuCommand::Load, dir / "odd.bin"); // into C's files
    Transfer(1, ProfileMenuCommand::Load, dir / "odd.bin"); // into the loaded profile
    Transfer(0, ProfileMenuCommand::Save, dir / "Str4.bin");
    for (int i = 0; i < 3; ++i) {
        Model().SelectionChanged(0);
        EXPECT_FALSE(Model().RunMenuCommand(ProfileMenuCommand::Delete).post.has_value());
    }
    for (int i = 0; i < 6; ++i) {
        Model().Press({0, 575});
    }
    EXPECT_TRUE(Model().Close().close);
    const std::string wrongSize =
        (dir / "odd.bin").string() + " has 1824 bytes. A profile file has 1825 bytes; nothing was imported.";
    EXPECT_EQ(
        messages.shown,
        (std::vector<Shown>{{Shown::Kind::Message, wrongSize, "Tessaly VELDRANE"},
                            {Shown::Kind::Message, wrongSize, "Tessaly VELDRANE"},
                            {Shown::Kind::Message,
                             "Str4.bin is the name of one of the program's own files. Please choose another name.",
                             "Tessaly VELDRANE"},
                            {Shown::Kind::Message, "At least one profile must remain.", "Warning"},
                            {Shown::Kind::Message, "Profile numbers up to 6.", "Warning"},
                            {Shown::Kind::Message, "These profiles no longer exist; their applications were removed: A",
                             "Tessaly VELDRANE"}}));
}

} // namespace
} // namespace veldrane
