// The profile manager: its list of names, the files that follow the names, and import and export.

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>
#include <tuple>
#include <vector>

#include "adapters/linux/IconvTextCodec.h"
#include "core/apps/AppRules.h"
#include "core/buttons/KeyTables.h"
#include "core/ini/FileError.h"
#include "core/ini/IniFile.h"
#include "core/profile/ConfigFile.h"
#include "core/profile/ConfigFiles.h"
#include "core/profile/InstalledProfiles.h"
#include "core/profile/ProfileFileNames.h"
#include "core/profile/ProfileList.h"
#include "core/profile/ProfileManager.h"
#include "core/profile/ProfileRecord.h"
#include "core/profile/ProfileTransfer.h"
#include "support/PatternedRecord.h"
#include "support/TempDir.h"

namespace veldrane {
namespace {

using test::Patterned;
using test::ReadFileBytes;
using test::WriteFileBytes;

using Names = std::vector<std::string>;

class ProfileManagerTest : public test::InstalledProfiles
{
protected:
    ProfileManager& Manager()
    {
        if (!m_manager) {
            m_manager.emplace(ProfileManagerContext{files, codec, language});
            EXPECT_FALSE(m_manager->LoadProfileList().error);
        }
        return *m_manager;
    }
    void Delete(std::size_t line)
    {
        Manager().OnListClick(line);
        EXPECT_TRUE(Manager().DeleteProfile());
    }
    // Section "Profile" of the list, which a store writes last.
    std::string StoredList()
    {
        const std::string list = ReadFileBytes(dir / "str.ini");
        return list.substr(list.find("[Profile]"));
    }

    Language language = Language::English;

private:
    std::optional<ProfileManager> m_manager;
};

TEST_F(ProfileManagerTest, NewCopyAndRenameNameTheLines)
{
    StoreList({}, ""); // read as PROFILE_0, the name the loader repairs such a list to
    ASSERT_TRUE(Manager().NewProfile());
    EXPECT_EQ(Manager().Selected(), 1u);
    Manager().CommitRename(1, "  Game_99999999999  ");
    Manager().CommitRename(1, "   ");
    Manager().CommitRename(1, "two\nlines");
    Manager().CommitRename(7, "nowhere");
    // The number after the last name's, with the language's base name (without a number in the
    // last name: the count of names).
    ASSERT_TRUE(Manager().NewProfile());
    Manager().OnListClick(0);
    Manager().CopyProfile(); // the language's copy word before the selected name
    EXPECT_EQ(Manager().Names(), (Names{"PROFILE_0", "Game_99999999999", "PROFILE_2147483648", "Copy PROFILE_0"}));
    EXPECT_EQ(Manager().Selected(), 0u);
}

TEST_F(ProfileManagerTest, SixNamesNewWarnsAndCopyAddsNothing)
{
    StoreList({"a", "b", "c", "d", "e", "f"}, "c");
    EXPECT_FALSE(Manager().NewProfile());
    Manager().CopyProfile();
    EXPECT_EQ(Manager().Names(), (Names{"a", "b", "c", "d", "e", "f"}));
}

// The stored name is matched whole, as the loader reads it: an exact match (the last one) wins
// over one that ignores case (the first one); opening changes nothing.
TEST_F(ProfileManagerTest, StoredNameSelectsItsLine)
{
    // clang-format off
    const std::vector<std::tuple<Names, const char*, std::optional<std::size_t>>> cases{
        {{"PROFILE_10", "PROFILE_1"}, "PROFILE_1", 1}, {{"PROFILE_10"}, "PROFILE_1", std::nullopt},
        {{"PROFILE_0", "PROFILE_1"}, "profile_1", 1}, {{"game", "Game"}, "Game", 1}, {{"x", "y", "x"}, "x", 2},
        {{"X", "y", "X"}, "x", 0}};
    // clang-format on
    for (const auto& [names, stored, selected] : cases) {
        StoreList(names, stored);
        files.SelectProfileIndex(5);
        ProfileManager manager(ProfileManagerContext{files, codec, language});
        EXPECT_FALSE(manager.LoadProfileList().error);
        EXPECT_EQ(manager.Selected(), selected) << stored;
        EXPECT_EQ(files.CurrentProfileIndex(), 5);
        EXPECT_EQ(manager.RememberedPosition(), std::nullopt);
    }
}

// The list is written as the whole section in order, stale keys gone.
TEST_F(ProfileManagerTest, CloseWritesTheWholeSection)
{
    InstallThree();
    ASSERT_EQ(IniFile(dir / "str.ini", codec).WriteString("Profile", "Stale", "x"), IniWriteResult::Written);
    Manager().CommitRename(1, "Games");
    Delete(2);
    ASSERT_TRUE(Manager().NewProfile());
    Manager().CommitRename(2, "C");
    EXPECT_TRUE(Manager().CloseManager().Stored());
    EXPECT_EQ(StoredList(), "[Profile]\r\nCurProfileName=C\r\nItemCount=3\r\nItem0=A\r\nItem1=Games\r\nItem2=C\r\n");
    EXPECT_EQ(files.CurrentProfileIndex(), 2);
    EXPECT_EQ(SettingsOf(1), Patterned(11)); // a renamed name keeps its files
    EXPECT_EQ(LabelOf(1), "label B");
}

// Deleting the last name left an empty list: the next start showed a black window, and Save sent
// an all-zero profile.
TEST_F(ProfileManagerTest, TheOnlyNameIsNeverDeleted)
{
    InstallThree();
    for (const bool deleted : {true, true, false}) {
        Manager().OnListClick(0);
        EXPECT_EQ(Manager().DeleteProfile(), deleted);
    }
    ASSERT_TRUE(Manager().CloseManager().Stored());
    EXPECT_EQ(StoredList(), "[Profile]\r\nCurProfileName=C\r\nItemCount=1\r\nItem0=C\r\n");
    EXPECT_EQ(SettingsOf(0), Patterned(12));
}

// Each name keeps its settings and labels wherever it moves; a new name gets the factory files
// (the label file without a list), and a position that no name had before is left alone.
TEST_F(ProfileManagerTest, DeleteAndCopyKeepEachNamesFiles)
{
    InstallThree();
    GiveSlot(3, 13, "not listed");
    GiveSlot(5, 15, "not listed");
    Manager().OnListClick(0);
    Manager().CopyProfile();             // "Copy A" at 3
    ASSERT_TRUE(Manager().NewProfile()); // "Copy A_4" at 4
    Delete(0);                           // everything moves up one
    Manager().OnListClick(0);            // B
    ASSERT_TRUE(Manager().CloseManager().Stored());

    EXPECT_EQ(StoredList(), "[Profile]\r\nCurProfileName=B\r\nItemCount=4\r\nItem0=B\r\nItem1=C\r\n"
                            "Item2=Copy A\r\nItem3=Copy A_4\r\n");
    EXPECT_EQ(files.CurrentProfileIndex(), 0);
    for (const auto& [index, seed, label] : {std::tuple{0, 11, "label B"}, {1, 12, "label C"}, {2, 10, "label A"}}) {
        EXPECT_EQ(SettingsOf(index), Patterned(static_cast<std::uint8_t>(seed))) << index;
        EXPECT_EQ(LabelOf(index), label);
    }
    // The factory label file is "str.ini" without its list.
    const std::string factoryLabels = ReadFileBytes(dir / "str.ini");
    EXPECT_EQ(ReadFileBytes(dir / "str3.ini"), factoryLabels.substr(0, factoryLabels.find("[Profile]")));
    EXPECT_EQ(ReadFileBytes(dir / "config3.bin"), ReadFileBytes(dir / "config.bin"));
    EXPECT_EQ(SettingsOf(5), Patterned(15));

    ProfileRecord loaded{};
    EXPECT_TRUE(files.LoadConfig(loaded).Done());
    EXPECT_EQ(loaded, Patterned(11)) << "the loader finds B's own settings under B";
}

// A list that cannot be stored puts every moved file back; a profile file that cannot be read
// stops the move before anything is written.
TEST_F(ProfileManagerTest, AFailedStoreLeavesTheOldLayoutWhole)
{
    InstallThree();
    // A stray byte that Windows-1252 has no character for: the list is read but never rewritten.
    const std::string list = ReadFileBytes(dir / "str.ini");
    const std::string damaged = list + "; \x81\r\n";
    test::WriteFileBytes(dir / "str.ini", damaged);
    const test::FolderState before = test::ReadFolder(dir.Path());
    files.SelectProfileIndex(1);
    Delete(0);
    const ProfileListStore unstored = Manager().CloseManager();
    EXPECT_FALSE(unstored.Stored());
    EXPECT_EQ(unstored.failure.error, std::error_code(EIO, std::generic_category()));
    EXPECT_EQ(unstored.failure.file, dir / "str.ini");
    EXPECT_TRUE(unstored.undoFailure.Done());
    EXPECT_EQ(test::ReadFolder(dir.Path()), before);
    EXPECT_EQ(Manager().Names(), (Names{"B", "C"})) << "the user's names stay for another try";
    EXPECT_EQ(files.CurrentProfileIndex(), 1);

    test::WriteFileBytes(dir / "str.ini", list);
    std::filesystem::remove(dir / "config2.bin");
    std::filesystem::create_directory(dir / "config2.bin");
    const ProfileListStore unread = Manager().CloseManager();
    EXPECT_FALSE(unread.Stored());
    EXPECT_EQ(unread.failure.file, dir / "config2.bin");
    EXPECT_TRUE(unread.undoFailure.Done());
    EXPECT_EQ(ReadFileBytes(dir / "str.ini"), list);
    EXPECT_EQ(SettingsOf(0), Patterned(10));
}

// The rules of "apps.ini" follow a renamed or moved name in the same step as its files; a deleted
// name's rules (and the default) go, with a note; a list that cannot be stored leaves them as they were.
TEST_F(ProfileManagerTest, ApplicationRulesFollowTheirNames)
{
    InstallThree();
    AppRules rules;
    rules.SetEnabled(true);
    ASSERT_TRUE(rules.AddApp("A", "firefox"));
    ASSERT_TRUE(rules.AddApp("B", "steam"));
    ASSERT_TRUE(rules.AddApp("C", "gimp"));
    ASSERT_TRUE(rules.SetDefaultProfile("A"));
    ASSERT_FALSE(WriteAppRules(dir.Path(), rules));
    const std::string before = ReadFileBytes(dir / "apps.ini");

    const std::string list = ReadFileBytes(dir / "str.ini");
    test::WriteFileBytes(dir / "str.ini", list + "; \x81\r\n");
    Manager().CommitRename(1, "Games");
    EXPECT_FALSE(Manager().CloseManager().Stored());
    EXPECT_EQ(ReadFileBytes(dir / "apps.ini"), before);

    test::WriteFileBytes(dir / "str.ini", list);
    Delete(0);
    Manager().OnListClick(0);
    Manager().CopyProfile(); // "Copy Games" takes Games' files but not its rules
    const ProfileListStore stored = Manager().CloseManager();
    ASSERT_TRUE(stored.Stored());
    EXPECT_EQ(ReadFileBytes(dir / "apps.ini"), "[Settings]\r\nEnabled=1\r\nSwitches=0\r\n"
                                               "[Games]\r\nApp0=steam\r\n[C]\r\nApp0=gimp\r\n");
    EXPECT_EQ(stored.droppedRules, (Names{"A"}));
    EXPECT_TRUE(stored.commitFailure.Done());
    EXPECT_FALSE(std::filesystem::exists(dir / "profiles.journal"));
}

// The manager follows the loaded profile through the edits: a save while it is open lands in that
// profile's files, wherever its name moves when the list is stored.
TEST_F(ProfileManagerTest, TheLoadedProfileKeepsItsFilesWhileTheListChanges)
{
    InstallThree();
    files.SelectProfileIndex(2); // C is loaded
    Delete(0);
    EXPECT_EQ(Manager().LoadedPosition(), 1u);
    ASSERT_TRUE(files.SaveConfig(Patterned(99)).Done()); // still C's old position: nothing has moved yet
    ASSERT_TRUE(Manager().StoreKeepingCurrent().Stored());
    EXPECT_EQ(files.CurrentProfileIndex(), 1);
    EXPECT_EQ(StoredList(), "[Profile]\r\nCurProfileName=C\r\nItemCount=2\r\nItem0=B\r\nItem1=C\r\n");
    ASSERT_TRUE(files.SaveConfig(Patterned(98)).Done());
    EXPECT_EQ(SettingsOf(0), Patterned(11)); // B's own
    EXPECT_EQ(SettingsOf(1), Patterned(98)); // C's, saved twice
    EXPECT_EQ(LabelOf(1), "label C");
}

// The section goes to the end of the file whole, old keys and all gone; without a selection the
// first name is stored as the selected one, and an empty list keeps only the count.
TEST(ProfileList, ReplacementWritesTheSectionAsTheProgramStoresIt)
{
    test::TempDir dir;
    const IconvTextCodec codec;
    IniFile list(dir / "str.ini", codec);
    test::WriteFileBytes(dir / "str.ini", "[Profile]\r\nItem5=old\r\nItemCount=6\r\n[Skins]\r\nPath=Default\r\n");
    ASSERT_EQ(list.Apply(ProfileList::Replacement(Names{"PROFILE_0", "Game"}, 1u)), IniWriteResult::Written);
    EXPECT_EQ(ReadFileBytes(dir / "str.ini"), "[Skins]\r\nPath=Default\r\n[Profile]\r\nCurProfileName=Game\r\n"
                                              "ItemCount=2\r\nItem0=PROFILE_0\r\nItem1=Game\r\n");
    ASSERT_EQ(list.Apply(ProfileList::Replacement(Names{"a", "b"}, std::nullopt)), IniWriteResult::Written);
    EXPECT_EQ(ReadFileBytes(dir / "str.ini"),
              "[Skins]\r\nPath=Default\r\n[Profile]\r\nCurProfileName=a\r\nItemCount=2\r\nItem0=a\r\nItem1=b\r\n");
    ASSERT_EQ(list.Apply(ProfileList::Replacement(Names{}, std::nullopt)), IniWriteResult::Written);
    EXPECT_EQ(ReadFileBytes(dir / "str.ini"), "[Skins]\r\nPath=Default\r\n[Profile]\r\nItemCount=0\r\n");
}

class ProfileTransferTest : public test::InstalledProfiles
{
protected:
    // Profile 0 holds a saved profile (flag 1), selected and loaded.
    ProfileTransferTest()
    {
        GiveSlot(0, 1, "");
        EXPECT_TRUE(files.LoadConfig(record).Done());
        EXPECT_EQ(files.FirstRunFlag(), 1);
        files.LoadLabels(Language::English);
        std::filesystem::create_directories(outside);
    }

    // Import and export never move the selected profile off its own files.
    void ExpectTheSelectedProfilesFiles()
    {
        EXPECT_EQ(files.ConfigPath(), dir / ProfileConfigName(files.CurrentProfileIndex()));
        EXPECT_EQ(files.LabelPath(), dir / ProfileLabelName(files.CurrentProfileIndex()));
    }

    ProfileRecord record{};
    // Only a file's own name counts: the ".bin" of this folder's name neither makes a name a profile
    // file nor turns into ".ini" in a label file's path.
    std::filesystem::path outside = dir / "exports.bin";
    ProfileTransfer transfer{files, codec, Language::English};
};

TEST_F(ProfileTransferTest, ImportTakesTheWholeRecordAndTheLabelsBesideIt)
{
    files.SelectProfileIndex(2);
    ProfileRecord stored = Patterned(40);
    stored.reportRate = 0; // no control gives these: they come in as the nearest the controls give
    stored.lightMode = 200;
    // The labels are beside, under the name with its first ".bin" made ".ini".
    WriteFileBytes(outside / "mine.bin.old", ConfigFile::Encode(0, stored));
    ASSERT_EQ(IniFile(outside / "mine.ini.old", codec).WriteString("Setting-EN", "Item1", "Fire"),
              IniWriteResult::Written);
    const SkinSettings skin = files.Skin();

    const TransferOutcome imported = transfer.ImportFrom(outside / "mine.bin.old", record);
    EXPECT_TRUE(imported.changed);
    EXPECT_TRUE(imported.failures.empty());
    ProfileRecord expected = Patterned(40); // the twelve macros too
    expected.reportRate = 1;
    expected.lightMode = 3;
    EXPECT_EQ(record, expected);
    EXPECT_EQ(files.FirstRunFlag(), 0);
    EXPECT_EQ(files.ButtonLabel()[0], "Fire");
    EXPECT_EQ(files.ButtonLabel()[1], ""); // missing in the file: empty, not a default
    // An exported label file has no "Skins": the text colour and skin stay.
    EXPECT_EQ(files.Skin().red, skin.red);
    EXPECT_EQ(files.Skin().path, skin.path);
    ExpectTheSelectedProfilesFiles();
}

TEST_F(ProfileTransferTest, ImportOfAFileOfAnotherSizeNamesItAndChangesNothing)
{
    const ProfileRecord before = record;
    const auto labels = files.ButtonLabel();
    ASSERT_EQ(IniFile(outside / "odd.ini", codec).WriteString("Setting-EN", "Item1", "Fire"), IniWriteResult::Written);
    for (const std::size_t size : {0, 1824, 1826}) {
        WriteFileBytes(outside / "odd.bin", std::string(size, '\x07'));
        const TransferOutcome refused = transfer.ImportFrom(outside / "odd.bin", record);
        EXPECT_FALSE(refused.changed);
        ASSERT_EQ(refused.failures.size(), 1u);
        EXPECT_EQ(refused.failures[0].error, FileError::WrongProfileSize);
        EXPECT_EQ(refused.failures[0].file, outside / "odd.bin");
        EXPECT_EQ(refused.wrongSize, size);
    }
    EXPECT_EQ(record, before);
    EXPECT_EQ(files.ButtonLabel(), labels);
    EXPECT_EQ(files.FirstRunFlag(), 1);
    ExpectTheSelectedProfilesFiles();
}

// There are six profiles: "config6" is no program file.
TEST_F(ProfileTransferTest, ExportWithoutAnExtensionWritesBinAndIniInBothPlaces)
{
    files.SetButtonLabel(0, "Fire");
    EXPECT_TRUE(transfer.ExportTo(outside / "config6", Patterned(50)).failures.empty());
    for (const std::filesystem::path& folder : {outside, dir.Path()}) {
        EXPECT_EQ(ReadFileBytes(folder / "config6.bin"), ConfigFile::Encode(1, Patterned(50))) << folder;
        const IniFile labels(folder / "config6.ini", codec);
        EXPECT_EQ(labels.GetString("Setting-EN", "Item1"), "Fire");
        EXPECT_EQ(labels.KeyNames("Setting-EN").size(), 12u);
        EXPECT_TRUE(labels.KeyNames("Skins").empty());
    }
    EXPECT_FALSE(std::filesystem::exists(outside / "config6"));
    ExpectTheSelectedProfilesFiles();
}

// Case does not count, and a name is refused too when its label file would be one of them.
TEST_F(ProfileTransferTest, ExportUnderAProgramFileNameIsRefusedAndWritesNothing)
{
    const test::FolderState before = test::ReadFolder(dir.Path());
    for (const char* name : {"config2", "config.bin", "Config5.bin", "str.bin", "Str4.bin", "record.bin"}) {
        const TransferOutcome refused = transfer.ExportTo(outside / name, Patterned(50));
        EXPECT_FALSE(refused.changed) << name;
        EXPECT_TRUE(refused.failures.empty());
        EXPECT_EQ(refused.refusedName,
                  std::string(name).find(".bin") == std::string::npos ? name + std::string(".bin") : std::string(name));
    }
    EXPECT_TRUE(std::filesystem::is_empty(outside));
    EXPECT_EQ(test::ReadFolder(dir.Path()), before);
    EXPECT_FALSE(ProfileTransfer::IsProgramFileName("myconfig0.bin")) << "the whole name counts";
}

} // namespace
} // namespace veldrane
