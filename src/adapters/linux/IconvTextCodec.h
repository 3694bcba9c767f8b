#pragma once

#include "ports/TextCodec.h"

namespace veldrane {

// TextCodec through POSIX iconv. The legacy code pages are the Windows variants (936 with the
// euro sign at 0x80, 950, 1252), so files written by a Windows machine round-trip. Nothing is
// transliterated or skipped: a byte sequence the page does not define, a character it cannot hold
// or a sequence cut off at the end gives no result at all.
class IconvTextCodec : public TextCodec
{
public:
    std::optional<std::string> ToUtf8(std::string_view bytes, LegacyCodePage from) const override;
    std::optional<std::string> FromUtf8(std::string_view utf8, LegacyCodePage to) const override;
};

} // namespace veldrane
