#include "text/MessageTexts.h"

#include <gtest/gtest.h>

#include <string_view>

namespace veldrane {
namespace {

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
                          Case{"CreateEvent failed.", "Tessaly VELDRANE", MessageKind::Error},
                          Case{kConfigFileNotExist, "Tessaly VELDRANE", MessageKind::Error},
                          Case{"The update program was not found:\n/x", "Tessaly VELDRANE", MessageKind::Information},
                          Case{"Switch CPI into the first stage 800", kInfoTitle, MessageKind::Information}}) {
        EXPECT_EQ(KindOfMessage(c.text, c.title), c.kind) << c.text;
    }
}

} // namespace
} // namespace veldrane
