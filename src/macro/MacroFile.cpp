#include "macro/MacroFile.h"

#include <algorithm>
#include <charconv>
#include <optional>
#include <utility>

#include "ini/IniDocument.h"

namespace veldrane {

namespace {

char AsciiLower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Key names in the file compare without regard to ASCII case, as the INI functions read them.
bool SameKeyName(std::string_view a, std::string_view b)
{
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return AsciiLower(x) == AsciiLower(y); });
}

// The index of a key named exactly as MacroItemKey would name it, in any case.
std::optional<std::size_t> ItemKeyIndex(std::string_view key)
{
    if (key.size() <= kItemKeyPrefix.size() || !SameKeyName(key.substr(0, kItemKeyPrefix.size()), kItemKeyPrefix)) {
        return std::nullopt;
    }
    const std::string_view digits = key.substr(kItemKeyPrefix.size());
    if (digits.size() > 1 && digits.front() == '0') {
        return std::nullopt;
    }
    std::size_t index = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), index);
    if (error != std::errc{} || end != digits.data() + digits.size()) {
        return std::nullopt;
    }
    return index;
}

bool IsUsableMacroName(std::string_view name)
{
    return name.find_first_not_of(" \t") != std::string_view::npos && IniDocument::IsValidSectionName(name);
}

MacroSaveResult ToSaveResult(IniWriteResult result)
{
    switch (result) {
    case IniWriteResult::Written:
        return MacroSaveResult::Saved;
    case IniWriteResult::RefusedName:
        return MacroSaveResult::RefusedName;
    case IniWriteResult::RefusedValue:
        return MacroSaveResult::RefusedValue;
    case IniWriteResult::IoError:
        break;
    }
    return MacroSaveResult::IoError;
}

// How many of the section's present keys already stand in the order of `wanted` and may stay
// where they are. A name that is also among the keys to be removed cannot stay: removing it
// takes every line of that name.
std::size_t KeptKeyCount(const std::vector<std::string>& present,
                         const std::vector<std::pair<std::string, std::string>>& wanted)
{
    std::size_t kept = 0;
    while (kept < present.size() && kept < wanted.size() && SameKeyName(present[kept], wanted[kept].first)) {
        ++kept;
    }
    for (std::size_t i = 0; i < kept; ++i) {
        const bool removedLater = std::any_of(present.begin() + static_cast<std::ptrdiff_t>(kept), present.end(),
                                              [&](const std::string& key) { return SameKeyName(key, present[i]); });
        if (removedLater) {
            return i;
        }
    }
    return kept;
}

} // namespace

std::string MacroItemKey(std::size_t index)
{
    return std::string(kItemKeyPrefix) + std::to_string(index);
}

std::vector<std::string> ListMacroNames(const IniFile& macroFile)
{
    if (!macroFile.Exists()) {
        return {};
    }
    return macroFile.SectionNames();
}

MacroRecord LoadMacro(const IniFile& macroFile, std::string_view name)
{
    MacroRecord record;
    record.name = std::string(name);
    record.DelayTimeSelStatus = macroFile.GetInt(name, kDelayTimeSelStatusKey);
    record.LoopTimeSelStatus = macroFile.GetInt(name, kLoopTimeSelStatusKey);
    record.MacroLoopTimes = macroFile.GetString(name, kMacroLoopTimesKey);

    const int itemCount = macroFile.GetInt(name, kItemCountKey);
    if (itemCount <= 0) {
        return record;
    }
    // A hand-edited count far beyond the items present must not make us read (and hold) millions
    // of empty lines; past the last item key every item would read empty anyway. One empty item
    // is kept for a count without item keys, so that the macro still counts as one with items.
    const std::size_t readable = std::min(static_cast<std::size_t>(itemCount), kMaxMacroItems);
    std::vector<bool> present;
    for (const std::string& key : macroFile.KeyNames(name)) {
        const auto index = ItemKeyIndex(key);
        if (index && *index < readable) {
            present.resize(std::max(present.size(), *index + 1), false);
            present[*index] = true;
        }
    }
    const std::size_t count = std::max<std::size_t>(present.size(), 1);
    record.items.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        record.items.emplace_back(i < present.size() && present[i] ? macroFile.GetString(name, MacroItemKey(i))
                                                                   : std::string());
    }
    return record;
}

MacroSaveResult SaveMacro(IniFile& macroFile, const MacroRecord& record)
{
    if (!macroFile.Exists()) {
        return MacroSaveResult::NoFile;
    }
    if (record.items.empty()) {
        return MacroSaveResult::NoItems;
    }
    if (!IsUsableMacroName(record.name)) {
        return MacroSaveResult::RefusedName;
    }
    std::vector<std::pair<std::string, std::string>> wanted = {
        {std::string(kDelayTimeSelStatusKey), std::to_string(record.DelayTimeSelStatus)},
        {std::string(kLoopTimeSelStatusKey), std::to_string(record.LoopTimeSelStatus)},
        {std::string(kMacroLoopTimesKey), record.MacroLoopTimes},
        {std::string(kItemCountKey), std::to_string(record.items.size())},
    };
    for (std::size_t i = 0; i < record.items.size(); ++i) {
        wanted.emplace_back(MacroItemKey(i), record.items[i].Text());
    }
    // Refuse before the first write, so that a bad text never leaves half a section behind.
    const bool valuesValid = std::all_of(wanted.begin(), wanted.end(),
                                         [](const auto& entry) { return IniDocument::IsValidValue(entry.second); });
    if (!valuesValid) {
        return MacroSaveResult::RefusedValue;
    }

    const std::vector<std::string> present = macroFile.KeyNames(record.name);
    std::vector<std::string> removed;
    for (std::size_t i = KeptKeyCount(present, wanted); i < present.size(); ++i) {
        if (std::any_of(removed.begin(), removed.end(),
                        [&](const std::string& key) { return SameKeyName(key, present[i]); })) {
            continue;
        }
        if (!macroFile.DeleteKey(record.name, present[i])) {
            return MacroSaveResult::IoError;
        }
        removed.push_back(present[i]);
    }
    for (const auto& [key, value] : wanted) {
        const IniWriteResult result = macroFile.WriteString(record.name, key, value);
        if (result != IniWriteResult::Written) {
            return ToSaveResult(result);
        }
    }
    return MacroSaveResult::Saved;
}

IniWriteResult WriteLoopTimes(IniFile& macroFile, std::string_view name, long count)
{
    if (!IsUsableMacroName(name)) {
        return IniWriteResult::RefusedName;
    }
    return macroFile.WriteString(name, kMacroLoopTimesKey, std::to_string(count));
}

bool DeleteMacroSection(IniFile& macroFile, std::string_view name)
{
    return macroFile.DeleteSection(name);
}

} // namespace veldrane
