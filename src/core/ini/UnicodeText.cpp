#include "core/ini/UnicodeText.h"

#include <cstdint>

namespace veldrane {

namespace {

constexpr char32_t kHighSurrogateFirst = 0xD800;
constexpr char32_t kLowSurrogateFirst = 0xDC00;
constexpr char32_t kSurrogateLast = 0xDFFF;
constexpr char32_t kLastCodePoint = 0x10FFFF;

std::uint8_t ByteAt(std::string_view text, std::size_t position)
{
    return static_cast<std::uint8_t>(text[position]);
}

void AppendUtf16Unit(std::string& bytes, char32_t unit)
{
    bytes.push_back(static_cast<char>(unit & 0xFF));
    bytes.push_back(static_cast<char>((unit >> 8) & 0xFF));
}

} // namespace

std::optional<char32_t> DecodeUtf8(std::string_view text, std::size_t& position)
{
    const std::uint8_t lead = ByteAt(text, position);
    ++position;
    if (lead < 0x80) {
        return lead;
    }
    // The lead byte fixes the length and the range its first continuation byte may take, which
    // excludes overlong forms, surrogates and values above U+10FFFF.
    std::size_t continuations = 0;
    std::uint8_t low = 0x80;
    std::uint8_t high = 0xBF;
    char32_t value = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        continuations = 1;
        value = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        continuations = 2;
        value = lead & 0x0F;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        continuations = 3;
        value = lead & 0x07;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return std::nullopt;
    }
    for (std::size_t i = 0; i < continuations; ++i) {
        if (position >= text.size()) {
            return std::nullopt;
        }
        const std::uint8_t byte = ByteAt(text, position);
        if (byte < low || byte > high) {
            return std::nullopt;
        }
        value = (value << 6) | (byte & 0x3F);
        ++position;
        low = 0x80;
        high = 0xBF;
    }
    return value;
}

void AppendUtf8(std::string& text, char32_t codePoint)
{
    if (codePoint > kLastCodePoint || (codePoint >= kHighSurrogateFirst && codePoint <= kSurrogateLast)) {
        codePoint = kReplacementCharacter;
    }
    if (codePoint < 0x80) {
        text.push_back(static_cast<char>(codePoint));
    } else if (codePoint < 0x800) {
        text.push_back(static_cast<char>(0xC0 | (codePoint >> 6)));
        text.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
    } else if (codePoint < 0x10000) {
        text.push_back(static_cast<char>(0xE0 | (codePoint >> 12)));
        text.push_back(static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F)));
        text.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
    } else {
        text.push_back(static_cast<char>(0xF0 | (codePoint >> 18)));
        text.push_back(static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F)));
        text.push_back(static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F)));
        text.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
    }
}

bool IsValidUtf8(std::string_view text)
{
    for (std::size_t position = 0; position < text.size();) {
        if (!DecodeUtf8(text, position)) {
            return false;
        }
    }
    return true;
}

std::string SanitiseUtf8(std::string_view text)
{
    std::string result;
    result.reserve(text.size());
    for (std::size_t position = 0; position < text.size();) {
        AppendUtf8(result, DecodeUtf8(text, position).value_or(kReplacementCharacter));
    }
    return result;
}

std::string Utf16LeToUtf8(std::string_view bytes)
{
    std::string result;
    result.reserve(bytes.size());
    const std::size_t units = bytes.size() / 2;
    auto unitAt = [&](std::size_t index) {
        return static_cast<char32_t>(ByteAt(bytes, 2 * index) | (ByteAt(bytes, 2 * index + 1) << 8));
    };
    for (std::size_t index = 0; index < units; ++index) {
        const char32_t unit = unitAt(index);
        if (unit < kHighSurrogateFirst || unit > kSurrogateLast) {
            AppendUtf8(result, unit);
        } else if (unit < kLowSurrogateFirst && index + 1 < units && unitAt(index + 1) >= kLowSurrogateFirst &&
                   unitAt(index + 1) <= kSurrogateLast) {
            const char32_t lowUnit = unitAt(++index);
            AppendUtf8(result, 0x10000 + ((unit - kHighSurrogateFirst) << 10) + (lowUnit - kLowSurrogateFirst));
        } else {
            AppendUtf8(result, kReplacementCharacter);
        }
    }
    if (bytes.size() % 2 != 0) {
        AppendUtf8(result, kReplacementCharacter);
    }
    return result;
}

std::string Utf8ToUtf16Le(std::string_view text)
{
    std::string result;
    result.reserve(2 * text.size());
    for (std::size_t position = 0; position < text.size();) {
        const char32_t codePoint = DecodeUtf8(text, position).value_or(kReplacementCharacter);
        if (codePoint < 0x10000) {
            AppendUtf16Unit(result, codePoint);
        } else {
            const char32_t offset = codePoint - 0x10000;
            AppendUtf16Unit(result, kHighSurrogateFirst + (offset >> 10));
            AppendUtf16Unit(result, kLowSurrogateFirst + (offset & 0x3FF));
        }
    }
    return result;
}

std::string_view Utf8Prefix(std::string_view text, std::size_t maxCharacters)
{
    std::size_t position = 0;
    for (std::size_t characters = 0; characters < maxCharacters && position < text.size(); ++characters) {
        DecodeUtf8(text, position);
    }
    return text.substr(0, position);
}

} // namespace veldrane
