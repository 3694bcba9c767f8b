#pragma once

#include <cstddef>
#include <cstdint>

namespace veldrane {

// The function code a button keeps in `buttonFunction`: the position of its entry in the main
// list of the assignment menu. Codes 16 to 255 are never produced by the menus but may come from a
// file; they send nothing.
enum class FunctionCode : std::uint8_t
{
    Click = 0,
    Menu = 1,
    UniversalScroll = 2,
    IeForward = 3,
    IeBackward = 4,
    DoubleClick = 5,
    CpiCycle = 6,   // submenu, parameter `cpiAction`
    Multimedia = 7, // submenu, parameter `mediaUsage`
    HotKey = 8,     // submenu, parameter `editKey`
    Windows = 9,    // submenu, parameter `systemCommand`
    SingleKey = 10, // parameter `singleKey`
    ComboKey = 11,  // parameters `comboModifier`, `comboKey1`, `comboKey2`
    MacroKey = 12,  // parameters `macroNumber`, `macroRepeat`
    ButtonOff = 13,
    LeftTitleScroll = 14,
    RightTitleScroll = 15,
};

inline constexpr std::size_t kFunctionCount = 16;

} // namespace veldrane
