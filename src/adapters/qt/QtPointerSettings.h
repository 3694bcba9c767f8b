#pragma once

#include <cstdint>

#include "ports/PointerSettingsBackend.h"

namespace veldrane {

// The program's own toolkit settings, so that its windows scroll and double-click as set whatever
// the desktop made of the values: the wheel scroll lines and the double-click interval of the
// running QGuiApplication's style hints. Qt has no pointer acceleration or speed of its own and
// no "one screen per notch"; those steps are unsupported. Run on the GUI thread.
class QtPointerSettings : public PointerSettingsBackend
{
public:
    PointerSettingResult SetMouse(const MouseAcceleration& acceleration) override;
    PointerSettingResult SetMouseSpeed(int speed) override;
    PointerSettingResult SetWheelScrollLines(std::uint32_t lines) override;
    PointerSettingResult SetDoubleClickTime(int milliseconds) override;
    bool DesktopHas(PointerSetting setting) const override;
};

} // namespace veldrane
