#include "HexBlock.h"

namespace veldrane::ctl {

namespace {

constexpr std::size_t kBytesPerLine = 16;

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
}

int HexDigitValue(char c)
{
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    return -1;
}

} // namespace

std::string FormatHexLines(std::span<const std::uint8_t> bytes)
{
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text;
    text.reserve(bytes.size() * 3);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        text += kDigits[bytes[i] >> 4];
        text += kDigits[bytes[i] & 0x0F];
        const bool lineEnds = (i + 1) % kBytesPerLine == 0 || i + 1 == bytes.size();
        text += lineEnds ? '\n' : ' ';
    }
    return text;
}

std::optional<std::vector<std::uint8_t>> ParseHexBytes(std::string_view text, std::string& error)
{
    std::vector<std::uint8_t> bytes;
    std::size_t i = 0;
    while (i < text.size()) {
        if (IsBlank(text[i])) {
            ++i;
            continue;
        }
        const int high = HexDigitValue(text[i]);
        const int low = i + 1 < text.size() ? HexDigitValue(text[i + 1]) : -1;
        if (high < 0 || low < 0) {
            const std::size_t bad = high < 0 ? i : i + 1;
            error = bad < text.size() ? "not a hex byte at character " + std::to_string(bad + 1)
                                      : "odd number of hex digits";
            return std::nullopt;
        }
        bytes.push_back(static_cast<std::uint8_t>(high << 4 | low));
        i += 2;
    }
    return bytes;
}

} // namespace veldrane::ctl
