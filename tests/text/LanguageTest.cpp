#include "text/Language.h"

#include <gtest/gtest.h>

#include <string_view>

namespace veldrane {
namespace {

TEST(LanguageFromCode, OnlyTheExactUpperCaseCodesChooseChinese)
{
    EXPECT_EQ(LanguageFromCode("CHS"), Language::SimplifiedChinese);
    EXPECT_EQ(LanguageFromCode("CHT"), Language::TraditionalChinese);
    EXPECT_EQ(LanguageFromCode("EN"), Language::English);
    EXPECT_EQ(LanguageFromCode("chs"), Language::English);
    EXPECT_EQ(LanguageFromCode("CHS "), Language::English);
    EXPECT_EQ(LanguageFromCode("CHSCHT"), Language::English);
    EXPECT_EQ(LanguageFromCode(std::string_view{"CHS\0", 4}), Language::English);
    // A missing "Lan" key reads and writes the English labels.
    EXPECT_EQ(LanguageSectionName(LanguageFromCode("")), "Setting-EN");
    EXPECT_EQ(LanguageSectionName(Language::SimplifiedChinese), "Setting-CHS");
    EXPECT_EQ(LanguageSectionName(Language::TraditionalChinese), "Setting-CHT");
}

} // namespace
} // namespace veldrane
