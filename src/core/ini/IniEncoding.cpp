#include "core/ini/IniEncoding.h"

#include <algorithm>
#include <utility>

#include "core/ini/IniDocument.h"
#include "core/ini/UnicodeText.h"

namespace veldrane {

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeBom = "\xFF\xFE";
constexpr std::string_view kLanguageSection = "Skins";
constexpr std::string_view kLanguageKey = "Lan";

} // namespace

IniEncoding::IniEncoding(const TextCodec& codec, LegacyCodePage fallbackCodePage)
    : m_codec(codec), m_fallbackCodePage(fallbackCodePage)
{}

LegacyCodePage IniEncoding::CodePageOfLanguageCode(std::string_view code)
{
    // The same exact, case-sensitive test by which the interface language is chosen.
    if (code == "CHS") {
        return LegacyCodePage::Gbk;
    }
    if (code == "CHT") {
        return LegacyCodePage::Big5;
    }
    return LegacyCodePage::Windows1252;
}

LegacyCodePage IniEncoding::LegacyCodePageOf(std::string_view bytes) const
{
    // Section and key are ASCII, and in GBK and Big5 no byte of a two-byte character is a line
    // break or '=', so the key can be found before the text is decoded.
    const auto code = IniDocument::Parse(bytes).Value(kLanguageSection, kLanguageKey);
    return code ? CodePageOfLanguageCode(*code) : m_fallbackCodePage;
}

std::string IniEncoding::DecodeLegacyByCharacter(std::string_view bytes, LegacyCodePage codePage) const
{
    // One character at a time, the two-byte form of GBK and Big5 first, so that only what is no
    // character at all becomes U+FFFD.
    const std::size_t longest = codePage == LegacyCodePage::Windows1252 ? 1 : 2;
    std::string text;
    for (std::size_t position = 0; position < bytes.size();) {
        if (static_cast<unsigned char>(bytes[position]) < 0x80) {
            text.push_back(bytes[position++]);
            continue;
        }
        std::size_t length = std::min(longest, bytes.size() - position);
        for (; length > 0; --length) {
            if (const auto character = m_codec.ToUtf8(bytes.substr(position, length), codePage)) {
                text += *character;
                break;
            }
        }
        if (length == 0) {
            AppendUtf8(text, kReplacementCharacter);
            length = 1;
        }
        position += length;
    }
    return text;
}

DecodedIniText IniEncoding::Decode(std::string_view bytes) const
{
    using Form = IniFileEncoding::Form;
    if (bytes.starts_with(kUtf16LeBom)) {
        const std::string_view units = bytes.substr(kUtf16LeBom.size());
        std::string text = Utf16LeToUtf8(units);
        // An unpaired surrogate or an odd last byte came back as U+FFFD: the way back differs.
        const bool exact = Utf8ToUtf16Le(text) == units;
        return {std::move(text), {Form::Utf16LeWithBom}, exact};
    }
    if (bytes.starts_with(kUtf8Bom)) {
        const std::string_view rest = bytes.substr(kUtf8Bom.size());
        if (IsValidUtf8(rest)) {
            return {std::string(rest), {Form::Utf8WithBom}};
        }
        return {SanitiseUtf8(rest), {Form::Utf8WithBom}, false};
    }
    if (IsValidUtf8(bytes)) {
        return {std::string(bytes), {Form::Utf8}};
    }
    const LegacyCodePage codePage = LegacyCodePageOf(bytes);
    if (auto text = m_codec.ToUtf8(bytes, codePage)) {
        return {std::move(*text), {Form::Legacy, codePage}};
    }
    return {DecodeLegacyByCharacter(bytes, codePage), {Form::Legacy, codePage}, false};
}

std::optional<std::string> IniEncoding::Encode(std::string_view text, const IniFileEncoding& encoding) const
{
    switch (encoding.form) {
    case IniFileEncoding::Form::Utf8:
        return std::string(text);
    case IniFileEncoding::Form::Utf8WithBom:
        return std::string(kUtf8Bom) + std::string(text);
    case IniFileEncoding::Form::Utf16LeWithBom:
        return std::string(kUtf16LeBom) + Utf8ToUtf16Le(text);
    case IniFileEncoding::Form::Legacy:
        break;
    }
    return m_codec.FromUtf8(text, encoding.codePage);
}

std::optional<std::string> IniEncoding::EncodeForWrite(std::string_view text, const IniFileEncoding& found) const
{
    if (found.form != IniFileEncoding::Form::Legacy) {
        return Encode(text, found);
    }
    // The "Lan" key is ASCII, so the UTF-8 text names its code page as the bytes would.
    const LegacyCodePage named = LegacyCodePageOf(text);
    if (auto bytes = m_codec.FromUtf8(text, named)) {
        // Once the write took out the bytes that made it no UTF-8, the next read would take legacy
        // bytes for UTF-8 and read other text: then the file is written as the UTF-8 it will be read as.
        if (*bytes != text && IsValidUtf8(*bytes)) {
            return std::string(text);
        }
        return bytes;
    }
    if (named != found.codePage) {
        return std::string(text);
    }
    return std::nullopt;
}

} // namespace veldrane
