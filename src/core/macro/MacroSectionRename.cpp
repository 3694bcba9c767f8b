#include "core/macro/MacroSectionRename.h"

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "core/ini/IniFile.h"
#include "core/macro/MacroFile.h"

namespace veldrane {

namespace {

char AsciiLower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Values are copied whole, however long a hand edit made them.
constexpr std::size_t kUnlimitedValueChars = static_cast<std::size_t>(1) << 30;

struct SectionCopy
{
    std::string name;
    std::vector<std::pair<std::string, std::string>> keys;
};

} // namespace

bool SameMacroName(std::string_view a, std::string_view b)
{
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return AsciiLower(x) == AsciiLower(y); });
}

bool RenameMacroSection(IniFile& macroFile, std::string_view from, std::string_view to)
{
    // Checked before anything is taken out: a refused name must not cost the section.
    if (!IsUsableMacroName(to) || !macroFile.Exists() || MacroFileTooLarge(macroFile)) {
        return false;
    }
    bool found = false;
    // One read and one write: a crash leaves the file as it was or renamed, never with sections
    // taken out and not yet written again.
    const IniWriteResult result = macroFile.Update([&](const IniSnapshot& file) {
        IniBatch batch;
        const std::vector<std::string> names = file.SectionNames();
        const auto renamed = std::find_if(names.begin(), names.end(),
                                          [&](const std::string& name) { return SameMacroName(name, from); });
        const bool taken = std::any_of(names.begin(), names.end(), [&](const std::string& name) {
            return SameMacroName(name, to) && !SameMacroName(name, from);
        });
        if (renamed == names.end() || taken) {
            return batch;
        }
        found = true;
        // A new section can only go to the end of the file: the renamed section and every one
        // after it are taken out and written again in their order.
        std::vector<SectionCopy> tail;
        for (auto name = renamed; name != names.end(); ++name) {
            SectionCopy copy{*name, {}};
            for (const std::string& key : file.KeyNames(*name)) {
                copy.keys.emplace_back(key, file.GetString(*name, key, {}, kUnlimitedValueChars));
            }
            tail.push_back(std::move(copy));
        }
        for (const SectionCopy& copy : tail) {
            batch.DeleteSection(copy.name);
        }
        for (std::size_t i = 0; i < tail.size(); ++i) {
            const SectionCopy& copy = tail[i];
            const std::string target = i == 0 ? std::string(to) : copy.name;
            if (copy.keys.empty()) {
                // A section without keys still holds a macro number: its header is written through
                // a key that goes again at once.
                batch.WriteString(target, kMacroLoopTimesKey, {});
                batch.DeleteKey(target, kMacroLoopTimesKey);
            }
            for (const auto& [key, value] : copy.keys) {
                batch.WriteString(target, key, value);
            }
        }
        return batch;
    });
    return found && result == IniWriteResult::Written;
}

} // namespace veldrane
