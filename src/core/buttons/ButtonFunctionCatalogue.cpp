#include "core/buttons/ButtonFunctionCatalogue.h"

#include <array>

namespace veldrane {
namespace {

// Consumer page (0x0C) usages, low byte only: the record keeps one byte, and the mouse gets the
// high byte 01 back only for "Media player" (0x0183).
constexpr std::array<std::uint8_t, kMediaCount> kMediaUsages = {
    0x83, // "Media player"
    0xB5, // "Next Track"
    0xB6, // "Pre Track"
    0xB7, // "Stop"
    0xCD, // "Play/Pause"
    0xE2, // "Mute"
    0xE9, // "Volume Up"
    0xEA, // "Volume Down"
};

// Keyboard usages of the letters the editing commands send together with Left Control.
constexpr std::array<std::uint8_t, kHotKeyCount> kEditKeys = {
    0x11, // "New": N
    0x1B, // "Cut": X
    0x06, // "Copy": C
    0x19, // "Paste": V
    0x16, // "Save": S
    0x13, // "Print": P
    0x09, // "Find": F
    0x1C, // "Redo": Y
    0x1D, // "Undo": Z
    0x04, // "Select All": A
};

// The record stores only the position of a system command; the mouse gets a fixed entry for it,
// either a consumer usage (type 03, usage little-endian) or keystrokes (type 00).
constexpr std::array<KeyMatrixEntry, kSystemCommandCount> kSystemCommandEntries = {{
    {0x03, 0x00, 0x94, 0x01}, // "My computer": consumer usage 0x0194
    {0x03, 0x00, 0x23, 0x02}, // "Browser-Home": consumer usage 0x0223
    {0x03, 0x00, 0x21, 0x02}, // "Search": consumer usage 0x0221
    {0x00, 0x04, 0x2C, 0x1B}, // "Maximum": Left Alt held, Space, X
    {0x00, 0x04, 0x2C, 0x11}, // "Minimum": Left Alt held, Space, N
    {0x00, 0x00, 0xE3, 0x07}, // "Show desktop": Left GUI key, D
    {0x00, 0x00, 0xE3, 0x15}, // "Run": Left GUI key, R
}};

} // namespace

bool IsPlainFunction(FunctionCode code)
{
    const auto value = static_cast<std::uint8_t>(code);
    return value <= static_cast<std::uint8_t>(FunctionCode::DoubleClick) ||
           (value >= static_cast<std::uint8_t>(FunctionCode::ButtonOff) &&
            value <= static_cast<std::uint8_t>(FunctionCode::RightTitleScroll));
}

bool IsSubmenuFunction(FunctionCode code)
{
    return SubmenuSize(code) != 0;
}

std::size_t SubmenuSize(FunctionCode code)
{
    switch (code) {
    case FunctionCode::CpiCycle:
        return kCpiActionCount;
    case FunctionCode::Multimedia:
        return kMediaCount;
    case FunctionCode::HotKey:
        return kHotKeyCount;
    case FunctionCode::Windows:
        return kSystemCommandCount;
    default:
        return 0;
    }
}

std::uint8_t CpiActionAt(std::size_t position)
{
    return position < kCpiActionCount ? static_cast<std::uint8_t>(position + 1) : 0;
}

std::uint8_t MediaUsageAt(std::size_t position)
{
    return position < kMediaUsages.size() ? kMediaUsages[position] : 0;
}

std::uint8_t EditKeyAt(std::size_t position)
{
    return position < kEditKeys.size() ? kEditKeys[position] : 0;
}

KeyMatrixEntry SystemCommandEntry(std::size_t position)
{
    return position < kSystemCommandEntries.size() ? kSystemCommandEntries[position] : KeyMatrixEntry{};
}

} // namespace veldrane
