#include "core/apps/FocusSession.h"

#include "core/ini/IniDocument.h"

namespace veldrane {

namespace {

bool DesktopNamed(std::string_view currentDesktop, std::string_view name)
{
    while (!currentDesktop.empty()) {
        const std::size_t end = currentDesktop.find(':');
        if (IniNamesEqual(currentDesktop.substr(0, end), name)) {
            return true;
        }
        currentDesktop.remove_prefix(end == std::string_view::npos ? currentDesktop.size() : end + 1);
    }
    return false;
}

} // namespace

FocusSession FocusSessionOf(std::string_view waylandDisplay, std::string_view display, std::string_view currentDesktop)
{
    if (!waylandDisplay.empty()) {
        if (DesktopNamed(currentDesktop, "KDE")) {
            return FocusSession::KdeWayland;
        }
        if (DesktopNamed(currentDesktop, "GNOME")) {
            return FocusSession::GnomeWayland;
        }
        return FocusSession::OtherWayland;
    }
    return display.empty() ? FocusSession::Headless : FocusSession::X11;
}

} // namespace veldrane
