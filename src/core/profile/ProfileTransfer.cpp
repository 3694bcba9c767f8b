#include "core/profile/ProfileTransfer.h"

#include <algorithm>

#include "core/ini/FileError.h"
#include "core/ini/IniDocument.h"
#include "core/ini/IniFile.h"
#include "core/profile/ConfigFile.h"
#include "core/profile/ConfigFiles.h"
#include "core/profile/ProfileFileDialog.h"
#include "core/profile/ProfileFileNames.h"
#include "core/text/FileErrorTexts.h"
#include "core/text/MessageTexts.h"
#include "ports/MessageSink.h"

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

std::string FormatProfileFileMessage(std::string_view format, std::string_view name, std::uintmax_t size)
{
    std::string text(format);
    if (const std::size_t at = text.find("%s"); at != std::string::npos) {
        text.replace(at, 2, name);
        if (const std::size_t sizeAt = text.find("%llu", at + name.size()); sizeAt != std::string::npos) {
            text.replace(sizeAt, 4, std::to_string(size));
        }
    }
    return text;
}

ProfileTransfer::ProfileTransfer(ConfigFiles& files, const TextCodec& codec, MessageSink& messages, Language language)
    : m_files(files), m_codec(codec), m_messages(messages), m_language(language)
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

void ProfileTransfer::ReportFileFailure(const std::filesystem::path& file, int errorCode)
{
    m_messages.ShowMessage(FileFailureMessage(file, errorCode, m_language), kFileOpenErrorTitle);
}

void ProfileTransfer::ReportLabelFailure(const FileOutcome& outcome)
{
    // A label with a line break keeps the file's own value without a word, as ever.
    if (!outcome.Done() && outcome.error != FileError::LabelBreaksLine) {
        ReportFileFailure(outcome.file, outcome.error.value());
    }
}

bool ProfileTransfer::ImportProfile(ProfileFileDialog& dialog, ProfileRecord& record)
{
    const std::filesystem::path proposed = m_files.ConfigPath().empty()
                                               ? m_files.PathOf(ProfileConfigName(m_files.CurrentProfileIndex()))
                                               : m_files.ConfigPath();
    const std::optional<std::filesystem::path> chosen = dialog.AskOpenFile(proposed);
    m_lastRepairs = {};
    return chosen && ImportFrom(*chosen, record);
}

std::optional<ConfigFileContents> ProfileTransfer::ReadImport(const std::filesystem::path& chosen)
{
    m_lastRepairs = {};
    if (chosen.filename().string().find(kProfileExtension) == std::string::npos) {
        return std::nullopt;
    }
    ConfigFileReadResult file = ConfigFile::Read(chosen);
    switch (file.status) {
    case ConfigFileStatus::Missing:
        m_messages.ShowMessage(kConfigFileNotExist, kApplicationTitle);
        return std::nullopt;
    case ConfigFileStatus::Unreadable:
        ReportFileFailure(chosen, file.errorCode);
        return std::nullopt;
    case ConfigFileStatus::WrongSize:
        m_messages.ShowMessage(FormatProfileFileMessage(kImportWrongSizeFormat, chosen.string(), file.size),
                               kApplicationTitle);
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

bool ProfileTransfer::ImportFrom(const std::filesystem::path& chosen, ProfileRecord& record)
{
    const std::optional<ConfigFileContents> imported = ReadImport(chosen);
    if (!imported) {
        return false;
    }
    record = imported->record;
    m_files.TakeImport(imported->firstRunFlag, LabelFileBeside(chosen), m_lastRepairs.buttons, m_language);
    return true;
}

bool ProfileTransfer::ImportInto(ProfileFileDialog& dialog, const std::filesystem::path& configFile,
                                 const std::filesystem::path& labelFile)
{
    const std::optional<std::filesystem::path> chosen = dialog.AskOpenFile(configFile);
    m_lastRepairs = {};
    if (!chosen) {
        return false;
    }
    const std::optional<ConfigFileContents> imported = ReadImport(*chosen);
    if (!imported) {
        return false;
    }
    if (const std::error_code error = ConfigFile::Write(configFile, imported->firstRunFlag, imported->record)) {
        ReportFileFailure(configFile, error.value());
        m_lastRepairs = {};
        return false;
    }
    const ConfigFiles::Labels labels =
        m_files.ReadLabelsFrom(LabelFileBeside(*chosen), m_language, m_lastRepairs.buttons);
    ReportLabelFailure(m_files.SaveLabelsTo(labelFile, labels, m_language));
    return true;
}

void ProfileTransfer::ExportStored(ProfileFileDialog& dialog, const std::filesystem::path& configFile,
                                   const std::filesystem::path& labelFile, std::string_view profileName)
{
    const std::optional<std::filesystem::path> chosen =
        dialog.AskSaveFile(m_files.ModulePath() / ProposedFileName(profileName));
    if (!chosen) {
        return;
    }
    const ConfigFileReadResult stored = ConfigFile::Read(configFile);
    switch (stored.status) {
    case ConfigFileStatus::Missing:
    case ConfigFileStatus::WrongSize:
        m_messages.ShowMessage(kConfigFileNotExist, kApplicationTitle);
        return;
    case ConfigFileStatus::Unreadable:
        ReportFileFailure(configFile, stored.errorCode);
        return;
    case ConfigFileStatus::Read:
        break;
    }
    ExportTo(*chosen, stored.contents.record, m_files.ReadLabelsFrom(labelFile, m_language));
}

void ProfileTransfer::ExportProfile(ProfileFileDialog& dialog, const ProfileRecord& record,
                                    std::string_view profileName)
{
    const std::optional<std::filesystem::path> chosen =
        dialog.AskSaveFile(m_files.ModulePath() / ProposedFileName(profileName));
    if (chosen) {
        ExportTo(*chosen, record);
    }
}

void ProfileTransfer::ExportTo(const std::filesystem::path& chosen, const ProfileRecord& record)
{
    ExportTo(chosen, record, m_files.ButtonLabel());
}

void ProfileTransfer::ExportTo(const std::filesystem::path& chosen, const ProfileRecord& record,
                               const ConfigFiles::Labels& labels)
{
    std::string name = chosen.filename().string();
    if (name.empty()) {
        return;
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
        m_messages.ShowMessage(FormatProfileFileMessage(kExportProgramFileFormat, name), kApplicationTitle);
        return;
    }

    const auto writePair = [&](const std::filesystem::path& profile, const std::filesystem::path& labelPath) {
        // A label file that cannot be written is reported; the profile file is still tried.
        ReportLabelFailure(m_files.SaveLabelsTo(labelPath, labels, m_language));
        if (const std::error_code error = ConfigFile::Write(profile, kConfigWrittenFlag, record)) {
            ReportFileFailure(profile, error.value());
        }
    };
    writePair(profileFile, labelFile);
    // The copy beside the executable, under the same name.
    writePair(m_files.PathOf(name), m_files.PathOf(labelName));
}

} // namespace veldrane
