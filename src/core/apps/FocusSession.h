#pragma once

#include <string_view>

namespace veldrane {

// How this session tells the program which window has the focus.
enum class FocusSession
{
    X11,          // the window manager's _NET_ACTIVE_WINDOW on the root window
    KdeWayland,   // a KWin script that calls the program's FocusChanged on the session bus
    GnomeWayland, // the program's GNOME Shell extension, which does the same once it is enabled
    OtherWayland, // a Wayland desktop that tells no other program: not supported
    Headless,     // no graphical session
};

// From the session's WAYLAND_DISPLAY, DISPLAY and XDG_CURRENT_DESKTOP (a colon-separated list).
// Under Wayland an X11 display (Xwayland) sees only its own windows, so Wayland decides.
FocusSession FocusSessionOf(std::string_view waylandDisplay, std::string_view display, std::string_view currentDesktop);

} // namespace veldrane
