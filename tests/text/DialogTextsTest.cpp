#include "text/CaptureDialogTexts.h"
#include "text/HelpDialogTexts.h"
#include "text/MacroKeyDialogTexts.h"
#include "text/MacroManagerTexts.h"
#include "text/ProfileManagerTexts.h"

#include <gtest/gtest.h>

#include <array>
#include <string_view>

namespace veldrane {
namespace {

constexpr std::array kLanguages{Language::English, Language::SimplifiedChinese, Language::TraditionalChinese};

TEST(CaptureDialogTexts, EnglishSingleAndComboDialogsSpellOkDifferently)
{
    const auto& texts = CaptureDialogTextsFor(Language::English);
    EXPECT_EQ(texts.singlePrompt, "Please enter a key");
    EXPECT_EQ(texts.singleOk, "Ok");
    EXPECT_EQ(texts.comboOk, "OK");
    EXPECT_EQ(texts.cancel, "Cancel");
}

TEST(CaptureDialogTexts, ChineseTexts)
{
    const auto& simplified = CaptureDialogTextsFor(Language::SimplifiedChinese);
    EXPECT_EQ(simplified.singlePrompt, "请输入一个按键");
    EXPECT_EQ(simplified.singleOk, "确定");
    EXPECT_EQ(simplified.comboOk, "确定");
    EXPECT_EQ(simplified.cancel, "取消");
    const auto& traditional = CaptureDialogTextsFor(Language::TraditionalChinese);
    EXPECT_EQ(traditional.singlePrompt, "請輸入一個按鍵");
    EXPECT_EQ(traditional.comboOk, "確定");
    EXPECT_EQ(traditional.cancel, "取消");
}

TEST(HelpDialogTexts, ButtonsFollowTheLanguageAndTheLinesDoNot)
{
    EXPECT_EQ(HelpDialogTextsFor(Language::English).ok, "Ok");
    EXPECT_EQ(HelpDialogTextsFor(Language::SimplifiedChinese).ok, "确定");
    EXPECT_EQ(HelpDialogTextsFor(Language::TraditionalChinese).ok, "確定");
    EXPECT_EQ(HelpDialogTextsFor(Language::TraditionalChinese).cancel, "取消");
    for (const Language language : kLanguages) {
        const auto& texts = HelpDialogTextsFor(language);
        EXPECT_EQ(texts.update, "Update 驱动更新");
        EXPECT_EQ(texts.webAddress, kMakerWebAddress);
        // The colon is the full-width U+FF1A.
        EXPECT_EQ(texts.version, "Version\xEF\xBC\x9A"
                                 "1.1");
    }
}

TEST(ProfileManagerTexts, EnglishTexts)
{
    const auto& texts = ProfileManagerTextsFor(Language::English);
    EXPECT_EQ(texts.newRow, "New");
    EXPECT_EQ(texts.deleteEntry, "Delete");
    EXPECT_EQ(texts.copyEntry, "Copy");
    EXPECT_EQ(texts.saveEntry, "Save");
    EXPECT_EQ(texts.warningTitle, "Warning");
    EXPECT_EQ(kProfileFileFilter, "Gaming Mouse Profile(*.bin)|*.bin||");
}

// The manager borrows the Chinese of the words the program translates elsewhere; the rest of its
// texts, the base of new names among them, are the same in every language.
TEST(ProfileManagerTexts, ChineseTakeTheProgramsWordsForNewDeleteCopySaveAndWarning)
{
    const auto& simplified = ProfileManagerTextsFor(Language::SimplifiedChinese);
    EXPECT_EQ(simplified.newRow, "新建");
    EXPECT_EQ(simplified.deleteEntry, "刪除");
    EXPECT_EQ(simplified.copyEntry, "复制");
    EXPECT_EQ(simplified.saveEntry, "保存");
    EXPECT_EQ(simplified.warningTitle, "警告");
    const auto& traditional = ProfileManagerTextsFor(Language::TraditionalChinese);
    EXPECT_EQ(traditional.newRow, "新建");
    EXPECT_EQ(traditional.deleteEntry, "刪除");
    EXPECT_EQ(traditional.copyEntry, "複製");
    EXPECT_EQ(traditional.saveEntry, "保存");
    EXPECT_EQ(traditional.warningTitle, "警告");
    for (const Language language : kLanguages) {
        const auto& texts = ProfileManagerTextsFor(language);
        EXPECT_EQ(texts.title, "Configuration");
        EXPECT_EQ(texts.baseName, "PROFILE");
        EXPECT_EQ(texts.editEntry, "Edit");
        EXPECT_EQ(texts.loadEntry, "Load");
        EXPECT_EQ(texts.limitMessage, "Profile numbers up to 6.");
    }
}

TEST(MacroManagerTexts, WindowTextStaysEnglishWhileTheDrawnTitleIsTranslated)
{
    for (const Language language : kLanguages) {
        EXPECT_EQ(MacroManagerTextsFor(language).windowText, "Macro Manager");
    }
    EXPECT_EQ(MacroManagerTextsFor(Language::English).title, "Macro Manager");
    EXPECT_EQ(MacroManagerTextsFor(Language::SimplifiedChinese).title, "宏管理器");
    EXPECT_EQ(MacroManagerTextsFor(Language::TraditionalChinese).title, "巨集管理器");
}

TEST(MacroManagerTexts, EnglishTexts)
{
    const auto& texts = MacroManagerTextsFor(Language::English);
    EXPECT_EQ(texts.ok, "OK");
    EXPECT_EQ(texts.keyPressSequence, "Key Press Sequence");
    EXPECT_EQ(texts.recordDelays, "Record delays between key commands");
    EXPECT_EQ(texts.baseName, "Macro");
    EXPECT_EQ(texts.recordingWindowText, "Press Ctrl+Break key to stop recording");
    EXPECT_EQ(texts.insertMiddleButton, "Insert the middle Button");
    EXPECT_EQ(texts.insertRightButton, "Insert the right button");
    EXPECT_EQ(texts.warningTitle, "Warning");
    EXPECT_EQ(texts.limitMessage, "Macro numbers up to 12.");
}

TEST(MacroManagerTexts, SimplifiedChineseKeepsItsTraditionalCharacters)
{
    const auto& texts = MacroManagerTextsFor(Language::SimplifiedChinese);
    EXPECT_EQ(texts.keyPressSequence, "按鍵序列");
    EXPECT_EQ(texts.deleteEntry, "刪除");
    EXPECT_EQ(texts.baseName, "宏");
    EXPECT_EQ(texts.recordingWindowText, "按 Ctrl+Break 停止录制");
    EXPECT_EQ(texts.insertDelay, "插入延时");
    EXPECT_EQ(texts.warningTitle, "警告");
    EXPECT_EQ(texts.limitMessage, "最多可以新建12个宏。");
}

TEST(MacroManagerTexts, TraditionalChineseHasNoBlankBeforeCtrlBreak)
{
    const auto& texts = MacroManagerTextsFor(Language::TraditionalChinese);
    EXPECT_EQ(texts.recordingWindowText, "按Ctrl+Break 停止錄製");
    EXPECT_EQ(texts.loopTimes, "迴圈次數");
    EXPECT_EQ(texts.baseName, "巨集");
    EXPECT_EQ(texts.insertLeftButton, "插入滑鼠左鍵");
    EXPECT_EQ(texts.limitMessage, "最多可以新建12個巨集。");
}

TEST(MacroKeyDialogTexts, EnglishModeOneHasTwoBlanksBeforeMouse)
{
    const auto& texts = MacroKeyDialogTextsFor(Language::English);
    EXPECT_EQ(texts.repeatModes[0], "Repeat a specified number of times or press any key to end");
    EXPECT_EQ(texts.repeatModes[1], "Repeat until press any  mouse button to end");
    EXPECT_EQ(texts.repeatModes[2], "Repeat until the key is released");
    EXPECT_EQ(texts.heading, "Please select a macro");
    EXPECT_EQ(texts.ok, "Ok");
}

TEST(MacroKeyDialogTexts, ChineseTexts)
{
    const auto& simplified = MacroKeyDialogTextsFor(Language::SimplifiedChinese);
    EXPECT_EQ(simplified.repeatModes[1], "重复直到按任意键结束");
    EXPECT_EQ(simplified.heading, "请从列表框选择一个宏");
    EXPECT_EQ(simplified.ok, "确定");
    const auto& traditional = MacroKeyDialogTextsFor(Language::TraditionalChinese);
    EXPECT_EQ(traditional.repeatModes[2], "重複直到該按鍵鬆開結束");
    EXPECT_EQ(traditional.heading, "請從清單方塊選擇一個巨集");
    EXPECT_EQ(traditional.cancel, "取消");
}

} // namespace
} // namespace veldrane
