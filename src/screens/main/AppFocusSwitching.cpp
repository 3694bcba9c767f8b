#include "screens/main/AppFocusSwitching.h"

#include <string>
#include <vector>

#include "core/ini/IniDocument.h"
#include "core/profile/ConfigFiles.h"
#include "core/text/AppSwitchTexts.h"
#include "core/text/FileErrorTexts.h"
#include "core/text/MessageTexts.h"
#include "core/text/WindowStateTexts.h"
#include "ports/Clock.h"
#include "ports/MessageSink.h"

namespace veldrane {

namespace {

constexpr std::chrono::milliseconds kSwitchNoticeShown{5000};

} // namespace

AppFocusSwitching::AppFocusSwitching(ProfileCommands& commands, SwitchTo switchTo, ConfigFiles& files,
                                     MessageSink& messages, const Clock& clock, Language language)
    : m_commands(&commands), m_switchTo(std::move(switchTo)), m_files(files), m_messages(messages), m_clock(clock),
      m_language(language), m_switcher(clock)
{}

void AppFocusSwitching::LoadRules()
{
    AppRulesRead read = ReadAppRules(m_files.ModulePath());
    if (read.error) {
        m_messages.ShowMessage(FormatWithErrorCode(kFileOpenErrorFormat, read.error.value()), kFileOpenErrorTitle);
        return;
    }
    m_rules = std::move(read.rules);
    const std::vector<std::string> dropped = m_rules.FollowProfiles({}, m_commands->ProfileNames());
    if (dropped.empty()) {
        return;
    }
    std::string note(AppRulesDroppedText(m_language));
    for (std::size_t index = 0; index < dropped.size(); ++index) {
        note += (index == 0 ? "" : ", ") + dropped[index];
    }
    m_messages.ShowMessage(note, kApplicationTitle);
    if (const std::error_code error = WriteAppRules(m_files.ModulePath(), m_rules)) {
        m_messages.ShowMessage(FormatWithErrorCode(kFileOpenErrorFormat, error.value()), kFileOpenErrorTitle);
    }
}

std::error_code AppFocusSwitching::StoreRules(const AppRules& rules)
{
    // The count of switches is the program's own; the caller's copy may be older.
    AppRules stored = rules;
    while (stored.Switches() < m_rules.Switches()) {
        stored.CountSwitch();
    }
    if (const std::error_code error = WriteAppRules(m_files.ModulePath(), stored)) {
        return error;
    }
    m_rules = std::move(stored);
    return {};
}

std::optional<std::chrono::milliseconds> AppFocusSwitching::FocusChanged(const FocusedWindow& window, bool dialogOpen)
{
    // The profile manager rewrites the rules when names change: the file is what counts.
    if (AppRulesRead read = ReadAppRules(m_files.ModulePath()); !read.error) {
        m_rules = std::move(read.rules);
    }
    m_switcher.FocusChanged(window);
    return Check(dialogOpen);
}

std::optional<std::string> AppFocusSwitching::MouseProfile() const
{
    const std::vector<std::string> names = m_commands->ProfileNames();
    // Before the first download the mouse keeps what it held at start: the selected profile.
    const std::size_t index = m_commands->LastSentProfile().value_or(m_files.CurrentProfileIndex());
    if (index >= names.size()) {
        return std::nullopt;
    }
    return names[index];
}

std::optional<std::chrono::milliseconds> AppFocusSwitching::Check(bool dialogOpen)
{
    SwitchBlockers blockers;
    blockers.downloading = m_commands->Busy();
    blockers.capturing = dialogOpen;
    blockers.unsavedEdits = m_commands->HasUnsavedEdits();
    const std::optional<std::string> mouseProfile = MouseProfile();
    const AppSwitcher::Decision decision = m_switcher.Decide(m_rules, mouseProfile, blockers);
    if (!decision.profile) {
        return decision.lookAgain;
    }
    const std::vector<std::string> names = m_commands->ProfileNames();
    std::optional<std::size_t> index = m_commands->ProfileIndexOf(*decision.profile);
    for (std::size_t position = 0; !index && position < names.size(); ++position) {
        if (IniNamesEqual(names[position], *decision.profile)) {
            index = position;
        }
    }
    if (!index) {
        return std::nullopt;
    }
    const SwitchOutcome outcome = m_switchTo(*index);
    if (outcome.result == SwitchResult::Busy || outcome.result == SwitchResult::UnsavedEdits) {
        return m_clock.Now() + AppSwitcher::kBlockedRetry;
    }
    if (!outcome.Loaded()) {
        return std::nullopt;
    }
    // The mouse's memory was written: counted, so that `veldranectl doctor` can tell how often.
    m_switcher.Switched();
    if (AppRulesRead read = ReadAppRules(m_files.ModulePath()); !read.error) {
        m_rules = std::move(read.rules);
    }
    m_rules.CountSwitch();
    if (const std::error_code error = WriteAppRules(m_files.ModulePath(), m_rules)) {
        m_messages.ShowMessage(FormatWithErrorCode(kFileOpenErrorFormat, error.value()), kFileOpenErrorTitle);
    }
    if (outcome.result == SwitchResult::NotTaken) {
        m_commands->ReportSwitch(outcome);
    } else {
        m_messages.ShowNotice(NoticeKind::ProfileSwitched,
                              std::string(WindowStateTextsFor(m_language).profileCaption) + outcome.name,
                              MessageCaptionsFor(m_language).info, kSwitchNoticeShown);
    }
    return std::nullopt;
}

} // namespace veldrane
