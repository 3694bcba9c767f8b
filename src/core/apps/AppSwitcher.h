#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

#include "core/apps/AppRules.h"

namespace veldrane {

class Clock;

// What holds a switch back for now; it waits until none of them holds.
struct SwitchBlockers
{
    bool downloading = false;  // a Save, Reset or another switch is running
    bool capturing = false;    // a key capture dialog is open
    bool recording = false;    // a macro is being recorded
    bool unsavedEdits = false; // the window holds edits that are neither saved nor cancelled

    bool Any() const { return downloading || capturing || recording || unsavedEdits; }
};

// Decides when a change of the focused window switches the mouse's profile. Every switch rewrites
// the mouse's memory, so the engine switches only what lasts and only what changes something:
// a window must have held the focus for kSettleTime (so windows crossed on the way with Alt+Tab
// switch nothing), the profile it brings must differ from the one the mouse holds, nothing may
// block (SwitchBlockers), and switches are at least kMinimumInterval apart.
class AppSwitcher
{
public:
    static constexpr std::chrono::milliseconds kSettleTime{1000};
    static constexpr std::chrono::milliseconds kMinimumInterval{3000};
    // How soon a blocked switch looks again.
    static constexpr std::chrono::milliseconds kBlockedRetry{500};

    explicit AppSwitcher(const Clock& clock) : m_clock(clock) {}

    // The window that has the focus now. The same window again keeps its time.
    void FocusChanged(const FocusedWindow& window);

    struct Decision
    {
        std::optional<std::string> profile;                 // switch to this profile now
        std::optional<std::chrono::milliseconds> lookAgain; // nothing to do yet: decide again at this time
    };
    // What to do now: `mouseProfile` is the profile the mouse holds (none when unknown).
    Decision Decide(const AppRules& rules, std::optional<std::string_view> mouseProfile,
                    const SwitchBlockers& blockers) const;

    // A switch was made (whatever the mouse answered: its memory was written): the interval starts.
    void Switched();

private:
    const Clock& m_clock;
    std::optional<FocusedWindow> m_focus;
    std::chrono::milliseconds m_focusSince{0};
    std::optional<std::chrono::milliseconds> m_lastSwitch;
};

} // namespace veldrane
