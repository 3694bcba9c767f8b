#pragma once

#include <string_view>

#include "core/text/Language.h"

namespace veldrane {

// The texts of the help panel (CHelpDialog). Its three lines are the same in every language, and
// so are the names of the languages it offers, each written in its own language.
struct HelpDialogTexts
{
    std::string_view webAddress;         // the maker's web address, shown and opened
    std::string_view update;             // "Update 驱动更新"
    std::string_view version;            // "Version：1.1", with a full-width colon
    std::string_view english;            // "English"
    std::string_view simplifiedChinese;  // "简体中文"
    std::string_view traditionalChinese; // "繁體中文"
    // A language chosen on the panel is written to the label file; when that fails the file's
    // name and the reason follow this text.
    std::string_view languageNotSaved;
    // The languages' group, for a screen reader.
    std::string_view languageGroup;
};

const HelpDialogTexts& HelpDialogTextsFor(Language language);

} // namespace veldrane
