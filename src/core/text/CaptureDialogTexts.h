#pragma once

#include <string_view>

#include "core/text/Language.h"

namespace veldrane {

// The texts of the single-key (CSingleDialog) and combo-key (CComboDialog) capture dialogs. The
// two dialogs spell their OK differently in English ("Ok" and "OK").
struct CaptureDialogTexts
{
    std::string_view singleCaption; // "Single Key", as the assignment list names the function
    std::string_view comboCaption;  // what the combo dialog asks for, in its title bar
    std::string_view singlePrompt;  // "Please enter a key"
    std::string_view singleOk;      // "Ok"
    std::string_view comboOk;       // "OK"
    std::string_view cancel;        // "Cancel", both dialogs
    std::string_view unsendable;    // OK refused: the key has no code the mouse can send
};

const CaptureDialogTexts& CaptureDialogTextsFor(Language language);

} // namespace veldrane
