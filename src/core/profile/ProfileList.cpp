#include "core/profile/ProfileList.h"

#include "core/ini/IniDocument.h"
#include "core/ini/IniFile.h"
#include "core/profile/ConfigFiles.h"
#include "core/profile/ProfileFileNames.h"

namespace veldrane {

namespace {

constexpr std::string_view kBlanks = " \t";

} // namespace

StoredProfileList ProfileList::Read(const IniSnapshot& list)
{
    StoredProfileList stored;
    const int count = list.GetInt(kProfileSection, kItemCountKey);
    if (count <= 0 || count > static_cast<int>(kProfileSlotCount)) {
        return stored;
    }
    // No name can hold a line break, so this stands for a missing key.
    constexpr std::string_view kMissing = "\n";
    for (std::size_t position = 0; position < static_cast<std::size_t>(count); ++position) {
        stored.names.push_back(list.GetString(kProfileSection, ProfileItemKey(position), kMissing));
        if (stored.names.back() == kMissing) {
            return {};
        }
    }
    stored.currentName = list.GetString(kProfileSection, kCurrentProfileKey);
    return stored;
}

std::optional<std::size_t> ProfileList::PositionOf(std::span<const std::string> names, std::string_view currentName)
{
    std::optional<std::size_t> exact;
    std::optional<std::size_t> ignoringCase;
    for (std::size_t position = 0; position < names.size(); ++position) {
        if (names[position] == currentName) {
            exact = position;
        } else if (!ignoringCase && IniNamesEqual(names[position], currentName)) {
            ignoringCase = position;
        }
    }
    return exact ? exact : ignoringCase;
}

IniBatch ProfileList::Replacement(std::span<const std::string> names, std::optional<std::size_t> selected)
{
    IniBatch batch;
    batch.DeleteSection(kProfileSection);
    if (names.empty()) {
        batch.WriteInt(kProfileSection, kItemCountKey, 0);
        return batch;
    }
    const std::size_t current = selected && *selected < names.size() ? *selected : 0;
    batch.WriteString(kProfileSection, kCurrentProfileKey, names[current]);
    batch.WriteInt(kProfileSection, kItemCountKey, static_cast<int>(names.size()));
    for (std::size_t position = 0; position < names.size(); ++position) {
        batch.WriteString(kProfileSection, ProfileItemKey(position), names[position]);
    }
    return batch;
}

std::optional<std::string> ProfileList::StorableName(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) {
        return std::nullopt;
    }
    const std::string_view trimmed = text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
    if (!IniDocument::IsValidValue(trimmed)) {
        return std::nullopt;
    }
    return std::string(trimmed);
}

} // namespace veldrane
