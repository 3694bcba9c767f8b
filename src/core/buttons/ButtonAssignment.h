#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/buttons/ButtonFunctionCatalogue.h"
#include "core/profile/ProfileRecord.h"
#include "core/text/Language.h"

namespace veldrane {

struct AssignmentTexts;

// The display texts of the twelve buttons, kept beside the record and stored in the label file.
using ButtonLabels = std::array<std::string, kButtonCount>;

// The entries of the submenu of `code` in submenu order; none for a code without a submenu.
std::span<const std::string_view> SubmenuTexts(const AssignmentTexts& texts, FunctionCode code);

// Whether the assignment menus can give a button (0 to 11) the function and parameter that the
// record holds for it: a code from 0 to 15, and for a function with a parameter a value that its
// submenu, key table, modifier list or the macro key dialog produces (a key code may be 0, the
// code of a key name the table lacks).
bool IsMenuFunction(const ProfileRecord& record, std::size_t button);

// Gives every button whose function no menu produces (a damaged or foreign file) its factory
// function and parameter (FactoryProfile). The buttons it changed, in order; their labels are
// the caller's to replace with the factory ones (FactoryLabels).
std::vector<std::size_t> BringButtonsIntoMenuRange(ProfileRecord& record);

// Gives a button (index 0 to 11) a function: sets its code in `buttonFunction`, the parameters
// of that function, and its label in the texts of the interface language. Nothing goes to the
// mouse here; the key matrix is built from the record at the next download.
//
// Only the arrays of the chosen function are written. The others keep whatever they held, so a
// button that leaves "Single Key" keeps its `singleKey` byte, and the mouse never sees it.
//
// Each store returns false and changes nothing when the button index, the code or the submenu
// position is not one the menus can produce.
class ButtonAssignment
{
public:
    ButtonAssignment(ProfileRecord& record, ButtonLabels& buttonLabel, Language language);

    // What a button bound to a deleted or broken function gets: its factory function, parameter
    // and label.
    void StoreFactoryFunction(std::size_t button);

    // Codes 0 to 5 and 13 to 15; the label is the main-list text.
    bool StorePlainFunction(std::size_t button, FunctionCode code);

    // Codes 6 to 9 with the entry at `position` of their submenu; the label is the submenu text.
    bool StoreSubmenuChoice(std::size_t button, FunctionCode code, std::size_t position);

    // "Single Key" with the captured key name. The label shows the name even when the key table
    // has no code for it (a key of another layout): such a key sends nothing.
    bool StoreSingleKey(std::size_t button, std::string_view keyName);

    // "Combo Key" from the chosen modifier name and the two captured key names. The label lists,
    // joined with "+", the names whose codes are not 0: "Combo Key-" when none has a code.
    bool StoreComboKey(std::size_t button, std::string_view modifierName, std::string_view key1Name,
                       std::string_view key2Name);

    // "Macro Key" bound to the macro at `macroNumber` (0-based position in the macro file) with
    // the repeat mode of the macro key dialog.
    bool StoreMacroBinding(std::size_t button, std::uint8_t macroNumber, std::uint8_t macroRepeat,
                           std::string_view macroName);

    // The macro at `macroNumber` was deleted from the macro file and the later ones moved down a
    // number: the record's macro buffers follow (the last slot empties), buttons bound to a later
    // macro follow it to its new number, and buttons bound to the deleted one get their factory
    // function with its label. Returns those buttons, in order.
    std::vector<std::size_t> RemoveMacro(std::size_t macroNumber);

private:
    void SetFunction(std::size_t button, FunctionCode code);
    std::string EntryLabel(FunctionCode code, std::string_view detail) const;

    ProfileRecord& m_record;
    ButtonLabels& m_buttonLabel;
    const AssignmentTexts& m_texts;
    Language m_language;
};

} // namespace veldrane
