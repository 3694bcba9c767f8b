#include "ini/IniDocument.h"

#include <algorithm>
#include <utility>

namespace veldrane {

namespace {

constexpr std::string_view kBlanks = " \t";
constexpr std::string_view kLineBreakOrNul{"\r\n\0", 3};

std::string_view Trim(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

char AsciiLower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool Contains(const std::vector<std::string>& names, std::string_view name)
{
    return std::any_of(names.begin(), names.end(),
                       [&](const std::string& known) { return IniNamesEqual(known, name); });
}

struct Line
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

Line Classify(std::string_view text)
{
    const std::string_view trimmed = Trim(text);
    if (trimmed.empty() || trimmed.front() == ';') {
        return {};
    }
    if (trimmed.front() == '[') {
        const std::size_t close = trimmed.rfind(']');
        if (close == std::string_view::npos) {
            return {};
        }
        return {Line::Kind::Section, Trim(trimmed.substr(1, close - 1)), {}};
    }
    const std::size_t equals = trimmed.find('=');
    if (equals == std::string_view::npos) {
        return {};
    }
    return {Line::Kind::Key, Trim(trimmed.substr(0, equals)), Trim(trimmed.substr(equals + 1))};
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
    std::string line(Trim(key));
    line += '=';
    line += value;
    return line;
}

} // namespace

bool IniNamesEqual(std::string_view a, std::string_view b)
{
    a = Trim(a);
    b = Trim(b);
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return AsciiLower(x) == AsciiLower(y); });
}

IniDocument IniDocument::Parse(std::string_view text)
{
    IniDocument document;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            document.m_lines.emplace_back(text.substr(start));
            break;
        }
        document.m_lines.emplace_back(text.substr(start, end - start));
        start = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
    }
    return document;
}

std::string IniDocument::Serialise() const
{
    std::string text;
    for (const std::string& line : m_lines) {
        text += line;
        text += "\r\n";
    }
    return text;
}

std::optional<IniDocument::SectionRange> IniDocument::FindSection(std::string_view section, std::size_t from) const
{
    for (std::size_t index = from; index < m_lines.size(); ++index) {
        const Line line = Classify(m_lines[index]);
        if (line.kind != Line::Kind::Section || !IniNamesEqual(line.name, section)) {
            continue;
        }
        std::size_t end = index + 1;
        while (end < m_lines.size() && Classify(m_lines[end]).kind != Line::Kind::Section) {
            ++end;
        }
        return SectionRange{index, end};
    }
    return std::nullopt;
}

std::optional<std::size_t> IniDocument::FindKey(const SectionRange& range, std::string_view key) const
{
    for (std::size_t index = range.header + 1; index < range.end; ++index) {
        const Line line = Classify(m_lines[index]);
        if (line.kind == Line::Kind::Key && IniNamesEqual(line.name, key)) {
            return index;
        }
    }
    return std::nullopt;
}

std::optional<std::string> IniDocument::Value(std::string_view section, std::string_view key) const
{
    const auto range = FindSection(section);
    if (!range) {
        return std::nullopt;
    }
    const auto index = FindKey(*range, key);
    if (!index) {
        return std::nullopt;
    }
    return std::string(Unquote(Classify(m_lines[*index]).value));
}

std::vector<std::string> IniDocument::SectionNames() const
{
    std::vector<std::string> names;
    for (const std::string& text : m_lines) {
        const Line line = Classify(text);
        if (line.kind == Line::Kind::Section && !Contains(names, line.name)) {
            names.emplace_back(line.name);
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
    const auto range = FindSection(section);
    if (!range) {
        return entries;
    }
    for (std::size_t index = range->header + 1; index < range->end; ++index) {
        const Line line = Classify(m_lines[index]);
        if (line.kind != Line::Kind::Key || std::any_of(entries.begin(), entries.end(), [&](const IniEntry& entry) {
                return IniNamesEqual(entry.key, line.name);
            })) {
            continue;
        }
        entries.push_back({std::string(line.name), std::string(Unquote(line.value))});
    }
    return entries;
}

void IniDocument::SetValue(std::string_view section, std::string_view key, std::string_view value)
{
    const auto range = FindSection(section);
    if (!range) {
        // Built piece by piece: GCC 12 at -O3 warns falsely (-Wrestrict) about "[" + std::string.
        std::string header = "[";
        header += Trim(section);
        header += ']';
        m_lines.push_back(std::move(header));
        m_lines.push_back(KeyLine(key, value));
        return;
    }
    if (const auto index = FindKey(*range, key)) {
        // The key keeps its spelling in the file; only the value changes.
        m_lines[*index] = KeyLine(Classify(m_lines[*index]).name, value);
        return;
    }
    std::size_t insertAt = range->header + 1;
    for (std::size_t index = range->header + 1; index < range->end; ++index) {
        if (Classify(m_lines[index]).kind == Line::Kind::Key) {
            insertAt = index + 1;
        }
    }
    m_lines.insert(m_lines.begin() + static_cast<std::ptrdiff_t>(insertAt), KeyLine(key, value));
}

bool IniDocument::RemoveKey(std::string_view section, std::string_view key)
{
    const auto range = FindSection(section);
    if (!range) {
        return false;
    }
    bool removed = false;
    for (std::size_t index = range->end; index-- > range->header + 1;) {
        const Line line = Classify(m_lines[index]);
        if (line.kind == Line::Kind::Key && IniNamesEqual(line.name, key)) {
            m_lines.erase(m_lines.begin() + static_cast<std::ptrdiff_t>(index));
            removed = true;
        }
    }
    return removed;
}

bool IniDocument::RemoveSection(std::string_view section)
{
    bool removed = false;
    std::size_t from = 0;
    while (const auto range = FindSection(section, from)) {
        m_lines.erase(m_lines.begin() + static_cast<std::ptrdiff_t>(range->header),
                      m_lines.begin() + static_cast<std::ptrdiff_t>(range->end));
        from = range->header;
        removed = true;
    }
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
           name.find_first_of("[]=") == std::string_view::npos && !Trim(name).starts_with(';');
}

bool IniDocument::IsValidValue(std::string_view value)
{
    return value.find_first_of(kLineBreakOrNul) == std::string_view::npos;
}

} // namespace veldrane
