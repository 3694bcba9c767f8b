#pragma once

#include <filesystem>
#include <functional>
#include <string>

namespace veldrane {

// The desktop's autostart entry of the program: $XDG_CONFIG_HOME/autostart/veldrane.desktop
// (~/.config/autostart). The program started from it lives hidden in the tray.
class Autostart
{
public:
    // `environment` looks up a variable (nullptr when unset).
    explicit Autostart(const std::function<const char*(const char*)>& environment = std::getenv);

    // Empty when neither XDG_CONFIG_HOME nor HOME names a folder.
    const std::filesystem::path& File() const { return m_file; }
    bool IsEnabled() const;
    // Writes the entry that starts `command` (an absolute program path and its arguments, already
    // quoted as a desktop entry's Exec line wants them). False when it could not be written.
    bool Enable(const std::string& command) const;
    // Removes the entry. False when it is still there.
    bool Disable() const;

private:
    std::filesystem::path m_file;
};

} // namespace veldrane
