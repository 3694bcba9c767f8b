// `doctor`: what stands between a user and a working mouse, each check on one line with the exact
// fix. It only looks: it opens nothing for writing and sends the mouse nothing.

#include <gio/gio.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "Commands.h"
#include "Decoded.h"
#include "Diagnostics.h"
#include "adapters/linux/DataLocations.h"
#include "adapters/linux/HidAccess.h"
#include "adapters/linux/HidapiBackend.h"
#include "adapters/linux/IconvTextCodec.h"
#include "adapters/linux/SteadyClock.h"
#include "adapters/linux/pointer/DesktopPointerSettings.h"
#include "core/apps/AppRules.h"
#include "core/apps/FocusSession.h"
#include "core/device/MouseSearch.h"
#include "core/ini/FileError.h"
#include "core/ini/IniEncoding.h"
#include "core/ini/IniFile.h"
#include "core/macro/MacroFile.h"
#include "core/profile/ConfigFile.h"
#include "core/profile/DataDirectory.h"
#include "core/profile/ProfileFileNames.h"
#include "core/text/AccessTexts.h"
#include "core/text/AppSwitchTexts.h"
#include "ports/HidBackend.h"
#include "sim/SimulatedFault.h"
#include "sim/SimulatedMouse.h"

// Last: its macros (None, Status) would clash with the names of the headers above.
#include <X11/Xlib.h>

namespace veldrane::ctl {

namespace {

constexpr std::string_view kRuleName = "70-veldrane.rules";
// Where udev reads rules from, the administrator's folders first.
const std::vector<std::filesystem::path> kRuleFolders = {"/etc/udev/rules.d", "/run/udev/rules.d",
                                                         "/usr/lib/udev/rules.d", "/lib/udev/rules.d",
                                                         "/usr/local/lib/udev/rules.d"};
// The configurator's single-instance lock file: QWZQ481CalveshMutex.lock in the runtime folder
// (platform/qt/SingleInstanceLock.h), the process id on its first line.
constexpr std::string_view kLockFileName = "QWZQ481CalveshMutex.lock";
constexpr std::string_view kTrayWatcher = "org.kde.StatusNotifierWatcher";

struct Check
{
    std::string name;
    bool ok = true;
    std::string text;
    std::string fix; // empty when nothing is to be done
};

std::string Variable(const char* name)
{
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

Check RuleCheck(bool simulate)
{
    if (simulate) {
        return {"udev rule", true, "not needed by the simulated mouse", ""};
    }
    for (const std::filesystem::path& folder : kRuleFolders) {
        std::error_code error;
        if (std::filesystem::is_regular_file(folder / kRuleName, error)) {
            return {"udev rule", true, (folder / kRuleName).string(), ""};
        }
    }
    return {"udev rule", false, std::string(kRuleName) + " is not installed",
            "sudo cp data/70-veldrane.rules /etc/udev/rules.d/ && sudo udevadm control --reload-rules && "
            "sudo udevadm trigger"};
}

std::string InterfaceText(const HidInterfaceInfo& info)
{
    std::ostringstream text;
    text << info.path << " usage-page=0x" << std::hex << std::uppercase << info.usagePage << " usage=0x" << info.usage
         << std::dec << " input=" << info.inputReportLength << " output=" << info.outputReportLength
         << " feature=" << info.featureReportLength;
    return text.str();
}

// The mouse's interfaces and their report lengths (as their descriptors give them), and whether
// this user may open them.
std::vector<Check> MouseChecks(HidBackend& backend, bool simulate, Language language)
{
    std::vector<Check> checks;
    const std::vector<HidInterfaceInfo> interfaces = backend.Enumerate();
    const HidInterfaceInfo* command = nullptr;
    const HidInterfaceInfo* notification = nullptr;
    std::size_t count = 0;
    for (const HidInterfaceInfo& info : interfaces) {
        switch (ClassifyInterface(info)) {
        case MouseInterfaceRole::Command:
            command = &info;
            break;
        case MouseInterfaceRole::Notification:
            notification = &info;
            break;
        case MouseInterfaceRole::NotTheMouse:
            continue;
        case MouseInterfaceRole::Other:
            break;
        }
        ++count;
    }
    if (count == 0) {
        checks.push_back({"mouse", false, "no Tessaly VELDRANE (USB 04d9:a0cb) is plugged in",
                          "plug the mouse in, straight into the computer rather than through a hub"});
        return checks;
    }
    checks.push_back({"mouse", true, std::to_string(count) + " HID interfaces of the mouse", ""});
    const auto roleCheck = [&](const char* name, const HidInterfaceInfo* info, const char* wanted) {
        if (info == nullptr) {
            checks.push_back({name, false, std::string("no interface with ") + wanted,
                              "unplug the mouse and plug it in again; if this stays, its firmware is not one this "
                              "program knows"});
        } else {
            checks.push_back({name, true, InterfaceText(*info), ""});
        }
    };
    roleCheck("command interface", command, "usage page 0xFF00, usage 0xFF00 and 9-byte feature reports");
    roleCheck("notification interface", notification, "usage page 0xFF01, usage 0x0001 and input reports");
    if (simulate) {
        checks.push_back({"access", true, "the simulated mouse needs no device node", ""});
    } else if (const std::string node = FirstDeniedMouseNode(interfaces); !node.empty()) {
        checks.push_back({"access", false, MouseNotPermittedText(language, node),
                          "sudo cp data/70-veldrane.rules /etc/udev/rules.d/ && sudo udevadm control "
                          "--reload-rules && sudo udevadm trigger"});
    } else {
        checks.push_back({"access", true, "this user may open every node of the mouse", ""});
    }
    return checks;
}

Check InstanceCheck()
{
    std::filesystem::path runtime = Variable("XDG_RUNTIME_DIR");
    if (runtime.empty()) {
        runtime = "/run/user/" + std::to_string(getuid());
    }
    const std::filesystem::path lock = runtime / kLockFileName;
    std::ifstream in(lock);
    long pid = 0;
    if (!(in >> pid) || pid <= 0) {
        return {"running instance", true, "none (" + lock.string() + ")", ""};
    }
    if (kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH) {
        return {"running instance", true, "none; the lock of process " + std::to_string(pid) + " is left over", ""};
    }
    return {"running instance", true,
            "process " + std::to_string(pid) + " holds " + lock.string() +
                ": its window talks to the mouse too, so changes made here show there at its next load",
            ""};
}

// The interface language the configurator keeps in str.ini, section "Skins", key "Lan".
Language LanguageOf(const std::filesystem::path& directory)
{
    const IconvTextCodec codec;
    const IniFile list(directory / kListName, codec);
    return LanguageFromCode(list.GetString(kSkinsSection, kLanguageKey));
}

std::string ReadBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

Check FileCheck(const std::filesystem::path& path)
{
    const std::string name = "file " + path.filename().string();
    const std::string replace =
        "move " + path.string() + " away; the configurator copies the factory file there at its next start";
    std::error_code error;
    const auto status = std::filesystem::status(path, error);
    if (!std::filesystem::exists(status)) {
        return {name, true, "missing; the configurator copies the factory file at its next start", ""};
    }
    if (!std::filesystem::is_regular_file(status)) {
        const int code = std::filesystem::is_directory(status) ? EISDIR : static_cast<int>(FileError::NotRegularFile);
        return {name, false, FileReason(code), replace};
    }
    const auto size = std::filesystem::file_size(path, error);
    if (access(path.c_str(), R_OK | W_OK) != 0) {
        return {name, false, FileReason(errno), "chmod u+rw " + path.string()};
    }
    if (path.extension() == ".bin") {
        const ConfigFileReadResult read = ConfigFile::Read(path);
        if (read.status != ConfigFileStatus::Read) {
            return {name, false,
                    "size " + std::to_string(size) + " bytes, a profile file has " + std::to_string(kConfigFileSize),
                    replace};
        }
        return {name, true, std::to_string(size) + " bytes", ""};
    }
    if (path.filename() == kMacroFileName && size > kMaxMacroFileBytes) {
        return {name, false,
                "size " + std::to_string(size) + " bytes, a macro file has at most " +
                    std::to_string(kMaxMacroFileBytes),
                "move " + path.string() + " away and record the macros again"};
    }
    const IconvTextCodec codec;
    if (!IniEncoding(codec, LegacyCodePage::Windows1252).Decode(ReadBytes(path)).exact) {
        return {name, false, FileReason(static_cast<int>(FileError::UndecodableText)), replace};
    }
    return {name, true, std::to_string(size) + " bytes, readable text", ""};
}

std::vector<Check> DataChecks(const std::filesystem::path& directory)
{
    std::vector<Check> checks;
    if (directory.empty()) {
        checks.push_back({"data folder", false, "neither XDG_DATA_HOME nor HOME names a folder",
                          "start the programs with --data-dir DIR"});
        return checks;
    }
    std::error_code error;
    if (!std::filesystem::exists(directory, error)) {
        checks.push_back({"data folder", true, directory.string() + " is made at the configurator's first start", ""});
        return checks;
    }
    if (!std::filesystem::is_directory(directory, error) || access(directory.c_str(), R_OK | W_OK | X_OK) != 0) {
        checks.push_back({"data folder", false, directory.string() + ": " + FileReason(errno != 0 ? errno : ENOTDIR),
                          "chmod u+rwx " + directory.string()});
        return checks;
    }
    checks.push_back({"data folder", true, directory.string(), ""});
    for (const std::string& name : DataDirectory::SeedFileNames()) {
        checks.push_back(FileCheck(directory / name));
    }
    return checks;
}

bool TrayHostRuns(const std::string& session)
{
    if (GDBusConnection* bus = g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, nullptr)) {
        GVariant* reply =
            g_dbus_connection_call_sync(bus, "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
                                        "NameHasOwner", g_variant_new("(s)", kTrayWatcher.data()),
                                        G_VARIANT_TYPE("(b)"), G_DBUS_CALL_FLAGS_NONE, 1000, nullptr, nullptr);
        gboolean owned = FALSE;
        if (reply != nullptr) {
            g_variant_get(reply, "(b)", &owned);
            g_variant_unref(reply);
        }
        g_object_unref(bus);
        if (owned) {
            return true;
        }
    }
    if (session != "X11") {
        return false;
    }
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        return false;
    }
    const std::string selection = "_NET_SYSTEM_TRAY_S" + std::to_string(DefaultScreen(display));
    const bool owned = XGetSelectionOwner(display, XInternAtom(display, selection.c_str(), False)) != None;
    XCloseDisplay(display);
    return owned;
}

std::vector<Check> SessionChecks()
{
    std::vector<Check> checks;
    const DesktopEnvironment environment = DesktopEnvironment::FromProcess();
    std::string session = !environment.waylandDisplay.empty() ? "Wayland" : !environment.display.empty() ? "X11" : "";
    if (session.empty()) {
        checks.push_back({"session", true, "no graphical session: the window cannot show here, veldranectl works", ""});
        return checks;
    }
    checks.push_back(
        {"session", true, session + (environment.currentDesktop.empty() ? "" : ", " + environment.currentDesktop), ""});
    checks.push_back(
        TrayHostRuns(session)
            ? Check{"tray", true, "a tray host shows the configurator's icon", ""}
            : Check{"tray", true, "no tray host: the window stays on the screen and minimises instead", ""});
    const DesktopPointerSettings pointer(environment);
    std::string taken;
    const std::pair<PointerSetting, const char*> settings[] = {{PointerSetting::Acceleration, "pointer precision"},
                                                               {PointerSetting::Speed, "pointer speed"},
                                                               {PointerSetting::WheelScrollLines, "wheel scroll lines"},
                                                               {PointerSetting::DoubleClickTime, "double-click time"}};
    for (const auto& [setting, name] : settings) {
        if (pointer.DesktopHas(setting)) {
            taken += taken.empty() ? name : std::string(", ") + name;
        }
    }
    checks.push_back(
        {"pointer settings", true, taken.empty() ? "this desktop takes none" : "this desktop takes " + taken, ""});
    return checks;
}

constexpr char kGnomeExtensionUuid[] = "veldrane-focus@veldrane.github.io";

// Whether GNOME Shell runs the program's extension (state 1: enabled and running).
bool GnomeExtensionEnabled()
{
    GDBusConnection* bus = g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, nullptr);
    if (bus == nullptr) {
        return false;
    }
    GVariant* reply =
        g_dbus_connection_call_sync(bus, "org.gnome.Shell", "/org/gnome/Shell", "org.gnome.Shell.Extensions",
                                    "GetExtensionInfo", g_variant_new("(s)", kGnomeExtensionUuid),
                                    G_VARIANT_TYPE("(a{sv})"), G_DBUS_CALL_FLAGS_NONE, 1000, nullptr, nullptr);
    bool enabled = false;
    if (reply != nullptr) {
        GVariant* info = g_variant_get_child_value(reply, 0);
        double state = 0;
        enabled = g_variant_lookup(info, "state", "d", &state) && state == 1.0;
        g_variant_unref(info);
        g_variant_unref(reply);
    }
    g_object_unref(bus);
    return enabled;
}

// Whether the X11 window manager names the active window on the root window.
bool ActiveWindowHint()
{
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        return false;
    }
    Atom type = None;
    int format = 0;
    unsigned long items = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    const Atom active = XInternAtom(display, "_NET_ACTIVE_WINDOW", True);
    const bool set = active != None &&
                     XGetWindowProperty(display, DefaultRootWindow(display), active, 0, 1, False, AnyPropertyType,
                                        &type, &format, &items, &after, &data) == Success &&
                     type != None;
    if (data != nullptr) {
        XFree(data);
    }
    XCloseDisplay(display);
    return set;
}

// Switching profiles by application: whether this session can tell the focused window, and how
// many switches (each a write of the mouse's memory) the configurator has made.
Check AppSwitchingCheck(const DesktopEnvironment& environment, const std::filesystem::path& directory,
                        Language language)
{
    const AppRules rules = directory.empty() ? AppRules() : ReadAppRules(directory).rules;
    const std::string count =
        std::to_string(rules.Switches()) + " switches so far, each one a write of the mouse's memory";
    const std::string state = rules.Enabled() ? "on, " : "off, ";
    std::optional<FocusUnavailable> why;
    switch (FocusSessionOf(environment.waylandDisplay, environment.display, environment.currentDesktop)) {
    case FocusSession::X11:
        if (!ActiveWindowHint()) {
            why = FocusUnavailable::NoSession;
        }
        break;
    case FocusSession::KdeWayland:
        break;
    case FocusSession::GnomeWayland:
        if (!GnomeExtensionEnabled()) {
            why = FocusUnavailable::GnomeExtensionOff;
        }
        break;
    case FocusSession::OtherWayland:
        why = FocusUnavailable::OtherWayland;
        break;
    case FocusSession::Headless:
        why = FocusUnavailable::NoSession;
        break;
    }
    if (!why) {
        return {"switch by application", true, state + count, ""};
    }
    // Only a problem for a user who turned it on.
    return {"switch by application", !rules.Enabled(),
            state + count + "; " + std::string(FocusUnavailableText(*why, language)),
            rules.Enabled() ? std::string(FocusUnavailableText(*why, language)) : ""};
}

const std::string kFaultNeeds = "one of " + std::string(kSimulatedFaultChoices);
const OptionSpec kDoctorOptions[] = {
    {"--json"}, {"--data-dir", "a folder"}, {"--simulate"}, {"--sim-fault", kFaultNeeds, [](std::string_view text) {
                                                                 return SimulatedFault::Parse(text).has_value();
                                                             }}};

} // namespace

int RunDoctor(CommandArgs args, std::ostream& out, std::ostream& err)
{
    const auto line = CommandLine::Parse("doctor", args, kDoctorOptions, "", 0, 0, err);
    if (!line) {
        return kUsage;
    }
    const bool simulate = line->Has("--simulate") || line->Has("--sim-fault");
    const DataLocations locations =
        DataLocations::Resolve(DataLocations::ExecutableDirectory(), line->Value("--data-dir").value_or(""), simulate);
    const Language language = locations.user.empty() ? Language::English : LanguageOf(locations.user);

    std::vector<Check> checks;
    checks.push_back(RuleCheck(simulate));
    if (simulate) {
        SteadyClock clock;
        SimulatedMouse mouse(clock, &clock);
        if (const auto fault = line->Value("--sim-fault")) {
            mouse.SetFault(*SimulatedFault::Parse(*fault));
        }
        for (Check& check : MouseChecks(mouse, true, language)) {
            checks.push_back(std::move(check));
        }
    } else {
        HidapiBackend backend;
        for (Check& check : MouseChecks(backend, false, language)) {
            checks.push_back(std::move(check));
        }
    }
    checks.push_back(InstanceCheck());
    for (Check& check : DataChecks(locations.user)) {
        checks.push_back(std::move(check));
    }
    for (Check& check : SessionChecks()) {
        checks.push_back(std::move(check));
    }
    checks.push_back(AppSwitchingCheck(DesktopEnvironment::FromProcess(), locations.user, language));

    bool allOk = true;
    for (const Check& check : checks) {
        allOk = allOk && check.ok;
    }
    if (line->Has("--json")) {
        nlohmann::ordered_json json;
        json["schema"] = kJsonSchema;
        json["ok"] = allOk;
        json["checks"] = nlohmann::ordered_json::array();
        for (const Check& check : checks) {
            json["checks"].push_back(
                {{"check", check.name}, {"ok", check.ok}, {"text", check.text}, {"fix", check.fix}});
        }
        out << json.dump(2) << '\n';
    } else {
        for (const Check& check : checks) {
            out << (check.ok ? "ok       " : "PROBLEM  ") << check.name << ": " << check.text;
            if (!check.fix.empty()) {
                out << " -- fix: " << check.fix;
            }
            out << '\n';
        }
    }
    return allOk ? kSuccess : kFailed;
}

} // namespace veldrane::ctl
