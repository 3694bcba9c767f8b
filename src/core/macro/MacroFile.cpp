#include "core/macro/MacroFile.h"

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <optional>
#include <utility>

#include "core/ini/IniDocument.h"

namespace veldrane {

namespace {

// The index of a key named exactly as MacroItemKey would name it, in any case.
std::optional<std::size_t> ItemKeyIndex(std::string_view key)
{
    if (key.size() <= kItemKeyPrefix.size() || !IniNamesEqual(key.substr(0, kItemKeyPrefix.size()), kItemKeyPrefix)) {
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
    while (kept < present.size() && kept < wanted.size() && IniNamesEqual(present[kept], wanted[kept].first)) {
        ++kept;
    }
    for (std::size_t i = 0; i < kept; ++i) {
        const bool removedLater = std::any_of(present.begin() + static_cast<std::ptrdiff_t>(kept), present.end(),
                                              [&](const std::string& key) { return IniNamesEqual(key, present[i]); });
        if (removedLater) {
            return i;
        }
    }
    return kept;
}

} // namespace

bool MacroFileTooLarge(const IniFile& macroFile)
{
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(macroFile.Path(), error);
    return !error && size > kMaxMacroFileBytes;
}

std::string MacroItemKey(std::size_t index)
{
    return std::string(kItemKeyPrefix) + std::to_string(index);
}

std::vector<std::string> ListMacroNames(const IniFile& macroFile)
{
    if (MacroFileTooLarge(macroFile)) {
        return {};
    }
    return ListMacroNames(macroFile.Read());
}

std::vector<std::string> ListMacroNames(const IniSnapshot& macroFile)
{
    return macroFile.SectionNames();
}

MacroRecord LoadMacro(const IniFile& macroFile, std::string_view name)
{
    if (MacroFileTooLarge(macroFile)) {
        return LoadMacro(IniSnapshot(), name);
    }
    return LoadMacro(macroFile.Read(), name);
}

MacroRecord LoadMacro(const IniSnapshot& macroFile, std::string_view name)
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
    std::vector<IniEntry> entries = macroFile.Section(name);
    std::vector<std::string*> items; // by index; null where the section has no such item key
    for (IniEntry& entry : entries) {
        const auto index = ItemKeyIndex(entry.key);
        if (index && *index < readable) {
            items.resize(std::max(items.size(), *index + 1), nullptr);
            items[*index] = &entry.value;
        }
    }
    const std::size_t count = std::max<std::size_t>(items.size(), 1);
    record.items.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        record.items.emplace_back(i < items.size() && items[i] != nullptr ? std::move(*items[i]) : std::string());
    }
    return record;
}

bool IsUsableMacroName(std::string_view name)
{
    return name.find_first_not_of(" \t") != std::string_view::npos && IniDocument::IsValidSectionName(name);
}

MacroSaveResult SaveMacro(IniFile& macroFile, const MacroRecord& record)
{
    if (!macroFile.Exists()) {
        return MacroSaveResult::NoFile;
    }
    if (MacroFileTooLarge(macroFile)) {
        return MacroSaveResult::FileTooLarge;
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
    // Refused before the file is read, like a bad name.
    const bool valuesValid = std::all_of(wanted.begin(), wanted.end(),
                                         [](const auto& entry) { return IniDocument::IsValidValue(entry.second); });
    if (!valuesValid) {
        return MacroSaveResult::RefusedValue;
    }
    // One read and one write, so that a crash leaves the old section or the new one, never half.
    const IniWriteResult result = macroFile.Update([&](const IniSnapshot& file) {
        const std::vector<std::string> present = file.KeyNames(record.name);
        IniBatch batch;
        for (std::size_t i = KeptKeyCount(present, wanted); i < present.size(); ++i) {
            batch.DeleteKey(record.name, present[i]);
        }
        for (const auto& [key, value] : wanted) {
            batch.WriteString(record.name, key, value);
        }
        return batch;
    });
    return ToSaveResult(result);
}

IniWriteResult WriteLoopTimes(IniFile& macroFile, std::string_view name, long count)
{
    if (!IsUsableMacroName(name)) {
        return IniWriteResult::RefusedName;
    }
    if (MacroFileTooLarge(macroFile)) {
        return IniWriteResult::IoError;
    }
    return macroFile.WriteString(name, kMacroLoopTimesKey, std::to_string(count));
}

bool DeleteMacroSection(IniFile& macroFile, std::string_view name)
{
    if (MacroFileTooLarge(macroFile)) {
        return false;
    }
    return macroFile.DeleteSection(name);
}

} // namespace veldrane
