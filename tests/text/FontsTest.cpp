#include "text/Fonts.h"

#include <gtest/gtest.h>

#include <ostream>

namespace veldrane {

void PrintTo(const Font& font, std::ostream* out)
{
    *out << '"' << font.family << "\" " << font.height << '/' << font.weight;
}

namespace {

struct FontRow
{
    Language language;
    bool windows8;
    Font mainText;
    Font mainTitle;
    Font dialog;
    Font singleKeyDialog;
    Font macroManager;
};

void PrintTo(const FontRow& row, std::ostream* out)
{
    *out << static_cast<int>(row.language) << (row.windows8 ? " on version 6.2" : "");
}

class FontsTest : public testing::TestWithParam<FontRow>
{
};

TEST_P(FontsTest, RowOfTheLanguage)
{
    const FontRow& row = GetParam();
    const FontSet& fonts = FontsFor(row.language, row.windows8);
    EXPECT_EQ(fonts.mainText, row.mainText);
    EXPECT_EQ(fonts.mainTitle, row.mainTitle);
    EXPECT_EQ(fonts.dialog, row.dialog);
    EXPECT_EQ(fonts.singleKeyDialog, row.singleKeyDialog);
    EXPECT_EQ(fonts.macroManager, row.macroManager);
    EXPECT_EQ(fonts.mainSmall, (Font{"Arial", 13, kDefaultFontWeight}));
}

INSTANTIATE_TEST_SUITE_P(Languages, FontsTest,
                         testing::Values(FontRow{Language::SimplifiedChinese,
                                                 false,
                                                 {"宋体", 13, 400},
                                                 {"宋体", 18, 700},
                                                 {"宋体", 13, 400},
                                                 {"宋体", 13, 400},
                                                 {"宋体", 13, 400}},
                                         FontRow{Language::SimplifiedChinese,
                                                 true,
                                                 {"黑体", 13, 400},
                                                 {"黑体", 18, 700},
                                                 {"黑体", 13, 400},
                                                 {"黑体", 13, 400},
                                                 {"黑体", 13, 400}},
                                         FontRow{Language::TraditionalChinese,
                                                 false,
                                                 {"黑体", 14, 400},
                                                 {"黑体", 18, 700},
                                                 {"黑体", 14, 400},
                                                 {"黑体", 14, 400},
                                                 {"黑体", 14, 400}},
                                         // Version 6.2 changes only the simplified Chinese face.
                                         FontRow{Language::TraditionalChinese,
                                                 true,
                                                 {"黑体", 14, 400},
                                                 {"黑体", 18, 700},
                                                 {"黑体", 14, 400},
                                                 {"黑体", 14, 400},
                                                 {"黑体", 14, 400}},
                                         FontRow{Language::English,
                                                 false,
                                                 {"Segoe UI", 15, 300},
                                                 {"Tahoma", 18, 700},
                                                 {"Arial", 14, 400},
                                                 {"Segoe UI", 15, 400},
                                                 {"Segoe UI", 15, 700}},
                                         FontRow{Language::English,
                                                 true,
                                                 {"Segoe UI", 15, 300},
                                                 {"Tahoma", 18, 700},
                                                 {"Arial", 14, 400},
                                                 {"Segoe UI", 15, 400},
                                                 {"Segoe UI", 15, 700}}));

TEST(IsWindows8Version, OnlyVersion62SwapsTheFace)
{
    EXPECT_TRUE(IsWindows8Version(6, 2));
    EXPECT_FALSE(IsWindows8Version(6, 1));
    EXPECT_FALSE(IsWindows8Version(6, 3));
    EXPECT_FALSE(IsWindows8Version(10, 0));
    EXPECT_FALSE(IsWindows8Version(5, 2));
}

} // namespace
} // namespace veldrane
