#include "screens/main/ProfileCommands.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <string_view>

#include "core/buttons/ButtonFunctionCatalogue.h"
#include "core/device/ProfileDownload.h"
#include "core/profile/ConfigFile.h"
#include "core/profile/ConfigFiles.h"
#include "core/profile/ProfileFileNames.h"
#include "core/profile/ProfileRecord.h"
#include "core/settings/PointerSettingsApplier.h"
#include "core/text/AssignmentTexts.h"
#include "core/text/MainWindowTexts.h"
#include "core/text/MessageTexts.h"
#include "core/text/TrayTexts.h"
#include "ports/MessageSink.h"
#include "screens/common/FileMessages.h"
#include "screens/main/MouseConnection.h"

namespace veldrane {
namespace {

// Clears the reset flag however the reset ends, so a later load never takes the factory file.
class ResetInProgress
{
public:
    explicit ResetInProgress(ConfigFiles& files) : m_files(files) { m_files.SetResetInProgress(true); }
    ~ResetInProgress() { m_files.SetResetInProgress(false); }
    ResetInProgress(const ResetInProgress&) = delete;
    ResetInProgress& operator=(const ResetInProgress&) = delete;

private:
    ConfigFiles& m_files;
};

// The labels a never-saved profile starts with: buttons 1 to 7 "Click", "Menu", "Universal
// Scroll", "Left Title Scroll", "Right Title Scroll", "CPI +", "CPI -"; 8 to 12 "Button Off".
std::array<std::string_view, kButtonCount> DefaultLabels(const AssignmentTexts& texts)
{
    auto function = [&](FunctionCode code) { return texts.functions[static_cast<std::size_t>(code)]; };
    std::array<std::string_view, kButtonCount> labels{};
    labels.fill(function(FunctionCode::ButtonOff));
    labels[0] = function(FunctionCode::Click);
    labels[1] = function(FunctionCode::Menu);
    labels[2] = function(FunctionCode::UniversalScroll);
    labels[3] = function(FunctionCode::LeftTitleScroll);
    labels[4] = function(FunctionCode::RightTitleScroll);
    labels[5] = texts.cpiActions[0];
    labels[6] = texts.cpiActions[1];
    return labels;
}

// The wait cursor for as long as the object lives.
class WaitCursor
{
public:
    explicit WaitCursor(ProfileCommandsHost& host) : m_host(host) { m_host.SetWaitCursor(true); }
    ~WaitCursor() { m_host.SetWaitCursor(false); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    ProfileCommandsHost& m_host;
};

// Marks a download as running for as long as the object lives.
class Running
{
public:
    explicit Running(bool& busy) : m_busy(busy) { m_busy = true; }
    ~Running() { m_busy = false; }
    Running(const Running&) = delete;
    Running& operator=(const Running&) = delete;

private:
    bool& m_busy;
};

// The record without the byte the mouse sets on its own.
bool SameSettings(ProfileRecord a, ProfileRecord b)
{
    a.deviceProfile = 0;
    b.deviceProfile = 0;
    return a == b;
}

} // namespace

ProfileCommands::ProfileCommands(ProfileRecords& records, ConfigFiles& files, MouseConnection& mouse,
                                 MessageSink& messages, PointerSettingsApplier& pointerSettings, Language language)
    : m_records(records), m_files(files), m_mouse(mouse), m_messages(messages), m_pointerSettings(pointerSettings),
      m_language(language)
{}

bool ProfileCommands::ApplyProfile(ProfileCommandsHost& host)
{
    if (!m_files.RecordLoaded() || m_busy) {
        return false;
    }
    const Running running(m_busy);
    const bool connected = m_mouse.IsConnected();
    if (connected) {
        // The files keep what the mouse gets.
        m_records.Current.deviceProfile = kDownloadedProfile;
    }
    if (!StoreProfile()) {
        return false;
    }
    bool taken = false;
    if (connected) {
        {
            const WaitCursor waiting(host);
            taken = m_mouse.DownloadProfile(m_records.Current);
        }
        m_lastSent = m_files.CurrentProfileIndex();
        WarnUnlessTaken(taken);
    } else {
        m_messages.ShowMessage(MainWindowTextsFor(m_language).savedWithoutMouse, kApplicationTitle);
    }
    m_records.Snapshot();
    ApplyPointerSettings();
    return taken;
}

bool ProfileCommands::StoreProfile()
{
    if (const FileOutcome stored = m_files.SaveConfig(m_records.Current); !stored.Done()) {
        // The file's own failure first; the mouse must not hold what the files lack.
        ShowFileFailure(m_messages, stored, m_language);
        m_messages.ShowMessage(MainWindowTextsFor(m_language).notStored, MessageCaptionsFor(m_language).warning);
        return false;
    }
    // A label file that cannot be written is reported; the settings are stored all the same.
    ShowFileFailure(m_messages, m_files.SaveLabels(m_language), m_language);
    return true;
}

void ProfileCommands::WarnUnlessTaken(bool taken)
{
    if (!taken) {
        m_messages.ShowMessage(MainWindowTextsFor(m_language).settingsNotTaken, MessageCaptionsFor(m_language).warning);
    }
}

void ProfileCommands::ApplyPointerSettings()
{
    for (const PointerSetting refused : m_pointerSettings.ApplyPointerSettings(m_records.Current).refused) {
        m_messages.ShowMessage(RefusalText(refused), kWarningTitle);
    }
}

void ProfileCommands::ResetProfile(ProfileCommandsHost& host)
{
    if (m_busy) {
        return;
    }
    const Running running(m_busy);
    const bool connected = m_mouse.IsConnected();
    bool stored = false;
    bool taken = false;
    {
        const WaitCursor waiting(host);
        std::uint8_t deviceProfile = m_records.Current.deviceProfile;
        ResetInProgress resetting(m_files);
        // A factory file that cannot be read leaves the record as it was, and is reported.
        ShowLoadFailure(m_messages, m_files.LoadConfig(m_records.Current), m_files.FactoryStandsIn(), m_language);
        m_files.LoadLabels(m_language);
        m_records.Current.deviceProfile = connected ? kDownloadedProfile : deviceProfile;
        if (connected) {
            stored = StoreProfile();
            if (stored) {
                taken = m_mouse.DownloadProfile(m_records.Current);
                m_lastSent = m_files.CurrentProfileIndex();
            }
        }
    }
    if (stored) {
        WarnUnlessTaken(taken);
        m_records.Snapshot();
        ApplyPointerSettings();
    } else if (!connected) {
        m_messages.ShowMessage(MainWindowTextsFor(m_language).resetWithoutMouse, kApplicationTitle);
    }
    host.ReturnToFirstPage();
}

void ProfileCommands::FillFirstRunLabels()
{
    if (m_files.FirstRunFlag() != 0) {
        return;
    }
    auto labels = DefaultLabels(AssignmentTextsFor(m_language));
    for (std::size_t button = 0; button < kButtonCount; ++button) {
        m_files.SetButtonLabel(button, std::string(labels[button]));
    }
    ShowFileFailure(m_messages, m_files.SaveLabels(m_language), m_language);
}

std::vector<std::string> ProfileCommands::ProfileNames() const
{
    return m_files.ReadProfileList().names;
}

std::optional<std::size_t> ProfileCommands::ProfileIndexOf(std::string_view name) const
{
    const std::vector<std::string> names = ProfileNames();
    for (std::size_t i = names.size(); i-- > 0;) {
        if (names[i] == name) {
            return i;
        }
    }
    return std::nullopt;
}

std::optional<std::size_t> ProfileCommands::StepProfile(int step) const
{
    const auto count = static_cast<long>(ProfileNames().size());
    if (count == 0) {
        return std::nullopt;
    }
    const long from = std::min<long>(m_files.CurrentProfileIndex(), count - 1);
    return static_cast<std::size_t>(((from + step) % count + count) % count);
}

bool ProfileCommands::HasUnsavedEdits() const
{
    return !SameSettings(m_records.Current, m_records.Backup);
}

SwitchOutcome ProfileCommands::SwitchProfile(ProfileCommandsHost& host, std::size_t index)
{
    const std::vector<std::string> names = ProfileNames();
    if (index >= names.size()) {
        SwitchOutcome refused;
        refused.result = SwitchResult::NoSuchProfile;
        return refused;
    }
    SwitchOutcome outcome;
    outcome.index = index;
    outcome.name = names[index];
    if (m_busy || m_listOwnedElsewhere) {
        outcome.result = SwitchResult::Busy;
        return outcome;
    }
    if (!m_mouse.IsConnected()) {
        outcome.result = SwitchResult::NoMouse;
        return outcome;
    }
    if (HasUnsavedEdits()) {
        outcome.result = SwitchResult::UnsavedEdits;
        return outcome;
    }
    // The profile's file is read first, so that a missing or broken one changes nothing.
    const std::string configName = ProfileConfigName(index);
    const ConfigFileReadResult file = ConfigFile::Read(m_files.PathOf(configName));
    if (file.status != ConfigFileStatus::Read) {
        outcome.reason = configName + " cannot be read";
        return outcome;
    }
    if (!m_files.StoreSelectedProfile(names, index)) {
        outcome.reason = std::string(kListName) + " cannot be written";
        return outcome;
    }
    const Running running(m_busy);
    const WaitCursor waiting(host);
    if (!m_files.LoadConfig(m_records.Current).Done()) {
        // Read whole a moment ago; now gone or broken, it shows the factory settings unsent.
        outcome.reason = configName + " cannot be read";
        return outcome;
    }
    m_files.LoadLabels(m_language);
    // Names stored twice: the loader takes the last one.
    outcome.index = m_files.CurrentProfileIndex();
    // As after a Save, the files keep what the mouse gets, and the mouse gets nothing they lack.
    m_records.Current.deviceProfile = kDownloadedProfile;
    if (!StoreProfile()) {
        outcome.reason = configName + " cannot be written";
        return outcome;
    }
    const bool taken = m_mouse.DownloadProfile(m_records.Current);
    m_lastSent = outcome.index;
    m_records.Snapshot();
    ApplyPointerSettings();
    host.ReturnToFirstPage();
    outcome.result = taken ? SwitchResult::Switched : SwitchResult::NotTaken;
    return outcome;
}

void ProfileCommands::ReportSwitch(const SwitchOutcome& outcome)
{
    const MainWindowTexts& texts = MainWindowTextsFor(m_language);
    switch (outcome.result) {
    case SwitchResult::NotTaken:
        WarnUnlessTaken(false);
        break;
    case SwitchResult::NoMouse:
        m_messages.ShowMessage(texts.mouseNotDetected, MessageCaptionsFor(m_language).warning);
        break;
    case SwitchResult::UnsavedEdits:
        m_messages.ShowMessage(UnsavedEditsText(m_language), MessageCaptionsFor(m_language).warning);
        break;
    case SwitchResult::Failed:
        m_messages.ShowMessage(kConfigFileNotExist, kApplicationTitle);
        break;
    case SwitchResult::Switched:
    case SwitchResult::Busy:
    case SwitchResult::NoSuchProfile:
        break;
    }
}

} // namespace veldrane
