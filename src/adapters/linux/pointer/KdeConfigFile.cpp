#include "adapters/linux/pointer/KdeConfigFile.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <system_error>

#include "core/ini/AtomicFile.h"
#include "core/ini/Blanks.h"

namespace veldrane {

namespace {} // namespace

std::optional<KdeConfigFile> KdeConfigFile::Load(const std::filesystem::path& path)
{
    KdeConfigFile file;
    file.m_path = path;
    std::error_code error;
    if (!std::filesystem::exists(path, error)) {
        if (error) {
            return std::nullopt;
        }
        return file;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) {
        return std::nullopt;
    }
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t newline = text.find('\n', start);
        if (newline == std::string::npos) {
            file.m_lines.push_back({text.substr(start), ""});
            break;
        }
        std::size_t end = newline;
        std::string ending = "\n";
        if (end > start && text[end - 1] == '\r') {
            --end;
            ending = "\r\n";
        }
        file.m_lines.push_back({text.substr(start, end - start), ending});
        start = newline + 1;
    }
    return file;
}

std::optional<KdeConfigGroup> KdeConfigFile::HeaderGroup(std::string_view line)
{
    line = TrimBlanks(line);
    if (line.size() < 2 || line.front() != '[' || line.back() != ']') {
        return std::nullopt;
    }
    const std::string_view inner = line.substr(1, line.size() - 2);
    KdeConfigGroup group;
    std::size_t start = 0;
    for (std::size_t split = inner.find("]["); split != std::string_view::npos; split = inner.find("][", start)) {
        group.emplace_back(inner.substr(start, split - start));
        start = split + 2;
    }
    group.emplace_back(inner.substr(start));
    return group;
}

std::optional<std::string_view> KdeConfigFile::EntryKey(std::string_view line)
{
    const std::string_view trimmed = TrimBlanks(line);
    if (trimmed.empty() || trimmed.front() == '#' || trimmed.front() == '[') {
        return std::nullopt;
    }
    const auto equals = trimmed.find('=');
    if (equals == std::string_view::npos) {
        return std::nullopt;
    }
    return TrimBlanks(trimmed.substr(0, equals));
}

std::vector<KdeConfigGroup> KdeConfigFile::Groups() const
{
    std::vector<KdeConfigGroup> groups;
    for (const Line& line : m_lines) {
        if (auto group = HeaderGroup(line.text)) {
            if (std::find(groups.begin(), groups.end(), *group) == groups.end()) {
                groups.push_back(std::move(*group));
            }
        }
    }
    return groups;
}

std::optional<std::size_t> KdeConfigFile::FindHeader(const KdeConfigGroup& group) const
{
    for (std::size_t index = 0; index < m_lines.size(); ++index) {
        if (HeaderGroup(m_lines[index].text) == group) {
            return index;
        }
    }
    return std::nullopt;
}

std::size_t KdeConfigFile::GroupEnd(std::size_t header) const
{
    std::size_t index = header + 1;
    while (index < m_lines.size() && !HeaderGroup(m_lines[index].text)) {
        ++index;
    }
    return index;
}

std::optional<std::string> KdeConfigFile::Value(const KdeConfigGroup& group, std::string_view key) const
{
    const auto header = FindHeader(group);
    if (!header) {
        return std::nullopt;
    }
    for (std::size_t index = *header + 1; index < GroupEnd(*header); ++index) {
        if (EntryKey(m_lines[index].text) == key) {
            const std::string_view text = m_lines[index].text;
            return std::string(TrimBlanks(text.substr(text.find('=') + 1)));
        }
    }
    return std::nullopt;
}

void KdeConfigFile::SetValue(const KdeConfigGroup& group, std::string_view key, std::string_view value)
{
    std::string entry = std::string(key) + "=" + std::string(value);
    const auto header = FindHeader(group);
    if (!header) {
        if (!m_lines.empty()) {
            if (m_lines.back().end.empty()) {
                m_lines.back().end = "\n";
            }
            if (!TrimBlanks(m_lines.back().text).empty()) {
                m_lines.push_back({"", "\n"});
            }
        }
        std::string headerText;
        for (const std::string& name : group) {
            headerText += "[" + name + "]";
        }
        m_lines.push_back({std::move(headerText), "\n"});
        m_lines.push_back({std::move(entry), "\n"});
        return;
    }
    const std::size_t end = GroupEnd(*header);
    std::size_t lastEntry = *header;
    for (std::size_t index = *header + 1; index < end; ++index) {
        if (EntryKey(m_lines[index].text) == key) {
            m_lines[index].text = std::move(entry);
            return;
        }
        if (!TrimBlanks(m_lines[index].text).empty()) {
            lastEntry = index;
        }
    }
    const std::string ending = m_lines[lastEntry].end.empty() ? "\n" : m_lines[lastEntry].end;
    if (m_lines[lastEntry].end.empty()) {
        m_lines[lastEntry].end = ending;
    }
    m_lines.insert(m_lines.begin() + static_cast<std::ptrdiff_t>(lastEntry + 1), Line{std::move(entry), ending});
}

std::string KdeConfigFile::Text() const
{
    std::string text;
    for (const Line& line : m_lines) {
        text += line.text;
        text += line.end;
    }
    return text;
}

bool KdeConfigFile::Save() const
{
    std::error_code error;
    std::filesystem::path target = m_path;
    if (std::filesystem::is_symlink(target, error)) {
        target = std::filesystem::canonical(target, error);
        if (error) {
            return false;
        }
    }
    if (target.has_parent_path()) {
        std::filesystem::create_directories(target.parent_path(), error);
        if (error) {
            return false;
        }
    }
    return !WriteFileAtomically(target, Text());
}

} // namespace veldrane
