#include "core/exchange/ProfileJsonTransfer.h"

#include <algorithm>
#include <utility>

#include "core/ini/IniFile.h"
#include "core/macro/MacroEncoder.h"
#include "core/macro/MacroFile.h"
#include "core/profile/ConfigFile.h"
#include "core/profile/ConfigFiles.h"
#include "core/profile/ProfileFileNames.h"

namespace veldrane {

namespace {

// Two macros are the same when everything but their names is.
bool SameContent(MacroRecord a, MacroRecord b)
{
    a.name.clear();
    b.name.clear();
    return a == b;
}

// "name (2)", "name (3)", ... : the first that `taken` does not hold.
std::string FreeName(const std::string& name, const std::vector<std::string>& taken)
{
    for (int n = 2;; ++n) {
        std::string candidate = name + " (" + std::to_string(n) + ")";
        if (std::ranges::find(taken, candidate) == taken.end()) {
            return candidate;
        }
    }
}

} // namespace

ProfileJsonTransfer::ProfileJsonTransfer(ConfigFiles& files, IniFile& macroFile, const TextCodec& codec)
    : m_files(files), m_macroFile(macroFile), m_codec(codec)
{}

ProfileRecord ProfileJsonTransfer::Factory() const
{
    const ConfigFileReadResult factory = ConfigFile::Read(m_files.PathOf(kFactoryConfigName));
    return factory.status == ConfigFileStatus::Read ? factory.contents.record : ProfileRecord{};
}

std::vector<MacroRecord> ProfileJsonTransfer::MacroFileMacros() const
{
    const IniSnapshot file = m_macroFile.Read();
    std::vector<MacroRecord> macros;
    for (const std::string& name : ListMacroNames(file)) {
        macros.push_back(LoadMacro(file, name));
    }
    return macros;
}

std::string ProfileJsonTransfer::Export(const ProfileRecord& record,
                                        const std::array<std::string, kButtonCount>& labels,
                                        std::string_view name) const
{
    ReadableProfile profile;
    profile.name = std::string(name);
    profile.record = record;
    profile.labels = labels;
    // The macros that have a place in the mouse, in the order of their numbers: a button's macro
    // number is its position here.
    profile.macros = MacroFileMacros();
    if (profile.macros.size() > kMacroCount) {
        profile.macros.resize(kMacroCount);
    }
    return EncodeProfileJson(profile, Factory());
}

JsonExport ProfileJsonTransfer::ExportStored(std::size_t index) const
{
    const std::vector<std::string> names = m_files.ReadProfileList().names;
    if (index >= names.size()) {
        return {{}, "there is no profile at that position"};
    }
    const std::string configName = ProfileConfigName(index);
    const ConfigFileReadResult file = ConfigFile::Read(m_files.PathOf(configName));
    if (file.status != ConfigFileStatus::Read) {
        return {{}, configName + " cannot be read"};
    }
    const IniFile labelFile(m_files.PathOf(ProfileLabelName(index)), m_codec,
                            ConfigFiles::CodePageOf(m_files.InterfaceLanguage()));
    std::array<std::string, kButtonCount> labels;
    const std::string_view section = LanguageSectionName(m_files.InterfaceLanguage());
    for (std::size_t button = 0; button < kButtonCount; ++button) {
        labels[button] = labelFile.GetString(section, LabelKey(button));
    }
    return {Export(file.contents.record, labels, names[index]), {}};
}

JsonImport ProfileJsonTransfer::Prepare(std::string_view json, ReadableProfile& profile,
                                        std::vector<MacroRecord>& added) const
{
    JsonImport result;
    DecodedProfileJson decoded = DecodeProfileJson(json, Factory());
    if (!decoded.profile) {
        result.problems = std::move(decoded.problems);
        return result;
    }
    profile = std::move(*decoded.profile);

    // Where each of the document's macros stands in the macro file once the new ones are added.
    const std::vector<MacroRecord> existing = MacroFileMacros();
    std::vector<std::string> taken;
    taken.reserve(existing.size());
    for (const MacroRecord& macro : existing) {
        taken.push_back(macro.name);
    }
    std::vector<std::size_t> placed(profile.macros.size());
    for (std::size_t i = 0; i < profile.macros.size(); ++i) {
        MacroRecord macro = profile.macros[i];
        const auto sameName = std::ranges::find(existing, macro.name, &MacroRecord::name);
        if (sameName != existing.end() && SameContent(*sameName, macro)) {
            placed[i] = static_cast<std::size_t>(sameName - existing.begin());
            continue;
        }
        const auto sameContent =
            std::ranges::find_if(existing, [&](const MacroRecord& m) { return SameContent(m, macro); });
        if (sameContent != existing.end()) {
            placed[i] = static_cast<std::size_t>(sameContent - existing.begin());
            continue;
        }
        if (std::ranges::find(taken, macro.name) != taken.end()) {
            const std::string renamed = FreeName(macro.name, taken);
            result.renamedMacros.emplace_back(macro.name, renamed);
            macro.name = renamed;
        }
        taken.push_back(macro.name);
        placed[i] = existing.size() + added.size();
        added.push_back(std::move(macro));
    }
    for (std::size_t button = 0; button < kButtonCount; ++button) {
        if (const auto macro = profile.buttonMacro[button]) {
            if (placed[*macro] >= kMacroCount) {
                result.problems.push_back("buttons[" + std::to_string(button) + "].macro: \"" +
                                          profile.macros[*macro].name +
                                          "\" gets no place among the mouse's twelve macros in this macro file");
                continue;
            }
            profile.record.macroNumber[button] = static_cast<std::uint8_t>(placed[*macro]);
        }
    }
    return result;
}

JsonImport ProfileJsonTransfer::ImportInto(std::size_t index, std::string_view json)
{
    if (index >= m_files.ReadProfileList().names.size()) {
        JsonImport result;
        result.error = "there is no profile at that position";
        return result;
    }
    return ImportIntoFiles(m_files.PathOf(ProfileConfigName(index)), m_files.PathOf(ProfileLabelName(index)), json);
}

JsonImport ProfileJsonTransfer::ImportIntoFiles(const std::filesystem::path& configFile,
                                                const std::filesystem::path& labelFile, std::string_view json)
{
    ReadableProfile profile;
    std::vector<MacroRecord> added;
    JsonImport result = Prepare(json, profile, added);
    if (!result.problems.empty()) {
        return result;
    }
    for (const MacroRecord& macro : added) {
        if (WriteLoopTimes(m_macroFile, macro.name, NormalizedLoopCount(std::stol(macro.MacroLoopTimes))) !=
                IniWriteResult::Written ||
            SaveMacro(m_macroFile, macro) != MacroSaveResult::Saved) {
            result.error = "the macro file " + m_macroFile.Path().filename().string() + " cannot be written";
            return result;
        }
    }
    profile.record.macroData = RebuildMacroData(m_macroFile, ListMacroNames(m_macroFile).size());
    if (ConfigFile::Write(configFile, 1, profile.record)) {
        result.error = configFile.filename().string() + " cannot be written";
        return result;
    }
    // The label file takes the labels the way a save writes them, in every language's section.
    if (!m_files.SaveLabelsTo(labelFile, profile.labels, m_files.InterfaceLanguage()).Done()) {
        result.error = labelFile.filename().string() + " cannot be written";
    }
    return result;
}

} // namespace veldrane
