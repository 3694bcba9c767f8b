#pragma once

#include <array>
#include <string_view>

#include "core/text/Language.h"

namespace veldrane {

// The texts of the button assignment in one language. They become stored data: the button
// labels written to the label file are made from them.
struct AssignmentTexts
{
    std::array<std::string_view, 16> functions;     // main list, index = function code
    std::array<std::string_view, 3> cpiActions;     // "CPI +", "CPI -", "CPI Loop"
    std::array<std::string_view, 8> media;          // "Multimedia" submenu
    std::array<std::string_view, 10> hotKeys;       // "HotKey" submenu
    std::array<std::string_view, 7> systemCommands; // "Windows" submenu
    std::array<std::string_view, 12> buttonNames;   // "Button 1" to "Button 12"
    std::string_view leftKeyRequired;               // "Left key must be selected!"
    std::string_view warningTitle;                  // "Warning", the caption of that message
};

const AssignmentTexts& AssignmentTextsFor(Language language);

} // namespace veldrane
