#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace veldrane {

// The window that has the focus, as the window system names it. Empty fields are unknown; a
// report with every field empty is the desktop itself (no window has the focus).
struct FocusReport
{
    std::string appId;       // the Wayland app id or desktop-file id
    std::string windowClass; // the X11 WM_CLASS class
    std::string instance;    // the X11 WM_CLASS instance
    std::uint32_t pid = 0;   // the window's process, 0 when the session does not give it

    friend bool operator==(const FocusReport&, const FocusReport&) = default;
};

// Changes of the focused window, for an event loop to watch without polling.
class FocusSource
{
public:
    virtual ~FocusSource() = default;

    // Whether the session names the focused window now (an X11 window manager may start late).
    virtual bool Available() = 0;
    // A file descriptor that is readable while changes wait; -1 when the source could not start.
    virtual int PollDescriptor() const = 0;
    // Reads what waits, never blocking: the focused window when it changed since the last call.
    virtual std::optional<FocusReport> TakeFocus() = 0;
};

} // namespace veldrane
