#include "core/profile/ProfileTransfer.h"

#include <algorithm>

#include "core/ini/FileError.h"
#include "core/ini/IniDocument.h"
#include "core/ini/IniFile.h"
#include "core/profile/ConfigFile.h"
#include "core/profile/ConfigFiles.h"
#include "core/profile/ProfileFileDialog.h"
#include "core/profile/ProfileFileNames.h"

namespace veldrane {

namespace {

constexpr std::string_view kProfileExtension = ".bin";
constexpr std::string_view kLabelExtension = ".ini";

// Characters that no file name on Windows may hold, replaced in a proposed name.
constexpr std::string_view kUnsafeInFileName = "/\\:*?\"<>|";

std::string ProposedFileName(std::string_view profileName)
{
    std::string name(profileName);
    std::replace_if(
        name.begin(), name.end(),
        [](char c) {
            return static_cast<unsigned char>(c) < 0x20 || kUnsafeInFileName.find(c) != std::string_view::npos;
        },
        '_');
    return name + std::string(kProfileExtension);
}

} // namespace

ProfileTransfer::ProfileTransfer(ConfigFiles& files, const TextCodec& codec, Language language)
    : m_files(files), m_codec(codec), m_language(language)
{}

std::filesystem::path ProfileTransfer::LabelFileBeside(const std::filesystem::path& profileFile)
{
    std::string name = profileFile.filename().string();
    if (const std::size_t at = name.find(kProfileExtension); at != std::string::npos) {
        name.replace(at, kProfileExtension.size(), kLabelExtension);
    }
    return profileFile.parent_path() / name;
}

bool ProfileTransfer::IsProgramFileName(std::string_view fileName)
{
    if (IniNamesEqual(fileName, kFactoryConfigName) || IniNamesEqual(fileName, kListName) ||
        IniNamesEqual(fileName, kMacroFileName)) {
        return true;
    }
    for (std::size_t index = 0; index < kProfileSlotCount; ++index) {
        if (IniNamesEqual(fileName, ProfileConfigName(index)) || IniNamesEqual(fileName, ProfileLabelName(index))) {
            return true;
        }
    }
    return false;
}

TransferOutcome ProfileTransfer::ImportProfile(ProfileFileDialog& dialog, ProfileRecord& record)
{
    const std::filesystem::path proposed = m_files.ConfigPath().empty()
                                               ? m_files.PathOf(ProfileConfigName(m_files.CurrentProfileIndex()))
                                               : m_files.ConfigPath();
    const std::optional<std::filesystem::path> chosen = dialog.AskOpenFile(proposed);
    m_lastRepairs = {};
    if (!chosen) {
        return {};
    }
    return ImportFrom(*chosen, record);
}

std::optional<ConfigFileContents> ProfileTransfer::ReadImport(const std::filesystem::path& chosen,
                                                              TransferOutcome& outcome)
{
    m_lastRepairs = {};
    if (chosen.filename().string().find(kProfileExtension) == std::string::npos) {
        return std::nullopt;
    }
    ConfigFileReadResult file = ConfigFile::Read(chosen);
    switch (file.status) {
    case ConfigFileStatus::Missing:
        outcome.failures.push_back({FileError::FileMissing, chosen});
        return std::nullopt;
    case ConfigFileStatus::Unreadable:
        outcome.failures.push_back({file.error, chosen});
        return std::nullopt;
    case ConfigFileStatus::WrongSize:
        outcome.failures.push_back({FileError::WrongProfileSize, chosen});
        outcome.wrongSize = file.size;
        return std::nullopt;
    case ConfigFileStatus::Read:
        break;
    }
    m_lastRepairs.settings = BringIntoControlRange(file.contents.record);
    if (m_files.RepairButtons() != nullptr) {
        m_lastRepairs.buttons = m_files.RepairButtons()(file.contents.record);
    }
    return file.contents;
}

TransferOutcome ProfileTransfer::ImportFrom(const std::filesystem::path& chosen, ProfileRecord& record)
{
    TransferOutcome outcome;
    const std::optional<ConfigFileContents> imported = ReadImport(chosen, outcome);
    if (!imported) {
        return outcome;
    }
    record = imported->record;
    m_files.TakeImport(imported->firstRunFlag, LabelFileBeside(chosen), m_lastRepairs.buttons, m_language);
    outcome.changed = true;
    return outcome;
}

TransferOutcome ProfileTransfer::ImportInto(ProfileFileDialog& dialog, const std::filesystem::path& configFile,
                                            const std::filesystem::path& labelFile)
{
    const std::optional<std::filesystem::path> chosen = dialog.AskOpenFile(configFile);
    m_lastRepairs = {};
    TransferOutcome outcome;
    if (!chosen) {
        return outcome;
    }
    const std::optional<ConfigFileContents> imported = ReadImport(*chosen, outcome);
    if (!imported) {
        return outcome;
    }
    if (const std::error_code error = ConfigFile::Write(configFile, imported->firstRunFlag, imported->record)) {
        outcome.failures.push_back({error, configFile});
        m_lastRepairs = {};
        return outcome;
    }
    const ConfigFiles::Labels labels =
        m_files.ReadLabelsFrom(LabelFileBeside(*chosen), m_language, m_lastRepairs.buttons);
    if (FileOutcome saved = m_files.SaveLabelsTo(labelFile, labels, m_language); !saved.Done()) {
        outcome.failures.push_back(std::move(saved));
    }
    outcome.changed = true;
    return outcome;
}

TransferOutcome ProfileTransfer::ExportStored(ProfileFileDialog& dialog, const std::filesystem::path& configFile,
                                              const std::filesystem::path& labelFile, std::string_view profileName)
{
    const std::optional<std::filesystem::path> chosen =
        dialog.AskSaveFile(m_files.ModulePath() / ProposedFileName(profileName));
    if (!chosen) {
        return {};
    }
    const ConfigFileReadResult stored = ConfigFile::Read(configFile);
    TransferOutcome outcome;
    switch (stored.status) {
    case ConfigFileStatus::Missing:
    case ConfigFileStatus::WrongSize:
        outcome.failures.push_back({FileError::FileMissing, configFile});
        return outcome;
    case ConfigFileStatus::Unreadable:
        outcome.failures.push_back({stored.error, configFile});
        return outcome;
    case ConfigFileStatus::Read:
        break;
    }
    return ExportTo(*chosen, stored.contents.record, m_files.ReadLabelsFrom(labelFile, m_language));
}

TransferOutcome ProfileTransfer::ExportProfile(ProfileFileDialog& dialog, const ProfileRecord& record,
                                               std::string_view profileName)
{
    const std::optional<std::filesystem::path> chosen =
        dialog.AskSaveFile(m_files.ModulePath() / ProposedFileName(profileName));
    if (!chosen) {
        return {};
    }
    return ExportTo(*chosen, record);
}

TransferOutcome ProfileTransfer::ExportTo(const std::filesystem::path& chosen, const ProfileRecord& record)
{
    return ExportTo(chosen, record, m_files.ButtonLabel());
}

TransferOutcome ProfileTransfer::ExportTo(const std::filesystem::path& chosen, const ProfileRecord& record,
                                          const ConfigFiles::Labels& labels)
{
    TransferOutcome outcome;
    std::string name = chosen.filename().string();
    if (name.empty()) {
        return outcome;
    }
    std::filesystem::path profileFile = chosen;
    // Only the file name decides: a folder called "x.bin" does not make "x" a profile file.
    if (name.find(kProfileExtension) == std::string::npos) {
        name += kProfileExtension;
        profileFile += kProfileExtension;
    }
    const std::filesystem::path labelFile = LabelFileBeside(profileFile);
    const std::string labelName = labelFile.filename().string();
    if (IsProgramFileName(name) || IsProgramFileName(labelName)) {
        outcome.refusedName = name;
        return outcome;
    }

    const auto writePair = [&](const std::filesystem::path& profile, const std::filesystem::path& labelPath) {
        // A label file that cannot be written is a failure; the profile file is still tried.
        if (FileOutcome saved = m_files.SaveLabelsTo(labelPath, labels, m_language); !saved.Done()) {
            outcome.failures.push_back(std::move(saved));
        }
        if (const std::error_code error = ConfigFile::Write(profile, kConfigWrittenFlag, record)) {
            outcome.failures.push_back({error, profile});
        }
    };
    writePair(profileFile, labelFile);
    // The copy beside the executable, under the same name.
    writePair(m_files.PathOf(name), m_files.PathOf(labelName));
    outcome.changed = true;
    return outcome;
}

} // namespace veldrane
