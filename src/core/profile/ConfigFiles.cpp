#include "core/profile/ConfigFiles.h"

#include <algorithm>
#include <string>
#include <system_error>
#include <tuple>
#include <utility>

#include "core/ini/FileError.h"
#include "core/ini/IniDocument.h"
#include "core/ini/IniFile.h"
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

void ConfigFiles::LoadConfig(ProfileRecord& record)
{
    if (!resetInProgress) {
        // Whatever the record held belongs to the files chosen before.
        recordLoaded = false;
    }
    if (!SelectFiles()) {
        return;
    }
    const ConfigFileReadResult file = ConfigFile::Read(configPath);
    switch (file.status) {
    case ConfigFileStatus::Missing:
        m_messages.ShowMessage(kConfigFileNotExist, kApplicationTitle);
        return;
    case ConfigFileStatus::Unreadable:
        // A file that is there but cannot be read is reported like one that cannot be written;
        // the record stays as it was.
        ReportFileFailure(configPath, file.errorCode);
        return;
    case ConfigFileStatus::WrongSize:
        return;
    case ConfigFileStatus::Read:
        break;
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
    BringIntoControlRange(record);
}

bool ConfigFiles::SaveConfig(const ProfileRecord& record)
{
    SetProfilePaths();
    // The six profile files are installed with the program; a save never creates one.
    if (!FileExists(configPath)) {
        m_messages.ShowMessage(kConfigFileNotExist, kApplicationTitle);
        return false;
    }
    if (const int errorCode = ConfigFile::Write(configPath, kConfigWrittenFlag, record); errorCode != 0) {
        ReportFileFailure(configPath, errorCode);
        return false;
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
