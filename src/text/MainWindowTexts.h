#pragma once

#include <array>
#include <string_view>

#include "text/Language.h"

namespace veldrane {

// The main window's text set in one language, filled once at start-up. Texts are used exactly as
// they stand, trailing blanks included.
struct MainWindowTexts
{
    // Device notices shown as balloons.
    std::array<std::string_view, 6> cpiStageNotices; // "Switch CPI into the first stage " ...
    std::string_view switchToMacroKey;               // "Switch to macro key"
    std::string_view mouseNotDetected;               // "The system did not detect the gaming mouse!"
    std::string_view mouseDetected;                  // "The system detect the gaming mouse."
};

const MainWindowTexts& MainWindowTextsFor(Language language);

} // namespace veldrane
