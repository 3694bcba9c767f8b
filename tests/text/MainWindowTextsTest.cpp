#include "text/MainWindowTexts.h"

#include <gtest/gtest.h>

namespace veldrane {
namespace {

TEST(MainWindowTexts, EnglishLabelsKeepTheirBlanksExactly)
{
    const auto& texts = MainWindowTextsFor(Language::English);
    EXPECT_EQ(texts.cpiStageNotices[0], "Switch CPI into the first stage ");
    EXPECT_EQ(texts.cpiStageNotices[5], "Switch CPI into the sixth stage ");
    EXPECT_EQ(texts.mouseNotDetected, "The system did not detect the gaming mouse!");
    EXPECT_EQ(texts.mouseDetected, "The system detect the gaming mouse.");
    EXPECT_EQ(texts.m1M5LightButton, "M1-M5 Light Button ");
    EXPECT_EQ(texts.multiColor, "Multi-color ");
    EXPECT_EQ(texts.profileNames.back(), "PROFILE 6");
    EXPECT_EQ(texts.lightLevelLabels[1][0], "4S");
    EXPECT_EQ(texts.lightLevelLabels[2][4], "15S");
}

TEST(MainWindowTexts, ChineseOddities)
{
    const auto& simplified = MainWindowTextsFor(Language::SimplifiedChinese);
    EXPECT_EQ(simplified.cpiStageNotices[5], "CPI切换到第六段 ");
    EXPECT_EQ(simplified.mouseNotDetected, "系统没有检测到游戏鼠标！");
    EXPECT_EQ(simplified.doubleClickSpeed, "双击速度");
    EXPECT_EQ(simplified.settingsNotTaken, "游戏鼠标未能接收设置。设置已保存；请重新连接鼠标后按“保存”。");
    EXPECT_EQ(simplified.savedWithoutMouse, "游戏鼠标未连接。设置已保存，下次按“保存”时将写入鼠标。");
    const auto& traditional = MainWindowTextsFor(Language::TraditionalChinese);
    EXPECT_EQ(traditional.doubleClickSpeed, "滑鼠雙擊速度");
    EXPECT_EQ(traditional.multiColor, "霓虹模式");
    EXPECT_EQ(traditional.macroManager, "宏管理器");
    EXPECT_EQ(traditional.loadCaps, "LOAD");
    EXPECT_EQ(traditional.settingsNotTaken, "遊戲滑鼠未能接收設定。設定已儲存；請重新連接滑鼠後按「保存」。");
    EXPECT_EQ(traditional.savedWithoutMouse, "遊戲滑鼠未連接。設定已儲存，下次按「保存」時將寫入滑鼠。");
}

} // namespace
} // namespace veldrane
