#include "screens/startup/StartupModel.h"

#include <system_error>
#include <utility>

#include "core/buttons/ButtonAssignment.h"
#include "core/ini/AtomicFile.h"
#include "core/ini/FileError.h"
#include "core/ini/IniFile.h"
#include "core/profile/ConfigFiles.h"
#include "core/profile/DataDirectory.h"
#include "core/profile/ProfileFileNames.h"
#include "core/profile/ProfileRecord.h"
#include "core/profile/ProfileSlotMover.h"
#include "core/text/AccessTexts.h"
#include "core/text/ButtonLabelTranslation.h"
#include "core/text/FileErrorTexts.h"
#include "core/text/MessageTexts.h"
#include "core/text/TrayTexts.h"
#include "screens/main/AppContext.h"

namespace veldrane {

StartupModel::StartupModel(std::filesystem::path userData, std::filesystem::path installedData, const TextCodec& codec)
    : m_userData(std::move(userData)), m_installedData(std::move(installedData)), m_codec(codec)
{}

std::optional<std::string> StartupModel::PrepareDataDirectory() const
{
    if (m_userData.empty()) {
        return "neither XDG_DATA_HOME nor HOME names a folder for the profiles; use --data-dir";
    }
    if (const FileOutcome seeded = DataDirectory::Seed(m_installedData, m_userData); !seeded.Done()) {
        return "cannot prepare the data directory: " + seeded.file.string() + ": " + seeded.error.message();
    }
    return std::nullopt;
}

StartupChoice StartupModel::LoadProfileAndSkin(ProfileRecords& records) const
{
    StartupChoice choice;
    // What a write cut short by a crash or a kill left behind is never read and goes first.
    RemoveLeftoverTemporaryFiles(m_userData);
    choice.files = std::make_unique<ConfigFiles>(m_userData, m_codec);
    ConfigFiles& files = *choice.files;
    files.SetButtonRepair(&BringButtonsIntoMenuRange);
    // Profile files whose move was cut off get their old places back before anything is loaded.
    const ProfileSlotMover::Recovery recovery = ProfileSlotMover::Recover(m_userData);
    const FileOutcome loaded = files.LoadConfig(records.Current);
    records.Snapshot();
    const IniFile labels(files.LabelPath(), m_codec);
    choice.language = LanguageFromCode(labels.GetString(kSkinsSection, kLanguageKey));
    files.SetInterfaceLanguage(choice.language);
    files.LoadLabels(choice.language);

    // A profile file that is not there is told at once, as its load finds it; the window starts
    // with the record as it was.
    const std::optional<UserMessage> loadFailure =
        LoadFailureMessageOf(loaded, files.FactoryStandsIn(), choice.language);
    if (loadFailure && !files.FactoryStandsIn()) {
        choice.messages.push_back(*loadFailure);
    }
    // Both are told in the interface language, which the label file has just named.
    if (recovery.error) {
        choice.messages.push_back({JournalRecoveryMessage(m_userData / ProfileSlotMover::kJournalName, recovery.error,
                                                          recovery.keptAside, choice.language),
                                   std::string(kFileOpenErrorTitle)});
    }
    if (loadFailure && files.FactoryStandsIn()) {
        choice.messages.push_back(*loadFailure);
    }
    choice.skinDirectory = ChooseSkinDirectory(m_userData, m_installedData, files.Skin().path);
    return choice;
}

namespace {

// Every byte that decides what button `button` does: its function and that function's parameters.
bool AssignmentChanged(const ProfileRecord& now, const ProfileRecord& saved, std::size_t button)
{
    const auto arrays = {&ProfileRecord::buttonFunction, &ProfileRecord::cpiAction,  &ProfileRecord::mediaUsage,
                         &ProfileRecord::systemCommand,  &ProfileRecord::editKey,    &ProfileRecord::singleKey,
                         &ProfileRecord::comboModifier,  &ProfileRecord::comboKey1,  &ProfileRecord::comboKey2,
                         &ProfileRecord::macroNumber,    &ProfileRecord::macroRepeat};
    for (const auto array : arrays) {
        if ((now.*array)[button] != (saved.*array)[button]) {
            return true;
        }
    }
    return false;
}

} // namespace

void StartupModel::TakeLanguage(const ProfileRecords& records, ConfigFiles& files, Language language)
{
    const Language before = files.InterfaceLanguage();
    const ConfigFiles::Labels stored = files.ReadLabelsFrom(files.LabelPath(), language);
    ConfigFiles::Labels& shown = files.EditedLabels();
    for (std::size_t button = 0; button < kButtonCount; ++button) {
        shown[button] = AssignmentChanged(records.Current, records.Backup, button)
                            ? TranslateButtonLabel(shown[button], before, language)
                            : stored[button];
    }
    files.SetInterfaceLanguage(language);
}

std::optional<UserMessage> StartupModel::MouseDeniedMessage(Language language, std::string_view deniedNode)
{
    if (deniedNode.empty()) {
        return std::nullopt;
    }
    return UserMessage{MouseNotPermittedText(language, deniedNode), std::string(kApplicationTitle)};
}

std::string StartupModel::SecondStartRefusal() const
{
    std::error_code error;
    const std::filesystem::path labels =
        std::filesystem::exists(m_userData / kListName, error) ? m_userData / kListName : m_installedData / kListName;
    const Language language = LanguageFromCode(IniFile(labels, m_codec).GetString(kSkinsSection, kLanguageKey));
    return std::string(AlreadyRunningElsewhereText(language));
}

} // namespace veldrane
