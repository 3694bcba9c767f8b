#pragma once

#include <string_view>

#include "core/text/Language.h"

namespace veldrane {

// The texts of the help panel (CHelpDialog). Its three lines are the same in every language.
struct HelpDialogTexts
{
    std::string_view webAddress; // the maker's web address, shown and opened
    std::string_view update;     // "Update 驱动更新"
    std::string_view version;    // "Version：1.1", with a full-width colon
};

const HelpDialogTexts& HelpDialogTextsFor(Language language);

} // namespace veldrane
