#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace veldrane {

// A group of a KDE configuration file by its names from the outside in: {"Mouse"} for
// "[Mouse]", {"Libinput", "1133", "49271", "USB Mouse"} for "[Libinput][1133][49271][USB Mouse]".
using KdeConfigGroup = std::vector<std::string>;

// One KDE configuration file (kcminputrc, kdeglobals) as Plasma's KConfig reads it:
//
//   [Group][Subgroup]   a group header, nested groups one bracket pair each
//   Key=Value           an entry; names and values compare exactly (KConfig is case-sensitive)
//   # comment           kept, like blank lines, entries with a locale or flag ("Key[de]=") and
//                       anything else
//
// An edit touches only the line it is about, so the file keeps every other byte, its line ends
// included. Only plain values are written (numbers, true and false), which KConfig stores without
// escapes.
class KdeConfigFile
{
public:
    // A missing file reads as an empty one; nullopt when the file exists but cannot be read.
    static std::optional<KdeConfigFile> Load(const std::filesystem::path& path);

    // Every group that has a header, in file order, each once.
    std::vector<KdeConfigGroup> Groups() const;
    std::optional<std::string> Value(const KdeConfigGroup& group, std::string_view key) const;

    // Replaces the value of the group's first entry of that key in place; a new entry goes after
    // the group's last entry, a new group at the end of the file.
    void SetValue(const KdeConfigGroup& group, std::string_view key, std::string_view value);

    std::string Text() const;
    // Replaces the file (or the file a symbolic link points at) whole and atomically, creating its
    // directory when needed. False when it could not be written; the file is then unchanged.
    bool Save() const;

private:
    struct Line
    {
        std::string text;
        std::string end; // "\n", "\r\n" or "" for a last line without one
    };

    static std::optional<KdeConfigGroup> HeaderGroup(std::string_view line);
    static std::optional<std::string_view> EntryKey(std::string_view line);
    std::optional<std::size_t> FindHeader(const KdeConfigGroup& group) const;
    std::size_t GroupEnd(std::size_t header) const;

    std::filesystem::path m_path;
    std::vector<Line> m_lines;
};

} // namespace veldrane
