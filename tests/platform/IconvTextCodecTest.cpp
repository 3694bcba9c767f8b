#include "platform/linux/IconvTextCodec.h"

#include <gtest/gtest.h>

namespace veldrane {
namespace {

TEST(IconvTextCodec, ConvertsTheLegacyCodePagesBothWays)
{
    const struct
    {
        LegacyCodePage page;
        std::string utf8;
        std::string bytes;
    } cases[] = {{LegacyCodePage::Gbk, "Item1=宏", "Item1=\xBA\xEA"},
                 {LegacyCodePage::Gbk, "€", "\x80"}, // the Windows variants, not the plain ones
                 {LegacyCodePage::Big5, "左鍵", "\xA5\xAA\xC1\xE4"},
                 {LegacyCodePage::Big5, "€", "\xA3\xE1"},
                 {LegacyCodePage::Windows1252, "é€", "\xE9\x80"}};
    const IconvTextCodec codec;
    for (const auto& c : cases) {
        EXPECT_EQ(codec.ToUtf8(c.bytes, c.page), c.utf8);
        EXPECT_EQ(codec.FromUtf8(c.utf8, c.page), c.bytes);
    }
}

TEST(IconvTextCodec, BadBytesAndUnrepresentableTextGiveNothing)
{
    const IconvTextCodec codec;
    EXPECT_EQ(codec.ToUtf8("a\x81", LegacyCodePage::Windows1252), std::nullopt);
    EXPECT_EQ(codec.ToUtf8("ab\xD7", LegacyCodePage::Gbk), std::nullopt);
    EXPECT_EQ(codec.FromUtf8("a한", LegacyCodePage::Gbk), std::nullopt);
    EXPECT_EQ(codec.FromUtf8("Click 左", LegacyCodePage::Windows1252), std::nullopt);
    EXPECT_EQ(codec.FromUtf8("a\xC3", LegacyCodePage::Windows1252), std::nullopt);
}

} // namespace
} // namespace veldrane
