#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace veldrane {

// The line count of "Scroll Speed": lines per wheel notch, 1 to 100.
inline constexpr std::uint8_t kMinScrollLines = 1;
inline constexpr std::uint8_t kMaxScrollLines = 100;

// scrollLines after a press on the up (+1) or down (-1) button: one more, at most 100, or one
// less, at least 1. A loaded count outside 1 to 100 moves by the same rule (0 up gives 1, 200 down
// gives 199).
std::uint8_t SteppedScrollLines(std::uint8_t scrollLines, int step);

// The line count the edit box's text stands for: its decimal value when that is 1 to 100.
// Nothing for any other value and for a text that is not a decimal number (blanks around it
// aside), such as "", "0", "101", "-3" or "5x"; the box then shows "1" and the count becomes 1.
std::optional<std::uint8_t> ScrollLinesOfText(std::string_view text);

} // namespace veldrane
