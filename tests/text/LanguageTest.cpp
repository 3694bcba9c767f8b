#include "text/Language.h"

#include <gtest/gtest.h>

#include <string_view>

namespace veldrane {
namespace {

struct CodeCase
{
    std::string_view code;
    Language language;
};

class LanguageFromCodeTest : public testing::TestWithParam<CodeCase>
{
};

TEST_P(LanguageFromCodeTest, OnlyTheExactUpperCaseCodesChooseChinese)
{
    EXPECT_EQ(LanguageFromCode(GetParam().code), GetParam().language) << '"' << GetParam().code << '"';
}

INSTANTIATE_TEST_SUITE_P(Codes, LanguageFromCodeTest,
                         testing::Values(CodeCase{"CHS", Language::SimplifiedChinese},
                                         CodeCase{"CHT", Language::TraditionalChinese}, CodeCase{"", Language::English},
                                         CodeCase{"EN", Language::English}, CodeCase{"chs", Language::English},
                                         CodeCase{"Cht", Language::English}, CodeCase{"CHS ", Language::English},
                                         CodeCase{" CHT", Language::English}, CodeCase{"CH", Language::English},
                                         CodeCase{"CHSCHT", Language::English},
                                         CodeCase{std::string_view{"CHS\0", 4}, Language::English}));

TEST(LanguageSectionName, EachLanguageHasItsOwnLabelSection)
{
    EXPECT_EQ(LanguageSectionName(Language::English), "Setting-EN");
    EXPECT_EQ(LanguageSectionName(Language::SimplifiedChinese), "Setting-CHS");
    EXPECT_EQ(LanguageSectionName(Language::TraditionalChinese), "Setting-CHT");
}

TEST(LanguageSectionName, AMissingLanKeyReadsAndWritesTheEnglishSection)
{
    EXPECT_EQ(LanguageSectionName(LanguageFromCode("")), "Setting-EN");
}

} // namespace
} // namespace veldrane
