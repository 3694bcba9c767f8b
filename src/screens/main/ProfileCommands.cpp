#include "screens/main/ProfileCommands.h"

#include <array>
#include <cstddef>
#include <string_view>

#include "core/buttons/ButtonFunctionCatalogue.h"
#include "core/device/ProfileDownload.h"
#include "core/profile/ConfigFiles.h"
#include "core/profile/ProfileRecord.h"
#include "core/settings/PointerSettingsApplier.h"
#include "core/text/AssignmentTexts.h"
#include "core/text/MainWindowTexts.h"
#include "core/text/MessageTexts.h"
#include "ports/MessageSink.h"
#include "screens/main/MouseConnection.h"

namespace veldrane {
namespace {

// Clears the reset flag however the reset ends, so a later load never takes the factory file.
class ResetInProgress
{
public:
    explicit ResetInProgress(ConfigFiles& files) : m_files(files) { m_files.resetInProgress = true; }
    ~ResetInProgress() { m_files.resetInProgress = false; }
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

} // namespace

ProfileCommands::ProfileCommands(ProfileRecords& records, ConfigFiles& files, MouseConnection& mouse,
                                 MessageSink& messages, PointerSettingsApplier& pointerSettings, Language language)
    : m_records(records), m_files(files), m_mouse(mouse), m_messages(messages), m_pointerSettings(pointerSettings),
      m_language(language)
{}

bool ProfileCommands::ApplyProfile(ProfileCommandsHost& host)
{
    if (!m_files.recordLoaded) {
        return false;
    }
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
        WarnUnlessTaken(taken);
    } else {
        m_messages.ShowMessage(MainWindowTextsFor(m_language).savedWithoutMouse, kApplicationTitle);
    }
    m_records.Snapshot();
    m_pointerSettings.ApplyPointerSettings(m_records.Current);
    return taken;
}

bool ProfileCommands::StoreProfile()
{
    if (!m_files.SaveConfig(m_records.Current)) {
        // The file's own failure was reported; the mouse must not hold what the files lack.
        m_messages.ShowMessage(MainWindowTextsFor(m_language).notStored, MessageCaptionsFor(m_language).warning);
        return false;
    }
    m_files.SaveLabels(m_language); // a label file it cannot write is reported; the settings are stored
    return true;
}

void ProfileCommands::WarnUnlessTaken(bool taken)
{
    if (!taken) {
        m_messages.ShowMessage(MainWindowTextsFor(m_language).settingsNotTaken, MessageCaptionsFor(m_language).warning);
    }
}

void ProfileCommands::ResetProfile(ProfileCommandsHost& host)
{
    const bool connected = m_mouse.IsConnected();
    bool stored = false;
    bool taken = false;
    {
        const WaitCursor waiting(host);
        std::uint8_t deviceProfile = m_records.Current.deviceProfile;
        ResetInProgress resetting(m_files);
        // A factory file that cannot be read leaves the record as it was, and was reported.
        (void)m_files.LoadConfig(m_records.Current);
        m_files.LoadLabels(m_language);
        m_records.Current.deviceProfile = connected ? kDownloadedProfile : deviceProfile;
        if (connected) {
            stored = StoreProfile();
            if (stored) {
                taken = m_mouse.DownloadProfile(m_records.Current);
            }
        }
    }
    if (stored) {
        WarnUnlessTaken(taken);
        m_records.Snapshot();
        m_pointerSettings.ApplyPointerSettings(m_records.Current);
    } else if (!connected) {
        m_messages.ShowMessage(MainWindowTextsFor(m_language).resetWithoutMouse, kApplicationTitle);
    }
    host.ReturnToFirstPage();
}

void ProfileCommands::FillFirstRunLabels()
{
    if (m_files.firstRunFlag != 0) {
        return;
    }
    auto labels = DefaultLabels(AssignmentTextsFor(m_language));
    for (std::size_t button = 0; button < kButtonCount; ++button) {
        m_files.buttonLabel[button] = std::string(labels[button]);
    }
    m_files.SaveLabels(m_language);
}

} // namespace veldrane
