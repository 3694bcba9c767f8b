#include "core/profile/ProfileSlotMover.h"

#include <gtest/gtest.h>

#include <cerrno>

#include "core/ini/FileError.h"
#include "core/profile/InstalledProfiles.h"
#include "core/text/FileErrorTexts.h"

namespace veldrane {
namespace {

using test::Patterned;

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
    ASSERT_EQ(IniFile(dir / "str.ini", codec).WriteString("Profile", "ItemCount", "3"), IniWriteResult::Written);

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

} // namespace
} // namespace veldrane
