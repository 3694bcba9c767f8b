#pragma once

#include <array>
#include <string_view>

#include "core/text/Language.h"

namespace veldrane {

// The texts of the macro key dialog (CMacroDialog). repeatModes is indexed by the repeat mode
// that goes into the button's device entry (0, 1, 2), top to bottom.
struct MacroKeyDialogTexts
{
    std::array<std::string_view, 3> repeatModes; // "Repeat a specified number of times or press any key to end" ...
    std::string_view caption;                    // "Macro", the title bar's
    std::string_view heading;                    // "Please select a macro"
    std::string_view ok;                         // "Ok"
    std::string_view cancel;                     // "Cancel"
};

const MacroKeyDialogTexts& MacroKeyDialogTextsFor(Language language);

} // namespace veldrane
