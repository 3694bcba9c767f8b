#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/ini/IniFile.h"
#include "core/macro/MacroRecord.h"
#include "core/profile/ProfileFileNames.h" // kMacroFileName, kItemCountKey

namespace veldrane {

// The macro file "record.ini": one section per macro, in the order of the macro numbers.
//
//   [Macro_1]
//   DelayTimeSelStatus=1      "%d", waits between events were recorded
//   LoopTimeSelStatus=0       "%d", the loop count applies
//   MacroLoopTimes=1          "%ld", 1 to 65535
//   ItemCount=3               "%d", at least 1 once the macro has been saved
//   Item0=A   Dn              the event list, item texts with their blanks
//   Item1=120 ms
//   Item2=A   Up
//
// A macro that was created but never saved holds only "MacroLoopTimes". A missing key reads as 0.
inline constexpr std::string_view kDelayTimeSelStatusKey = "DelayTimeSelStatus";
inline constexpr std::string_view kLoopTimeSelStatusKey = "LoopTimeSelStatus";
inline constexpr std::string_view kMacroLoopTimesKey = "MacroLoopTimes";
inline constexpr std::string_view kItemKeyPrefix = "Item";

// The most items a macro is read with: far more than the 63 entries of a device buffer or the 127
// lines of the longest recording, and few enough that no hand-edited file can exhaust memory.
inline constexpr std::size_t kMaxMacroItems = 4096;

// The largest macro file the program reads or writes. Twelve macros of kMaxMacroItems items each
// stay well below it; a larger file was not written by the program, and reading it whole (as
// every query and every write of an INI file does) would hold the macro manager for seconds.
inline constexpr std::uintmax_t kMaxMacroFileBytes = 4 * 1024 * 1024;

// Whether the macro file exists and is larger than kMaxMacroFileBytes. Every operation below
// treats such a file as one without sections and writes nothing into it.
bool MacroFileTooLarge(const IniFile& macroFile);

std::string MacroItemKey(std::size_t index);

// Whether a text can name a macro's section: not blank, and nothing in it that would break the
// file's structure (a bracket, a line break). The one rule of a save, a rename and the manager.
bool IsUsableMacroName(std::string_view name);

enum class [[nodiscard]] MacroSaveResult{
    Saved,
    NoFile,       // the macro file does not exist; nothing is created
    RefusedName,  // blank, or a text that would break the file's structure
    RefusedValue, // an item or loop text with a line break
    IoError,      // the file could not be written
    FileTooLarge, // the file is larger than kMaxMacroFileBytes; it is left as it is
};

// Every section name of the macro file in file order, which is the order of the macro numbers:
// the one list that the macro manager shows, the encoder walks and the macro key dialog offers.
// Empty when the file is missing.
std::vector<std::string> ListMacroNames(const IniFile& macroFile);
std::vector<std::string> ListMacroNames(const IniSnapshot& macroFile);

// The macro of that section; missing keys read as 0 and a missing section as a macro without
// items. Items are read from "Item0" on, "ItemCount" of them, but no further than the last item
// key the section holds and never more than kMaxMacroItems.
MacroRecord LoadMacro(const IniFile& macroFile, std::string_view name);
// The same from a file read once, for a caller that loads several macros of one reading.
MacroRecord LoadMacro(const IniSnapshot& macroFile, std::string_view name);

// Writes the macro into its section, keys in the order of the layout above. An existing section
// is rewritten where it stands, so that no macro number changes: keys already in that order keep
// their lines, items no longer in the list are removed, new ones go to the end of the section.
// The file is read once and replaced once, atomically: a crash leaves the old section or the new
// one, never half of it. A refused name or text writes nothing. An empty event list is saved as
// "ItemCount" 0, so that an emptied macro stays empty.
MacroSaveResult SaveMacro(IniFile& macroFile, const MacroRecord& record);

// "MacroLoopTimes" = count, creating the section (at the end) and the file if needed; IoError
// for a file larger than kMaxMacroFileBytes, which stays as it is.
IniWriteResult WriteLoopTimes(IniFile& macroFile, std::string_view name, long count);

// Removes the macro's section; the macros after it move down by one number. False when there
// was no such section or the file could not be written.
[[nodiscard]] bool DeleteMacroSection(IniFile& macroFile, std::string_view name);

} // namespace veldrane
