#pragma once

#include <cstddef>
#include <string_view>

namespace veldrane {

// The blanks that the INI files and the names the user types may carry around a text: space and tab.
inline constexpr std::string_view kBlanks = " \t";

// `text` without the blanks at its ends.
constexpr std::string_view TrimBlanks(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

// `text` without the blanks at its end.
constexpr std::string_view TrimTrailingBlanks(std::string_view text)
{
    const std::size_t last = text.find_last_not_of(kBlanks);
    return last == std::string_view::npos ? std::string_view{} : text.substr(0, last + 1);
}

} // namespace veldrane
