#include "core/settings/ScrollLines.h"

#include <algorithm>

namespace veldrane {

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

} // namespace

std::uint8_t SteppedScrollLines(std::uint8_t scrollLines, int step)
{
    const int stepped = scrollLines + step;
    if (step > 0) {
        return static_cast<std::uint8_t>(std::min(stepped, int{kMaxScrollLines}));
    }
    return static_cast<std::uint8_t>(std::max(stepped, int{kMinScrollLines}));
}

std::optional<std::uint8_t> ScrollLinesOfText(std::string_view text)
{
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    if (text.empty()) {
        return std::nullopt;
    }
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        // Any number past the top of the range is refused alike, however long it is.
        value = std::min(value * 10 + (c - '0'), int{kMaxScrollLines} + 1);
    }
    if (value < kMinScrollLines || value > kMaxScrollLines) {
        return std::nullopt;
    }
    return static_cast<std::uint8_t>(value);
}

} // namespace veldrane
