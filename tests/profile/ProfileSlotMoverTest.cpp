#include "profile/ProfileSlotMover.h"

#include <gtest/gtest.h>

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
    mover.Undo();
    std::size_t i = 0;
    for (const char* name : {"config0.bin", "config1.bin", "str0.ini", "str1.ini", "config2.bin"}) {
        EXPECT_EQ(ReadFileBytes(dir / name), before[i++]) << name;
    }
    EXPECT_FALSE(std::filesystem::exists(dir / "str2.ini"));
}

} // namespace
} // namespace veldrane
