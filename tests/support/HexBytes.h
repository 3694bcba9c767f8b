#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace veldrane::test {

// "01 00 F0 00": bytes as the mouse's documentation writes them, so a failing comparison shows
// which byte differs.
inline std::string HexBytes(std::span<const std::uint8_t> bytes)
{
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (i != 0) {
            text += ' ';
        }
        text += kDigits[bytes[i] >> 4];
        text += kDigits[bytes[i] & 0x0F];
    }
    return text;
}

} // namespace veldrane::test
