// The texts of each language exactly as the user reads them, odd spellings and blanks included;
// the language a code chooses and the kind of message a text is.

#include <gtest/gtest.h>

#include <string_view>
#include <tuple>
#include <utility>

#include "core/text/CaptureDialogTexts.h"
#include "core/text/HelpDialogTexts.h"
#include "core/text/Language.h"
#include "core/text/MacroKeyDialogTexts.h"
#include "core/text/MacroManagerTexts.h"
#include "core/text/MainWindowTexts.h"
#include "core/text/MessageTexts.h"
#include "core/text/ProfileManagerTexts.h"
#include "core/text/TrayTexts.h"

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
        {HelpDialogTextsFor(kCht).update, "Update 驱动更新"},
        {HelpDialogTextsFor(kEn).version, "Version\xEF\xBC\x9A"
                                          "1.1"}, // a full-width colon
        {ProfileManagerTextsFor(kChs).limitMessage, "最多可以新建6个配置。"},
        // Traditional Chinese has no blank before Ctrl.
        {MacroManagerTextsFor(kChs).recordingWindowText, "按 Ctrl+Break 停止录制"},
        {MacroManagerTextsFor(kCht).recordingWindowText, "按Ctrl+Break 停止錄製"},
        {MacroKeyDialogTextsFor(kEn).repeatModes[1], "Repeat until press any  mouse button to end"},
        {MainWindowTextsFor(kEn).cpiStageNotices[0], "Switch CPI into the first stage "},
        {MainWindowTextsFor(kEn).m1M5LightButton, "M1-M5 Light Button "},
        {MainWindowTextsFor(kChs).cpiStageNotices[5], "CPI切换到第六段 "},
        // After a download the user is told to press the button that is there: "Save".
        {MainWindowTextsFor(kEn).settingsNotTaken,
         "The gaming mouse did not take the settings. They are saved; plug the mouse in again and press Save."},
        {MainWindowTextsFor(kCht).savedWithoutMouse, "遊戲滑鼠未連接。設定已儲存，下次按「保存」時將寫入滑鼠。"},
        {OpenWindowText(kCht), "開啟"}};
    for (const auto& [shown, expected] : cases) {
        EXPECT_EQ(shown, expected);
    }
}

TEST(LanguageFromCode, OnlyTheExactUpperCaseCodesChooseChinese)
{
    EXPECT_EQ(LanguageFromCode("CHS"), Language::SimplifiedChinese);
    EXPECT_EQ(LanguageFromCode("CHT"), Language::TraditionalChinese);
    for (const std::string_view other : {std::string_view("EN"), std::string_view("chs"), std::string_view("CHS "),
                                         std::string_view("CHSCHT"), std::string_view{"CHS\0", 4}}) {
        EXPECT_EQ(LanguageFromCode(other), Language::English);
    }
    // A missing "Lan" key reads and writes the English labels.
    EXPECT_EQ(LanguageSectionName(LanguageFromCode("")), "Setting-EN");
    EXPECT_EQ(LanguageSectionName(Language::TraditionalChinese), "Setting-CHT");
}

TEST(FormatWithErrorCode, ReplacesOnlyTheFirstPlaceholder)
{
    EXPECT_EQ(FormatWithErrorCode(kFileOpenErrorFormat, 5), "Error Code is: 5 \n");
    EXPECT_EQ(FormatWithErrorCode("%d and %d", 7), "7 and %d");
}

TEST(KindOfMessage, WarningsByTheirCaptionErrorsByWhatTheySay)
{
    using Case = std::tuple<std::string_view, std::string_view, MessageKind>;
    // clang-format off
    for (const auto& [text, title, kind] : {Case{"Profile numbers up to 6.", "Warning", MessageKind::Warning},
            Case{kSetMouseFailed, kWarningTitle, MessageKind::Warning}, Case{kImageError, kConfigDialogImageFailed,
            MessageKind::Error}, Case{"Error Code is: 2 \n", kFileOpenErrorTitle, MessageKind::Error},
            Case{"KeyboardHook_ComboDlg Install error code :5\n", "Tessaly VELDRANE", MessageKind::Error},
            Case{"The update program was not found:\n/x", "Tessaly VELDRANE", MessageKind::Information},
            Case{"Switch CPI into the first stage 800", kInfoTitle, MessageKind::Information}}) {
        // clang-format on
        EXPECT_EQ(KindOfMessage(text, title), kind) << text;
    }
}

} // namespace
} // namespace veldrane
