#include "core/profile/ConfigFiles.h"

#include <algorithm>
#include <string>
#include <system_error>
#include <tuple>
#include <type_traits>
#include <utility>

#include "core/ini/AtomicFile.h"
#include "core/ini/FileError.h"
#include "core/ini/IniDocument.h"
#include "core/ini/IniFile.h"
#include "core/profile/FactoryDefaults.h"
#include "core/profile/ProfileFileNames.h"
#include "core/profile/ProfileList.h"
#include "core/text/ButtonLabelTranslation.h"
#include "ports/TextCodec.h"

namespace veldrane {

namespace {

// What a missing key reads as here: no value can hold a line break.
constexpr std::string_view kMissing = "\n";

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

ConfigFiles::ConfigFiles(std::filesystem::path directory, const TextCodec& codec)
    : m_codec(codec), m_modulePath(std::move(directory))
{
    m_macroPath = PathOf(kMacroFileName);
    m_listPath = PathOf(kListName);
}

std::filesystem::path ConfigFiles::PathOf(std::string_view fileName) const
{
    return m_modulePath / fileName;
}

StoredProfileList ConfigFiles::ReadProfileList() const
{
    return ProfileList::Read(IniFile(PathOf(kListName), m_codec, CodePageOf(m_language)).Read());
}

bool ConfigFiles::StoreSelectedProfile(std::span<const std::string> names, std::size_t index)
{
    IniFile list(PathOf(kListName), m_codec, CodePageOf(m_language));
    return list.Apply(ProfileList::Replacement(names, index)) == IniWriteResult::Written;
}

std::string ConfigFiles::CurrentProfileName() const
{
    const StoredProfileList stored = ReadProfileList();
    return m_currentProfileIndex < stored.names.size() ? stored.names[m_currentProfileIndex] : std::string();
}

void ConfigFiles::SelectProfileIndex(std::uint8_t index)
{
    m_currentProfileIndex = index;
    SetProfilePaths();
}

void ConfigFiles::SetButtonLabel(std::size_t button, std::string label)
{
    if (button < kButtonCount) {
        m_buttonLabel[button] = std::move(label);
    }
}

void ConfigFiles::SetProfilePaths()
{
    m_configPath = PathOf(ProfileConfigName(m_currentProfileIndex));
    m_labelPath = PathOf(ProfileLabelName(m_currentProfileIndex));
}

void ConfigFiles::SelectFiles()
{
    m_macroPath = PathOf(kMacroFileName);
    m_listPath = PathOf(kListName);
    if (m_resetInProgress) {
        m_configPath = PathOf(kFactoryConfigName);
        m_labelPath = PathOf(kListName);
        return;
    }

    IniFile list(m_listPath, m_codec, CodePageOf(m_language));
    const StoredProfileList stored = ProfileList::Read(list.Read());
    if (stored.names.empty()) {
        // An empty or broken list would leave the window without a profile: it becomes one name on
        // the files numbered 0, which the installation always has. A list that cannot be written
        // is repaired again at the next load.
        const std::string repaired(ProfileList::kRepairedName);
        (void)list.Apply(ProfileList::Replacement(std::span(&repaired, 1), 0));
        m_currentProfileIndex = 0;
        m_currentProfileName = repaired;
        SetProfilePaths();
        return;
    }
    for (std::size_t i = 0; i < stored.names.size(); ++i) {
        if (stored.names[i] == stored.currentName) {
            m_currentProfileIndex = static_cast<std::uint8_t>(i);
            m_currentProfileName = stored.names[i];
        }
    }
    SetProfilePaths();
}

FileOutcome ConfigFiles::LoadConfig(ProfileRecord& record)
{
    if (!m_resetInProgress) {
        // Whatever the record held belongs to the files chosen before.
        m_recordLoaded = false;
        m_unreadableConfig.clear();
    }
    m_factoryLabels = {};
    SelectFiles();
    const ConfigFileReadResult file = ConfigFile::Read(m_configPath);
    std::error_code unreadable;
    switch (file.status) {
    case ConfigFileStatus::Missing:
        return {make_error_code(FileError::FileMissing), m_configPath};
    case ConfigFileStatus::Unreadable:
        unreadable = file.error;
        break;
    case ConfigFileStatus::WrongSize:
        unreadable = make_error_code(FileError::WrongProfileSize);
        break;
    case ConfigFileStatus::Read:
        break;
    }
    if (unreadable) {
        if (m_resetInProgress) {
            // The factory file of a reset: the record stays as it was, as it always has.
            if (file.status == ConfigFileStatus::Unreadable) {
                return {unreadable, m_configPath};
            }
            return {};
        }
        // The user's profile must not be lost, nor the window stay empty: the factory settings
        // stand in, and the file waits for the save that keeps it aside.
        LoadFactoryInstead(record);
        m_unreadableConfig = m_configPath;
        return {unreadable, m_configPath};
    }

    m_firstRunFlag = file.contents.firstRunFlag;
    if (m_resetInProgress) {
        // A reset brings back the factory settings but keeps the user's twelve macros.
        const auto factory = file.contents.record.Bytes().first<kSettingsPartSize>();
        std::copy(factory.begin(), factory.end(), record.SettingsPart().begin());
    } else {
        record = file.contents.record;
        m_recordLoaded = true;
    }
    (void)BringIntoControlRange(record); // a load changes silently what an import reports
    if (m_repairButtons != nullptr) {
        UseFactoryLabelsFor(m_repairButtons(record));
    }
    return {};
}

bool ConfigFiles::FactoryStandsIn() const
{
    return !m_unreadableConfig.empty() && m_unreadableConfig == m_configPath;
}

void ConfigFiles::LoadFactoryInstead(ProfileRecord& record)
{
    const ConfigFileReadResult factory = ConfigFile::Read(PathOf(kFactoryConfigName));
    if (factory.status == ConfigFileStatus::Read) {
        record = factory.contents.record;
        m_firstRunFlag = factory.contents.firstRunFlag;
    } else {
        record = FactoryProfile();
        m_firstRunFlag = 0;
    }
    (void)BringIntoControlRange(record);
    if (m_repairButtons != nullptr) {
        (void)m_repairButtons(record);
    }
    m_factoryLabels.fill(true);
    m_recordLoaded = true;
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

FileOutcome ConfigFiles::SaveConfig(const ProfileRecord& record)
{
    SetProfilePaths();
    if (!m_unreadableConfig.empty() && m_unreadableConfig == m_configPath && FileExists(m_configPath)) {
        // The file the load could not read is kept beside, never replaced.
        std::error_code error;
        if (MoveAside(m_configPath, error).empty()) {
            return {error, m_configPath};
        }
    } else if (!FileExists(m_configPath)) {
        // The six profile files are installed with the program; a save never creates one.
        return {make_error_code(FileError::FileMissing), m_configPath};
    }
    if (const std::error_code error = ConfigFile::Write(m_configPath, kConfigWrittenFlag, record)) {
        return {error, m_configPath};
    }
    if (m_unreadableConfig == m_configPath) {
        m_unreadableConfig.clear();
    }
    return {};
}

ConfigFiles::Labels ConfigFiles::ReadLabelsFrom(const std::filesystem::path& file, Language language,
                                                std::span<const std::size_t> factoryButtons) const
{
    const IniFile labels(file, m_codec, CodePageOf(language));
    const std::string_view section = LanguageSectionName(language);
    Labels read;
    for (std::size_t button = 0; button < kButtonCount; ++button) {
        read[button] = labels.GetString(section, LabelKey(button));
    }
    if (!factoryButtons.empty()) {
        const Labels factory = FactoryLabels(language);
        for (const std::size_t button : factoryButtons) {
            if (button < kButtonCount) {
                read[button] = factory[button];
            }
        }
    }
    return read;
}

void ConfigFiles::LoadLabels(Language labelLanguage)
{
    std::vector<std::size_t> factoryButtons;
    for (std::size_t button = 0; button < kButtonCount; ++button) {
        if (m_factoryLabels[button]) {
            factoryButtons.push_back(button);
        }
    }
    // They belong to the record of that load; a later reading of other labels keeps its own.
    m_factoryLabels = {};
    m_buttonLabel = ReadLabelsFrom(m_labelPath, labelLanguage, factoryButtons);
    const IniFile labels(m_labelPath, m_codec, CodePageOf(labelLanguage));
    m_skin.red = labels.GetInt(kSkinsSection, kRedKey);
    m_skin.green = labels.GetInt(kSkinsSection, kGreenKey);
    m_skin.blue = labels.GetInt(kSkinsSection, kBlueKey);
    m_skin.path = labels.GetString(kSkinsSection, kSkinPathKey);
    m_point.sensitivityX_Y = labels.GetInt(kPointSection, kSensitivityXKey);
    m_point.sensitivityY_Y = labels.GetInt(kPointSection, kSensitivityYKey);
    m_point.sensitivity_Y = labels.GetInt(kPointSection, kSensitivityKey);
    m_point.mouseSpeed_Y = labels.GetInt(kPointSection, kMouseSpeedKey);
}

void ConfigFiles::TakeImport(std::uint8_t firstRunFlag, const std::filesystem::path& labelFile,
                             std::span<const std::size_t> factoryButtons, Language language)
{
    m_firstRunFlag = firstRunFlag;
    m_recordLoaded = true;
    m_factoryLabels = {};
    m_buttonLabel = ReadLabelsFrom(labelFile, language, factoryButtons);
    // The labels of an export travel without the skin and layout keys, which would otherwise read
    // as empty: the text colour would turn black.
    const IniSnapshot labels = IniFile(labelFile, m_codec, CodePageOf(language)).Read();
    const auto take = [&labels](std::string_view section, std::string_view key, auto& value) {
        if (labels.GetString(section, key, kMissing) == kMissing) {
            return;
        }
        if constexpr (std::is_same_v<std::remove_reference_t<decltype(value)>, std::string>) {
            value = labels.GetString(section, key);
        } else {
            value = labels.GetInt(section, key);
        }
    };
    take(kSkinsSection, kSkinPathKey, m_skin.path);
    take(kSkinsSection, kRedKey, m_skin.red);
    take(kSkinsSection, kGreenKey, m_skin.green);
    take(kSkinsSection, kBlueKey, m_skin.blue);
    take(kPointSection, kSensitivityXKey, m_point.sensitivityX_Y);
    take(kPointSection, kSensitivityYKey, m_point.sensitivityY_Y);
    take(kPointSection, kSensitivityKey, m_point.sensitivity_Y);
    take(kPointSection, kMouseSpeedKey, m_point.mouseSpeed_Y);
}

FileOutcome ConfigFiles::SaveLabels(Language labelLanguage)
{
    if (m_labelPath.empty()) {
        return {make_error_code(FileError::FileMissing), m_labelPath};
    }
    return SaveLabelsTo(m_labelPath, m_buttonLabel, labelLanguage);
}

FileOutcome ConfigFiles::SaveLabelsTo(const std::filesystem::path& file, const Labels& buttonLabels,
                                      Language labelLanguage) const
{
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
                std::string label = TranslateButtonLabel(buttonLabels[button], labelLanguage, language);
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
    IniFile labels(file, m_codec, CodePageOf(labelLanguage));
    auto [batch, allFit] = plan(true);
    IniWriteResult result = labels.Apply(batch);
    if (result == IniWriteResult::IoError && labels.LastError() == FileError::UnencodableText) {
        std::tie(batch, allFit) = plan(false);
        result = labels.Apply(batch);
    }
    if (result == IniWriteResult::IoError) {
        return {labels.LastError(), file};
    }
    if (result != IniWriteResult::Written || !allFit) {
        return {make_error_code(FileError::LabelBreaksLine), file};
    }
    return {};
}

} // namespace veldrane
