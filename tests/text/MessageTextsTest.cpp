#include "text/MessageTexts.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace veldrane {
namespace {

TEST(FormatWithErrorCode, PutsTheCodeInPlaceOfThePlaceholderAndKeepsTheRest)
{
    EXPECT_EQ(FormatWithErrorCode(kFileOpenErrorFormat, 5), "Error Code is: 5 \n");
    EXPECT_EQ(FormatWithErrorCode(kSingleKeyHookFailedFormat, 1428),
              "KeyboardHook_SingleDlgKey Install error code :1428\n");
    EXPECT_EQ(FormatWithErrorCode(kRecordHookFailedFormat, 0), "JournalRecordHook Install error code :0\n");
}

TEST(FormatWithErrorCode, ReplacesOnlyTheFirstPlaceholder)
{
    EXPECT_EQ(FormatWithErrorCode("%d and %d", 7), "7 and %d");
    EXPECT_EQ(FormatWithErrorCode("no code", 7), "no code");
    EXPECT_EQ(FormatWithErrorCode("", 7), "");
}

TEST(MessageTexts, FixedTextsKeepTheirSpellingAndBlanks)
{
    EXPECT_EQ(kConfigFileNotExist, "Config file is not exist.");
    EXPECT_EQ(kFileOpenErrorTitle, "NULL ==fp ");
    EXPECT_EQ(kSetDoubleClickTimeFailed, "SPI_SETDOUBLECLICKTIME failed.");
    EXPECT_EQ(kRegisterDeviceNotificationFailed, "RegisterDeviceNotification failed!!!");
    EXPECT_EQ(kComboDialogImageFailed, "Combo Dialog Load background image failed!!!");
    EXPECT_EQ(kMacroManagerDialogImageFailed, "Macro Manager Dialog Load background image failed!!!");
    EXPECT_EQ(kMacroNameBlank, "Macro name is blank");
    EXPECT_EQ(kMacroNameExists, "Macro name already exists");
}

TEST(KindOfMessage, WarningsByTheirCaptionErrorsByWhatTheySay)
{
    struct Case
    {
        std::string_view text;
        std::string_view title;
        MessageKind kind;
    };
    for (const Case& c : {Case{"Profile numbers up to 6.", "Warning", MessageKind::Warning},
                          Case{"最多可以新建12個巨集。", "警告", MessageKind::Warning},
                          Case{kSetMouseFailed, kWarningTitle, MessageKind::Warning},
                          Case{kImageError, kConfigDialogImageFailed, MessageKind::Error},
                          Case{"Error Code is: 2 \n", kFileOpenErrorTitle, MessageKind::Error},
                          Case{"KeyboardHook_ComboDlg Install error code :5\n", "Tessaly VELDRANE", MessageKind::Error},
                          Case{kCreateEventFailed, "Tessaly VELDRANE", MessageKind::Error},
                          Case{kConfigFileNotExist, "Tessaly VELDRANE", MessageKind::Error},
                          Case{"The update program was not found:\n/x", "Tessaly VELDRANE", MessageKind::Information},
                          Case{"Switch CPI into the first stage 800", kInfoTitle, MessageKind::Information}}) {
        EXPECT_EQ(KindOfMessage(c.text, c.title), c.kind) << c.text;
    }
}

} // namespace
} // namespace veldrane
