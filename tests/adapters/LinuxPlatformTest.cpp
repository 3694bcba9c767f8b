// The Linux adapters: where the program finds its data and the user's files, the autostart entry
// of the tray menu's "Start with the desktop" (read back by GLib's own desktop-entry reader), the
// legacy code pages, the kernel's key names, the desktops' pointer settings: which one the program
// uses, and each written where its desktop reads it (a real Xvfb server, GSettings' keyfile
// backend, Plasma's files, tools and a private session bus), and the helper programs it runs.

#include "adapters/linux/Autostart.h"
#include "adapters/linux/DataLocations.h"
#include "adapters/linux/EvdevKeyNames.h"
#include "adapters/linux/IconvTextCodec.h"

#include <gio/gdesktopappinfo.h>
#include <gio/gio.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <array>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "adapters/XvfbServer.h"
#include "adapters/linux/pointer/ChildProgram.h"
#include "adapters/linux/pointer/DesktopPointerSettings.h"
#include "adapters/linux/pointer/GSettingsPointerSettings.h"
#include "adapters/linux/pointer/KdeConfigFile.h"
#include "adapters/linux/pointer/KdePointerSettings.h"
#include "adapters/linux/pointer/X11PointerSettings.h"
#include "core/buttons/KeyTables.h"
#include "core/profile/ProfileRecord.h"
#include "core/settings/DesktopPointerSettingsApplier.h"
#include "ports/PointerSettingsBackend.h"
#include "support/TempDir.h"

// Last: Xlib defines None and Bool as macros, which the headers above use as names.
#include <X11/Xlib.h>

namespace veldrane::test {
namespace {

// An executable script that runs `body`.
std::filesystem::path WriteScript(const std::filesystem::path& directory, const std::string& name,
                                  const std::string& body)
{
    const std::filesystem::path program = directory / name;
    WriteFileBytes(program, "#!/bin/sh\n" + body + "\n");
    ::chmod(program.c_str(), 0755);
    return program;
}

// A script standing in for a desktop tool: it appends each of its arguments on a line of its own
// to `log`, then a line "--".
std::filesystem::path WriteRecordingProgram(const std::filesystem::path& directory, const std::string& name,
                                            const std::filesystem::path& log)
{
    return WriteScript(directory, name,
                       "for a in \"$@\"; do printf '%s\\n' \"$a\" >> '" + log.string() + "'; done\necho -- >> '" +
                           log.string() + "'");
}

TEST(Autostart, EntryUnderTheConfigFolderWrittenAndRemoved)
{
    TempDir home;
    const std::string config = (home / "cfg").string();
    const std::string homePath = home.Path().string();
    const Autostart fromXdg([&](const char* name) -> const char* {
        return std::string_view(name) == "XDG_CONFIG_HOME" ? config.c_str() : homePath.c_str();
    });
    const Autostart fromHome(
        [&](const char* name) -> const char* { return std::string_view(name) == "HOME" ? homePath.c_str() : nullptr; });
    const Autostart homeless([](const char*) -> const char* { return nullptr; });
    EXPECT_EQ(fromXdg.File(), home / "cfg/autostart/veldrane.desktop");
    EXPECT_EQ(fromHome.File(), home / ".config/autostart/veldrane.desktop");
    EXPECT_TRUE(homeless.File().empty());
    EXPECT_FALSE(homeless.Enable({"/usr/bin/veldrane"}));

    EXPECT_FALSE(fromXdg.IsEnabled()); // off by default
    ::umask(022);
    ASSERT_TRUE(fromXdg.Enable({"/usr/bin/veldrane"}));
    EXPECT_TRUE(fromXdg.IsEnabled());
    EXPECT_EQ(ReadFileBytes(fromXdg.File()), "[Desktop Entry]\n"
                                             "Type=Application\n"
                                             "Name=VELDRANE Configurator\n"
                                             "Comment=Tray icon of the Tessaly VELDRANE mouse configurator\n"
                                             "TryExec=/usr/bin/veldrane\n"
                                             "Exec=\"/usr/bin/veldrane\"\n"
                                             "Terminal=false\n"
                                             "NoDisplay=true\n"
                                             "X-GNOME-Autostart-enabled=true\n");
    // Both folders the program made are the user's alone; one that was there keeps its mode.
    struct stat folder
    {
    };
    for (const char* made : {"cfg", "cfg/autostart"}) {
        ASSERT_EQ(::stat((home / made).c_str(), &folder), 0);
        EXPECT_EQ(folder.st_mode & 07777, 0700u) << made;
    }
    ::chmod(home.Path().c_str(), 0751);
    ASSERT_TRUE(fromHome.Enable({"/usr/bin/veldrane"}));
    ASSERT_EQ(::stat(home.Path().c_str(), &folder), 0);
    EXPECT_EQ(folder.st_mode & 07777, 0751u);
    // Written whole through a temporary file that does not stay behind.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(home / "cfg/autostart"), {}), 1);

    EXPECT_TRUE(fromXdg.Disable());
    EXPECT_FALSE(std::filesystem::exists(fromXdg.File()));
}

// Each word is quoted; ", `, $ and \ get a backslash inside the quotes, % doubles, and the string
// escapes of the value come on top (a backslash doubles again, a line break is \n).
TEST(Autostart, ExecLineQuotesEveryWordAsDesktopEntriesExpect)
{
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"/usr/bin/veldrane"}, R"("/usr/bin/veldrane")"},
        {{"/opt/my apps/veldrane", "--data-dir", "/home/me/100% mouse"},
         R"("/opt/my apps/veldrane" "--data-dir" "/home/me/100%% mouse")"},
        {{"/opt/$HOME/`id`/\"q\"/veldrane"}, R"("/opt/\\$HOME/\\`id\\`/\\"q\\"/veldrane")"},
        {{"/opt/a\\b/veldrane"}, R"("/opt/a\\\\b/veldrane")"},
        {{"/opt/veldrane", "/data/two\nlines"}, R"("/opt/veldrane" "/data/two\nlines")"},
    };
    for (const auto& [command, line] : cases) {
        EXPECT_EQ(Autostart::ExecLine(command), line) << command.back();
    }
}

// The desktop's own reader (GLib's, which GNOME, Xfce and others start autostart entries with)
// finds the program through TryExec and starts it with exactly its words.
TEST(Autostart, TheDesktopStartsTheEntryWithTheProgramsOwnWords)
{
    TempDir home;
    const std::filesystem::path folder = home / "it's \"a\" $HOME `x` \\";
    std::filesystem::create_directories(folder);
    const std::filesystem::path log = home / "words.log";
    const std::filesystem::path program = WriteRecordingProgram(folder, "veldrane", log);
    const std::vector<std::string> command{program.string(), "--data-dir", (folder / "100% $x\nnext").string()};
    const std::string config = (home / "cfg").string();
    const Autostart autostart([&](const char* name) -> const char* {
        return std::string_view(name) == "XDG_CONFIG_HOME" ? config.c_str() : nullptr;
    });
    ASSERT_TRUE(autostart.Enable(command));
    // GLib tells a session bus about the start when it finds one; this test program uses none.
    ::setenv("DBUS_SESSION_BUS_ADDRESS", ("unix:path=" + (home / "no-bus").string()).c_str(), 1);

    std::unique_ptr<GDesktopAppInfo, decltype(&g_object_unref)> entry(
        g_desktop_app_info_new_from_filename(autostart.File().c_str()), &g_object_unref);
    ASSERT_NE(entry, nullptr) << ReadFileBytes(autostart.File());
    GPid child = 0;
    GError* error = nullptr;
    ASSERT_TRUE(g_desktop_app_info_launch_uris_as_manager(
        entry.get(), nullptr, nullptr, G_SPAWN_DO_NOT_REAP_CHILD, nullptr, nullptr,
        [](GDesktopAppInfo*, GPid pid, gpointer started) { *static_cast<GPid*>(started) = pid; }, &child, &error))
        << (error != nullptr ? error->message : "");
    ASSERT_GT(child, 0);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_EQ(ReadFileBytes(log), command[1] + "\n" + command[2] + "\n--\n");

    // Without the program the desktop leaves the entry alone.
    std::filesystem::remove(program);
    GDesktopAppInfo* missing = g_desktop_app_info_new_from_filename(autostart.File().c_str());
    EXPECT_EQ(missing, nullptr);
    if (missing != nullptr) {
        g_object_unref(missing);
    }
}

TEST(DataLocations, UserFolder)
{
    const struct
    {
        std::map<std::string, std::string> environment;
        std::string dataDirOption;
        bool simulate;
        std::string user;
    } cases[] = {{{{"XDG_DATA_HOME", "/x"}, {"HOME", "/h"}}, "", false, "/x/veldrane"},
                 {{{"HOME", "/h"}}, "", false, "/h/.local/share/veldrane"},
                 // A relative XDG_DATA_HOME is invalid and ignored.
                 {{{"XDG_DATA_HOME", "rel"}, {"HOME", "/h"}}, "", false, "/h/.local/share/veldrane"},
                 {{{"HOME", "/h"}}, "", true, "/h/.local/share/veldrane/simulated"},
                 {{{"HOME", "/h"}}, "/d/", true, "/d/"},
                 {{}, "", false, ""}};
    for (const auto& c : cases) {
        const auto lookup = [&](const char* name) -> const char* {
            const auto found = c.environment.find(name);
            return found == c.environment.end() ? nullptr : found->second.c_str();
        };
        const DataLocations locations = DataLocations::Resolve("/opt/v/bin", c.dataDirOption, c.simulate, lookup);
        EXPECT_EQ(locations.installed, "/opt/v/share/veldrane");
        EXPECT_EQ(locations.user.string(), c.user);
    }
}

TEST(IconvTextCodec, ConvertsTheLegacyCodePagesBothWaysAndNothingThatDoesNotFit)
{
    const struct
    {
        LegacyCodePage page;
        std::string utf8;
        std::string bytes;
    } cases[] = {{LegacyCodePage::Gbk, "€", "\x80"}, // the Windows variants, not the plain ones
                 {LegacyCodePage::Big5, "€", "\xA3\xE1"},
                 {LegacyCodePage::Windows1252, "é€", "\xE9\x80"}};
    const IconvTextCodec codec;
    for (const auto& c : cases) {
        EXPECT_EQ(codec.ToUtf8(c.bytes, c.page), c.utf8);
        EXPECT_EQ(codec.FromUtf8(c.utf8, c.page), c.bytes);
    }
    // A cut character and text that is no UTF-8 give nothing; the label file's tests meet the rest.
    EXPECT_EQ(codec.ToUtf8("ab\xD7", LegacyCodePage::Gbk), std::nullopt);
    EXPECT_EQ(codec.FromUtf8("a\xC3", LegacyCodePage::Windows1252), std::nullopt);
}

// Kernel codes (KEY_* of <linux/input-event-codes.h>) where the kernel's order leaves the HID
// usage order: each gives the key table's name, its X keycode (evdev + 8) the same, and the name
// the usage the mouse is sent.
TEST(EvdevKeyNames, KernelCodesGiveTheKeyTablesNamesAndUsages)
{
    const struct
    {
        std::uint32_t evdev;
        const char* name;
        std::uint8_t usage;
    } keys[] = {{16, "Q", 0x14},       {11, "0", 0x27},
                {1, "Esc", 0x29},      {43, "\\", 0x31},
                {87, "F11", 0x44},     {99, "Prnt Scrn", 0x46},
                {106, "Right", 0x4F},  {79, "Num 1", 0x59},
                {83, "Num Del", 0x63}, {127, "Application", 0x65},
                {29, "Ctrl", 0xE0},    {126, "Right Windows", 0xE7}};
    for (const auto& key : keys) {
        EXPECT_EQ(EvdevKeyName(key.evdev), key.name) << key.evdev;
        EXPECT_EQ(XkbKeycodeName(key.evdev + 8), key.name) << key.evdev;
        EXPECT_EQ(KeyCodeFromName(key.name), key.usage) << key.name;
    }
}

constexpr bool kSchema = true;
constexpr bool kNoSchema = false;

TEST(DesktopPointerSettings, ChoiceFollowsTheRunningDesktop)
{
    const struct
    {
        const char* currentDesktop;
        const char* display;
        const char* waylandDisplay;
        bool schemaInstalled;
        PointerDesktop expected;
    } cases[] = {{"neon:kde", "", "wayland-0", kSchema, PointerDesktop::KdePlasma},
                 {"GNOME", ":1", "wayland-0", kSchema, PointerDesktop::GSettings},
                 {"GNOME", ":0", "", kNoSchema, PointerDesktop::X11},
                 {"GNOME", "", "wayland-0", kNoSchema, PointerDesktop::NoSettings},
                 // GNOME's schema on a machine running another desktop is not that desktop's.
                 {"XFCE", ":0", "", kSchema, PointerDesktop::X11},
                 {"sway", ":0", "wayland-1", kSchema, PointerDesktop::NoSettings},
                 {"KDEish", ":0", "", kNoSchema, PointerDesktop::X11}};
    for (const auto& c : cases) {
        const DesktopEnvironment environment{c.currentDesktop, c.display, c.waylandDisplay, {}, {}, {}};
        EXPECT_EQ(DesktopPointerSettings::Choose(environment, c.schemaInstalled), c.expected) << c.currentDesktop;
    }
}

// Acceleration numerator, denominator and threshold.
using PointerControl = std::array<int, 3>;

class X11PointerSettingsOnXvfb : public testing::Test
{
protected:
    void SetUp() override
    {
        if (!XvfbServer::Installed()) {
            GTEST_SKIP() << "Xvfb is not installed: the X11 pointer settings need a real X server";
        }
        m_server.emplace();
        ASSERT_FALSE(m_server->Display().empty()) << "Xvfb did not start";
        m_x11 = X11PointerSettings::Open(m_server->Display());
        ASSERT_NE(m_x11, nullptr);
    }

    // What the server holds, read over a connection of its own.
    std::optional<PointerControl> ServerPointerControl() const
    {
        Display* display = XOpenDisplay(m_server->Display().c_str());
        if (display == nullptr) {
            return std::nullopt;
        }
        PointerControl control{};
        XGetPointerControl(display, &control[0], &control[1], &control[2]);
        XCloseDisplay(display);
        return control;
    }

    std::optional<XvfbServer> m_server;
    std::unique_ptr<X11PointerSettings> m_x11;
};

// Enhanced precision doubles the pointer's speed beyond four pixels; without it the pointer moves
// one to one, and the threshold stays.
TEST_F(X11PointerSettingsOnXvfb, PrecisionSetsThePointerControlBothWays)
{
    ASSERT_EQ(m_x11->SetMouse({0, 0, 0}), PointerSettingResult::Applied); // the server starts at 2/1
    ASSERT_EQ(m_x11->SetMouse({6, 10, 1}), PointerSettingResult::Applied);
    EXPECT_EQ(ServerPointerControl(), (PointerControl{2, 1, 4}));
    ASSERT_EQ(m_x11->SetMouse({0, 0, 0}), PointerSettingResult::Applied);
    EXPECT_EQ(ServerPointerControl(), (PointerControl{1, 1, 4}));
}

// GSettings picks its backend and GLib the user's configuration directory once per process, at
// first use, so both are set before any test runs: the keyfile backend, which needs no session
// bus, writing under a temporary configuration directory.
class KeyfileSettingsEnvironment : public testing::Environment
{
public:
    KeyfileSettingsEnvironment()
    {
        ::setenv("GSETTINGS_BACKEND", "keyfile", 1);
        ::setenv("XDG_CONFIG_HOME", m_config.Path().c_str(), 1);
        s_keyfile = m_config.Path() / "glib-2.0" / "settings" / "keyfile";
    }

    static std::filesystem::path Keyfile() { return s_keyfile; }

private:
    TempDir m_config;
    static inline std::filesystem::path s_keyfile;
};

[[maybe_unused]] testing::Environment* const g_keyfileEnvironment =
    testing::AddGlobalTestEnvironment(new KeyfileSettingsEnvironment);

class GSettingsPointerSettingsOnKeyfile : public testing::Test
{
protected:
    void SetUp() override
    {
        if (!GSettingsPointerSettings::SchemaInstalled()) {
            GTEST_SKIP() << GSettingsPointerSettings::kSchemaId
                         << " is not installed (package gsettings-desktop-schemas)";
        }
        m_gsettings = GSettingsPointerSettings::Open();
        ASSERT_NE(m_gsettings, nullptr);
        m_readBack.reset(g_settings_new(GSettingsPointerSettings::kSchemaId));
    }

    std::string KeyfileText() const { return ReadFileBytes(KeyfileSettingsEnvironment::Keyfile()); }

    std::unique_ptr<GSettingsPointerSettings> m_gsettings;
    std::unique_ptr<GSettings, decltype(&g_object_unref)> m_readBack{nullptr, &g_object_unref};
};

// The keyfile holds what GNOME reads: the acceleration profile, the speed laid from the Windows
// scale 1 to 20 onto -1 to 1, and the double-click time in milliseconds.
TEST_F(GSettingsPointerSettingsOnKeyfile, WritesProfileSpeedAndDoubleClickTime)
{
    ASSERT_EQ(m_gsettings->SetMouse({0, 0, 0}), PointerSettingResult::Applied);
    EXPECT_NE(KeyfileText().find("accel-profile='flat'"), std::string::npos) << KeyfileText();
    ASSERT_EQ(m_gsettings->SetMouse({6, 10, 1}), PointerSettingResult::Applied);
    EXPECT_NE(KeyfileText().find("accel-profile='default'"), std::string::npos) << KeyfileText();

    const std::pair<int, double> speeds[] = {{1, -1.0}, {2, -1.0 + 2.0 / 19}, {10, -1.0 / 19}, {20, 1.0}};
    for (const auto& [speed, gnomeSpeed] : speeds) {
        ASSERT_EQ(m_gsettings->SetMouseSpeed(speed), PointerSettingResult::Applied);
        EXPECT_NEAR(g_settings_get_double(m_readBack.get(), "speed"), gnomeSpeed, 1e-9) << speed;
    }

    ASSERT_EQ(m_gsettings->SetDoubleClickTime(130), PointerSettingResult::Applied);
    EXPECT_NE(KeyfileText().find("double-click=130"), std::string::npos) << KeyfileText();
    EXPECT_EQ(m_gsettings->SetDoubleClickTime(-10), PointerSettingResult::Refused);
    EXPECT_EQ(g_settings_get_int(m_readBack.get(), "double-click"), 130);
}

constexpr auto kApplied = PointerSettingResult::Applied;
constexpr auto kRefused = PointerSettingResult::Refused;

class KdePointerSettingsFiles : public testing::Test
{
protected:
    std::filesystem::path Config() const { return m_home / "config"; }
    std::string InputFile() const { return ReadFileBytes(Config() / "kcminputrc"); }
    std::string GlobalsFile() const { return ReadFileBytes(Config() / "kdeglobals"); }

    TempDir m_home;
    KdePointerSettings m_kde{m_home / "config", KdeTools{}};
};

// Values Plasma cannot hold are refused and write nothing; the first apply writes both files.
TEST_F(KdePointerSettingsFiles, FirstApplyWritesBothFilesWithoutTheToolsAndRefusesWhatPlasmaCannotHold)
{
    EXPECT_EQ(m_kde.SetMouseSpeed(0), kRefused);
    EXPECT_EQ(m_kde.SetMouseSpeed(21), kRefused);
    EXPECT_EQ(m_kde.SetDoubleClickTime(0), kRefused);
    EXPECT_FALSE(std::filesystem::exists(Config()));

    DesktopPointerSettingsApplier applier(m_kde);

    ProfileRecord record{};
    record.pointerPrecision = 1;
    record.mouseSpeed = 12;
    record.scrollLines = 7;
    record.doubleClickSpeed = 12;
    EXPECT_TRUE(applier.ApplyPointerSettings(record).Done());
    EXPECT_EQ(InputFile(), "[Mouse]\n"
                           "X11LibInputXAccelProfileFlat=false\n"
                           "Acceleration=2\n"
                           "Threshold=4\n"
                           "XLbInptPointerAcceleration=1.000\n");
    EXPECT_EQ(GlobalsFile(), "[KDE]\n"
                             "WheelScrollLines=7\n"
                             "DoubleClickInterval=130\n");
}

TEST_F(KdePointerSettingsFiles, UpdatesMiceInPlaceAndLeavesTouchpadsAndOtherLinesAlone)
{
    std::filesystem::create_directories(Config());
    WriteFileBytes(Config() / "kcminputrc", "# kept\r\n"
                                            "[Libinput][1133][49271][USB Optical Mouse]\r\n"
                                            "PointerAcceleration=0.400\r\n"
                                            "PointerAccelerationProfile=2\r\n"
                                            "\r\n"
                                            "[Libinput][1267][12521][ELAN1205:00 04F3:30E9 Touchpad]\r\n"
                                            "PointerAcceleration=0.000\r\n"
                                            "\r\n"
                                            "[Mouse]\r\n"
                                            "cursorTheme=breeze_cursors\r\n"
                                            "XLbInptPointerAcceleration=0.4");

    ASSERT_EQ(m_kde.SetMouse({0, 0, 0}), kApplied);
    ASSERT_EQ(m_kde.SetMouseSpeed(20), kApplied);

    EXPECT_EQ(InputFile(), "# kept\r\n"
                           "[Libinput][1133][49271][USB Optical Mouse]\r\n"
                           "PointerAcceleration=1.000\r\n"
                           "PointerAccelerationProfile=1\r\n"
                           "\r\n"
                           "[Libinput][1267][12521][ELAN1205:00 04F3:30E9 Touchpad]\r\n"
                           "PointerAcceleration=0.000\r\n"
                           "\r\n"
                           "[Mouse]\r\n"
                           "cursorTheme=breeze_cursors\r\n"
                           "XLbInptPointerAcceleration=1.000\n"
                           "X11LibInputXAccelProfileFlat=true\n"
                           "Acceleration=1\n");
}

// A message bus of the test's own (dbus-daemon), and a connection to it that records the signals
// of one interface.
class PrivateSessionBus
{
public:
    static bool Installed() { return FindProgram("dbus-daemon", SearchPath()).has_value(); }

    explicit PrivateSessionBus(const std::filesystem::path& directory)
        : m_daemon(::popen(("dbus-daemon --session --nofork --nopidfile --print-address=1 --print-pid=1 "
                            "--address=unix:path='" +
                            (directory / "bus").string() + "'")
                               .c_str(),
                           "r"))
    {
        std::array<char, 512> line{};
        if (m_daemon != nullptr && std::fgets(line.data(), line.size(), m_daemon) != nullptr) {
            m_address = std::string(line.data(), std::strcspn(line.data(), "\n"));
            m_pid = std::fgets(line.data(), line.size(), m_daemon) != nullptr ? std::atoi(line.data()) : 0;
        }
    }
    ~PrivateSessionBus()
    {
        if (m_listener != nullptr) {
            g_dbus_connection_signal_unsubscribe(m_listener.get(), m_subscription);
            g_dbus_connection_close_sync(m_listener.get(), nullptr, nullptr);
        }
        if (m_pid > 0) {
            ::kill(m_pid, SIGTERM);
        }
        if (m_daemon != nullptr) {
            ::pclose(m_daemon);
        }
    }
    PrivateSessionBus(const PrivateSessionBus&) = delete;
    PrivateSessionBus& operator=(const PrivateSessionBus&) = delete;

    const std::string& Address() const { return m_address; }

    // Listens to the signals of `interface`; true once the bus routes them here (the answer to a
    // call comes after the bus took the match rule sent before it).
    bool Listen(const char* interface)
    {
        m_listener.reset(g_dbus_connection_new_for_address_sync(
            m_address.c_str(),
            static_cast<GDBusConnectionFlags>(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT |
                                              G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION),
            nullptr, nullptr, nullptr));
        if (m_listener == nullptr) {
            return false;
        }
        m_subscription =
            g_dbus_connection_signal_subscribe(m_listener.get(), nullptr, interface, nullptr, nullptr, nullptr,
                                               G_DBUS_SIGNAL_FLAGS_NONE, &PrivateSessionBus::Record, this, nullptr);
        GVariant* reply = g_dbus_connection_call_sync(m_listener.get(), "org.freedesktop.DBus", "/org/freedesktop/DBus",
                                                      "org.freedesktop.DBus", "GetId", nullptr, nullptr,
                                                      G_DBUS_CALL_FLAGS_NONE, -1, nullptr, nullptr);
        if (reply != nullptr) {
            g_variant_unref(reply);
        }
        return reply != nullptr;
    }

    // The signals heard so far as "PATH INTERFACE.MEMBER ARGUMENTS", once there are `count` or
    // the bus's own time limit for a call has passed.
    std::vector<std::string> Heard(std::size_t count)
    {
        bool late = false;
        const guint timer = g_timeout_add_seconds(25, &PrivateSessionBus::Late, &late);
        while (m_heard.size() < count && !late) {
            g_main_context_iteration(nullptr, TRUE);
        }
        if (!late) {
            g_source_remove(timer);
        }
        return m_heard;
    }

private:
    static gboolean Late(gpointer late)
    {
        *static_cast<bool*>(late) = true;
        return G_SOURCE_REMOVE;
    }

    static void Record(GDBusConnection*, const gchar*, const gchar* path, const gchar* interface, const gchar* member,
                       GVariant* arguments, gpointer self)
    {
        gchar* text = g_variant_print(arguments, FALSE);
        static_cast<PrivateSessionBus*>(self)->m_heard.push_back(std::string(path) + " " + interface + "." + member +
                                                                 " " + text);
        g_free(text);
    }

    static std::string SearchPath()
    {
        const char* path = std::getenv("PATH");
        return path != nullptr ? path : "/usr/bin:/bin";
    }

    FILE* m_daemon;
    pid_t m_pid = 0;
    std::string m_address;
    std::unique_ptr<GDBusConnection, decltype(&g_object_unref)> m_listener{nullptr, &g_object_unref};
    guint m_subscription = 0;
    std::vector<std::string> m_heard;
};

// With the tools present, they write the entries instead of the program; each change is announced
// on the session bus with KGlobalSettings' signal.
TEST_F(KdePointerSettingsFiles, WritesEveryEntryThroughKwriteconfigAndAnnouncesItOnTheSessionBus)
{
    if (!PrivateSessionBus::Installed()) {
        GTEST_SKIP() << "dbus-daemon is not installed: the announcement needs a message bus";
    }
    PrivateSessionBus bus(m_home.Path());
    ASSERT_FALSE(bus.Address().empty()) << "dbus-daemon did not start";
    ASSERT_TRUE(bus.Listen("org.kde.KGlobalSettings"));

    const std::filesystem::path toolLog = m_home / "kwriteconfig.log";
    std::filesystem::create_directories(Config());
    WriteFileBytes(Config() / "kcminputrc", "[Libinput][1133][49271][USB Optical Mouse]\n"
                                            "PointerAccelerationProfile=2\n");
    const std::string file = (Config() / "kcminputrc").string();
    KdePointerSettings kde(Config(),
                           KdeTools{WriteRecordingProgram(m_home.Path(), "kwriteconfig6", toolLog), bus.Address()});

    ASSERT_EQ(kde.SetMouseSpeed(1), kApplied);
    ASSERT_EQ(kde.SetDoubleClickTime(500), kApplied);

    EXPECT_EQ(ReadFileBytes(toolLog), "--file\n" + file +
                                          "\n--group\nMouse\n--key\nXLbInptPointerAcceleration\n-1.000\n--\n"
                                          "--file\n" +
                                          file +
                                          "\n--group\nLibinput\n--group\n1133\n--group\n49271\n--group\n"
                                          "USB Optical Mouse\n--key\nPointerAcceleration\n-1.000\n--\n"
                                          "--file\n" +
                                          (Config() / "kdeglobals").string() +
                                          "\n--group\nKDE\n--key\nDoubleClickInterval\n500\n--\n");
    const std::string notice = "/KGlobalSettings org.kde.KGlobalSettings.notifyChange (3, 0)";
    EXPECT_EQ(bus.Heard(2), (std::vector<std::string>{notice, notice}));
}

// A session bus that is named but not there costs nothing but the announcement.
TEST_F(KdePointerSettingsFiles, ABusThatIsNotThereLeavesTheFilesWritten)
{
    KdePointerSettings kde(Config(), KdeTools{std::nullopt, "unix:path=" + (m_home / "no-bus").string()});
    ASSERT_EQ(kde.SetDoubleClickTime(500), kApplied);
    EXPECT_EQ(GlobalsFile(), "[KDE]\nDoubleClickInterval=500\n");
}

TEST(ChildProgram, GivesTheExitStatusOnlyOfAProgramThatEndedByItself)
{
    TempDir home;
    constexpr std::chrono::milliseconds kLimit{5000};
    EXPECT_EQ(RunProgram(WriteScript(home.Path(), "ok", "exit 0"), {}, kLimit), 0);
    EXPECT_EQ(RunProgram(WriteScript(home.Path(), "three", "exit 3"), {}, kLimit), 3);
    EXPECT_EQ(RunProgram(WriteScript(home.Path(), "args", "[ \"$1\" = 'a b' ] && [ $# = 1 ]"), {"a b"}, kLimit), 0);
    EXPECT_EQ(RunProgram(WriteScript(home.Path(), "killed", "kill -9 $$"), {}, kLimit), std::nullopt);
    EXPECT_EQ(RunProgram(home / "missing", {}, kLimit), std::nullopt);
}

// A program that does not end is killed at the time limit, and the wait for it sleeps: the
// waiting thread gives up the processor a few times, not once per nap of a polling loop.
TEST(ChildProgram, WaitsAsleepAndKillsAProgramStillRunningAtTheLimit)
{
    TempDir home;
    const std::filesystem::path endless = WriteScript(home.Path(), "endless", "exec sleep 600");
    rusage before{};
    ::getrusage(RUSAGE_THREAD, &before);
    EXPECT_EQ(RunProgram(endless, {}, std::chrono::milliseconds(300)), std::nullopt);
    rusage after{};
    ::getrusage(RUSAGE_THREAD, &after);
    EXPECT_LE(after.ru_nvcsw - before.ru_nvcsw, 10);
    // It was reaped: no child of this process is left.
    EXPECT_EQ(::waitpid(-1, nullptr, WNOHANG), -1);
    EXPECT_EQ(errno, ECHILD);
}

} // namespace
} // namespace veldrane::test
