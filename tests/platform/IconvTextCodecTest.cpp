#include "platform/linux/IconvTextCodec.h"

#include <gtest/gtest.h>

namespace veldrane {
namespace {

struct CodePageCase
{
    const char* name;
    LegacyCodePage page;
    std::string utf8;
    std::string bytes;
};

class IconvTextCodecRoundTrip : public ::testing::TestWithParam<CodePageCase>
{
protected:
    IconvTextCodec m_codec;
};

TEST_P(IconvTextCodecRoundTrip, ConvertsBothWays)
{
    const CodePageCase& c = GetParam();
    EXPECT_EQ(m_codec.ToUtf8(c.bytes, c.page), c.utf8);
    EXPECT_EQ(m_codec.FromUtf8(c.utf8, c.page), c.bytes);
}

INSTANTIATE_TEST_SUITE_P(
    KnownBytes, IconvTextCodecRoundTrip,
    ::testing::Values(CodePageCase{"GbkClick", LegacyCodePage::Gbk, "左键", "\xD7\xF3\xBC\xFC"},
                      CodePageCase{"GbkMixedWithAscii", LegacyCodePage::Gbk, "Item1=宏", "Item1=\xBA\xEA"},
                      CodePageCase{"GbkEuroIsWindowsVariant", LegacyCodePage::Gbk, "€", "\x80"},
                      CodePageCase{"Big5Click", LegacyCodePage::Big5, "左鍵", "\xA5\xAA\xC1\xE4"},
                      CodePageCase{"Big5EuroIsWindowsVariant", LegacyCodePage::Big5, "€", "\xA3\xE1"},
                      CodePageCase{"Cp1252Accent", LegacyCodePage::Windows1252, "é", "\xE9"},
                      CodePageCase{"Cp1252Euro", LegacyCodePage::Windows1252, "€", "\x80"},
                      CodePageCase{"EmptyText", LegacyCodePage::Gbk, "", ""}),
    [](const auto& info) { return info.param.name; });

TEST(IconvTextCodec, LongTextConvertsWhole)
{
    // Longer than one conversion buffer, so the output is collected over several rounds.
    std::string utf8;
    std::string gbk;
    for (int i = 0; i < 1500; ++i) {
        utf8 += "左键";
        gbk += "\xD7\xF3\xBC\xFC";
    }
    const IconvTextCodec codec;
    EXPECT_EQ(codec.ToUtf8(gbk, LegacyCodePage::Gbk), utf8);
    EXPECT_EQ(codec.FromUtf8(utf8, LegacyCodePage::Gbk), gbk);
}

struct FailureCase
{
    const char* name;
    LegacyCodePage page;
    std::string input;
};

class IconvTextCodecToUtf8Fails : public ::testing::TestWithParam<FailureCase>
{
};

TEST_P(IconvTextCodecToUtf8Fails, GivesNothing)
{
    EXPECT_EQ(IconvTextCodec().ToUtf8(GetParam().input, GetParam().page), std::nullopt);
}

INSTANTIATE_TEST_SUITE_P(BadBytes, IconvTextCodecToUtf8Fails,
                         ::testing::Values(FailureCase{"Cp1252UndefinedByte", LegacyCodePage::Windows1252, "a\x81"},
                                           FailureCase{"GbkLeadByteCutOff", LegacyCodePage::Gbk, "ab\xD7"},
                                           FailureCase{"GbkInvalidByte", LegacyCodePage::Gbk, "\xFF\xFF"},
                                           FailureCase{"Big5LeadByteCutOff", LegacyCodePage::Big5, "\xA5"}),
                         [](const auto& info) { return info.param.name; });

class IconvTextCodecFromUtf8Fails : public ::testing::TestWithParam<FailureCase>
{
};

TEST_P(IconvTextCodecFromUtf8Fails, GivesNothing)
{
    EXPECT_EQ(IconvTextCodec().FromUtf8(GetParam().input, GetParam().page), std::nullopt);
}

INSTANTIATE_TEST_SUITE_P(Unrepresentable, IconvTextCodecFromUtf8Fails,
                         ::testing::Values(FailureCase{"HangulInGbk", LegacyCodePage::Gbk, "a한"},
                                           FailureCase{"ChineseInCp1252", LegacyCodePage::Windows1252, "Click 左"},
                                           FailureCase{"ReplacementCharacterInBig5", LegacyCodePage::Big5,
                                                       "\xEF\xBF\xBD"},
                                           FailureCase{"MalformedUtf8", LegacyCodePage::Windows1252, "a\xC3"}),
                         [](const auto& info) { return info.param.name; });

} // namespace
} // namespace veldrane
