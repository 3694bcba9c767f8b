#pragma once

#include <string_view>

#include "core/text/Language.h"

namespace veldrane {

// Texts that tell the state of things in the main window: whether the mouse is there, which
// profile is being edited, what a control's setting stands for and which pointer settings the
// desktop cannot take. Units ("Hz", "ms") read the same in every language.
struct WindowStateTexts
{
    std::string_view mouseConnected;         // "Connected"
    std::string_view mouseNotConnected;      // "Not connected"
    std::string_view profileCaption;         // "Profile: " before the profile's name
    std::string_view angleSnapOff;           // "Off": angle-snap positions 1 and 11
    std::string_view hertz;                  // " Hz" after a report frequency
    std::string_view milliseconds;           // " ms" after a double-click time
    std::string_view pointerSettingNotTaken; // the desktop has no such setting
};

const WindowStateTexts& WindowStateTextsFor(Language language);

} // namespace veldrane
