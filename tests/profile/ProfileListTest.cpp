#include "profile/ProfileList.h"

#include <gtest/gtest.h>

#include "ini/IniFile.h"
#include "platform/linux/IconvTextCodec.h"
#include "support/TempDir.h"

namespace veldrane {
namespace {

using test::ReadFileBytes;
using test::TempDir;
using Names = std::vector<std::string>;

class ProfileListTest : public ::testing::Test
{
protected:
    std::string Stored(const Names& names, std::optional<std::size_t> selected)
    {
        IniFile list(dir / "str.ini", codec);
        EXPECT_EQ(list.Apply(ProfileList::Replacement(names, selected)), IniWriteResult::Written);
        return ReadFileBytes(dir / "str.ini");
    }

    TempDir dir;
    IconvTextCodec codec;
};

TEST_F(ProfileListTest, ReplacementWritesTheSectionAsTheProgramStoresIt)
{
    test::WriteFileBytes(dir / "str.ini", "[Profile]\r\nItem5=old\r\nItemCount=6\r\n[Skins]\r\nPath=Default\r\n");
    EXPECT_EQ(Stored({"PROFILE_0", "Game"}, 1u), "[Skins]\r\nPath=Default\r\n[Profile]\r\nCurProfileName=Game\r\n"
                                                 "ItemCount=2\r\nItem0=PROFILE_0\r\nItem1=Game\r\n");
}

TEST_F(ProfileListTest, ReplacementWithoutSelectionNamesPosition0AndEmptyListOnlyTheCount)
{
    EXPECT_EQ(Stored({"a", "b"}, std::nullopt),
              "[Profile]\r\nCurProfileName=a\r\nItemCount=2\r\nItem0=a\r\nItem1=b\r\n");
    EXPECT_EQ(Stored({}, std::nullopt), "[Profile]\r\nItemCount=0\r\n");
}

struct StorableCase
{
    const char* label;
    const char* text;
    std::optional<std::string> stored;
};

class StorableNameTest : public ::testing::TestWithParam<StorableCase>
{
};

TEST_P(StorableNameTest, IsTrimmedOrRefused)
{
    EXPECT_EQ(ProfileList::StorableName(GetParam().text), GetParam().stored);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, StorableNameTest,
    ::testing::Values(StorableCase{"Plain", "Game", "Game"}, StorableCase{"Blanks", " \tMy Game  ", "My Game"},
                      StorableCase{"Chinese", "游戏", "游戏"}, StorableCase{"Empty", "", std::nullopt},
                      StorableCase{"OnlyBlanks", "   ", std::nullopt}, StorableCase{"LineBreak", "a\nb", std::nullopt},
                      StorableCase{"CarriageReturn", "a\rb", std::nullopt}),
    [](const auto& info) { return std::string(info.param.label); });

} // namespace
} // namespace veldrane
