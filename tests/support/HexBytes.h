#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <span>
#include <string>

namespace veldrane::test {

// "01 00 F0 00": bytes as the mouse's documentation writes them, so a failing comparison shows
// which byte differs.
inline std::string HexBytes(std::span<const std::uint8_t> bytes)
{
    std::string text;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        char pair[4];
        std::snprintf(pair, sizeof pair, i == 0 ? "%02X" : " %02X", bytes[i]);
        text += pair;
    }
    return text;
}

} // namespace veldrane::test
