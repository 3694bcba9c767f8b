#include "core/settings/PointerSettingsChain.h"

#include <algorithm>
#include <utility>

namespace veldrane {

PointerSettingsChain::PointerSettingsChain(std::initializer_list<PointerSettingsBackend*> links)
    : PointerSettingsChain(std::vector<PointerSettingsBackend*>(links))
{}

PointerSettingsChain::PointerSettingsChain(std::vector<PointerSettingsBackend*> links) : m_links(std::move(links))
{
    std::erase(m_links, nullptr);
}

template <typename Step> PointerSettingResult PointerSettingsChain::Each(Step step)
{
    auto combined = PointerSettingResult::Unsupported;
    for (PointerSettingsBackend* link : m_links) {
        const PointerSettingResult result = step(*link);
        if (result == PointerSettingResult::Refused) {
            combined = PointerSettingResult::Refused;
        } else if (result == PointerSettingResult::Applied && combined == PointerSettingResult::Unsupported) {
            combined = PointerSettingResult::Applied;
        }
    }
    return combined;
}

PointerSettingResult PointerSettingsChain::SetMouse(const MouseAcceleration& acceleration)
{
    return Each([&](PointerSettingsBackend& link) { return link.SetMouse(acceleration); });
}

PointerSettingResult PointerSettingsChain::SetMouseSpeed(int speed)
{
    return Each([&](PointerSettingsBackend& link) { return link.SetMouseSpeed(speed); });
}

PointerSettingResult PointerSettingsChain::SetWheelScrollLines(std::uint32_t lines)
{
    return Each([&](PointerSettingsBackend& link) { return link.SetWheelScrollLines(lines); });
}

PointerSettingResult PointerSettingsChain::SetDoubleClickTime(int milliseconds)
{
    return Each([&](PointerSettingsBackend& link) { return link.SetDoubleClickTime(milliseconds); });
}

bool PointerSettingsChain::DesktopHas(PointerSetting setting) const
{
    return std::any_of(m_links.begin(), m_links.end(),
                       [setting](const PointerSettingsBackend* link) { return link->DesktopHas(setting); });
}

} // namespace veldrane
