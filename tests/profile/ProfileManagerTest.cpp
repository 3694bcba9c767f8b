#include "profile/ProfileManager.h"

#include <gtest/gtest.h>

#include <tuple>

#include "profile/InstalledProfiles.h"
#include "support/FileAccessCounter.h"

namespace veldrane {
namespace {

using test::InstalledProfiles;
using test::Patterned;
using test::ReadFileBytes;
using test::WriteFileBytes;
using Shown = test::RecordingMessageSink::Shown;
using Names = std::vector<std::string>;

class ProfileManagerTest : public InstalledProfiles
{
protected:
    ProfileManager& Manager()
    {
        if (!m_manager) {
            m_manager.emplace(ProfileManagerContext{files, codec, messages, language});
            m_manager->LoadProfileList();
        }
        return *m_manager;
    }
    void Click(std::size_t line) { Manager().OnListClick(line); }

    std::string FactoryLabel() { return IniFile(dir / "str.ini", codec).GetString("Setting-EN", "Item1"); }
    ProfileRecord FactorySettings() { return ConfigFile::Read(dir / "config.bin").contents.record; }

    Language language = Language::English;

private:
    std::optional<ProfileManager> m_manager;
};

TEST(ProfileManagerNaming, NewNameFollowsTheLastName)
{
    EXPECT_EQ(ProfileManager::NewProfileName({}, "PROFILE"), "PROFILE_0");
    EXPECT_EQ(ProfileManager::NewProfileName({"PROFILE_0", "Game"}, "PROFILE"), "Game_2");
    EXPECT_EQ(ProfileManager::NewProfileName({"Game_7"}, "PROFILE"), "PROFILE_8");
    EXPECT_EQ(ProfileManager::NewProfileName({"PROFILE_0", "Copy PROFILE_0"}, "PROFILE"), "PROFILE_1");
    EXPECT_EQ(ProfileManager::NewProfileName({"x_-5"}, "PROFILE"), "PROFILE_-4");
    EXPECT_EQ(ProfileManager::NewProfileName({"x_99999999999"}, "PROFILE"), "PROFILE_2147483648");
}

TEST_F(ProfileManagerTest, NewNamesInARowAndAfterARename)
{
    StoreList({}, ""); // read as PROFILE_0, the name the loader repairs such a list to
    EXPECT_EQ(Manager().Names(), (Names{"PROFILE_0"}));
    Manager().NewProfile();
    EXPECT_EQ(Manager().Names(), (Names{"PROFILE_0", "PROFILE_1"}));
    EXPECT_EQ(Manager().Selected(), 1u);
    Manager().CommitRename(1, "Game");
    Manager().NewProfile();
    EXPECT_EQ(Manager().Names(), (Names{"PROFILE_0", "Game", "Game_2"}));
    EXPECT_EQ(Manager().Selected(), 2u);
}

TEST_F(ProfileManagerTest, CopyPutsTheLanguagesCopyWordBeforeTheSelectedName)
{
    Click(0);
    Manager().CopyProfile();
    EXPECT_EQ(Manager().Names(), (Names{"PROFILE_0", "Copy PROFILE_0"}));
    EXPECT_EQ(Manager().Selected(), 0u);
}

TEST_F(ProfileManagerTest, SixNamesNewWarnsAndCopyAddsNothing)
{
    StoreList({"a", "b", "c", "d", "e", "f"}, "c");
    Manager().NewProfile();
    EXPECT_EQ(messages.shown, (std::vector<Shown>{{Shown::Kind::Message, "Profile numbers up to 6.", "Warning"}}));
    Manager().CopyProfile();
    EXPECT_EQ(Manager().Names(), (Names{"a", "b", "c", "d", "e", "f"}));
    EXPECT_EQ(messages.shown.size(), 1u);
}

struct SelectionCase
{
    const char* label;
    Names names;
    const char* stored;
    std::optional<std::size_t> selected;
};

class ProfileManagerSelectionTest : public ProfileManagerTest, public ::testing::WithParamInterface<SelectionCase>
{
};

TEST_P(ProfileManagerSelectionTest, StoredNameIsMatchedWhole)
{
    StoreList(GetParam().names, GetParam().stored);
    files.currentProfileIndex = 5;
    EXPECT_EQ(Manager().Selected(), GetParam().selected);
    EXPECT_EQ(files.currentProfileIndex, 5) << "opening does not change the loaded profile";
    EXPECT_EQ(Manager().RememberedPosition(), std::nullopt);
}

INSTANTIATE_TEST_SUITE_P(
    Names, ProfileManagerSelectionTest,
    ::testing::Values(SelectionCase{"NeverAPrefix", {"PROFILE_10", "PROFILE_1"}, "PROFILE_1", 1},
                      SelectionCase{"PrefixAloneSelectsNothing", {"PROFILE_10"}, "PROFILE_1", std::nullopt},
                      SelectionCase{"CaseIgnored", {"PROFILE_0", "PROFILE_1"}, "profile_1", 1},
                      SelectionCase{"ExactCaseWinsAsTheLoaderReadsIt", {"game", "Game"}, "Game", 1},
                      SelectionCase{"LastExactMatchLikeTheLoader", {"x", "y", "x"}, "x", 2},
                      SelectionCase{"FirstIgnoringCase", {"X", "y", "X"}, "x", 0},
                      SelectionCase{"Position0", {"a", "b"}, "a", 0}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(ProfileManagerTest, RenameReplacesTheNameTrimmedAndRefusesWhatCannotBeStored)
{
    InstallThree();
    Manager().CommitRename(0, "  Racing  ");
    EXPECT_EQ(Manager().Names()[0], "Racing");
    EXPECT_EQ(Manager().Selected(), 0u);
    Manager().CommitRename(2, "   ");
    Manager().CommitRename(1, "two\nlines");
    Manager().CommitRename(7, "nowhere");
    EXPECT_EQ(Manager().Names(), (Names{"Racing", "B", "C"}));
}

TEST_F(ProfileManagerTest, RenamedNameKeepsItsFiles)
{
    InstallThree();
    Manager().CommitRename(1, "Games");
    Manager().CloseManager();
    EXPECT_EQ(ListValue("Item1"), "Games");
    EXPECT_EQ(ListValue("CurProfileName"), "Games");
    EXPECT_EQ(files.currentProfileIndex, 1);
    EXPECT_EQ(SettingsOf(1), Patterned(11));
    EXPECT_EQ(LabelOf(1), "label B");
}

TEST_F(ProfileManagerTest, CloseWritesTheWholeSectionInOrder)
{
    InstallThree();
    IniFile(dir / "str.ini", codec).WriteString("Profile", "Stale", "x");
    Click(2);
    Manager().DeleteProfile();
    Manager().NewProfile();
    Manager().CommitRename(2, "C");
    test::FileAccessCounter access(dir / "str.ini");
    Manager().CloseManager();
    EXPECT_EQ(access.Replacements(), 1);
    EXPECT_EQ(ListKeys(), (Names{"CurProfileName", "ItemCount", "Item0", "Item1", "Item2"}));
    EXPECT_EQ(ListValue("CurProfileName"), "C");
    EXPECT_EQ(ListValue("ItemCount"), "3");
    EXPECT_EQ(ListValue("Item0"), "A");
    EXPECT_EQ(files.currentProfileIndex, 2);
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(ProfileManagerTest, CloseWithNothingSelectedStoresTheFirstName)
{
    InstallThree();
    Click(2);
    Manager().DeleteProfile();
    files.currentProfileIndex = 1;
    Manager().CloseManager();
    EXPECT_EQ(ListValue("CurProfileName"), "A");
    EXPECT_EQ(ListValue("ItemCount"), "2");
    EXPECT_EQ(files.currentProfileIndex, 0);
}

// Deleting the last name left an empty list: the next start showed a black window, and Save sent
// an all-zero profile.
TEST_F(ProfileManagerTest, TheOnlyNameIsNeverDeleted)
{
    for (const auto& [lang, message, title] :
         {std::tuple{Language::English, "At least one profile must remain.", "Warning"},
          std::tuple{Language::SimplifiedChinese, "至少需要保留一个配置。", "警告"},
          std::tuple{Language::TraditionalChinese, "至少需要保留一個配置。", "警告"}}) {
        InstallThree();
        messages.shown.clear();
        language = lang;
        ProfileManager manager(ProfileManagerContext{files, codec, messages, language});
        manager.LoadProfileList();
        for (int i = 0; i < 3; ++i) {
            manager.OnListClick(0);
            manager.DeleteProfile();
        }
        EXPECT_EQ(manager.Names(), (Names{"C"}));
        EXPECT_EQ(messages.shown, (std::vector<Shown>{{Shown::Kind::Message, message, title}}));
        ASSERT_TRUE(manager.CloseManager());
        EXPECT_EQ(ListKeys(), (Names{"CurProfileName", "ItemCount", "Item0"}));
        EXPECT_EQ(SettingsOf(0), Patterned(12));
    }
}

TEST_F(ProfileManagerTest, DeletingTheFirstOfThreeKeepsEachNamesSettingsAndLabels)
{
    InstallThree();
    Click(0);
    Manager().DeleteProfile();
    Click(0); // B
    Manager().CloseManager();

    EXPECT_EQ(ListValue("Item0"), "B");
    EXPECT_EQ(ListValue("Item1"), "C");
    EXPECT_EQ(files.currentProfileIndex, 0);
    EXPECT_EQ(SettingsOf(0), Patterned(11));
    EXPECT_EQ(LabelOf(0), "label B");
    EXPECT_EQ(SettingsOf(1), Patterned(12));
    EXPECT_EQ(LabelOf(1), "label C");
    // The freed position is a fresh profile again: factory settings, factory labels, no list.
    EXPECT_EQ(ConfigFile::Read(dir / "config2.bin").contents.firstRunFlag, 0);
    EXPECT_EQ(SettingsOf(2), FactorySettings());
    EXPECT_EQ(LabelOf(2), FactoryLabel());
    EXPECT_EQ(LabelFile(2).GetString("Skins", "Path"), IniFile(dir / "str.ini", codec).GetString("Skins", "Path"));
    EXPECT_TRUE(LabelFile(2).KeyNames("Profile").empty());

    // The loader finds B's own settings under B.
    ProfileRecord loaded{};
    files.LoadConfig(loaded);
    EXPECT_EQ(loaded, Patterned(11));
}

TEST_F(ProfileManagerTest, CopyGetsItsSourcesFilesAndNewNameTheFactoryOnes)
{
    InstallThree();
    Click(0);
    Manager().CopyProfile(); // "Copy A" at 3
    Manager().NewProfile();  // "Copy A_4" at 4
    Click(0);
    Manager().DeleteProfile(); // everything moves up one
    Manager().CloseManager();

    EXPECT_EQ(Manager().Names(), (Names{"B", "C", "Copy A", "Copy A_4"}));
    EXPECT_EQ(SettingsOf(2), Patterned(10));
    EXPECT_EQ(LabelOf(2), "label A");
    EXPECT_EQ(SettingsOf(3), FactorySettings());
    EXPECT_EQ(LabelOf(3), FactoryLabel());
    // Positions that no name had before are left alone.
    EXPECT_EQ(SettingsOf(5), FactorySettings());
}

TEST_F(ProfileManagerTest, ListThatCannotBeStoredLeavesTheOldLayoutWhole)
{
    InstallThree();
    // A stray byte that Windows-1252 has no character for: the list is read but never rewritten.
    const std::string damaged = ReadFileBytes(dir / "str.ini") + "; \x81\r\n";
    WriteFileBytes(dir / "str.ini", damaged);
    files.currentProfileIndex = 1;
    Click(0);
    Manager().DeleteProfile();
    EXPECT_FALSE(Manager().CloseManager());

    EXPECT_EQ(messages.shown, (std::vector<Shown>{{Shown::Kind::Message, "Error Code is: 5 \n", "NULL ==fp "}}));
    EXPECT_EQ(ReadFileBytes(dir / "str.ini"), damaged);
    EXPECT_EQ(Manager().Names(), (Names{"B", "C"})) << "the user's names stay for another try";
    EXPECT_EQ(files.currentProfileIndex, 1);
    EXPECT_EQ(SettingsOf(0), Patterned(10));
    EXPECT_EQ(LabelOf(0), "label A");
    EXPECT_EQ(SettingsOf(1), Patterned(11));
    EXPECT_EQ(SettingsOf(2), Patterned(12));
    EXPECT_EQ(LabelOf(2), "label C");
}

TEST_F(ProfileManagerTest, UnreadableProfileFileStopsTheMoveBeforeAnyWrite)
{
    InstallThree();
    std::filesystem::remove(dir / "config2.bin");
    std::filesystem::create_directory(dir / "config2.bin");
    const std::string list = ReadFileBytes(dir / "str.ini");
    Click(0);
    Manager().DeleteProfile();
    Manager().CloseManager();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].title, "NULL ==fp ");
    EXPECT_EQ(ReadFileBytes(dir / "str.ini"), list);
    EXPECT_EQ(SettingsOf(0), Patterned(10));
}

// The manager follows the loaded profile through the edits: a save while it is open lands in that
// profile's files, wherever its name moves when the list is stored.
TEST_F(ProfileManagerTest, TheLoadedProfileKeepsItsFilesWhileTheListChanges)
{
    InstallThree();
    files.currentProfileIndex = 2; // C is loaded
    Click(0);
    Manager().DeleteProfile();
    EXPECT_EQ(Manager().LoadedPosition(), 1u);
    ASSERT_TRUE(files.SaveConfig(Patterned(99))); // still C's old position: nothing has moved yet
    ASSERT_TRUE(Manager().StoreKeepingCurrent());
    EXPECT_EQ(files.currentProfileIndex, 1);
    EXPECT_EQ(ListValue("CurProfileName"), "C");
    ASSERT_TRUE(files.SaveConfig(Patterned(98)));
    EXPECT_EQ(SettingsOf(0), Patterned(11)); // B's own
    EXPECT_EQ(SettingsOf(1), Patterned(98)); // C's, saved twice
    EXPECT_EQ(LabelOf(1), "label C");
}

} // namespace
} // namespace veldrane
