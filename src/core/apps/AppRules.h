#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

namespace veldrane {

// The rules file in the data folder.
inline constexpr std::string_view kAppRulesName = "apps.ini";

// What the session tells of the window that has the focus. Empty fields are unknown; a window
// with every field empty is the desktop itself.
struct FocusedWindow
{
    std::string appId;       // the Wayland app id or the desktop-file id
    std::string windowClass; // the X11 WM_CLASS class
    std::string instance;    // the X11 WM_CLASS instance
    std::string executable;  // the name of the window's program, from its process id

    friend bool operator==(const FocusedWindow&, const FocusedWindow&) = default;
};

// The profile each application brings, kept in "apps.ini":
//
//   [Settings]
//   Enabled=0|1        switching by application; off unless 1
//   Default=NAME       the profile for a window no rule names (none: such windows switch nothing)
//   Switches=N         how many switches the program has made, each one a write of the mouse's memory
//   [PROFILE_1]        one section per profile name
//   App0=firefox       application ids, App0, App1, ... in order
//
// An application id names one profile only: adding it to a profile takes it from any other.
class AppRules
{
public:
    static constexpr std::string_view kSettingsSection = "Settings";

    static AppRules Parse(std::string_view text);
    std::string Serialise() const;

    bool Enabled() const { return m_enabled; }
    void SetEnabled(bool enabled) { m_enabled = enabled; }
    const std::optional<std::string>& DefaultProfile() const { return m_default; }
    // False for a name that cannot stand in the file.
    [[nodiscard]] bool SetDefaultProfile(std::optional<std::string> profile);
    std::uint64_t Switches() const { return m_switches; }
    void CountSwitch() { ++m_switches; }

    // The application ids of a profile, in file order.
    std::vector<std::string> AppsOf(std::string_view profile) const;
    // False, with nothing changed, for an id or profile name that cannot stand in the file (line
    // breaks, '[' or ']' in the name, a profile called "Settings").
    [[nodiscard]] bool AddApp(std::string_view profile, std::string_view appId);
    void RemoveApp(std::string_view profile, std::string_view appId);
    // The profiles that have rules, in file order.
    std::vector<std::string> Profiles() const;

    // The profile of the first rule that names the window's app id, else its X11 class, else its
    // instance, else its executable; ids compare without regard to ASCII case, and a trailing
    // ".desktop" of a desktop-file id does not count.
    std::optional<std::string> Match(const FocusedWindow& window) const;

    // After the profile list was stored: each rule and the default follow their profile's new
    // name (`renames` holds old and new names, applied together), then whatever names a profile
    // not in `names` is dropped. The result: the names that were dropped, for a note.
    std::vector<std::string> FollowProfiles(const std::vector<std::pair<std::string, std::string>>& renames,
                                            const std::vector<std::string>& names);

private:
    struct Rule
    {
        std::string profile;
        std::vector<std::string> apps;
    };

    bool m_enabled = false;
    std::optional<std::string> m_default;
    std::uint64_t m_switches = 0;
    std::vector<Rule> m_rules;
};

// "apps.ini" read from the data folder: a missing file gives no rules and switching off.
struct [[nodiscard]] AppRulesRead
{
    std::error_code error;
    AppRules rules;
};
[[nodiscard]] AppRulesRead ReadAppRules(const std::filesystem::path& directory);
// Written whole and atomically.
[[nodiscard]] std::error_code WriteAppRules(const std::filesystem::path& directory, const AppRules& rules);

} // namespace veldrane
