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
    EXPECT_EQ(CaptureDialogTextsFor(Language::TraditionalChinese).singlePrompt, "請輸入一個按鍵");
}

TEST(HelpDialogTexts, TheLinesAreTheSameInEveryLanguage)
{
    for (const Language language : kLanguages) {
        const auto& texts = HelpDialogTextsFor(language);
        EXPECT_EQ(texts.update, "Update 驱动更新");
        EXPECT_EQ(texts.webAddress, kMakerWebAddress);
        // The colon is the full-width U+FF1A.
        EXPECT_EQ(texts.version, "Version\xEF\xBC\x9A"
                                 "1.1");
    }
}

// The Chinese sets translate every text the user reads; only the base of new names is shared,
// like the "PROFILE 1" to "PROFILE 6" of the main window.
TEST(ProfileManagerTexts, ChineseSetsTranslateAllButTheBaseName)
{
    EXPECT_EQ(ProfileManagerTextsFor(Language::SimplifiedChinese).deleteEntry, "刪除");
    EXPECT_EQ(ProfileManagerTextsFor(Language::TraditionalChinese).copyEntry, "複製");
    EXPECT_EQ(ProfileManagerTextsFor(Language::SimplifiedChinese).limitMessage, "最多可以新建6个配置。");
    EXPECT_EQ(kProfileFileFilter, "Gaming Mouse Profile(*.bin)|*.bin||");
    const auto& english = ProfileManagerTextsFor(Language::English);
    EXPECT_EQ(english.limitMessage, "Profile numbers up to 6.");
    for (const Language language : {Language::SimplifiedChinese, Language::TraditionalChinese}) {
        const auto& texts = ProfileManagerTextsFor(language);
        EXPECT_EQ(texts.baseName, "PROFILE");
        for (auto field : {&ProfileManagerTexts::title, &ProfileManagerTexts::newRow, &ProfileManagerTexts::deleteEntry,
                           &ProfileManagerTexts::editEntry, &ProfileManagerTexts::copyEntry,
                           &ProfileManagerTexts::loadEntry, &ProfileManagerTexts::saveEntry,
                           &ProfileManagerTexts::warningTitle, &ProfileManagerTexts::limitMessage}) {
            EXPECT_NE(texts.*field, english.*field);
        }
    }
    for (const Language language : {Language::SimplifiedChinese, Language::TraditionalChinese}) {
        const auto& macro = MacroManagerTextsFor(language);
        EXPECT_NE(macro.nameBlank, MacroManagerTextsFor(Language::English).nameBlank);
        EXPECT_NE(macro.nameExists, MacroManagerTextsFor(Language::English).nameExists);
    }
}

TEST(MacroManagerTexts, OddSpellingsOfEachLanguage)
{
    EXPECT_EQ(MacroManagerTextsFor(Language::TraditionalChinese).windowText, "Macro Manager");
    EXPECT_EQ(MacroManagerTextsFor(Language::TraditionalChinese).title, "巨集管理器");
    EXPECT_EQ(MacroManagerTextsFor(Language::English).limitMessage, "Macro numbers up to 12.");
    // Simplified Chinese keeps its traditional characters; traditional has no blank before Ctrl.
    EXPECT_EQ(MacroManagerTextsFor(Language::SimplifiedChinese).keyPressSequence, "按鍵序列");
    EXPECT_EQ(MacroManagerTextsFor(Language::SimplifiedChinese).recordingWindowText, "按 Ctrl+Break 停止录制");
    EXPECT_EQ(MacroManagerTextsFor(Language::TraditionalChinese).recordingWindowText, "按Ctrl+Break 停止錄製");
}

TEST(MacroKeyDialogTexts, EnglishModeOneHasTwoBlanksBeforeMouse)
{
    const auto& texts = MacroKeyDialogTextsFor(Language::English);
    EXPECT_EQ(texts.repeatModes[1], "Repeat until press any  mouse button to end");
    EXPECT_EQ(texts.heading, "Please select a macro");
    EXPECT_EQ(MacroKeyDialogTextsFor(Language::TraditionalChinese).repeatModes[2], "重複直到該按鍵鬆開結束");
}

} // namespace
} // namespace veldrane
