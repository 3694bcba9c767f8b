#pragma once

#include <cstdint>
#include <initializer_list>
#include <vector>

#include "ports/PointerSettingsBackend.h"

namespace veldrane {

// Several desktops' settings that each get every value, in the order given: the running desktop's
// own adapters first, then the program's own toolkit settings, which always follow. Every link is
// asked even when one before it refused. A step counts as Refused when any link refused it,
// as Applied when at least one link took it and none refused, and as Unsupported only when no link
// has the setting. The links are not owned and must outlive the chain.
class PointerSettingsChain : public PointerSettingsBackend
{
public:
    PointerSettingsChain(std::initializer_list<PointerSettingsBackend*> links);
    explicit PointerSettingsChain(std::vector<PointerSettingsBackend*> links);

    PointerSettingResult SetMouse(const MouseAcceleration& acceleration) override;
    PointerSettingResult SetMouseSpeed(int speed) override;
    PointerSettingResult SetWheelScrollLines(std::uint32_t lines) override;
    PointerSettingResult SetDoubleClickTime(int milliseconds) override;
    bool DesktopHas(PointerSetting setting) const override;

private:
    template <typename Step> PointerSettingResult Each(Step step);

    std::vector<PointerSettingsBackend*> m_links;
};

} // namespace veldrane
