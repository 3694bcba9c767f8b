#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace veldrane::ctl {

// Blocks as the tool prints them: upper-case hex bytes separated by single blanks, 16 to a line,
// every line ending in a line feed.
std::string FormatHexLines(std::span<const std::uint8_t> bytes);

// Bytes written as pairs of hex digits in either case, with any white space between bytes (so
// the tool's own output reads back). Nothing, with `error` saying why, for anything else.
std::optional<std::vector<std::uint8_t>> ParseHexBytes(std::string_view text, std::string& error);

} // namespace veldrane::ctl
