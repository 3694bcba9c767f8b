#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace veldrane {

// What the combo-key dialog returns on OK: the modifier picked from its list and the names
// captured in its two key fields, each possibly empty.
struct ComboKeyChoice
{
    std::string modifierName;
    std::string key1Name;
    std::string key2Name;

    friend bool operator==(const ComboKeyChoice&, const ComboKeyChoice&) = default;
};

// What the macro key dialog returns on OK with a macro picked: the macro's position in the macro
// file (0 to 11), the repeat mode (0 to 2) and the macro's name.
struct MacroBindingChoice
{
    std::uint8_t macroNumber = 0;
    std::uint8_t macroRepeat = 0;
    std::string macroName;

    friend bool operator==(const MacroBindingChoice&, const MacroBindingChoice&) = default;
};

// Runs the modal dialogs that some choices of the assignment menus need. Each call returns once
// the dialog is over; nothing means the button keeps what it had.
class AssignmentDialogs
{
public:
    virtual ~AssignmentDialogs() = default;

    // "Single Key": the last captured key name on OK, possibly empty; nothing on Cancel.
    virtual std::optional<std::string> RunSingleKeyDialog() = 0;
    // "Combo Key": the modifier and the two key names on OK; nothing on Cancel.
    virtual std::optional<ComboKeyChoice> RunComboKeyDialog() = 0;
    // "Macro Key": the binding on OK; nothing on Cancel, and nothing on OK when no macro was
    // picked, so that a button is never bound to a macro the user did not choose.
    virtual std::optional<MacroBindingChoice> RunMacroKeyDialog() = 0;
};

} // namespace veldrane
