#include "text/ProfileManagerTexts.h"

namespace veldrane {
namespace {

constexpr ProfileManagerTexts kEnglish{
    .title = "Configuration",
    .baseName = "PROFILE",
    .newRow = "New",
    .deleteEntry = "Delete",
    .editEntry = "Edit",
    .copyEntry = "Copy",
    .loadEntry = "Load",
    .saveEntry = "Save",
    .warningTitle = "Warning",
    .limitMessage = "Profile numbers up to 6.",
};

// The manager's own texts exist in English only. Where the program has the same word elsewhere in
// Chinese ("New", "Copy" and "Save" of the main window and the editing shortcuts, "Delete" and the
// "Warning" caption of the macro manager), the manager uses it; the others stay English. The base
// name stays "PROFILE" in every language, like the "PROFILE 1" to "PROFILE 6" of the main window.
constexpr ProfileManagerTexts kSimplifiedChinese{
    .title = "Configuration",
    .baseName = "PROFILE",
    .newRow = "新建",
    .deleteEntry = "刪除",
    .editEntry = "Edit",
    .copyEntry = "复制",
    .loadEntry = "Load",
    .saveEntry = "保存",
    .warningTitle = "警告",
    .limitMessage = "Profile numbers up to 6.",
};

constexpr ProfileManagerTexts kTraditionalChinese{
    .title = "Configuration",
    .baseName = "PROFILE",
    .newRow = "新建",
    .deleteEntry = "刪除",
    .editEntry = "Edit",
    .copyEntry = "複製",
    .loadEntry = "Load",
    .saveEntry = "保存",
    .warningTitle = "警告",
    .limitMessage = "Profile numbers up to 6.",
};

} // namespace

const ProfileManagerTexts& ProfileManagerTextsFor(Language language)
{
    return ByLanguage(language, kEnglish, kSimplifiedChinese, kTraditionalChinese);
}

} // namespace veldrane
