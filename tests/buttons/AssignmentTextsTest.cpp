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

TEST(AssignmentTexts, SimplifiedChineseTables)
{
    const AssignmentTexts& t = AssignmentTextsFor(Language::SimplifiedChinese);
    EXPECT_EQ(t.functions[0], "左键");
    EXPECT_EQ(t.functions[5], "双击");
    EXPECT_EQ(t.functions[8], "快捷键");
    EXPECT_EQ(t.functions[12], "宏");
    EXPECT_EQ(t.media[4], "播放/暂停");
    EXPECT_EQ(t.media[6], "音量+");
    EXPECT_EQ(t.hotKeys[3], "粘贴");
    EXPECT_EQ(t.systemCommands[1], "浏览器-主页");
    EXPECT_EQ(t.buttonNames[0], "按钮1");
    EXPECT_EQ(t.buttonNames[11], "按钮12");
    EXPECT_EQ(t.leftKeyRequired, "左键功能必须选择！");
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

TEST(AssignmentTexts, SharedTextsAreTheSameInEveryLanguage)
{
    for (Language language : {Language::English, Language::SimplifiedChinese, Language::TraditionalChinese}) {
        const AssignmentTexts& t = AssignmentTextsFor(language);
        EXPECT_EQ(t.functions[9], "Windows");
        EXPECT_EQ(t.cpiActions[0], "CPI +");
        EXPECT_EQ(t.cpiActions[1], "CPI -");
        EXPECT_EQ(t.cpiActions[2], "CPI Loop");
    }
}

TEST(AssignmentTexts, NoTextIsMissing)
{
    for (Language language : {Language::English, Language::SimplifiedChinese, Language::TraditionalChinese}) {
        const AssignmentTexts& t = AssignmentTextsFor(language);
        for (auto text : t.functions) {
            EXPECT_FALSE(text.empty());
        }
        for (auto text : t.media) {
            EXPECT_FALSE(text.empty());
        }
        for (auto text : t.hotKeys) {
            EXPECT_FALSE(text.empty());
        }
        for (auto text : t.systemCommands) {
            EXPECT_FALSE(text.empty());
        }
        for (auto text : t.buttonNames) {
            EXPECT_FALSE(text.empty());
        }
    }
}

} // namespace
} // namespace veldrane
