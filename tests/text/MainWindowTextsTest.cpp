#include "text/MainWindowTexts.h"

#include <gtest/gtest.h>

#include <array>
#include <ostream>
#include <string>
#include <string_view>

namespace veldrane {
namespace {

struct MainWindowCase
{
    Language language;
    std::array<std::string_view, 6> cpiStageNotices;
    std::string_view switchToMacroKey;
    std::string_view mouseNotDetected;
    std::string_view mouseDetected;
    std::string_view reset;
    std::string_view m1M5LightButton;
    std::string_view cpiSetting;
    std::string_view doubleClickSpeed;
    std::string_view scrollOneScreen;
    std::string_view multiColor;
    std::string_view exit;
};

const MainWindowCase kCases[] = {
    {Language::English,
     {"Switch CPI into the first stage ", "Switch CPI into the second stage ", "Switch CPI into the third stage ",
      "Switch CPI into the fourth stage ", "Switch CPI into the fifth stage ", "Switch CPI into the sixth stage "},
     "Switch to macro key",
     "The system did not detect the gaming mouse!",
     "The system detect the gaming mouse.",
     "Reset",
     "M1-M5 Light Button ",
     "CPI Setting",
     "Double Click Speed",
     "Scroll one screen",
     "Multi-color ",
     "Exit"},
    {Language::SimplifiedChinese,
     {"CPI切换到第一段 ", "CPI切换到第二段 ", "CPI切换到第三段 ", "CPI切换到第四段 ", "CPI切换到第五段 ",
      "CPI切换到第六段 "},
     "切换到宏",
     "系统没有检测到游戏鼠标！",
     "系统检测到游戏鼠标。",
     "恢复",
     "M1-M5灯光按钮",
     "CPI 设置",
     "双击速度",
     "一次滚动一个屏幕",
     "霓虹模式",
     "退出"},
    {Language::TraditionalChinese,
     {"CPI切換到第一段 ", "CPI切換到第二段 ", "CPI切換到第三段 ", "CPI切換到第四段 ", "CPI切換到第五段 ",
      "CPI切換到第六段 "},
     "切換到巨集",
     "系統沒有檢測到遊戲滑鼠！",
     "系統檢測到遊戲滑鼠。",
     "恢復",
     "M1-M5燈光按鈕",
     "CPI 設置",
     "滑鼠雙擊速度",
     "一次滾動一個螢幕",
     "霓虹模式",
     "退出"},
};

const char* LanguageName(Language language)
{
    switch (language) {
    case Language::SimplifiedChinese:
        return "SimplifiedChinese";
    case Language::TraditionalChinese:
        return "TraditionalChinese";
    case Language::English:
        break;
    }
    return "English";
}

void PrintTo(const MainWindowCase& row, std::ostream* out)
{
    *out << LanguageName(row.language);
}

class MainWindowTextsTest : public testing::TestWithParam<MainWindowCase>
{
};

TEST_P(MainWindowTextsTest, CpiNoticesNameTheSixStagesAndEndInABlank)
{
    const auto& texts = MainWindowTextsFor(GetParam().language);
    for (std::size_t stage = 0; stage < 6; ++stage) {
        EXPECT_EQ(texts.cpiStageNotices[stage], GetParam().cpiStageNotices[stage]) << "stage " << stage + 1;
    }
}

TEST_P(MainWindowTextsTest, DeviceNoticesAreThoseOfTheLanguage)
{
    const auto& texts = MainWindowTextsFor(GetParam().language);
    EXPECT_EQ(texts.switchToMacroKey, GetParam().switchToMacroKey);
    EXPECT_EQ(texts.mouseNotDetected, GetParam().mouseNotDetected);
    EXPECT_EQ(texts.mouseDetected, GetParam().mouseDetected);
}

TEST_P(MainWindowTextsTest, LabelsKeepTheirBlanksExactly)
{
    const auto& texts = MainWindowTextsFor(GetParam().language);
    EXPECT_EQ(texts.reset, GetParam().reset);
    EXPECT_EQ(texts.m1M5LightButton, GetParam().m1M5LightButton);
    EXPECT_EQ(texts.cpiSetting, GetParam().cpiSetting);
    EXPECT_EQ(texts.doubleClickSpeed, GetParam().doubleClickSpeed);
    EXPECT_EQ(texts.scrollOneScreen, GetParam().scrollOneScreen);
    EXPECT_EQ(texts.multiColor, GetParam().multiColor);
    EXPECT_EQ(texts.exit, GetParam().exit);
}

TEST_P(MainWindowTextsTest, ProfileRowAndScaleLabelsAreTheSameInEveryLanguage)
{
    const auto& texts = MainWindowTextsFor(GetParam().language);
    EXPECT_EQ(texts.profileNames.front(), "PROFILE 1");
    EXPECT_EQ(texts.profileNames.back(), "PROFILE 6");
    EXPECT_EQ(texts.loadCaps, "LOAD");
    EXPECT_EQ(texts.saveCaps, "SAVE");
    EXPECT_EQ(texts.resetCaps, "RESET");
    EXPECT_EQ(texts.lightLevelLabels[0][0], "0%");
    EXPECT_EQ(texts.lightLevelLabels[0][4], "100%");
    EXPECT_EQ(texts.lightLevelLabels[1][0], "4S");
    EXPECT_EQ(texts.lightLevelLabels[2][4], "15S");
    EXPECT_EQ(texts.sliderScaleLabels.front(), "1");
    EXPECT_EQ(texts.sliderScaleLabels.back(), "10");
}

INSTANTIATE_TEST_SUITE_P(Languages, MainWindowTextsTest, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<MainWindowCase>& info) {
                             return std::string{LanguageName(info.param.language)};
                         });

TEST(MainWindowTexts, EnglishSectionTitlesAndCaptions)
{
    const auto& texts = MainWindowTextsFor(Language::English);
    EXPECT_EQ(texts.xySensitivitySetting, "X/Y Sensitivity Setting");
    EXPECT_EQ(texts.usbReportRate, "USB Report Rate");
    EXPECT_EQ(texts.numberOfRows, "The number of rows");
    EXPECT_EQ(texts.singleColor, "Single color");
    EXPECT_EQ(texts.on, "ON");
    EXPECT_EQ(texts.off, "OFF");
}

TEST(MainWindowTexts, TraditionalChineseKeepsTheSimplifiedTitleOfTheMacroManager)
{
    EXPECT_EQ(MainWindowTextsFor(Language::TraditionalChinese).macroManager, "宏管理器");
    EXPECT_EQ(MainWindowTextsFor(Language::TraditionalChinese).side, "側面");
    EXPECT_EQ(MainWindowTextsFor(Language::SimplifiedChinese).side, "侧面");
}

} // namespace
} // namespace veldrane
