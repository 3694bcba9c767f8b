#include "adapters/linux/Autostart.h"

#include <fstream>
#include <system_error>

namespace veldrane {

Autostart::Autostart(const std::function<const char*(const char*)>& environment)
{
    std::filesystem::path base;
    if (const char* config = environment("XDG_CONFIG_HOME"); config != nullptr && *config == '/') {
        base = config;
    } else if (const char* home = environment("HOME"); home != nullptr && *home == '/') {
        base = std::filesystem::path(home) / ".config";
    } else {
        return;
    }
    m_file = base / "autostart" / "veldrane.desktop";
}

bool Autostart::IsEnabled() const
{
    std::error_code error;
    return !m_file.empty() && std::filesystem::exists(m_file, error);
}

bool Autostart::Enable(const std::string& command) const
{
    if (m_file.empty()) {
        return false;
    }
    std::error_code error;
    std::filesystem::create_directories(m_file.parent_path(), error);
    const std::filesystem::path temporary = m_file.string() + ".tmp";
    {
        std::ofstream out(temporary, std::ios::trunc);
        out << "[Desktop Entry]\n"
               "Type=Application\n"
               "Name=VELDRANE Configurator\n"
               "Comment=Tray icon of the Tessaly VELDRANE mouse configurator\n"
               "Exec="
            << command
            << "\n"
               "Terminal=false\n"
               "NoDisplay=true\n"
               "X-GNOME-Autostart-enabled=true\n";
        out.flush();
        if (!out) {
            std::filesystem::remove(temporary, error);
            return false;
        }
    }
    std::filesystem::rename(temporary, m_file, error);
    if (error) {
        std::filesystem::remove(temporary, error);
        return false;
    }
    return true;
}

bool Autostart::Disable() const
{
    std::error_code error;
    std::filesystem::remove(m_file, error);
    return !IsEnabled();
}

} // namespace veldrane
