#include "core/profile/ProfileSlotMover.h"

#include <gtest/gtest.h>

#include <cerrno>

#include "core/profile/InstalledProfiles.h"

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
    ASSERT_EQ(mover.Move(sources, 2), 0);
    // The program stops before the list is stored (or after: the list is in the journal too).
    IniFile(dir / "str.ini", codec).WriteString("Profile", "ItemCount", "3");

    EXPECT_EQ(ProfileSlotMover::Recover(dir.Path()), 0);
    EXPECT_EQ(test::ReadFolder(dir.Path()), before) << "str2.ini and the journal gone too";
    EXPECT_EQ(ProfileSlotMover::Recover(dir.Path()), 0) << "nothing left to do";

    // A completed step leaves the swapped files and no journal behind.
    ASSERT_EQ(mover.Move(sources, 2), 0);
    EXPECT_EQ(mover.Commit(), 0);
    EXPECT_FALSE(std::filesystem::exists(dir / "profiles.journal"));
    EXPECT_EQ(SettingsOf(0), Patterned(11));
    EXPECT_EQ(LabelOf(0), "one");
    EXPECT_EQ(SettingsOf(2), Patterned(10));
    EXPECT_EQ(LabelOf(2), "zero");

    // A journal cut short is not believed.
    test::WriteFileBytes(dir / "profiles.journal", "veldrane profile move 1\nconfig0.bin\n1825\nxx");
    EXPECT_EQ(ProfileSlotMover::Recover(dir.Path()), EIO);
    EXPECT_EQ(SettingsOf(0), Patterned(11));
}

} // namespace
} // namespace veldrane
