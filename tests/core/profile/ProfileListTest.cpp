#include "core/profile/ProfileList.h"

#include <gtest/gtest.h>

#include "adapters/linux/IconvTextCodec.h"
#include "core/ini/IniFile.h"
#include "support/TempDir.h"

namespace veldrane {
namespace {

using test::ReadFileBytes;
using Names = std::vector<std::string>;

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

} // namespace
} // namespace veldrane
