#include "core/apps/AppSwitcher.h"

#include <algorithm>

#include "core/ini/IniDocument.h"
#include "ports/Clock.h"

namespace veldrane {

void AppSwitcher::FocusChanged(const FocusedWindow& window)
{
    if (m_focus == window) {
        return;
    }
    m_focus = window;
    m_focusSince = m_clock.Now();
}

AppSwitcher::Decision AppSwitcher::Decide(const AppRules& rules, std::optional<std::string_view> mouseProfile,
                                          const SwitchBlockers& blockers) const
{
    if (!rules.Enabled() || !m_focus) {
        return {};
    }
    std::optional<std::string> target = rules.Match(*m_focus);
    if (!target) {
        target = rules.DefaultProfile();
    }
    if (!target || (mouseProfile && IniNamesEqual(*target, *mouseProfile))) {
        return {};
    }
    const std::chrono::milliseconds now = m_clock.Now();
    std::chrono::milliseconds due = m_focusSince + kSettleTime;
    if (m_lastSwitch) {
        due = std::max(due, *m_lastSwitch + kMinimumInterval);
    }
    if (now < due) {
        return {std::nullopt, due};
    }
    if (blockers.Any()) {
        return {std::nullopt, now + kBlockedRetry};
    }
    return {std::move(target), std::nullopt};
}

void AppSwitcher::Switched()
{
    m_lastSwitch = m_clock.Now();
}

} // namespace veldrane
