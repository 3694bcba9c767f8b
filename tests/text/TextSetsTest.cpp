// The texts of each language exactly as the user reads them, odd spellings and blanks included.
#include <gtest/gtest.h>

#include "text/CaptureDialogTexts.h"
#include "text/Fonts.h"
#include "text/HelpDialogTexts.h"
#include "text/MacroKeyDialogTexts.h"
#include "text/MacroManagerTexts.h"
#include "text/MainWindowTexts.h"
#include "text/ProfileManagerTexts.h"

namespace veldrane {
namespace {

constexpr Language kEn = Language::English;
constexpr Language kChs = Language::SimplifiedChinese;
constexpr Language kCht = Language::TraditionalChinese;

TEST(TextSets, EachLanguageReadsAsShipped)
{
    const std::pair<std::string_view, std::string_view> cases[] = {
        {CaptureDialogTextsFor(kEn).singlePrompt, "Please enter a key"},
        {CaptureDialogTextsFor(kEn).singleOk, "Ok"},
        {CaptureDialogTextsFor(kEn).comboOk, "OK"},
        {CaptureDialogTextsFor(kCht).singlePrompt, "請輸入一個按鍵"},
        {HelpDialogTextsFor(kCht).update, "Update 驱动更新"},
        {HelpDialogTextsFor(kEn).version, "Version\xEF\xBC\x9A"
                                          "1.1"}, // a full-width colon
        {ProfileManagerTextsFor(kEn).limitMessage, "Profile numbers up to 6."},
        {ProfileManagerTextsFor(kChs).limitMessage, "最多可以新建6个配置。"},
        {ProfileManagerTextsFor(kCht).copyEntry, "複製"},
        {MacroManagerTextsFor(kEn).limitMessage, "Macro numbers up to 12."},
        {MacroManagerTextsFor(kCht).title, "巨集管理器"},
        // Simplified Chinese keeps its traditional characters; traditional has no blank before Ctrl.
        {MacroManagerTextsFor(kChs).keyPressSequence, "按鍵序列"},
        {MacroManagerTextsFor(kChs).recordingWindowText, "按 Ctrl+Break 停止录制"},
        {MacroManagerTextsFor(kCht).recordingWindowText, "按Ctrl+Break 停止錄製"},
        {MacroKeyDialogTextsFor(kEn).repeatModes[1], "Repeat until press any  mouse button to end"},
        {MacroKeyDialogTextsFor(kCht).repeatModes[2], "重複直到該按鍵鬆開結束"},
        {MainWindowTextsFor(kEn).cpiStageNotices[0], "Switch CPI into the first stage "},
        {MainWindowTextsFor(kEn).m1M5LightButton, "M1-M5 Light Button "},
        {MainWindowTextsFor(kChs).cpiStageNotices[5], "CPI切换到第六段 "},
        {MainWindowTextsFor(kChs).mouseNotDetected, "系统没有检测到游戏鼠标！"},
        {MainWindowTextsFor(kCht).doubleClickSpeed, "滑鼠雙擊速度"},
        {MainWindowTextsFor(kCht).multiColor, "霓虹模式"},
        // After a download the user is told to press the button that is there: "Save".
        {MainWindowTextsFor(kEn).settingsNotTaken,
         "The gaming mouse did not take the settings. They are saved; plug the mouse in again and press Save."},
        {MainWindowTextsFor(kChs).settingsNotTaken, "游戏鼠标未能接收设置。设置已保存；请重新连接鼠标后按“保存”。"},
        {MainWindowTextsFor(kCht).savedWithoutMouse, "遊戲滑鼠未連接。設定已儲存，下次按「保存」時將寫入滑鼠。"},
    };
    for (const auto& [shown, expected] : cases) {
        EXPECT_EQ(shown, expected);
    }
}

TEST(Fonts, RowsOfTheLanguages)
{
    // Version 6.2 changes only the simplified Chinese face.
    EXPECT_EQ(FontsFor(kChs, true).macroManager, (Font{"黑体", 13, 400}));
    EXPECT_EQ(FontsFor(kCht, true).dialog, (Font{"黑体", 14, 400}));
    EXPECT_EQ(FontsFor(kEn, false).mainText, (Font{"Segoe UI", 15, 300}));
    EXPECT_EQ(FontsFor(kEn, false).mainSmall, (Font{"Arial", 13, kDefaultFontWeight}));
}

} // namespace
} // namespace veldrane
