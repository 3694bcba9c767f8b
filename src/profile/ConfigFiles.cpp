#include "profile/ConfigFiles.h"

#include <algorithm>
#include <string>
#include <system_error>

#include "ini/IniFile.h"
#include "platform/MessageSink.h"
#include "platform/TextCodec.h"
#include "profile/ProfileFileNames.h"
#include "text/MessageTexts.h"

namespace veldrane {

namespace {

// A list longer than the six profile files is not one the program wrote.
constexpr int kMaxItemCount = static_cast<int>(kProfileSlotCount);

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

    const IniFile list(listPath, m_codec, CodePageOf(language));
    const std::string selected = list.GetString(kProfileSection, kCurrentProfileKey);
    const int count = list.GetInt(kProfileSection, kItemCountKey);
    if (count == 0 || count > kMaxItemCount) {
        return false;
    }
    // A negative count selects nothing but still loads the previous selection's files.
    for (int i = 0; i < count; ++i) {
        if (list.GetString(kProfileSection, ProfileItemKey(static_cast<std::size_t>(i))) == selected) {
            currentProfileIndex = static_cast<std::uint8_t>(i);
            currentProfileName = selected;
        }
    }
    SetProfilePaths();
    return true;
}

void ConfigFiles::ReportUnreadable(int errorCode)
{
    m_messages.ShowMessage(FormatWithErrorCode(kFileOpenErrorFormat, errorCode), kFileOpenErrorTitle);
}

void ConfigFiles::LoadConfig(ProfileRecord& record)
{
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
        ReportUnreadable(file.errorCode);
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
    }
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
        ReportUnreadable(errorCode);
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
    IniFile labels(labelPath, m_codec, CodePageOf(labelLanguage));
    const std::string_view section = LanguageSectionName(labelLanguage);
    bool allWritten = true;
    for (std::size_t button = 0; button < kButtonCount; ++button) {
        const IniWriteResult result = labels.WriteString(section, LabelKey(button), buttonLabel[button]);
        allWritten = allWritten && result == IniWriteResult::Written;
    }
    return allWritten;
}

} // namespace veldrane
