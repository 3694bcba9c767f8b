#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "ports/TextCodec.h"

namespace veldrane {

// The byte form an INI file was found in. A write puts the file back in the same form.
struct IniFileEncoding
{
    enum class Form
    {
        Utf8,           // also every file that is plain ASCII, and every new file
        Utf8WithBom,    // EF BB BF
        Utf16LeWithBom, // FF FE
        Legacy,         // the code page of the Windows machine that wrote it
    };
    Form form = Form::Utf8;
    LegacyCodePage codePage = LegacyCodePage::Windows1252; // of a Legacy file

    friend bool operator==(const IniFileEncoding&, const IniFileEncoding&) = default;
};

// The text of an INI file in UTF-8 and the form it came in.
struct DecodedIniText
{
    std::string text;
    IniFileEncoding encoding;
    // False when some bytes are not text in the file's encoding (a legacy code page, UTF-8 after
    // its mark, UTF-16 with an unpaired surrogate or an odd last byte) and were read as U+FFFD:
    // writing it back would destroy them, so the file must not be written.
    bool exact = true;
};

// Tells the encodings of INI files apart and converts them. A file with a byte-order mark is
// UTF-16LE or UTF-8; a file that is valid UTF-8 is UTF-8; anything else was written on a Windows
// machine in its legacy code page, which the file's own "Lan" key in section "Skins" names
// ("CHS" GBK, "CHT" Big5, any other value Windows-1252) and, in a file without that key, the
// interface language does.
class IniEncoding
{
public:
    IniEncoding(const TextCodec& codec, LegacyCodePage fallbackCodePage);

    DecodedIniText Decode(std::string_view bytes) const;
    // Nothing when the text holds a character that the file's code page cannot hold.
    std::optional<std::string> Encode(std::string_view text, const IniFileEncoding& encoding) const;

    // The bytes a write puts into a file found in `found`. A legacy file goes to the code page its
    // new text names, so that the next read decodes it: when a write changes the "Lan" key, the
    // whole file follows the new code page, or, when that cannot hold the text, becomes UTF-8; so
    // does a file whose legacy bytes would read as other UTF-8 text once the write is done.
    // Nothing when the text holds a character that the file's unchanged code page cannot hold.
    std::optional<std::string> EncodeForWrite(std::string_view text, const IniFileEncoding& found) const;

    // The code page a legacy file with that "Lan" value is in.
    static LegacyCodePage CodePageOfLanguageCode(std::string_view code);

private:
    LegacyCodePage LegacyCodePageOf(std::string_view bytes) const;
    std::string DecodeLegacyByCharacter(std::string_view bytes, LegacyCodePage codePage) const;

    const TextCodec& m_codec;
    LegacyCodePage m_fallbackCodePage;
};

} // namespace veldrane
