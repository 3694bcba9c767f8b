#include "adapters/linux/Autostart.h"

#include <sys/stat.h>

#include <cerrno>
#include <system_error>

#include "core/ini/AtomicFile.h"

namespace veldrane {

namespace {

// The folders the program makes for the entry hold what the user's session runs: only the user
// may write them.
constexpr mode_t kFolderMode = 0700;

// A desktop entry's string value keeps its backslashes and line breaks as escapes.
std::string StringValue(std::string_view text)
{
    std::string value;
    for (const char c : text) {
        switch (c) {
        case '\\':
            value += "\\\\";
            break;
        case '\n':
            value += "\\n";
            break;
        case '\r':
            value += "\\r";
            break;
        default:
            value += c;
        }
    }
    return value;
}

// Creates the missing folders of `folder`, each with kFolderMode; folders that are there stay as
// they are.
bool CreateFolders(const std::filesystem::path& folder)
{
    std::error_code error;
    if (std::filesystem::is_directory(folder, error)) {
        return true;
    }
    if (folder.has_relative_path() && folder.parent_path() != folder && !CreateFolders(folder.parent_path())) {
        return false;
    }
    return ::mkdir(folder.c_str(), kFolderMode) == 0 ||
           (errno == EEXIST && std::filesystem::is_directory(folder, error));
}

} // namespace

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

std::string Autostart::ExecLine(const std::vector<std::string>& command)
{
    std::string line;
    for (const std::string& word : command) {
        // Inside double quotes a desktop entry escapes ", `, $ and \ with a backslash; a literal
        // % is always %%, or it would start a field code.
        std::string quoted = "\"";
        for (const char c : word) {
            if (c == '"' || c == '`' || c == '$' || c == '\\') {
                quoted += '\\';
            } else if (c == '%') {
                quoted += '%';
            }
            quoted += c;
        }
        quoted += '"';
        line += line.empty() ? "" : " ";
        // The string escapes come on top: a reader takes them off before it splits the words.
        line += StringValue(quoted);
    }
    return line;
}

bool Autostart::Enable(const std::vector<std::string>& command) const
{
    if (m_file.empty() || command.empty() || !CreateFolders(m_file.parent_path())) {
        return false;
    }
    const std::string entry = "[Desktop Entry]\n"
                              "Type=Application\n"
                              "Name=VELDRANE Configurator\n"
                              "Comment=Tray icon of the Tessaly VELDRANE mouse configurator\n"
                              "TryExec=" +
                              StringValue(command.front()) + "\nExec=" + ExecLine(command) +
                              "\n"
                              "Terminal=false\n"
                              "NoDisplay=true\n"
                              "X-GNOME-Autostart-enabled=true\n";
    return !WriteFileAtomically(m_file, entry);
}

bool Autostart::Disable() const
{
    std::error_code error;
    std::filesystem::remove(m_file, error);
    return !IsEnabled();
}

} // namespace veldrane
