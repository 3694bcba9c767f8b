#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "platform/TextCodec.h"

namespace veldrane {

// The size of the text buffers the system reads INI values into.
inline constexpr std::size_t kProfileBufferChars = 1024;

enum class IniWriteResult
{
    Written,
    RefusedName,  // a section or key name with a line break, '[' or ']' (or '=' in a key)
    RefusedValue, // a value with a line break
    IoError,      // the file could not be written; it is unchanged
};

// One INI file with the semantics that Windows' private-profile functions give it, which the
// stored files rely on. Every call reads the file from disk; every write replaces it atomically.
// All texts in and out are UTF-8; the file keeps the encoding it was read in (new files: UTF-8).
class IniFile
{
public:
    // fallbackCodePage decodes a legacy (non-Unicode) file that has no "Lan" key of its own.
    IniFile(std::filesystem::path path, const TextCodec& codec,
            LegacyCodePage fallbackCodePage = LegacyCodePage::Windows1252);

    const std::filesystem::path& Path() const { return m_path; }
    bool Exists() const;

    // The value of the first matching key of the first matching section, blanks and one pair of
    // enclosing quotes removed, at most bufferChars - 1 characters; defaultValue when missing.
    std::string GetString(std::string_view section, std::string_view key, std::string_view defaultValue = {},
                          std::size_t bufferChars = kProfileBufferChars) const;

    // The value read as a signed decimal number the way _wtoi reads it: 0 when it is not one.
    int GetInt(std::string_view section, std::string_view key) const;

    // An existing key keeps its line and gets the new value; a new key goes after the last key of
    // its section, a new section at the end of the file, which the first write creates. A file
    // that cannot be read, or a value its legacy code page cannot hold, gives IoError and leaves
    // the file as it was.
    IniWriteResult WriteString(std::string_view section, std::string_view key, std::string_view value);
    IniWriteResult WriteInt(std::string_view section, std::string_view key, int value);

    // False when there was nothing to delete or the file could not be written. DeleteKey removes
    // the key from the first matching section, duplicates included, so that it then reads as
    // missing; DeleteSection removes every section of that name with all of its lines.
    bool DeleteKey(std::string_view section, std::string_view key);
    bool DeleteSection(std::string_view section);

    // Section names in file order, as they stand in the file (blanks trimmed); a duplicate name
    // is listed once, at its first place.
    std::vector<std::string> SectionNames() const;
    // Key names of the first matching section, in file order, each name once.
    std::vector<std::string> KeyNames(std::string_view section) const;

private:
    std::filesystem::path m_path;
    const TextCodec& m_codec;
    LegacyCodePage m_fallbackCodePage;
};

// Reads text as _wtoi does: leading blanks, an optional sign, then digits up to the first
// non-digit; 0 when there are none. Out-of-range values saturate.
int ParseDecimal(std::string_view text);

} // namespace veldrane
