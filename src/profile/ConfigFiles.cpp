#include "profile/ConfigFiles.h"

#include <algorithm>
#include <string>
#include <system_error>

#include "ini/IniFile.h"
#include "platform/MessageSink.h"
#include "platform/TextCodec.h"
#include "text/MessageTexts.h"

namespace veldrane {

namespace {

constexpr std::string_view kFactoryConfigName = "config.bin";
constexpr std::string_view kListName = "str.ini";
constexpr std::string_view kMacroName = "record.ini";

// Section "Profile" of "str.ini": the list of named profiles.
constexpr std::string_view kProfileSection = "Profile";
constexpr std::string_view kCurrentProfileKey = "CurProfileName";
constexpr std::string_view kItemCountKey = "ItemCount";
constexpr std::string_view kListItemPrefix = "Item"; // "Item0" to "Item5", counted from 0

// Label files: "Item1" to "Item12" of the language section, then "Skins" and "Point".
constexpr std::string_view kLabelKeyPrefix = "Item"; // counted from 1
constexpr std::string_view kSkinsSection = "Skins";
constexpr std::string_view kSkinPathKey = "Path";
constexpr std::string_view kRedKey = "RColor";
constexpr std::string_view kGreenKey = "GColor";
constexpr std::string_view kBlueKey = "BColor";
constexpr std::string_view kPointSection = "Point";
constexpr std::string_view kSensitivityXKey = "SensitivityX_Y";
constexpr std::string_view kSensitivityYKey = "SensitivityY_Y";
constexpr std::string_view kSensitivityKey = "Sensitivity_Y";
constexpr std::string_view kMouseSpeedKey = "MouseSpeed_Y";

// A list longer than the six profile files is not one the program wrote.
constexpr int kMaxItemCount = static_cast<int>(kProfileSlotCount);

// A label file written on a Windows machine without a "Lan" key of its own is in the code page
// of that machine, which the interface language tells.
LegacyCodePage CodePageOf(Language language)
{
    return ByLanguage(language, LegacyCodePage::Windows1252, LegacyCodePage::Gbk, LegacyCodePage::Big5);
}

std::string NumberedName(std::string_view prefix, std::size_t number, std::string_view suffix = {})
{
    std::string name(prefix);
    name += std::to_string(number);
    name += suffix;
    return name;
}

bool FileExists(const std::filesystem::path& path)
{
    std::error_code error;
    return !path.empty() && std::filesystem::exists(path, error);
}

} // namespace

ConfigFiles::ConfigFiles(std::filesystem::path directory, MessageSink& messages, const TextCodec& codec)
    : modulePath(std::move(directory)), m_messages(messages), m_codec(codec)
{
    macroPath = PathOf(kMacroName);
    listPath = PathOf(kListName);
}

std::filesystem::path ConfigFiles::PathOf(std::string_view fileName) const
{
    return modulePath / fileName;
}

void ConfigFiles::SetProfilePaths()
{
    configPath = PathOf(NumberedName("config", currentProfileIndex, ".bin"));
    labelPath = PathOf(NumberedName("str", currentProfileIndex, ".ini"));
}

bool ConfigFiles::SelectFiles()
{
    macroPath = PathOf(kMacroName);
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
        if (list.GetString(kProfileSection, NumberedName(kListItemPrefix, static_cast<std::size_t>(i))) ==
            selected) {
            currentProfileIndex = static_cast<std::uint8_t>(i);
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
    }
    else {
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
        buttonLabel[button] = labels.GetString(section, NumberedName(kLabelKeyPrefix, button + 1));
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
        const IniWriteResult result =
            labels.WriteString(section, NumberedName(kLabelKeyPrefix, button + 1), buttonLabel[button]);
        allWritten = allWritten && result == IniWriteResult::Written;
    }
    return allWritten;
}

} // namespace veldrane
