#include "adapters/linux/pointer/DesktopPointerSettings.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdlib>
#include <string_view>

#include "adapters/linux/pointer/ChildProgram.h"
#include "adapters/linux/pointer/GSettingsPointerSettings.h"
#include "adapters/linux/pointer/KdePointerSettings.h"
#include "adapters/linux/pointer/X11PointerSettings.h"

namespace veldrane {

namespace {

constexpr std::string_view kKdeDesktop = "KDE";
// Desktops that take their pointer settings from org.gnome.desktop.peripherals.mouse. Cinnamon,
// MATE and Xfce keep their own and fall to the X server.
constexpr std::array<std::string_view, 4> kGSettingsDesktops{"GNOME", "Unity", "Budgie", "Pantheon"};
// Plasma 6 ships kwriteconfig6, Plasma 5 kwriteconfig5.
constexpr std::array<std::string_view, 2> kKwriteconfigNames{"kwriteconfig6", "kwriteconfig5"};

std::string Environment(const char* name)
{
    const char* value = std::getenv(name);
    return value != nullptr ? std::string(value) : std::string();
}

bool SameIgnoringCase(std::string_view a, std::string_view b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](unsigned char x, unsigned char y) { return std::tolower(x) == std::tolower(y); });
}

bool NamesDesktop(std::string_view list, std::string_view desktop)
{
    std::size_t start = 0;
    while (start <= list.size()) {
        const std::size_t colon = std::min(list.find(':', start), list.size());
        if (SameIgnoringCase(list.substr(start, colon - start), desktop)) {
            return true;
        }
        start = colon + 1;
    }
    return false;
}

// A value in a D-Bus address: bytes other than letters, digits and -_/.\* go as %XX.
std::string AddressValue(std::string_view text)
{
    static constexpr char kHexDigits[] = "0123456789abcdef";
    std::string value;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                           std::string_view("-_/.\\*").find(c) != std::string_view::npos;
        if (plain) {
            value += c;
        } else {
            value += '%';
            value += kHexDigits[byte >> 4];
            value += kHexDigits[byte & 0xF];
        }
    }
    return value;
}

bool IsX11Session(const DesktopEnvironment& environment)
{
    return !environment.display.empty() && environment.waylandDisplay.empty();
}

} // namespace

DesktopEnvironment DesktopEnvironment::FromProcess()
{
    DesktopEnvironment environment;
    environment.currentDesktop = Environment("XDG_CURRENT_DESKTOP");
    environment.display = Environment("DISPLAY");
    environment.waylandDisplay = Environment("WAYLAND_DISPLAY");
    environment.searchPath = Environment("PATH");
    // Where D-Bus itself looks for the session bus; without one the program starts none.
    environment.sessionBus = Environment("DBUS_SESSION_BUS_ADDRESS");
    if (const std::filesystem::path runtime = Environment("XDG_RUNTIME_DIR");
        environment.sessionBus.empty() && runtime.is_absolute()) {
        std::error_code error;
        if (std::filesystem::is_socket(runtime / "bus", error)) {
            environment.sessionBus = "unix:path=" + AddressValue((runtime / "bus").string());
        }
    }
    // As the XDG base directories have it: a relative XDG_CONFIG_HOME is to be ignored.
    const std::filesystem::path configHome = Environment("XDG_CONFIG_HOME");
    if (configHome.is_absolute()) {
        environment.configDirectory = configHome;
    } else if (const std::string home = Environment("HOME"); !home.empty()) {
        environment.configDirectory = std::filesystem::path(home) / ".config";
    }
    return environment;
}

PointerDesktop DesktopPointerSettings::Choose(const DesktopEnvironment& environment, bool gnomeSchemaInstalled)
{
    if (NamesDesktop(environment.currentDesktop, kKdeDesktop)) {
        return PointerDesktop::KdePlasma;
    }
    const bool gnomeFamily =
        std::any_of(kGSettingsDesktops.begin(), kGSettingsDesktops.end(),
                    [&](std::string_view name) { return NamesDesktop(environment.currentDesktop, name); });
    if (gnomeFamily && gnomeSchemaInstalled) {
        return PointerDesktop::GSettings;
    }
    if (IsX11Session(environment)) {
        return PointerDesktop::X11;
    }
    return PointerDesktop::NoSettings;
}

DesktopPointerSettings::DesktopPointerSettings(const DesktopEnvironment& environment)
    : m_chain(std::vector<PointerSettingsBackend*>{})
{
    PointerDesktop wanted = Choose(environment, GSettingsPointerSettings::SchemaInstalled());
    if (wanted == PointerDesktop::KdePlasma && !environment.configDirectory.empty()) {
        KdeTools tools;
        for (const std::string_view name : kKwriteconfigNames) {
            if (!tools.kwriteconfig) {
                tools.kwriteconfig = FindProgram(name, environment.searchPath);
            }
        }
        tools.sessionBus = environment.sessionBus;
        m_adapters.push_back(std::make_unique<KdePointerSettings>(environment.configDirectory, std::move(tools)));
        m_desktop = PointerDesktop::KdePlasma;
        // Plasma's X11 session applies its files to the X server only at login; the X server
        // itself takes the change now.
        if (IsX11Session(environment)) {
            if (auto x11 = X11PointerSettings::Open(environment.display)) {
                m_adapters.push_back(std::move(x11));
            }
        }
    } else if (wanted == PointerDesktop::GSettings) {
        if (auto gsettings = GSettingsPointerSettings::Open()) {
            m_adapters.push_back(std::move(gsettings));
            m_desktop = PointerDesktop::GSettings;
        } else if (IsX11Session(environment)) {
            wanted = PointerDesktop::X11;
        }
    }
    if (wanted == PointerDesktop::X11) {
        if (auto x11 = X11PointerSettings::Open(environment.display)) {
            m_adapters.push_back(std::move(x11));
            m_desktop = PointerDesktop::X11;
        }
    }
    m_chain = PointerSettingsChain(Links(m_adapters));
}

DesktopPointerSettings::~DesktopPointerSettings() = default;

std::vector<PointerSettingsBackend*>
DesktopPointerSettings::Links(const std::vector<std::unique_ptr<PointerSettingsBackend>>& adapters)
{
    std::vector<PointerSettingsBackend*> links;
    for (const auto& adapter : adapters) {
        links.push_back(adapter.get());
    }
    return links;
}

PointerSettingResult DesktopPointerSettings::SetMouse(const MouseAcceleration& acceleration)
{
    return m_chain.SetMouse(acceleration);
}

PointerSettingResult DesktopPointerSettings::SetMouseSpeed(int speed)
{
    return m_chain.SetMouseSpeed(speed);
}

PointerSettingResult DesktopPointerSettings::SetWheelScrollLines(std::uint32_t lines)
{
    return m_chain.SetWheelScrollLines(lines);
}

PointerSettingResult DesktopPointerSettings::SetDoubleClickTime(int milliseconds)
{
    return m_chain.SetDoubleClickTime(milliseconds);
}

bool DesktopPointerSettings::DesktopHas(PointerSetting setting) const
{
    return m_chain.DesktopHas(setting);
}

} // namespace veldrane
