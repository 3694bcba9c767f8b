#include "adapters/linux/EvdevKeyNames.h"

#include <algorithm>
#include <iterator>

namespace veldrane {
namespace {

struct EvdevName
{
    std::uint32_t code; // KEY_* of <linux/input-event-codes.h>
    std::string_view name;
};

// The names the system's key-name function gives on a US-English layout, by the evdev code of
// the key. Character keys are named by their unshifted character. The numeric keypad keeps its
// "Num" names whatever the Num Lock state, as the function names the key and not its meaning.
// The kernel gives the Non-US "#" key the backslash code, and the US layout names the extra key
// of ISO keyboards (KEY_102ND) "\" too.
constexpr EvdevName kEvdevNames[] = {
    {1, "Esc"},
    {2, "1"},
    {3, "2"},
    {4, "3"},
    {5, "4"},
    {6, "5"},
    {7, "6"},
    {8, "7"},
    {9, "8"},
    {10, "9"},
    {11, "0"},
    {12, "-"},
    {13, "="},
    {14, "Backspace"},
    {15, "Tab"},
    {16, "Q"},
    {17, "W"},
    {18, "E"},
    {19, "R"},
    {20, "T"},
    {21, "Y"},
    {22, "U"},
    {23, "I"},
    {24, "O"},
    {25, "P"},
    {26, "["},
    {27, "]"},
    {28, "Enter"},
    {29, "Ctrl"},
    {30, "A"},
    {31, "S"},
    {32, "D"},
    {33, "F"},
    {34, "G"},
    {35, "H"},
    {36, "J"},
    {37, "K"},
    {38, "L"},
    {39, ";"},
    {40, "'"},
    {41, "`"},
    {42, "Shift"},
    {43, "\\"},
    {44, "Z"},
    {45, "X"},
    {46, "C"},
    {47, "V"},
    {48, "B"},
    {49, "N"},
    {50, "M"},
    {51, ","},
    {52, "."},
    {53, "/"},
    {54, "Right Shift"},
    {55, "Num *"},
    {56, "Alt"},
    {57, "Space"},
    {58, "Caps Lock"},
    {59, "F1"},
    {60, "F2"},
    {61, "F3"},
    {62, "F4"},
    {63, "F5"},
    {64, "F6"},
    {65, "F7"},
    {66, "F8"},
    {67, "F9"},
    {68, "F10"},
    {69, "Num Lock"},
    {70, "Scroll Lock"},
    {71, "Num 7"},
    {72, "Num 8"},
    {73, "Num 9"},
    {74, "Num -"},
    {75, "Num 4"},
    {76, "Num 5"},
    {77, "Num 6"},
    {78, "Num +"},
    {79, "Num 1"},
    {80, "Num 2"},
    {81, "Num 3"},
    {82, "Num 0"},
    {83, "Num Del"},
    {86, "\\"},
    {87, "F11"},
    {88, "F12"},
    {96, "Num Enter"},
    {97, "Right Ctrl"},
    {98, "Num /"},
    {99, "Prnt Scrn"},
    {100, "Right Alt"},
    {102, "Home"},
    {103, "Up"},
    {104, "Page Up"},
    {105, "Left"},
    {106, "Right"},
    {107, "End"},
    {108, "Down"},
    {109, "Page Down"},
    {110, "Insert"},
    {111, "Delete"},
    {119, "Pause"},
    {125, "Left Windows"},
    {126, "Right Windows"},
    {127, "Application"},
};

static_assert(std::is_sorted(std::begin(kEvdevNames), std::end(kEvdevNames),
                             [](const EvdevName& a, const EvdevName& b) { return a.code < b.code; }));

} // namespace

std::optional<std::string_view> EvdevKeyName(std::uint32_t evdevCode)
{
    const auto found = std::lower_bound(std::begin(kEvdevNames), std::end(kEvdevNames), evdevCode,
                                        [](const EvdevName& row, std::uint32_t code) { return row.code < code; });
    if (found == std::end(kEvdevNames) || found->code != evdevCode) {
        return std::nullopt;
    }
    return found->name;
}

std::optional<std::string_view> XkbKeycodeName(std::uint32_t keycode)
{
    if (keycode < kXkbKeycodeOffset) {
        return std::nullopt;
    }
    return EvdevKeyName(keycode - kXkbKeycodeOffset);
}

} // namespace veldrane
