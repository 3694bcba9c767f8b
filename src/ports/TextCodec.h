#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace veldrane {

// The legacy ("ANSI") code pages that INI files written on a Windows machine may be in.
enum class LegacyCodePage
{
    Gbk,         // simplified Chinese machines (code page 936)
    Big5,        // traditional Chinese machines (code page 950)
    Windows1252, // every other machine
};

// Conversion between UTF-8 and a legacy code page. Returns nothing when the input cannot be
// converted whole.
class TextCodec
{
public:
    virtual ~TextCodec() = default;

    virtual std::optional<std::string> ToUtf8(std::string_view bytes, LegacyCodePage from) const = 0;
    virtual std::optional<std::string> FromUtf8(std::string_view utf8, LegacyCodePage to) const = 0;
};

} // namespace veldrane
