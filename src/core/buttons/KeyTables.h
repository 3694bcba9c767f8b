#pragma once

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

namespace veldrane {

// Key names are the US-English texts of the system's key-name function; they travel through the
// program as text and become HID usages only on their way to the mouse.
enum class KeyTableInstance
{
    Button, // all rows: "Single Key" and "Combo Key"
    Macro,  // without "Application", which sends nothing in a macro
};

// The HID keyboard usage of the first row named exactly `name`; 0 when none is.
std::uint8_t KeyCodeFromName(std::string_view name, KeyTableInstance instance = KeyTableInstance::Button);

// The HID modifier bit of the modifier named exactly `name` ("Left Ctrl" ... "Right Win"); 0 when none is.
std::uint8_t ModifierBitFromName(std::string_view name);

// Every key name of the table, in table order (the mouse's own buttons last).
std::vector<std::string_view> KeyNames();

// The eight modifier names in the order the combo-key dialog lists them.
const std::array<std::string_view, 8>& ModifierNames();

} // namespace veldrane
