#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace veldrane {

// The character that stands in for bytes that are no valid text.
inline constexpr char32_t kReplacementCharacter = 0xFFFD;

// Decodes the UTF-8 character at `position` and moves `position` past it. A malformed sequence
// (a stray or missing continuation byte, an overlong form, a surrogate, a value above U+10FFFF)
// gives nothing and moves past its longest valid-looking beginning, at least one byte.
std::optional<char32_t> DecodeUtf8(std::string_view text, std::size_t& position);

void AppendUtf8(std::string& text, char32_t codePoint);

bool IsValidUtf8(std::string_view text);

// The text with every malformed sequence replaced by U+FFFD.
std::string SanitiseUtf8(std::string_view text);

// UTF-16LE bytes (no byte-order mark) as UTF-8; an unpaired surrogate or an odd last byte
// becomes U+FFFD.
std::string Utf16LeToUtf8(std::string_view bytes);

// UTF-8 as UTF-16LE bytes (no byte-order mark); malformed sequences become U+FFFD.
std::string Utf8ToUtf16Le(std::string_view text);

// The longest beginning of `text` that holds at most `maxCharacters` characters (Unicode code
// points; a malformed sequence counts as one). Never ends inside a UTF-8 sequence.
std::string_view Utf8Prefix(std::string_view text, std::size_t maxCharacters);

} // namespace veldrane
