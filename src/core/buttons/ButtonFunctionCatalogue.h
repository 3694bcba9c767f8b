#pragma once

#include <cstddef>
#include <cstdint>

#include "core/buttons/KeyMatrixBlock.h"
#include "core/profile/FunctionCode.h"

namespace veldrane {

// Entries of the four submenus.
inline constexpr std::size_t kCpiActionCount = 3;
inline constexpr std::size_t kMediaCount = 8;
inline constexpr std::size_t kHotKeyCount = 10;
inline constexpr std::size_t kSystemCommandCount = 7;

// Codes 0 to 5 and 13 to 15: chosen straight from the main list, without a parameter.
bool IsPlainFunction(FunctionCode code);

// Codes 6 to 9: chosen through a submenu, with one parameter from the submenu position.
bool IsSubmenuFunction(FunctionCode code);

// The number of entries of the submenu of `code`; 0 for a code without a submenu.
std::size_t SubmenuSize(FunctionCode code);

// `cpiAction` of "CPI +", "CPI -", "CPI Loop" (positions 0 to 2): 1, 2, 3; 0 elsewhere.
std::uint8_t CpiActionAt(std::size_t position);

// `mediaUsage` of a "Multimedia" position: the low byte of its consumer-page usage; 0 outside 0 to 7.
std::uint8_t MediaUsageAt(std::size_t position);

// `editKey` of a "HotKey" position: the usage of the letter sent with Left Control; 0 outside 0 to 9.
std::uint8_t EditKeyAt(std::size_t position);

// The fixed device entry of a "Windows" position (`systemCommand`); all zero outside 0 to 6.
KeyMatrixEntry SystemCommandEntry(std::size_t position);

} // namespace veldrane
