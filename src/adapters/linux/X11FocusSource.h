#pragma once

#include <cstdint>
#include <optional>

#include "ports/FocusSource.h"

struct xcb_connection_t;

namespace veldrane {

// The focused window of an X11 session whose window manager keeps _NET_ACTIVE_WINDOW on the root
// window: the source listens for PropertyNotify on the root window on a connection of its own, and
// reads WM_CLASS and _NET_WM_PID of the active window when it changes.
class X11FocusSource : public FocusSource
{
public:
    // Connects to $DISPLAY; without one (or without the window manager's hint) Available is false.
    X11FocusSource();
    ~X11FocusSource() override;
    X11FocusSource(const X11FocusSource&) = delete;
    X11FocusSource& operator=(const X11FocusSource&) = delete;

    // Whether the display is there and its window manager names the active window.
    bool Available() override;

    int PollDescriptor() const override;
    std::optional<FocusReport> TakeFocus() override;

private:
    // Takes the events waiting (with `queuedOnly`, only those xcb has already read) and says whether
    // the active window changed among them.
    bool ActiveWindowChanged(bool queuedOnly);
    FocusReport ReadActiveWindow();

    xcb_connection_t* m_connection = nullptr;
    std::uint32_t m_root = 0;
    std::uint32_t m_activeWindowAtom = 0;
    std::uint32_t m_pidAtom = 0;
    bool m_supported = false;
    bool m_first = true;
    std::optional<FocusReport> m_last;
};

// The name of a process's program (its "comm"), empty when the process is gone or unknown.
std::string ExecutableNameOf(std::uint32_t pid);

} // namespace veldrane
