#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "core/text/Language.h"

namespace veldrane {

// The texts of the macro manager (CMacroProgramDialog), chosen when it opens. The event-list menu
// "MacroList" takes deleteEntry and the four insert texts, in that order.
struct MacroManagerTexts
{
    std::string_view windowText;          // "Macro Manager" in every language
    std::string_view ok;                  // "OK"
    std::string_view cancel;              // "Cancel"
    std::string_view title;               // "Macro Manager", drawn in the title band
    std::string_view selectMacro;         // "Select Macro", above the macro list
    std::string_view keyPressSequence;    // "Key Press Sequence", above the event list
    std::string_view recordOption;        // "Record Option"
    std::string_view recordDelays;        // "Record delays between key commands"
    std::string_view loopTimes;           // "Loop Times"
    std::string_view newMacro;            // "New"
    std::string_view deleteEntry;         // "Delete", area and menu
    std::string_view baseName;            // "Macro", base of new names ("Macro_0")
    std::string_view startRecording;      // "Start Recording"
    std::string_view stopRecording;       // "Stop Recording"
    std::string_view recordingWindowText; // "Press Ctrl+Break key to stop recording"
    std::string_view insertLeftButton;    // "Insert the left Button"
    std::string_view insertMiddleButton;  // "Insert the middle Button"
    std::string_view insertRightButton;   // "Insert the right button"
    std::string_view insertDelay;         // "Insert Delay"
    std::string_view warningTitle;        // "Warning"
    std::string_view limitMessage;        // "Macro numbers up to 12."
    // The saved macro does not fit the mouse's buffer whole: %1 of its %2 events reach the mouse
    // (tooLongPart), or none at all, a key being held past the buffer's room (tooLongNothing).
    std::string_view tooLongPart;
    std::string_view tooLongNothing;
    std::string_view delayRefused; // an edited delay that is no number of milliseconds
    std::string_view fileTooLarge; // a macro file larger than kMaxMacroFileBytes, not read
    std::string_view deleteFailed; // the macro and the profiles stay; the file and reason follow
    std::string_view saveFailed;   // an edit the macro file did not take; the file and reason follow
    std::string_view nameBlank;    // "Macro name is blank", a rename refused
    std::string_view nameExists;   // "Macro name already exists", a rename refused
};

const MacroManagerTexts& MacroManagerTextsFor(Language language);

// The message of a macro too long for the mouse: `reached` of its `events` events reach it.
std::string MacroTooLongText(Language language, std::size_t reached, std::size_t events);

} // namespace veldrane
