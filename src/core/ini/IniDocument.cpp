#include "core/ini/IniDocument.h"

#include "core/ini/Blanks.h"
#include <algorithm>
#include <utility>

namespace veldrane {

namespace {

constexpr std::string_view kLineBreakOrNul{"\r\n\0", 3};

char AsciiLower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// The form under which a name is indexed: two names are the same name when their folds are equal.
std::string Fold(std::string_view name)
{
    const std::string_view trimmed = TrimBlanks(name);
    std::string folded(trimmed.size(), '\0');
    std::transform(trimmed.begin(), trimmed.end(), folded.begin(), AsciiLower);
    return folded;
}

struct ParsedLine
{
    enum class Kind
    {
        Other,
        Section,
        Key,
    };
    Kind kind = Kind::Other;
    std::string_view name;  // trimmed
    std::string_view value; // of a key, trimmed, quotes still on
};

ParsedLine Classify(std::string_view text)
{
    const std::string_view trimmed = TrimBlanks(text);
    if (trimmed.empty() || trimmed.front() == ';') {
        return {};
    }
    if (trimmed.front() == '[') {
        const std::size_t close = trimmed.rfind(']');
        if (close == std::string_view::npos) {
            return {};
        }
        return {ParsedLine::Kind::Section, TrimBlanks(trimmed.substr(1, close - 1)), {}};
    }
    const std::size_t equals = trimmed.find('=');
    if (equals == std::string_view::npos) {
        return {};
    }
    return {ParsedLine::Kind::Key, TrimBlanks(trimmed.substr(0, equals)), TrimBlanks(trimmed.substr(equals + 1))};
}

std::string_view Unquote(std::string_view value)
{
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

std::string KeyLine(std::string_view key, std::string_view value)
{
    std::string line(TrimBlanks(key));
    line += '=';
    line += value;
    return line;
}

} // namespace

bool IniNamesEqual(std::string_view a, std::string_view b)
{
    a = TrimBlanks(a);
    b = TrimBlanks(b);
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return AsciiLower(x) == AsciiLower(y); });
}

void IniDocument::AddLine(Section& section, std::string text)
{
    const bool isKey = Classify(text).kind == ParsedLine::Kind::Key;
    if (isKey) {
        section.keyEnd = section.lines.size() + 1;
    }
    section.lines.push_back({std::move(text), isKey, false});
}

const IniDocument::Section& IniDocument::IndexKeys(const Section& section)
{
    if (section.keysIndexed) {
        return section;
    }
    section.firstKey.reserve(section.lines.size());
    for (std::size_t index = 0; index < section.lines.size(); ++index) {
        const Line& line = section.lines[index];
        if (line.isKey && !line.removed) {
            const auto [at, added] = section.firstKey.try_emplace(Fold(Classify(line.text).name), index);
            section.duplicateKeys = section.duplicateKeys || !added;
        }
    }
    section.keysIndexed = true;
    return section;
}

IniDocument IniDocument::Parse(std::string_view text)
{
    IniDocument document;
    const auto add = [&document](std::string_view line) {
        const ParsedLine parsed = Classify(line);
        if (parsed.kind != ParsedLine::Kind::Section) {
            AddLine(document.m_sections.back(), std::string(line));
            return;
        }
        document.m_sectionsByName[Fold(parsed.name)].push_back(document.m_sections.size());
        Section& section = document.m_sections.emplace_back();
        section.header.text = line;
    };
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            add(text.substr(start));
            break;
        }
        add(text.substr(start, end - start));
        start = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
    }
    return document;
}

std::string IniDocument::Serialise() const
{
    std::size_t size = 0;
    for (const Section& section : m_sections) {
        size += section.header.text.size() + 2;
        for (const Line& line : section.lines) {
            size += line.text.size() + 2;
        }
    }
    std::string text;
    text.reserve(size);
    const auto append = [&text](const std::string& line) {
        text += line;
        text += "\r\n";
    };
    for (std::size_t index = 0; index < m_sections.size(); ++index) {
        const Section& section = m_sections[index];
        if (section.removed) {
            continue;
        }
        if (index > 0) {
            append(section.header.text);
        }
        for (const Line& line : section.lines) {
            if (!line.removed) {
                append(line.text);
            }
        }
    }
    return text;
}

const IniDocument::Section* IniDocument::FindSection(std::string_view section) const
{
    const auto found = m_sectionsByName.find(Fold(section));
    return found == m_sectionsByName.end() || found->second.empty() ? nullptr
                                                                    : &IndexKeys(m_sections[found->second.front()]);
}

IniDocument::Section* IniDocument::FindSection(std::string_view section)
{
    return const_cast<Section*>(std::as_const(*this).FindSection(section));
}

std::optional<std::string> IniDocument::Value(std::string_view section, std::string_view key) const
{
    const Section* found = FindSection(section);
    if (found == nullptr) {
        return std::nullopt;
    }
    const auto line = found->firstKey.find(Fold(key));
    if (line == found->firstKey.end()) {
        return std::nullopt;
    }
    return std::string(Unquote(Classify(found->lines[line->second].text).value));
}

std::vector<std::string> IniDocument::SectionNames() const
{
    std::vector<std::string> names;
    for (std::size_t index = 1; index < m_sections.size(); ++index) {
        const Section& section = m_sections[index];
        const std::string_view name = Classify(section.header.text).name;
        // Listed at the place of the first live section of the name.
        if (!section.removed && m_sectionsByName.at(Fold(name)).front() == index) {
            names.emplace_back(name);
        }
    }
    return names;
}

std::vector<std::string> IniDocument::KeyNames(std::string_view section) const
{
    std::vector<std::string> names;
    for (IniEntry& entry : Entries(section)) {
        names.push_back(std::move(entry.key));
    }
    return names;
}

std::vector<IniEntry> IniDocument::Entries(std::string_view section) const
{
    std::vector<IniEntry> entries;
    const Section* found = FindSection(section);
    if (found == nullptr) {
        return entries;
    }
    for (std::size_t index = 0; index < found->lines.size(); ++index) {
        const Line& line = found->lines[index];
        if (!line.isKey || line.removed) {
            continue;
        }
        const ParsedLine parsed = Classify(line.text);
        // Only the first line of a key counts.
        if (!found->duplicateKeys || found->firstKey.at(Fold(parsed.name)) == index) {
            entries.push_back({std::string(parsed.name), std::string(Unquote(parsed.value))});
        }
    }
    return entries;
}

void IniDocument::SetValue(std::string_view section, std::string_view key, std::string_view value)
{
    Section* found = FindSection(section);
    if (found == nullptr) {
        // Built piece by piece: GCC 12 at -O3 warns falsely (-Wrestrict) about "[" + std::string.
        std::string header = "[";
        header += TrimBlanks(section);
        header += ']';
        m_sectionsByName[Fold(section)].push_back(m_sections.size());
        Section& added = m_sections.emplace_back();
        added.header.text = std::move(header);
        AddLine(added, KeyLine(key, value));
        IndexKeys(added);
        return;
    }
    std::string folded = Fold(key);
    if (const auto line = found->firstKey.find(folded); line != found->firstKey.end()) {
        // The key keeps its spelling in the file; only the value changes.
        std::string& text = found->lines[line->second].text;
        text = KeyLine(Classify(text).name, value);
        return;
    }
    // After the last key; the lines behind it (blank lines, comments) move down by one.
    const std::size_t at = found->keyEnd;
    found->lines.insert(found->lines.begin() + static_cast<std::ptrdiff_t>(at), {KeyLine(key, value), true, false});
    found->firstKey.emplace(std::move(folded), at);
    found->keyEnd = at + 1;
}

bool IniDocument::RemoveKey(std::string_view section, std::string_view key)
{
    Section* found = FindSection(section);
    if (found == nullptr) {
        return false;
    }
    const std::string folded = Fold(key);
    const auto first = found->firstKey.find(folded);
    if (first == found->firstKey.end()) {
        return false;
    }
    found->lines[first->second].removed = true;
    if (found->duplicateKeys) {
        for (Line& line : found->lines) {
            if (line.isKey && !line.removed && Fold(Classify(line.text).name) == folded) {
                line.removed = true;
            }
        }
    }
    found->firstKey.erase(first);
    // A new key goes after the last key that is left.
    while (found->keyEnd > 0 && (!found->lines[found->keyEnd - 1].isKey || found->lines[found->keyEnd - 1].removed)) {
        --found->keyEnd;
    }
    return true;
}

bool IniDocument::RemoveSection(std::string_view section)
{
    const auto found = m_sectionsByName.find(Fold(section));
    if (found == m_sectionsByName.end()) {
        return false;
    }
    for (const std::size_t index : found->second) {
        m_sections[index].removed = true;
    }
    const bool removed = !found->second.empty();
    m_sectionsByName.erase(found);
    return removed;
}

bool IniDocument::IsValidSectionName(std::string_view name)
{
    return name.find_first_of(kLineBreakOrNul) == std::string_view::npos &&
           name.find_first_of("[]") == std::string_view::npos;
}

bool IniDocument::IsValidKeyName(std::string_view name)
{
    return name.find_first_of(kLineBreakOrNul) == std::string_view::npos &&
           name.find_first_of("[]=") == std::string_view::npos && !TrimBlanks(name).starts_with(';');
}

bool IniDocument::IsValidValue(std::string_view value)
{
    return value.find_first_of(kLineBreakOrNul) == std::string_view::npos;
}

} // namespace veldrane
