#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace veldrane {

// Whether two section or key names are the same name to the profile functions: ASCII case and
// surrounding blanks do not count; other bytes compare exactly (names are ASCII in practice).
bool IniNamesEqual(std::string_view a, std::string_view b);

// One key of a section with its value as a read gives it.
struct IniEntry
{
    std::string key; // as it stands in the file, blanks trimmed
    std::string value;

    friend bool operator==(const IniEntry&, const IniEntry&) = default;
};

// The lines of one INI file and the rules by which Windows' profile functions read them:
//
//   [Section]        a section header: the name between '[' and the last ']', blanks trimmed
//   key = value      a key line: the key is the text before the first '=', blanks trimmed
//   ; comment        kept as it stands, like blank lines and any other line
//
// Names compare without regard to ASCII case or surrounding blanks; the first of duplicate
// sections (and of duplicate keys within it) is the one that counts. Lines above the first
// section belong to none. An edit touches only the lines it is about; every other line keeps
// its text byte for byte.
class IniDocument
{
public:
    // Splits text at CR LF, LF or a lone CR.
    static IniDocument Parse(std::string_view text);
    // Every line followed by CR LF.
    std::string Serialise() const;

    // The value with surrounding blanks and one pair of enclosing double or single quotes removed.
    std::optional<std::string> Value(std::string_view section, std::string_view key) const;
    // Names as they stand in the file (blanks trimmed), each name once, in file order.
    std::vector<std::string> SectionNames() const;
    std::vector<std::string> KeyNames(std::string_view section) const;
    // The keys of the first matching section in file order, each once with the value Value gives it.
    std::vector<IniEntry> Entries(std::string_view section) const;

    // Replaces the value of an existing key in place; a new key goes after the last key of its
    // section, a new section at the end. The names must have passed IsValidSectionName and
    // IsValidKeyName, the value IsValidValue.
    void SetValue(std::string_view section, std::string_view key, std::string_view value);
    // Removes the key from the first matching section, with any duplicates of it there, so
    // that it then reads as missing. False when there was none.
    bool RemoveKey(std::string_view section, std::string_view key);
    // Removes every section of that name with all of its lines. False when there was none.
    bool RemoveSection(std::string_view section);

    // Whether a text can stand in the file without changing its structure: no line break or NUL
    // anywhere, no '[' or ']' in a section name; in a key name also no '=' and no leading ';'
    // (the line would be a comment).
    static bool IsValidSectionName(std::string_view name);
    static bool IsValidKeyName(std::string_view name);
    static bool IsValidValue(std::string_view value);

private:
    struct SectionRange
    {
        std::size_t header;
        std::size_t end; // the next section's header or the end of the file
    };

    std::optional<SectionRange> FindSection(std::string_view section, std::size_t from = 0) const;
    std::optional<std::size_t> FindKey(const SectionRange& range, std::string_view key) const;

    std::vector<std::string> m_lines;
};

} // namespace veldrane
