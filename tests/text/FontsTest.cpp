#include "text/Fonts.h"

#include <gtest/gtest.h>

#include <ostream>

namespace veldrane {

void PrintTo(const Font& font, std::ostream* out)
{
    *out << '"' << font.family << "\" " << font.height << '/' << font.weight;
}

namespace {

TEST(Fonts, RowsOfTheLanguages)
{
    const FontSet& simplified = FontsFor(Language::SimplifiedChinese, false);
    EXPECT_EQ(simplified.mainText, (Font{"宋体", 13, 400}));
    EXPECT_EQ(simplified.mainTitle, (Font{"宋体", 18, 700}));
    EXPECT_EQ(FontsFor(Language::SimplifiedChinese, true).macroManager, (Font{"黑体", 13, 400}));
    // Version 6.2 changes only the simplified Chinese face.
    EXPECT_EQ(FontsFor(Language::TraditionalChinese, true).dialog, (Font{"黑体", 14, 400}));
    const FontSet& english = FontsFor(Language::English, false);
    EXPECT_EQ(english.mainText, (Font{"Segoe UI", 15, 300}));
    EXPECT_EQ(english.mainTitle, (Font{"Tahoma", 18, 700}));
    EXPECT_EQ(english.dialog, (Font{"Arial", 14, 400}));
    EXPECT_EQ(english.macroManager, (Font{"Segoe UI", 15, 700}));
    EXPECT_EQ(english.mainSmall, (Font{"Arial", 13, kDefaultFontWeight}));
}

TEST(IsWindows8Version, OnlyVersion62SwapsTheFace)
{
    EXPECT_TRUE(IsWindows8Version(6, 2));
    EXPECT_FALSE(IsWindows8Version(6, 1));
    EXPECT_FALSE(IsWindows8Version(6, 3));
    EXPECT_FALSE(IsWindows8Version(10, 0));
}

} // namespace
} // namespace veldrane
