#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
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
// its text byte for byte. Names are indexed, so that a read, an edit and a listing each take
// time in proportion to what they return, not to the file: large files stay fast.
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
    // One line; a removed line stays in place as a gap until the text is written out, so that no
    // edit has to move the lines after it.
    struct Line
    {
        std::string text;
        bool isKey = false;
        bool removed = false;
    };
    // A section: its header line and the lines up to the next header. The lines above the first
    // header form a section without a header, which no name finds.
    struct Section
    {
        Line header;
        std::vector<Line> lines;
        // Each key name (folded: trimmed, ASCII lower case) to its first line, built when the
        // section is first asked about: most sections of a large file never are.
        mutable std::unordered_map<std::string, std::size_t> firstKey;
        mutable bool keysIndexed = false;
        mutable bool duplicateKeys = false;
        std::size_t keyEnd = 0; // one past the last key line; a new key goes here
        bool removed = false;
    };

    Section* FindSection(std::string_view section);
    const Section* FindSection(std::string_view section) const;
    static void AddLine(Section& section, std::string text);
    static const Section& IndexKeys(const Section& section);

    std::vector<Section> m_sections = std::vector<Section>(1); // the first: the lines above any header
    // Each section name (folded) to its sections in file order, removed ones left out.
    std::unordered_map<std::string, std::vector<std::size_t>> m_sectionsByName;
};

} // namespace veldrane
