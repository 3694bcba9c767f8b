#pragma once

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "ports/AutostartEntry.h"

namespace veldrane {

// The desktop's autostart entry of the program: $XDG_CONFIG_HOME/autostart/veldrane.desktop
// (~/.config/autostart). The program started from it lives hidden in the tray.
class Autostart : public AutostartEntry
{
public:
    // `environment` looks up a variable (nullptr when unset).
    explicit Autostart(const std::function<const char*(const char*)>& environment = std::getenv);

    // Empty when neither XDG_CONFIG_HOME nor HOME names a folder.
    const std::filesystem::path& File() const { return m_file; }
    bool Available() const override { return !m_file.empty(); }
    bool IsEnabled() const override;
    // Writes, whole or not at all, the entry that starts `command`: the program's absolute path
    // and its arguments, which reach it unchanged whatever characters they hold. The folders it
    // creates on the way are the user's alone (mode 0700). False when it could not be written.
    [[nodiscard]] bool Enable(const std::vector<std::string>& command) const override;
    // Removes the entry. False when it is still there.
    [[nodiscard]] bool Disable() const override;

    // The Exec value that runs `command`, each word quoted as desktop entries (and GLib's reader)
    // expect, with their string escapes on top.
    static std::string ExecLine(const std::vector<std::string>& command);

private:
    std::filesystem::path m_file;
};

} // namespace veldrane
