#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "ports/PointerSettingsBackend.h"

struct _XDisplay; // Xlib's Display, kept out of this header

namespace veldrane {

// The pointer settings an X server has:
//
//   acceleration  the core pointer control (XChangePointerControl): 2/1 beyond 4 pixels with
//                 enhanced precision, 1/1 without; and, on pointer devices driven by libinput,
//                 "libinput Accel Profile Enabled" adaptive or flat
//   speed         "libinput Accel Speed" (-1 to 1) of the libinput pointer devices through
//                 XInput2; unsupported on a server without them
//
// libinput touchpads (the devices with "libinput Tapping Enabled") keep their own profile and
// speed. X has no wheel or double-click setting of its own; those are unsupported.
class X11PointerSettings : public PointerSettingsBackend
{
public:
    // The display by name ("" for $DISPLAY); nullptr when it cannot be opened.
    static std::unique_ptr<X11PointerSettings> Open(const std::string& displayName);
    ~X11PointerSettings() override;
    X11PointerSettings(const X11PointerSettings&) = delete;
    X11PointerSettings& operator=(const X11PointerSettings&) = delete;

    PointerSettingResult SetMouse(const MouseAcceleration& acceleration) override;
    PointerSettingResult SetMouseSpeed(int speed) override;
    PointerSettingResult SetWheelScrollLines(std::uint32_t lines) override;
    PointerSettingResult SetDoubleClickTime(int milliseconds) override;
    bool DesktopHas(PointerSetting setting) const override;

private:
    explicit X11PointerSettings(_XDisplay* display);

    _XDisplay* m_display;
};

} // namespace veldrane
