#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "core/settings/PointerSettingsChain.h"
#include "ports/PointerSettingsBackend.h"

namespace veldrane {

// Which desktop's pointer settings the program writes.
enum class PointerDesktop
{
    KdePlasma,  // kcminputrc and kdeglobals; in an X11 session also the X server, for the live pointer
    GSettings,  // org.gnome.desktop.peripherals.mouse (GNOME, Unity, Budgie, Pantheon)
    X11,        // the X server itself: any other desktop in an X11 session
    NoSettings, // a Wayland desktop the program knows no settings of: every step is unsupported
};

// What the choice depends on, as the session's environment gives it.
struct DesktopEnvironment
{
    std::string currentDesktop;            // XDG_CURRENT_DESKTOP, a colon-separated list
    std::string display;                   // DISPLAY
    std::string waylandDisplay;            // WAYLAND_DISPLAY
    std::filesystem::path configDirectory; // XDG_CONFIG_HOME, else $HOME/.config
    std::string searchPath;                // PATH
    std::string sessionBus;                // DBUS_SESSION_BUS_ADDRESS, else $XDG_RUNTIME_DIR/bus where it is

    static DesktopEnvironment FromProcess();
};

// The pointer settings of the desktop the user runs, chosen once when it is made.
class DesktopPointerSettings : public PointerSettingsBackend
{
public:
    explicit DesktopPointerSettings(const DesktopEnvironment& environment);
    ~DesktopPointerSettings() override;

    // The rule of the choice: Plasma by its name; a GNOME-family desktop by its name when the
    // schema is installed; otherwise the X server when the session is an X11 one (DISPLAY set,
    // no WAYLAND_DISPLAY), since a Wayland compositor ignores what its X server is told.
    static PointerDesktop Choose(const DesktopEnvironment& environment, bool gnomeSchemaInstalled);

    // What was chosen, after falling back when the chosen desktop's settings could not be opened.
    PointerDesktop Desktop() const { return m_desktop; }

    PointerSettingResult SetMouse(const MouseAcceleration& acceleration) override;
    PointerSettingResult SetMouseSpeed(int speed) override;
    PointerSettingResult SetWheelScrollLines(std::uint32_t lines) override;
    PointerSettingResult SetDoubleClickTime(int milliseconds) override;
    bool DesktopHas(PointerSetting setting) const override;

private:
    static std::vector<PointerSettingsBackend*> Links(const std::vector<std::unique_ptr<PointerSettingsBackend>>&);

    PointerDesktop m_desktop = PointerDesktop::NoSettings;
    std::vector<std::unique_ptr<PointerSettingsBackend>> m_adapters;
    PointerSettingsChain m_chain;
};

} // namespace veldrane
