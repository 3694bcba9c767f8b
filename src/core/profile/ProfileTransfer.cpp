#include "core/profile/ProfileTransfer.h"

#include <algorithm>

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

// What a missing key reads as here: no value can hold a line break.
constexpr std::string_view kMissing = "\n";

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

void ProfileTransfer::RestoreStandardPaths()
{
    m_files.macroPath = m_files.PathOf(kMacroFileName);
    m_files.listPath = m_files.PathOf(kListName);
    m_files.configPath = m_files.PathOf(ProfileConfigName(m_files.currentProfileIndex));
    m_files.labelPath = m_files.PathOf(ProfileLabelName(m_files.currentProfileIndex));
}

void ProfileTransfer::ReportFileFailure(const std::filesystem::path& file, int errorCode)
{
    m_messages.ShowMessage(FileFailureMessage(file, errorCode, m_language), kFileOpenErrorTitle);
}

bool ProfileTransfer::ImportProfile(ProfileFileDialog& dialog, ProfileRecord& record)
{
    const std::filesystem::path proposed = m_files.configPath.empty()
                                               ? m_files.PathOf(ProfileConfigName(m_files.currentProfileIndex))
                                               : m_files.configPath;
    const std::optional<std::filesystem::path> chosen = dialog.AskOpenFile(proposed);
    m_lastRepairs = {};
    if (!chosen || !ImportFrom(*chosen, record)) {
        return false;
    }
    m_files.recordLoaded = true;
    return true;
}

bool ProfileTransfer::ImportFrom(const std::filesystem::path& chosen, ProfileRecord& record)
{
    m_lastRepairs = {};
    if (chosen.filename().string().find(kProfileExtension) == std::string::npos) {
        return false;
    }
    const ConfigFileReadResult file = ConfigFile::Read(chosen);
    switch (file.status) {
    case ConfigFileStatus::Missing:
        m_messages.ShowMessage(kConfigFileNotExist, kApplicationTitle);
        return false;
    case ConfigFileStatus::Unreadable:
        ReportFileFailure(chosen, file.errorCode);
        return false;
    case ConfigFileStatus::WrongSize:
        m_messages.ShowMessage(FormatProfileFileMessage(kImportWrongSizeFormat, chosen.string(), file.size),
                               kApplicationTitle);
        return false;
    case ConfigFileStatus::Read:
        break;
    }
    record = file.contents.record;
    m_lastRepairs.settings = BringIntoControlRange(record);
    if (m_files.repairButtons != nullptr) {
        m_lastRepairs.buttons = m_files.repairButtons(record);
    }
    m_files.firstRunFlag = file.contents.firstRunFlag;

    const SkinSettings skin = m_files.skin;
    const PointSettings point = m_files.point;
    m_files.labelPath = LabelFileBeside(chosen);
    m_files.UseFactoryLabelsFor(m_lastRepairs.buttons);
    m_files.LoadLabels(m_language);
    // The labels of an export travel without the skin and layout keys, which would otherwise read
    // as empty: the text colour would turn black.
    const IniSnapshot labels = IniFile(m_files.labelPath, m_codec, ConfigFiles::CodePageOf(m_language)).Read();
    const auto missing = [&labels](std::string_view section, std::string_view key) {
        return labels.GetString(section, key, kMissing) == kMissing;
    };
    const auto keep = [&missing](std::string_view section, std::string_view key, auto& value, const auto& before) {
        if (missing(section, key)) {
            value = before;
        }
    };
    keep(kSkinsSection, kSkinPathKey, m_files.skin.path, skin.path);
    keep(kSkinsSection, kRedKey, m_files.skin.red, skin.red);
    keep(kSkinsSection, kGreenKey, m_files.skin.green, skin.green);
    keep(kSkinsSection, kBlueKey, m_files.skin.blue, skin.blue);
    keep(kPointSection, kSensitivityXKey, m_files.point.sensitivityX_Y, point.sensitivityX_Y);
    keep(kPointSection, kSensitivityYKey, m_files.point.sensitivityY_Y, point.sensitivityY_Y);
    keep(kPointSection, kSensitivityKey, m_files.point.sensitivity_Y, point.sensitivity_Y);
    keep(kPointSection, kMouseSpeedKey, m_files.point.mouseSpeed_Y, point.mouseSpeed_Y);

    RestoreStandardPaths();
    return true;
}

ProfileTransfer::LabelState ProfileTransfer::SaveLabelState() const
{
    return {m_files.buttonLabel, m_files.skin, m_files.point, m_files.firstRunFlag};
}

void ProfileTransfer::RestoreLabelState(const LabelState& state)
{
    m_files.buttonLabel = state.buttonLabel;
    m_files.skin = state.skin;
    m_files.point = state.point;
    m_files.firstRunFlag = state.firstRunFlag;
    RestoreStandardPaths();
}

bool ProfileTransfer::ImportInto(ProfileFileDialog& dialog, const std::filesystem::path& configFile,
                                 const std::filesystem::path& labelFile)
{
    const std::optional<std::filesystem::path> chosen = dialog.AskOpenFile(configFile);
    m_lastRepairs = {};
    if (!chosen) {
        return false;
    }
    const LabelState before = SaveLabelState();
    ProfileRecord imported{};
    bool changed = ImportFrom(*chosen, imported);
    if (changed) {
        if (const int errorCode = ConfigFile::Write(configFile, m_files.firstRunFlag, imported); errorCode != 0) {
            ReportFileFailure(configFile, errorCode);
            m_lastRepairs = {};
            changed = false;
        } else {
            m_files.labelPath = labelFile;
            m_files.SaveLabels(m_language);
        }
    }
    RestoreLabelState(before);
    return changed;
}

void ProfileTransfer::ExportStored(ProfileFileDialog& dialog, const std::filesystem::path& configFile,
                                   const std::filesystem::path& labelFile, std::string_view profileName)
{
    const std::optional<std::filesystem::path> chosen =
        dialog.AskSaveFile(m_files.modulePath / ProposedFileName(profileName));
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
    const LabelState before = SaveLabelState();
    m_files.labelPath = labelFile;
    m_files.LoadLabels(m_language);
    ExportTo(*chosen, stored.contents.record);
    RestoreLabelState(before);
}

void ProfileTransfer::ExportProfile(ProfileFileDialog& dialog, const ProfileRecord& record,
                                    std::string_view profileName)
{
    const std::optional<std::filesystem::path> chosen =
        dialog.AskSaveFile(m_files.modulePath / ProposedFileName(profileName));
    if (chosen) {
        ExportTo(*chosen, record);
    }
}

void ProfileTransfer::ExportTo(const std::filesystem::path& chosen, const ProfileRecord& record)
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

    const auto writePair = [&](const std::filesystem::path& profile, const std::filesystem::path& labels) {
        m_files.labelPath = labels;
        m_files.SaveLabels(m_language); // reports a file it cannot write; the profile file is still tried
        m_files.configPath = profile;
        if (const int errorCode = ConfigFile::Write(profile, kConfigWrittenFlag, record); errorCode != 0) {
            ReportFileFailure(profile, errorCode);
        }
    };
    writePair(profileFile, labelFile);
    // The copy beside the executable, under the same name.
    writePair(m_files.PathOf(name), m_files.PathOf(labelName));
    RestoreStandardPaths();
}

} // namespace veldrane
