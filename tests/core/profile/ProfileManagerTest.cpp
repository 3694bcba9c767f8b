#include "core/profile/ProfileManager.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <cerrno>
#include <random>
#include <tuple>

#include "core/apps/AppRules.h"
#include "core/apps/AppSwitcher.h"
#include "core/apps/FocusSession.h"
#include "core/buttons/ButtonAssignment.h"
#include "core/buttons/KeyTables.h"
#include "core/exchange/ProfileJsonTransfer.h"
#include "core/ini/FileError.h"
#include "core/macro/MacroEncoder.h"
#include "core/macro/MacroFile.h"
#include "core/profile/InstalledProfiles.h"
#include "core/profile/ProfileList.h"
#include "core/profile/ProfileSlotMover.h"
#include "core/profile/ProfileTransfer.h"
#include "core/text/FileErrorTexts.h"
#include "support/FakeClock.h"

namespace veldrane {
namespace {

using test::Patterned;
using test::ReadFileBytes;
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
    IniFile(dir / "str.ini", codec).WriteString("Profile", "Stale", "x");
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

using ProfileSlotMoverTest = test::InstalledProfiles;

// A kill between the moves, or between the moves and the list, left names on other names' files:
// the next start takes the step back whole, and then forgets it.
TEST_F(ProfileSlotMoverTest, AStepCutOffIsTakenBackWholeAtTheNextStart)
{
    GiveSlot(0, 10, "zero");
    GiveSlot(1, 11, "one");
    std::filesystem::remove(dir / "str2.ini");
    const test::FolderState before = test::ReadFolder(dir.Path());
    ProfileSlotMover mover{dir.Path(), codec};
    const std::vector<ProfileFileSource> sources{1, std::nullopt, 0};
    ASSERT_TRUE(mover.Move(sources, 2).Done());
    // The program stops before the list is stored (or after: the list is in the journal too).
    IniFile(dir / "str.ini", codec).WriteString("Profile", "ItemCount", "3");

    EXPECT_FALSE(ProfileSlotMover::Recover(dir.Path()).error);
    EXPECT_EQ(test::ReadFolder(dir.Path()), before) << "str2.ini and the journal gone too";
    EXPECT_FALSE(ProfileSlotMover::Recover(dir.Path()).error) << "nothing left to do";

    // A completed step leaves the swapped files and no journal behind.
    ASSERT_TRUE(mover.Move(sources, 2).Done());
    EXPECT_TRUE(mover.Commit().Done());
    EXPECT_FALSE(std::filesystem::exists(dir / "profiles.journal"));
    EXPECT_EQ(SettingsOf(0), Patterned(11));
    EXPECT_EQ(LabelOf(0), "one");
    EXPECT_EQ(SettingsOf(2), Patterned(10));
    EXPECT_EQ(LabelOf(2), "zero");

    // A journal cut short is not believed. It gave "Error Code is: 5" at every start: it is kept
    // aside, the files stay as they are, and the next start has nothing to say.
    const std::string damaged = "veldrane profile move 1\nconfig0.bin\n1825\nxx";
    test::WriteFileBytes(dir / "profiles.journal", damaged);
    const ProfileSlotMover::Recovery recovery = ProfileSlotMover::Recover(dir.Path());
    EXPECT_EQ(recovery.error, make_error_code(FileError::DamagedJournal));
    EXPECT_EQ(SettingsOf(0), Patterned(11));
    EXPECT_FALSE(std::filesystem::exists(dir / "profiles.journal"));
    EXPECT_EQ(recovery.keptAside.parent_path(), dir.Path());
    EXPECT_TRUE(recovery.keptAside.filename().string().starts_with("profiles.journal.broken-"));
    EXPECT_EQ(test::ReadFileBytes(recovery.keptAside), damaged);
    EXPECT_EQ(JournalRecoveryMessage(dir / "profiles.journal", recovery.error, recovery.keptAside,
                                     Language::SimplifiedChinese),
              "配置文件的一次更改被中断且无法完成：其日志文件已损坏。配置文件保持原样；日志文件已保留为：\n" +
                  recovery.keptAside.string());
    EXPECT_FALSE(ProfileSlotMover::Recover(dir.Path()).error);
}

using test::WriteFileBytes;

class ProfileTransferTest : public test::InstalledProfiles
{
protected:
    ProfileTransferTest()
    {
        EXPECT_TRUE(files.LoadConfig(record).Done());
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
    GiveSlot(0, 1, "");
    ASSERT_TRUE(files.LoadConfig(record).Done());
    ASSERT_EQ(files.FirstRunFlag(), 1);
    files.SelectProfileIndex(2);
    ProfileRecord stored = Patterned(40);
    stored.reportRate = 0; // no control gives these: they come in as the nearest the controls give
    stored.lightMode = 200;
    // The labels are beside, under the name with its first ".bin" made ".ini".
    WriteFileBytes(outside / "mine.bin.old", ConfigFile::Encode(0, stored));
    IniFile(outside / "mine.ini.old", codec).WriteString("Setting-EN", "Item1", "Fire");
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
    GiveSlot(0, 1, "");
    ASSERT_TRUE(files.LoadConfig(record).Done());
    ASSERT_EQ(files.FirstRunFlag(), 1);
    const ProfileRecord before = record;
    const auto labels = files.ButtonLabel();
    IniFile(outside / "odd.ini", codec).WriteString("Setting-EN", "Item1", "Fire");
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
    const std::string config0 = ReadFileBytes(dir / "config0.bin");
    const std::string list = ReadFileBytes(dir / "str.ini");
    for (const char* name : {"config2", "config.bin", "Config5.bin", "str.bin", "Str4.bin", "record.bin"}) {
        const TransferOutcome refused = transfer.ExportTo(outside / name, Patterned(50));
        EXPECT_FALSE(refused.changed) << name;
        EXPECT_TRUE(refused.failures.empty());
        EXPECT_EQ(refused.refusedName,
                  std::string(name).find(".bin") == std::string::npos ? name + std::string(".bin") : std::string(name));
    }
    EXPECT_TRUE(std::filesystem::is_empty(outside));
    EXPECT_EQ(ReadFileBytes(dir / "config0.bin"), config0);
    EXPECT_EQ(ReadFileBytes(dir / "str.ini"), list);
    EXPECT_FALSE(ProfileTransfer::IsProgramFileName("myconfig0.bin")) << "the whole name counts";
}

using namespace std::chrono_literals;

AppRules TwoRules()
{
    AppRules rules;
    rules.SetEnabled(true);
    EXPECT_TRUE(rules.AddApp("PROFILE_1", "Firefox"));
    EXPECT_TRUE(rules.AddApp("PROFILE_2", "steam"));
    EXPECT_TRUE(rules.SetDefaultProfile("PROFILE_0"));
    return rules;
}

struct MatchCase
{
    const char* what;
    FocusedWindow window;
    std::optional<std::string> profile;
};

using AppRulesMatch = testing::TestWithParam<MatchCase>;

TEST_P(AppRulesMatch, NamesTheProfileOfTheFirstFieldARuleNames)
{
    AppRules rules;
    ASSERT_TRUE(rules.AddApp("ByClass", "Navigator"));
    ASSERT_TRUE(rules.AddApp("ById", "org.mozilla.firefox"));
    ASSERT_TRUE(rules.AddApp("ByExe", "firefox-bin"));
    ASSERT_TRUE(rules.AddApp("ByInstance", "navigator-main"));
    EXPECT_EQ(rules.Match(GetParam().window), GetParam().profile) << GetParam().what;
}

INSTANTIATE_TEST_SUITE_P(
    Order, AppRulesMatch,
    testing::Values(
        MatchCase{"app id first", {"org.mozilla.firefox", "Navigator", "navigator-main", "firefox-bin"}, "ById"},
        MatchCase{"desktop-file id with case and suffix", {"ORG.Mozilla.Firefox.desktop", "", "", ""}, "ById"},
        MatchCase{"class before instance", {"other", "NAVIGATOR", "navigator-main", "firefox-bin"}, "ByClass"},
        MatchCase{"instance before executable", {"", "x", "Navigator-Main", "firefox-bin"}, "ByInstance"},
        MatchCase{"executable last", {"", "x", "y", "Firefox-Bin"}, "ByExe"},
        MatchCase{"no field named", {"a", "b", "c", "d"}, std::nullopt},
        MatchCase{"the desktop itself", {}, std::nullopt}));

TEST(AppRules, FileHoldsSettingsAndOneSectionPerProfile)
{
    AppRules rules = TwoRules();
    ASSERT_TRUE(rules.AddApp("PROFILE_1", "code"));
    rules.CountSwitch();
    rules.CountSwitch();
    const std::string text = rules.Serialise();
    EXPECT_EQ(text, "[Settings]\r\nEnabled=1\r\nDefault=PROFILE_0\r\nSwitches=2\r\n"
                    "[PROFILE_1]\r\nApp0=Firefox\r\nApp1=code\r\n[PROFILE_2]\r\nApp0=steam\r\n");
    const AppRules read = AppRules::Parse(text);
    EXPECT_EQ(read.Serialise(), text);
    EXPECT_EQ(read.AppsOf("profile_1"), (std::vector<std::string>{"Firefox", "code"}));
}

TEST(AppRules, ReadStopsAtTheFirstGapAndSkipsWhatCannotBeAProfile)
{
    const AppRules rules = AppRules::Parse("[Settings]\nEnabled=yes\nSwitches=12x\n[Game]\nApp0=a\nApp2=c\n"
                                           "[settings]\nApp0=b\n");
    EXPECT_FALSE(rules.Enabled());
    EXPECT_EQ(rules.Switches(), 0u);
    EXPECT_EQ(rules.Profiles(), std::vector<std::string>{"Game"});
    EXPECT_EQ(rules.AppsOf("Game"), std::vector<std::string>{"a"});
}

TEST(AppRules, AnAppBelongsToOneProfileAndBadTextIsRefused)
{
    AppRules rules = TwoRules();
    ASSERT_TRUE(rules.AddApp("PROFILE_2", "FIREFOX"));
    EXPECT_EQ(rules.Profiles(), std::vector<std::string>{"PROFILE_2"});
    EXPECT_EQ(rules.Match({"firefox", "", "", ""}), "PROFILE_2");
    EXPECT_FALSE(rules.AddApp("PROFILE_2", "a\nApp9=b"));
    EXPECT_FALSE(rules.AddApp("Bad]Name", "x"));
    EXPECT_FALSE(rules.AddApp("Settings", "x"));
    EXPECT_FALSE(rules.SetDefaultProfile("Settings"));
    rules.RemoveApp("profile_2", "Steam");
    EXPECT_EQ(rules.AppsOf("PROFILE_2"), std::vector<std::string>{"FIREFOX"});
}

TEST(AppRules, RulesFollowRenamedProfilesAndDropDeletedOnes)
{
    AppRules rules = TwoRules();
    // PROFILE_1 renamed to Game, PROFILE_0 (the default) renamed to Desk, PROFILE_2 deleted.
    const std::vector<std::string> dropped =
        rules.FollowProfiles({{"PROFILE_1", "Game"}, {"PROFILE_0", "Desk"}}, {"Desk", "Game"});
    EXPECT_EQ(dropped, std::vector<std::string>{"PROFILE_2"});
    EXPECT_EQ(rules.Match({"firefox", "", "", ""}), "Game");
    EXPECT_EQ(rules.Match({"steam", "", "", ""}), std::nullopt);
    EXPECT_EQ(rules.DefaultProfile(), "Desk");

    // Swapped names swap their rules.
    AppRules swapped = TwoRules();
    EXPECT_TRUE(swapped
                    .FollowProfiles({{"PROFILE_1", "PROFILE_2"}, {"PROFILE_2", "PROFILE_1"}},
                                    {"PROFILE_0", "PROFILE_1", "PROFILE_2"})
                    .empty());
    EXPECT_EQ(swapped.AppsOf("PROFILE_2"), std::vector<std::string>{"Firefox"});

    AppRules noDefault = TwoRules();
    EXPECT_EQ(noDefault.FollowProfiles({}, {"PROFILE_1", "PROFILE_2"}), std::vector<std::string>{"PROFILE_0"});
    EXPECT_EQ(noDefault.DefaultProfile(), std::nullopt);
}

// No file in the data folder is no error: switching is off until the user turns it on.
TEST(AppRules, NoFileInTheDataFolderReadsAsSwitchingOff)
{
    test::TempDir dir;
    const AppRulesRead missing = ReadAppRules(dir.Path());
    EXPECT_FALSE(missing.error);
    EXPECT_FALSE(missing.rules.Enabled());
}

class AppSwitcherTest : public testing::Test
{
protected:
    AppSwitcher::Decision Decide(std::optional<std::string_view> mouse = "PROFILE_0", SwitchBlockers blockers = {})
    {
        return switcher.Decide(rules, mouse, blockers);
    }
    void Focus(std::string appId) { switcher.FocusChanged({std::move(appId), "", "", ""}); }

    test::FakeClock clock;
    AppRules rules = TwoRules();
    AppSwitcher switcher{clock};
};

TEST_F(AppSwitcherTest, SwitchesOnlyAfterTheFocusHasLastedOneSecond)
{
    clock.now = 10s;
    Focus("firefox");
    EXPECT_EQ(Decide().lookAgain, 11s);
    clock.now = 10s + 999ms;
    EXPECT_EQ(Decide().profile, std::nullopt);
    // Alt+Tab crosses steam on the way back: the time starts again for the window that stays.
    Focus("steam");
    clock.now = 10s + 1300ms;
    Focus("firefox");
    clock.now = 11s + 1200ms;
    EXPECT_EQ(Decide().profile, std::nullopt);
    clock.now = 11s + 1300ms;
    EXPECT_EQ(Decide().profile, "PROFILE_1");
}

TEST_F(AppSwitcherTest, NothingWhenTheMouseHoldsTheProfileOrSwitchingIsOff)
{
    Focus("firefox");
    clock.now = 5s;
    EXPECT_EQ(Decide("profile_1").profile, std::nullopt);
    EXPECT_EQ(Decide("profile_1").lookAgain, std::nullopt);
    EXPECT_EQ(Decide(std::nullopt).profile, "PROFILE_1");
    rules.SetEnabled(false);
    EXPECT_EQ(Decide().profile, std::nullopt);
}

TEST_F(AppSwitcherTest, UnnamedWindowsAndTheDesktopBringTheDefault)
{
    Focus("gimp");
    clock.now = 2s;
    EXPECT_EQ(Decide("PROFILE_2").profile, "PROFILE_0");
    switcher.FocusChanged({});
    clock.now = 4s;
    EXPECT_EQ(Decide("PROFILE_2").profile, "PROFILE_0");
    ASSERT_TRUE(rules.SetDefaultProfile(std::nullopt));
    EXPECT_EQ(Decide("PROFILE_2").profile, std::nullopt);
}

class AppSwitcherBlocked : public AppSwitcherTest, public testing::WithParamInterface<SwitchBlockers>
{
};

TEST_P(AppSwitcherBlocked, WaitsUntilNothingBlocks)
{
    Focus("steam");
    clock.now = 3s;
    const AppSwitcher::Decision blocked = Decide("PROFILE_0", GetParam());
    EXPECT_EQ(blocked.profile, std::nullopt);
    EXPECT_EQ(blocked.lookAgain, 3s + AppSwitcher::kBlockedRetry);
    clock.now = 60s;
    EXPECT_EQ(Decide("PROFILE_0", GetParam()).profile, std::nullopt);
    EXPECT_EQ(Decide("PROFILE_0", {}).profile, "PROFILE_2");
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Each, AppSwitcherBlocked, testing::Values(SwitchBlockers{true, false, false, false},
    SwitchBlockers{false, true, false, false}, SwitchBlockers{false, false, true, false},
    SwitchBlockers{false, false, false, true}));
// clang-format on

TEST(FocusSession, WaylandDesktopDecidesBeforeXwayland)
{
    EXPECT_EQ(FocusSessionOf("", ":0", "openbox"), FocusSession::X11);
    EXPECT_EQ(FocusSessionOf("wayland-0", ":0", "KDE"), FocusSession::KdeWayland);
    EXPECT_EQ(FocusSessionOf("wayland-0", "", "ubuntu:GNOME"), FocusSession::GnomeWayland);
    EXPECT_EQ(FocusSessionOf("wayland-0", ":1", "sway"), FocusSession::OtherWayland);
    EXPECT_EQ(FocusSessionOf("wayland-0", "", "GNOME-Flashback"), FocusSession::OtherWayland);
    EXPECT_EQ(FocusSessionOf("", "", "GNOME"), FocusSession::Headless);
}

// The readable profile form: a record the controls produce comes back byte for byte on a fresh
// data folder with its macros, a broken document is refused field by field with nothing changed,
// and macros join the macro file without overwriting any.
// A data folder seeded with the factory files and three named profiles, with a macro file of
// its own when given macros.
struct DataFolder
{
    explicit DataFolder(const std::vector<MacroRecord>& macros = {})
    {
        test::CopyFactoryFiles(dir.Path());
        const std::vector<std::string> names{"Work", "Game", "Draw"};
        EXPECT_TRUE(files.StoreSelectedProfile(names, 0));
        for (const MacroRecord& macro : macros) {
            EXPECT_EQ(WriteLoopTimes(macroFile, macro.name, 1), IniWriteResult::Written);
            EXPECT_EQ(SaveMacro(macroFile, macro), MacroSaveResult::Saved);
        }
    }

    ProfileRecord Factory() const { return ConfigFile::Read(dir / "config.bin").contents.record; }
    ProfileRecord Stored(std::size_t index) const
    {
        return ConfigFile::Read(dir / ProfileConfigName(index)).contents.record;
    }

    test::TempDir dir;
    IconvTextCodec codec;
    test::RecordingMessageSink messages;
    ConfigFiles files{dir.Path(), codec};
    IniFile macroFile{dir / "record.ini", codec};
    ProfileJsonTransfer transfer{files, macroFile, codec};
};

MacroRecord RandomMacro(std::mt19937& random, const std::string& name)
{
    const std::vector<std::string_view> keys = KeyNames();
    MacroRecord macro;
    macro.name = name;
    macro.DelayTimeSelStatus = static_cast<int>(random() % 2);
    macro.LoopTimeSelStatus = static_cast<int>(random() % 2);
    macro.MacroLoopTimes = std::to_string(1 + random() % 65535);
    const std::size_t events = random() % 8;
    for (std::size_t i = 0; i < events; ++i) {
        const std::string_view key = keys[random() % keys.size()];
        macro.items.push_back(MacroItem::Press(key));
        macro.items.push_back(MacroItem::Delay(static_cast<long>(random() % 30000)));
        macro.items.push_back(MacroItem::Release(key));
    }
    return macro;
}

// What the window's controls can make of the factory profile: every setting in its range, and
// each button given two functions in a row, so that the first one's parameters stay behind.
ProfileRecord RandomRecord(std::mt19937& random, const ProfileRecord& factory, std::size_t macroCount,
                           ButtonLabels& labels)
{
    ProfileRecord record = factory;
    const auto pick = [&](int low, int high) { return static_cast<std::uint8_t>(low + random() % (high - low + 1)); };
    record.deviceProfile = 0;
    record.reportRate = std::array<std::uint8_t, 4>{1, 2, 4, 8}[random() % 4];
    for (std::size_t stage = 0; stage < 4; ++stage) {
        record.cpiValue[stage] = pick(1, 164);
        record.cpiEnabled[stage] = pick(0, 1);
        for (std::size_t c = 0; c < 3; ++c) {
            record.cpiColor[stage * 3 + c] = pick(0, 255);
        }
    }
    for (auto& level : record.lightLevel) {
        level = pick(1, 6);
    }
    using R = ProfileRecord;
    // clang-format off
    for (const auto& [field, low, high] : {std::tuple{&R::lightMode, 0, 3}, {&R::sideButtonLight, 0, 1},
            {&R::pointerPrecision, 0, 1}, {&R::scrollOneScreen, 0, 1}, {&R::mouseSpeed, 1, 12},
            {&R::scrollLines, 1, 100}, {&R::doubleClickSpeed, 1, 12}, {&R::angleSnap, 1, 11},
            {&R::sensitivityX, 1, 11}, {&R::sensitivityY, 1, 11}}) {
        // clang-format on
        record.*field = pick(low, high);
    }

    const std::vector<std::string_view> keys = KeyNames();
    const auto key = [&]() -> std::string_view { return random() % 5 == 0 ? "" : keys[random() % keys.size()]; };
    ButtonAssignment assign(record, labels, Language::English);
    for (std::size_t button = 0; button < kButtonCount; ++button) {
        for (int round = 0; round < 2; ++round) {
            switch (random() % 6) {
            case 0:
                EXPECT_TRUE(assign.StorePlainFunction(
                    button, std::array{FunctionCode::Click, FunctionCode::DoubleClick, FunctionCode::ButtonOff,
                                       FunctionCode::RightTitleScroll}[random() % 4]));
                break;
            case 1: {
                const auto code = static_cast<FunctionCode>(pick(6, 9));
                EXPECT_TRUE(assign.StoreSubmenuChoice(button, code, random() % SubmenuSize(code)));
                break;
            }
            case 2:
                EXPECT_TRUE(assign.StoreSingleKey(button, keys[random() % keys.size()]));
                break;
            case 3: {
                const std::string_view modifier = random() % 4 == 0 ? "" : ModifierNames()[random() % 8];
                EXPECT_TRUE(assign.StoreComboKey(button, modifier, key(), key()));
                break;
            }
            default:
                if (macroCount > 0) {
                    const auto number = static_cast<std::uint8_t>(random() % std::min(macroCount, kMacroCount));
                    EXPECT_TRUE(assign.StoreMacroBinding(button, number, pick(0, 2), "m"));
                }
                break;
            }
        }
    }
    return record;
}

TEST(ProfileJson, ExportedRecordsImportedOnAFreshFolderComeBackByteForByteWithTheirMacros)
{
    std::mt19937 random(20261208);
    for (int round = 0; round < 30; ++round) {
        std::vector<MacroRecord> macros;
        const std::size_t macroCount = random() % 15;
        for (std::size_t i = 0; i < macroCount; ++i) {
            macros.push_back(RandomMacro(random, "Macro " + std::to_string(i)));
        }
        DataFolder source(macros);
        ButtonLabels labels;
        labels.fill("Click");
        ProfileRecord record = RandomRecord(random, source.Factory(), macroCount, labels);
        record.macroData = RebuildMacroData(source.macroFile, macroCount);

        const std::string json = source.transfer.Export(record, labels, "Shared");
        DataFolder fresh;
        const JsonImport imported = fresh.transfer.ImportInto(2, json);
        ASSERT_TRUE(imported.Done()) << round << ": "
                                     << (imported.problems.empty() ? imported.error : imported.problems[0]);
        EXPECT_TRUE(imported.renamedMacros.empty());

        const ProfileRecord back = fresh.Stored(2);
        ASSERT_TRUE(std::ranges::equal(back.Bytes(), record.Bytes())) << "round " << round << "\n" << json;
        EXPECT_EQ(ConfigFile::Read(fresh.dir / "config2.bin").contents.firstRunFlag, 1);
        const std::vector<std::string> names = ListMacroNames(fresh.macroFile);
        ASSERT_EQ(names.size(), std::min(macroCount, kMacroCount));
        for (std::size_t i = 0; i < names.size(); ++i) {
            EXPECT_EQ(LoadMacro(fresh.macroFile, names[i]), macros[i]);
        }
        EXPECT_EQ(IniFile(fresh.dir / "str2.ini", fresh.codec).GetString("Setting-EN", "Item12"), labels[11]);
        // Imported into the same folder, every macro is found by its content: nothing is added.
        ASSERT_TRUE(source.transfer.ImportInto(1, json).Done());
        EXPECT_EQ(ListMacroNames(source.macroFile).size(), macroCount);
        EXPECT_TRUE(std::ranges::equal(source.Stored(1).Bytes(), record.Bytes()));
    }
}

// A document the user wrote by hand: the key and function names are those of the menus.
TEST(ProfileJson, ExportNamesFunctionsKeysAndColoursAsTheMenusDo)
{
    DataFolder folder({RandomMacro(*std::make_unique<std::mt19937>(1), "Greeting")});
    ProfileRecord record = folder.Factory();
    ButtonLabels labels;
    ButtonAssignment assign(record, labels, Language::English);
    ASSERT_TRUE(assign.StoreComboKey(0, "Left Ctrl", "C", ""));
    ASSERT_TRUE(assign.StoreSubmenuChoice(1, FunctionCode::Multimedia, 5));
    ASSERT_TRUE(assign.StoreMacroBinding(2, 0, 1, "Greeting"));
    record.cpiColor[3] = 0x0A;
    record.cpiColor[4] = 0xBC;
    record.cpiColor[5] = 0xFF;
    record.cpiValue[1] = 32;
    record.reportRate = 4;

    const auto json = nlohmann::json::parse(folder.transfer.Export(record, labels, "Mine"));
    EXPECT_EQ(json["format"], "veldrane-profile");
    EXPECT_EQ(json["version"], 1);
    EXPECT_EQ(json["reportRateHz"], 250);
    EXPECT_EQ(json["cpiStages"][1]["cpi"], 1600);
    EXPECT_EQ(json["cpiStages"][1]["colour"], "#0ABCFF");
    EXPECT_EQ(json["buttons"][0]["function"], "Combo Key");
    EXPECT_EQ(json["buttons"][0]["modifier"], "Left Ctrl");
    EXPECT_EQ(json["buttons"][0]["keys"], nlohmann::json::parse(R"(["C", null])"));
    EXPECT_EQ(json["buttons"][0]["label"], "Combo Key-Left Ctrl+C");
    EXPECT_EQ(json["buttons"][1]["action"], "Mute");
    EXPECT_EQ(json["buttons"][2]["macro"], "Greeting");
    EXPECT_EQ(json["buttons"][2]["repeat"], 1);
    EXPECT_EQ(json["macros"][0]["name"], "Greeting");
}

struct BrokenCase
{
    const char* name;
    std::string pointer; // where the document is changed (a JSON pointer)
    nlohmann::json value;
    std::vector<std::string> problems;
};

using BrokenDocument = ::testing::TestWithParam<BrokenCase>;

// Each bad field is named with what is wrong, and nothing is written: not the profile, not its
// labels, not the macro file.
TEST_P(BrokenDocument, IsRefusedFieldByFieldChangingNothing)
{
    const BrokenCase& c = GetParam();
    DataFolder folder({RandomMacro(*std::make_unique<std::mt19937>(2), "Greeting")});
    ButtonLabels labels;
    labels.fill("Click");
    ProfileRecord record = folder.Factory();
    ButtonAssignment(record, labels, Language::English).StoreMacroBinding(4, 0, 0, "Greeting");
    nlohmann::json document = nlohmann::json::parse(folder.transfer.Export(record, labels, "Mine"));
    if (c.value.is_discarded()) {
        document.erase(nlohmann::json::json_pointer(c.pointer).back());
    } else {
        document[nlohmann::json::json_pointer(c.pointer)] = c.value;
    }
    std::string text = document.dump();
    if (std::string_view(c.name) == "NotJson") {
        text.pop_back();
    }
    const auto before =
        std::array{test::ReadFileBytes(folder.dir / "config1.bin"), test::ReadFileBytes(folder.dir / "str1.ini"),
                   test::ReadFileBytes(folder.dir / "record.ini")};

    const JsonImport imported = folder.transfer.ImportInto(1, text);
    EXPECT_EQ(imported.problems, c.problems);
    EXPECT_EQ(before,
              (std::array{test::ReadFileBytes(folder.dir / "config1.bin"), test::ReadFileBytes(folder.dir / "str1.ini"),
                          test::ReadFileBytes(folder.dir / "record.ini")}));
}

const nlohmann::json kRemoved = nlohmann::json::value_t::discarded;

using Json = nlohmann::json;
// clang-format off
INSTANTIATE_TEST_SUITE_P(Fields, BrokenDocument, ::testing::Values(
    BrokenCase{"NotJson", "/name", "x", {"the text is not JSON"}},
    BrokenCase{"Format", "/format", "other", {"format: must be \"veldrane-profile\""}},
    BrokenCase{"ReportRate", "/reportRateHz", 300, {"reportRateHz: must be 1000, 500, 250 or 125"}},
    BrokenCase{"Cpi", "/cpiStages/2/cpi", 8250, {"cpiStages[2].cpi: must be a multiple of 50 from 50 to 8200"}},
    BrokenCase{"Colour", "/cpiStages/0/colour", "red", {"cpiStages[0].colour: must be a colour \"#RRGGBB\""}},
    BrokenCase{"Missing", "/angleSnap", kRemoved, {"angleSnap: missing"}},
    BrokenCase{"Unknown", "/colour", "red", {"colour: is not a field of the profile form"}},
    BrokenCase{"LightMode", "/lighting/mode", "disco",
        {"lighting.mode: must be one of \"off\", \"single colour\", \"pulsating\", \"multi-colour\""}},
    BrokenCase{"Level", "/lighting/levels/1", 7, {"lighting.levels[1]: must be a whole number from 1 to 6"}},
    BrokenCase{"Key", "/buttons/3", Json{{"function", "Single Key"}, {"key", "Hyper"}, {"label", ""}},
        {"buttons[3].key: must be a key name of the key table or null"}},
    BrokenCase{"Parameter", "/buttons/3", Json{{"function", "Click"}, {"key", "A"}, {"label", ""}},
        {"buttons[3].key: is not a parameter of Click"}},
    BrokenCase{"Macro", "/buttons/4/macro", "Nothing", {"buttons[4].macro: must name one of the profile's macros"}},
    BrokenCase{"MacroName", "/macros/0/name", "[x]", {"macros[0].name: cannot name a macro (brackets are not allowed)",
        "buttons[4].macro: must name one of the profile's macros"}},
    BrokenCase{"Several", "/sensitivity", Json{{"x", 0}, {"y", 12}},
        {"sensitivity.x: must be a whole number from 1 to 11", "sensitivity.y: must be a whole number from 1 to 11"}}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

// A macro of the document whose name the file gives to other content is added under a new name
// and reported; the file's macro keeps its content, and the button plays the one it came with.
TEST(ProfileJson, MacroNameClashIsRenamedAndReportedNeverOverwritten)
{
    std::mt19937 random(3);
    const MacroRecord theirs = RandomMacro(random, "Greeting");
    MacroRecord mine = RandomMacro(random, "Greeting");
    mine.items.push_back(MacroItem::Delay(5));
    DataFolder target({RandomMacro(random, "Other"), theirs});
    DataFolder source({mine});
    ButtonLabels labels;
    ProfileRecord record = source.Factory();
    ASSERT_TRUE(ButtonAssignment(record, labels, Language::English).StoreMacroBinding(0, 0, 0, "Greeting"));

    const JsonImport imported = target.transfer.ImportInto(0, source.transfer.Export(record, labels, "Mine"));
    ASSERT_TRUE(imported.Done());
    EXPECT_EQ(imported.renamedMacros, (std::vector<std::pair<std::string, std::string>>{{"Greeting", "Greeting (2)"}}));
    EXPECT_EQ(ListMacroNames(target.macroFile), (std::vector<std::string>{"Other", "Greeting", "Greeting (2)"}));
    EXPECT_EQ(LoadMacro(target.macroFile, "Greeting"), theirs);
    MacroRecord renamed = mine;
    renamed.name = "Greeting (2)";
    EXPECT_EQ(LoadMacro(target.macroFile, "Greeting (2)"), renamed);
    EXPECT_EQ(target.Stored(0).macroNumber[0], 2);
    EXPECT_EQ(target.Stored(0).MacroBuffer(2)[0], EncodeMacro(renamed)[0]);
}

} // namespace
} // namespace veldrane
