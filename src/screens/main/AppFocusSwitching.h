#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <optional>
#include <system_error>

#include "core/apps/AppRules.h"
#include "core/apps/AppSwitcher.h"
#include "core/text/Language.h"
#include "screens/main/ProfileCommands.h"

namespace veldrane {

class Clock;
class ConfigFiles;
class MessageSink;

// Switching the mouse's profile by the focused application: the rules of "apps.ini" in the data
// folder, the AppSwitcher's timing, and the switch itself through ProfileCommands. The view
// reports each focus change and calls Check again at the time the result names.
class AppFocusSwitching
{
public:
    // Runs the one switch operation (ProfileCommands::SwitchProfile with the window as host).
    using SwitchTo = std::function<SwitchOutcome(std::size_t index)>;

    AppFocusSwitching(ProfileCommands& commands, SwitchTo switchTo, ConfigFiles& files, MessageSink& messages,
                      const Clock& clock, Language language);

    // The main window built anew in another interface language: its commands and the language of
    // the switch notices.
    void TakeWindow(ProfileCommands& commands, Language language)
    {
        m_commands = &commands;
        m_language = language;
    }

    // Reads "apps.ini"; rules of profiles that are no longer in the list are dropped, with a note.
    void LoadRules();
    const AppRules& Rules() const { return m_rules; }
    // Stores changed rules (the tray's check item, the applications dialog) whole and atomically.
    [[nodiscard]] std::error_code StoreRules(const AppRules& rules);

    // The window that has the focus now. The result: when to call Check (none: nothing to do).
    std::optional<std::chrono::milliseconds> FocusChanged(const FocusedWindow& window, bool dialogOpen);
    // Switches when the rules and the timing say so. `dialogOpen`: a capture dialog or the macro
    // recorder holds the keyboard, which a switch must not disturb. The result as FocusChanged's.
    std::optional<std::chrono::milliseconds> Check(bool dialogOpen);

private:
    std::optional<std::string> MouseProfile() const;

    ProfileCommands* m_commands;
    SwitchTo m_switchTo;
    ConfigFiles& m_files;
    MessageSink& m_messages;
    const Clock& m_clock;
    Language m_language;
    AppRules m_rules;
    AppSwitcher m_switcher;
};

} // namespace veldrane
