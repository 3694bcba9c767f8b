#include "profile/ProfileSlotMover.h"

#include <gtest/gtest.h>

#include <cerrno>

#include "profile/InstalledProfiles.h"

namespace veldrane {
namespace {

using test::InstalledProfiles;
using test::Patterned;
using test::ReadFileBytes;

class ProfileSlotMoverTest : public InstalledProfiles
{
protected:
    ProfileSlotMover mover{dir.Path(), codec};
};

TEST_F(ProfileSlotMoverTest, NamesThatSwapPlacesSwapTheirFiles)
{
    GiveSlot(0, 10, "zero");
    GiveSlot(1, 11, "one");
    const std::vector<ProfileFileSource> sources{1, 0};
    ASSERT_EQ(mover.Move(sources, 2), 0);
    EXPECT_EQ(SettingsOf(0), Patterned(11));
    EXPECT_EQ(LabelOf(0), "one");
    EXPECT_EQ(SettingsOf(1), Patterned(10));
    EXPECT_EQ(LabelOf(1), "zero");
}

TEST_F(ProfileSlotMoverTest, UndoPutsBackEveryFileByteForByte)
{
    GiveSlot(0, 10, "zero");
    GiveSlot(1, 11, "one");
    std::filesystem::remove(dir / "str2.ini");
    std::vector<std::string> before;
    for (const char* name : {"config0.bin", "config1.bin", "str0.ini", "str1.ini", "config2.bin"}) {
        before.push_back(ReadFileBytes(dir / name));
    }
    const std::vector<ProfileFileSource> sources{1, std::nullopt, 0};
    ASSERT_EQ(mover.Move(sources, 2), 0);
    ASSERT_TRUE(std::filesystem::exists(dir / "str2.ini"));
    EXPECT_EQ(mover.Undo(), 0);
    std::size_t i = 0;
    for (const char* name : {"config0.bin", "config1.bin", "str0.ini", "str1.ini", "config2.bin"}) {
        EXPECT_EQ(ReadFileBytes(dir / name), before[i++]) << name;
    }
    EXPECT_FALSE(std::filesystem::exists(dir / "str2.ini"));
    EXPECT_FALSE(std::filesystem::exists(dir / "profiles.journal"));
}

// A kill between the moves, or between the moves and the list, left names on other names' files.
TEST_F(ProfileSlotMoverTest, AStepCutOffIsTakenBackWholeAtTheNextStart)
{
    GiveSlot(0, 10, "zero");
    GiveSlot(1, 11, "one");
    std::filesystem::remove(dir / "str2.ini");
    const std::vector<std::string> names{"config0.bin", "config1.bin", "str0.ini",
                                         "str1.ini",    "config2.bin", "str.ini"};
    std::vector<std::string> before;
    for (const std::string& name : names) {
        before.push_back(ReadFileBytes(dir / name));
    }
    const std::vector<ProfileFileSource> sources{1, std::nullopt, 0};
    ASSERT_EQ(mover.Move(sources, 2), 0);
    // The program stops before the list is stored (or after: the list is in the journal too).
    IniFile(dir / "str.ini", codec).WriteString("Profile", "ItemCount", "3");
    ASSERT_TRUE(std::filesystem::exists(dir / "profiles.journal"));

    EXPECT_EQ(ProfileSlotMover::Recover(dir.Path()), 0);
    for (std::size_t i = 0; i < names.size(); ++i) {
        EXPECT_EQ(ReadFileBytes(dir / names[i]), before[i]) << names[i];
    }
    EXPECT_FALSE(std::filesystem::exists(dir / "str2.ini"));
    EXPECT_FALSE(std::filesystem::exists(dir / "profiles.journal"));
    EXPECT_EQ(ProfileSlotMover::Recover(dir.Path()), 0) << "nothing left to do";

    // A completed step leaves no journal behind.
    ASSERT_EQ(mover.Move(sources, 2), 0);
    EXPECT_EQ(mover.Commit(), 0);
    EXPECT_FALSE(std::filesystem::exists(dir / "profiles.journal"));
    EXPECT_EQ(SettingsOf(0), Patterned(11));

    // A journal cut short is not believed.
    test::WriteFileBytes(dir / "profiles.journal", "veldrane profile move 1\nconfig0.bin\n1825\nxx");
    EXPECT_EQ(ProfileSlotMover::Recover(dir.Path()), EIO);
    EXPECT_EQ(SettingsOf(0), Patterned(11));
}

} // namespace
} // namespace veldrane
