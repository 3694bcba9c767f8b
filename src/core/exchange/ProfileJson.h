#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/macro/MacroRecord.h"
#include "core/profile/ProfileRecord.h"

namespace veldrane {

// The readable form of one profile, a JSON document that can be shared because it holds
// everything the profile needs, the macros its buttons play included:
//
//   {
//     "format": "veldrane-profile", "version": 1, "name": "Game",
//     "reportRateHz": 1000,                                      1000, 500, 250 or 125
//     "cpiStages": [{"cpi": 800, "enabled": true, "colour": "#FF0000"}, ... four of them],
//     "sensitivity": {"x": 6, "y": 6}, "angleSnap": 1,          positions 1 to 11
//     "lighting": {"mode": "pulsating", "levels": [1, 3, 6]},   off, single colour, pulsating,
//                                                               multi-colour; levels of modes 1-3
//     "sideLight": true,
//     "pointer": {"enhancedPrecision": true, "speed": 6, "scrollLines": 3,
//                 "scrollOneScreen": false, "doubleClickSpeed": 6},
//     "buttons": [{"function": "Click", "label": "Click"},
//                 {"function": "Single Key", "key": "A", "label": ...},
//                 {"function": "Combo Key", "modifier": "Left Ctrl", "keys": ["C", null]},
//                 {"function": "Macro Key", "macro": "Greeting", "repeat": 0},
//                 {"function": "Multimedia", "action": "Mute"}, ... twelve of them],
//     "macros": [{"name": "Greeting", "loop": false, "loopCount": "1", "recordedDelays": true,
//                 "events": ["H   Dn", "120 ms", "H   Up"]}, ...]
//   }
//
// Functions, their submenu entries, key and modifier names are the English texts of the menus and
// the key tables. A parameter byte that the button's function does not use is kept where a
// button held another function before: it stands in the button's "kept" object, by the record's
// field name, when it differs from the factory profile's. Every setting the form leaves out
// (stages 5 and 6, reserved bytes) is the factory profile's, and the macro buffers are built from
// the macro file the macros end up in; so a record that the window's controls produce, exported
// and imported again on a fresh data folder, comes back byte for byte.
inline constexpr std::string_view kProfileJsonFormat = "veldrane-profile";
inline constexpr int kProfileJsonVersion = 1;

// What the form carries besides the record.
struct ReadableProfile
{
    std::string name;
    ProfileRecord record{};
    std::array<std::string, kButtonCount> labels;
    // The macros, in the order of their numbers in the file they came from.
    std::vector<MacroRecord> macros;
    // For each "Macro Key" button, the position in `macros` of the macro it plays.
    std::array<std::optional<std::size_t>, kButtonCount> buttonMacro;
};

// The form of `profile.record` with its name, labels and macros, whose positions are the
// record's macro numbers. `factory` is the record the import starts from.
std::string EncodeProfileJson(const ReadableProfile& profile, const ProfileRecord& factory);

struct DecodedProfileJson
{
    std::optional<ReadableProfile> profile; // set only when `problems` is empty
    std::vector<std::string> problems;      // "field: what is wrong", one for each bad field
};

// Reads and checks a document: every field is checked, and each one that is missing, of the
// wrong type, out of range or unknown is listed. The record starts as `factory` with macro
// numbers and macro buffers cleared: the caller places the macros and fills both.
DecodedProfileJson DecodeProfileJson(std::string_view text, const ProfileRecord& factory);

} // namespace veldrane
