#include "macro/MacroItem.h"

#include <gtest/gtest.h>

namespace veldrane {
namespace {

struct ItemCase
{
    const char* text;
    MacroItemKind kind;
    const char* keyName;
};

class MacroItemRecognition : public testing::TestWithParam<ItemCase>
{
};

TEST_P(MacroItemRecognition, TellsKindAndKeyNameByMarkers)
{
    const MacroItem item{GetParam().text};
    EXPECT_EQ(item.Kind(), GetParam().kind);
    EXPECT_EQ(item.KeyName(), GetParam().keyName);
}

INSTANTIATE_TEST_SUITE_P(MacroItem, MacroItemRecognition,
                         testing::Values(ItemCase{"A   Dn", MacroItemKind::Press, "A"},
                                         ItemCase{"Num Lock   Up", MacroItemKind::Release, "Num Lock"},
                                         ItemCase{"L-Button   Dn", MacroItemKind::Press, "L-Button"},
                                         ItemCase{"50 ms", MacroItemKind::Delay, "50 ms"},
                                         ItemCase{"A  Dn", MacroItemKind::Other, "A  Dn"}, // two blanks
                                         ItemCase{"A   Up   Dn", MacroItemKind::Press, "A   Up"},
                                         ItemCase{"", MacroItemKind::Other, ""}));

TEST(MacroItem, DelayIsTheNumberBeforeMs)
{
    EXPECT_EQ(MacroItem("120 ms").DelayMilliseconds(), 120);
    EXPECT_EQ(MacroItem("0120 ms").DelayMilliseconds(), 120);
    EXPECT_EQ(MacroItem("6553500ms").DelayMilliseconds(), 6553500);
    EXPECT_EQ(MacroItem(" ms").DelayMilliseconds(), 0);
    EXPECT_EQ(MacroItem("12a ms").DelayMilliseconds(), 12);
    EXPECT_EQ(MacroItem("x ms").DelayMilliseconds(), 0);
    EXPECT_EQ(MacroItem("-50 ms").DelayMilliseconds(), 0);
}

TEST(MacroItem, BuildsTheTextsTheFileStores)
{
    EXPECT_EQ(MacroItem::Press("M-Button").Text(), "M-Button   Dn");
    EXPECT_EQ(MacroItem::Release("A").Text(), "A   Up");
    EXPECT_EQ(MacroItem::Delay(50).Text(), "50 ms");
}

} // namespace
} // namespace veldrane
