#include "core/profile/ConfigFiles.h"

#include <algorithm>
#include <string>
#include <system_error>
#include <tuple>
#include <utility>

#include "core/ini/AtomicFile.h"
#include "core/ini/FileError.h"
#include "core/ini/IniDocument.h"
#include "core/ini/IniFile.h"
#include "core/profile/FactoryDefaults.h"
#include "core/profile/ProfileFileNames.h"
#include "core/profile/ProfileList.h"
#include "core/text/ButtonLabelTranslation.h"
#include "core/text/FileErrorTexts.h"
#include "core/text/MessageTexts.h"
#include "ports/MessageSink.h"
#include "ports/TextCodec.h"

namespace veldrane {

namespace {

constexpr Language kAllLanguages[] = {Language::English, Language::SimplifiedChinese, Language::TraditionalChinese};

bool FileExists(const std::filesystem::path& path)
{
    std::error_code error;
    return !path.empty() && std::filesystem::exists(path, error);
}

} // namespace

LegacyCodePage ConfigFiles::CodePageOf(Language language)
{
    return ByLanguage(language, LegacyCodePage::Windows1252, LegacyCodePage::Gbk, LegacyCodePage::Big5);
}

ConfigFiles::ConfigFiles(std::filesystem::path directory, MessageSink& messages, const TextCodec& codec)
    : modulePath(std::move(directory)), m_messages(messages), m_codec(codec)
{
    macroPath = PathOf(kMacroFileName);
    listPath = PathOf(kListName);
}

std::filesystem::path ConfigFiles::PathOf(std::string_view fileName) const
{
    return modulePath / fileName;
}

StoredProfileList ConfigFiles::ReadProfileList() const
{
    return ProfileList::Read(IniFile(PathOf(kListName), m_codec, CodePageOf(language)).Read());
}

bool ConfigFiles::StoreSelectedProfile(std::span<const std::string> names, std::size_t index)
{
    IniFile list(PathOf(kListName), m_codec, CodePageOf(language));
    return list.Apply(ProfileList::Replacement(names, index)) == IniWriteResult::Written;
}

std::string ConfigFiles::CurrentProfileName() const
{
    const StoredProfileList stored = ReadProfileList();
    return currentProfileIndex < stored.names.size() ? stored.names[currentProfileIndex] : std::string();
}

void ConfigFiles::SetProfilePaths()
{
    configPath = PathOf(ProfileConfigName(currentProfileIndex));
    labelPath = PathOf(ProfileLabelName(currentProfileIndex));
}

bool ConfigFiles::SelectFiles()
{
    macroPath = PathOf(kMacroFileName);
    listPath = PathOf(kListName);
    if (resetInProgress) {
        configPath = PathOf(kFactoryConfigName);
        labelPath = PathOf(kListName);
        return true;
    }

    IniFile list(listPath, m_codec, CodePageOf(language));
    const StoredProfileList stored = ProfileList::Read(list.Read());
    if (stored.names.empty()) {
        // An empty or broken list would leave the window without a profile: it becomes one name on
        // the files numbered 0, which the installation always has.
        const std::string repaired(ProfileList::kRepairedName);
        list.Apply(ProfileList::Replacement(std::span(&repaired, 1), 0));
        currentProfileIndex = 0;
        currentProfileName = repaired;
        SetProfilePaths();
        return true;
    }
    for (std::size_t i = 0; i < stored.names.size(); ++i) {
        if (stored.names[i] == stored.currentName) {
            currentProfileIndex = static_cast<std::uint8_t>(i);
            currentProfileName = stored.names[i];
        }
    }
    SetProfilePaths();
    return true;
}

void ConfigFiles::ReportFileFailure(const std::filesystem::path& file, int errorCode)
{
    m_messages.ShowMessage(FileFailureMessage(file, errorCode, language), kFileOpenErrorTitle);
}

std::error_code ConfigFiles::LoadConfig(ProfileRecord& record)
{
    if (!resetInProgress) {
        // Whatever the record held belongs to the files chosen before.
        recordLoaded = false;
        m_unreadableConfig.clear();
    }
    m_factoryLabels = {};
    if (!SelectFiles()) {
        return {};
    }
    const ConfigFileReadResult file = ConfigFile::Read(configPath);
    std::error_code unreadable;
    switch (file.status) {
    case ConfigFileStatus::Missing:
        m_messages.ShowMessage(kConfigFileNotExist, kApplicationTitle);
        return {};
    case ConfigFileStatus::Unreadable:
        unreadable = ConfigFile::ErrorCodeOf(file.errorCode);
        break;
    case ConfigFileStatus::WrongSize:
        unreadable = make_error_code(FileError::WrongProfileSize);
        break;
    case ConfigFileStatus::Read:
        break;
    }
    if (unreadable) {
        if (resetInProgress) {
            // The factory file of a reset: the record stays as it was, as it always has.
            if (file.status == ConfigFileStatus::Unreadable) {
                ReportFileFailure(configPath, file.errorCode);
            }
            return {};
        }
        // The user's profile must not be lost, nor the window stay empty: the factory settings
        // stand in, and the file waits for the save that keeps it aside.
        LoadFactoryInstead(record);
        m_unreadableConfig = configPath;
        return unreadable;
    }

    firstRunFlag = file.contents.firstRunFlag;
    if (resetInProgress) {
        // A reset brings back the factory settings but keeps the user's twelve macros.
        const auto factory = file.contents.record.Bytes().first<kSettingsPartSize>();
        std::copy(factory.begin(), factory.end(), record.SettingsPart().begin());
    } else {
        record = file.contents.record;
        recordLoaded = true;
    }
    (void)BringIntoControlRange(record); // a load changes silently what an import reports
    if (repairButtons != nullptr) {
        UseFactoryLabelsFor(repairButtons(record));
    }
    return {};
}

void ConfigFiles::LoadFactoryInstead(ProfileRecord& record)
{
    const ConfigFileReadResult factory = ConfigFile::Read(PathOf(kFactoryConfigName));
    if (factory.status == ConfigFileStatus::Read) {
        record = factory.contents.record;
        firstRunFlag = factory.contents.firstRunFlag;
    } else {
        record = FactoryProfile();
        firstRunFlag = 0;
    }
    (void)BringIntoControlRange(record);
    if (repairButtons != nullptr) {
        (void)repairButtons(record);
    }
    m_factoryLabels.fill(true);
    recordLoaded = true;
}

void ConfigFiles::UseFactoryLabelsFor(std::span<const std::size_t> buttons)
{
    m_factoryLabels = {};
    for (const std::size_t button : buttons) {
        if (button < kButtonCount) {
            m_factoryLabels[button] = true;
        }
    }
}

bool ConfigFiles::SaveConfig(const ProfileRecord& record)
{
    SetProfilePaths();
    if (!m_unreadableConfig.empty() && m_unreadableConfig == configPath && FileExists(configPath)) {
        // The file the load could not read is kept beside, never replaced.
        std::error_code error;
        if (MoveAside(configPath, error).empty()) {
            ReportFileFailure(configPath, error.value());
            return false;
        }
    } else if (!FileExists(configPath)) {
        // The six profile files are installed with the program; a save never creates one.
        m_messages.ShowMessage(kConfigFileNotExist, kApplicationTitle);
        return false;
    }
    if (const int errorCode = ConfigFile::Write(configPath, kConfigWrittenFlag, record); errorCode != 0) {
        ReportFileFailure(configPath, errorCode);
        return false;
    }
    if (m_unreadableConfig == configPath) {
        m_unreadableConfig.clear();
    }
    return true;
}

void ConfigFiles::LoadLabels(Language labelLanguage)
{
    const IniFile labels(labelPath, m_codec, CodePageOf(labelLanguage));
    const std::string_view section = LanguageSectionName(labelLanguage);
    for (std::size_t button = 0; button < kButtonCount; ++button) {
        buttonLabel[button] = labels.GetString(section, LabelKey(button));
    }
    skin.red = labels.GetInt(kSkinsSection, kRedKey);
    skin.green = labels.GetInt(kSkinsSection, kGreenKey);
    skin.blue = labels.GetInt(kSkinsSection, kBlueKey);
    skin.path = labels.GetString(kSkinsSection, kSkinPathKey);
    point.sensitivityX_Y = labels.GetInt(kPointSection, kSensitivityXKey);
    point.sensitivityY_Y = labels.GetInt(kPointSection, kSensitivityYKey);
    point.sensitivity_Y = labels.GetInt(kPointSection, kSensitivityKey);
    point.mouseSpeed_Y = labels.GetInt(kPointSection, kMouseSpeedKey);
    if (std::find(m_factoryLabels.begin(), m_factoryLabels.end(), true) != m_factoryLabels.end()) {
        const std::array<std::string, kButtonCount> factory = FactoryLabels(labelLanguage);
        for (std::size_t button = 0; button < kButtonCount; ++button) {
            if (m_factoryLabels[button]) {
                buttonLabel[button] = factory[button];
            }
        }
        // They belong to the record of that load; a later reading of other labels keeps its own.
        m_factoryLabels = {};
    }
}

bool ConfigFiles::SaveLabels(Language labelLanguage)
{
    if (labelPath.empty()) {
        return false;
    }
    // Every language's section gets the labels, each in its own language, so that a change of
    // the interface language never brings back the functions of an older save. A legacy file
    // whose code page cannot hold the other languages' texts gets the labels of its own.
    const auto plan = [&](bool allLanguages) {
        IniBatch batch;
        bool allFit = true;
        for (const Language language : kAllLanguages) {
            if (!allLanguages && language != labelLanguage) {
                continue;
            }
            const std::string_view section = LanguageSectionName(language);
            for (std::size_t button = 0; button < kButtonCount; ++button) {
                std::string label = TranslateButtonLabel(buttonLabel[button], labelLanguage, language);
                // A label that would break the file's lines keeps the value the file has.
                if (!IniDocument::IsValidValue(label)) {
                    allFit = false;
                    continue;
                }
                batch.WriteString(section, LabelKey(button), label);
            }
        }
        return std::pair(std::move(batch), allFit);
    };
    IniFile labels(labelPath, m_codec, CodePageOf(labelLanguage));
    auto [batch, allFit] = plan(true);
    IniWriteResult result = labels.Apply(batch);
    if (result == IniWriteResult::IoError && labels.LastError() == FileError::UnencodableText) {
        std::tie(batch, allFit) = plan(false);
        result = labels.Apply(batch);
    }
    if (result == IniWriteResult::IoError) {
        ReportFileFailure(labelPath, labels.LastError().value());
        return false;
    }
    return result == IniWriteResult::Written && allFit;
}

} // namespace veldrane
