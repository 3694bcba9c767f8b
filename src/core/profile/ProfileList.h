#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace veldrane {

class IniBatch;
class IniSnapshot;

// The names of the named profiles as section "Profile" of "str.ini" holds them, and the name
// stored as selected:
//
//   [Profile]
//   CurProfileName = the selected name
//   ItemCount      = number of names, 1 to 6
//   Item0 ... Item<ItemCount - 1> = the names in list order
//
// A name's list position is the number of its files, "config%d.bin" and "str%d.ini".
struct StoredProfileList
{
    std::vector<std::string> names;
    std::string currentName;
};

// Reading and writing section "Profile".
class ProfileList
{
public:
    // The names in list order; none when the file is missing, "ItemCount" is not 1 to 6 or a
    // name is missing: a list the program did not write.
    static StoredProfileList Read(const IniSnapshot& list);

    // What a list read as none is repaired to: one name on the files numbered 0.
    static constexpr std::string_view kRepairedName = "PROFILE_0";

    // The position the stored selected name stands for. Names are matched whole, never as a
    // prefix: the last name equal to it with case (the one whose files the loader reads), else
    // the first equal to it ignoring case; nothing when no name matches.
    static std::optional<std::size_t> PositionOf(std::span<const std::string> names, std::string_view currentName);

    // The edits that replace the whole section by `names`, selecting `selected` (position 0 when
    // nothing is selected). An empty list is stored as "ItemCount" 0 without "CurProfileName".
    static IniBatch Replacement(std::span<const std::string> names, std::optional<std::size_t> selected);

    // The text a new or renamed name is stored as, blanks around it removed (the file would drop
    // them on reading); nothing for a text that is blank or cannot stand as one value line.
    static std::optional<std::string> StorableName(std::string_view text);
};

} // namespace veldrane
