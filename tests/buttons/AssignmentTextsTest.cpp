#include "text/AssignmentTexts.h"

#include <gtest/gtest.h>

namespace veldrane {
namespace {

TEST(AssignmentTexts, EnglishTablesInMenuOrder)
{
    const AssignmentTexts& t = AssignmentTextsFor(Language::English);
    EXPECT_EQ(t.functions[0], "Click");
    EXPECT_EQ(t.functions[3], "IE Forward");
    EXPECT_EQ(t.functions[8], "HotKey");
    EXPECT_EQ(t.functions[14], "Left Title Scroll");
    EXPECT_EQ(t.functions[15], "Right Title Scroll");
    EXPECT_EQ(t.media[0], "Media player");
    EXPECT_EQ(t.media[2], "Pre Track");
    EXPECT_EQ(t.media[7], "Volume Down");
    EXPECT_EQ(t.hotKeys[9], "Select All");
    EXPECT_EQ(t.systemCommands[0], "My computer");
    EXPECT_EQ(t.systemCommands[1], "Browser-Home");
    EXPECT_EQ(t.systemCommands[6], "Run");
    EXPECT_EQ(t.buttonNames[0], "Button 1");
    EXPECT_EQ(t.buttonNames[11], "Button 12");
    EXPECT_EQ(t.leftKeyRequired, "Left key must be selected!");
}

TEST(AssignmentTexts, TraditionalChineseTablesKeepTheSimplifiedDoubleClick)
{
    const AssignmentTexts& t = AssignmentTextsFor(Language::TraditionalChinese);
    EXPECT_EQ(t.functions[0], "左鍵");
    EXPECT_EQ(t.functions[4], "後退方向鍵");
    EXPECT_EQ(t.functions[5], "双击");
    EXPECT_EQ(t.functions[8], "快速鍵");
    EXPECT_EQ(t.functions[11], "複合鍵");
    EXPECT_EQ(t.functions[12], "巨集");
    EXPECT_EQ(t.media[5], "靜音");
    EXPECT_EQ(t.hotKeys[5], "列印");
    EXPECT_EQ(t.hotKeys[7], "重複");
    EXPECT_EQ(t.systemCommands[5], "顯示桌面");
    EXPECT_EQ(t.buttonNames[0], "按鈕1");
    EXPECT_EQ(t.buttonNames[11], "按鈕12");
    EXPECT_EQ(t.leftKeyRequired, "左鍵功能必須選擇！");
}

} // namespace
} // namespace veldrane
