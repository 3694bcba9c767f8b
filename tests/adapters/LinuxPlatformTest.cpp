// The Linux adapters: where the program finds its data and the user's files, the autostart entry
// of the tray menu's "Start with the desktop", the legacy code pages, the kernel's key names, and
// the desktops' pointer settings: which one the program uses, and each written where its desktop
// reads it (a real Xvfb server, GSettings' keyfile backend, Plasma's files and tools).

#include "adapters/linux/Autostart.h"
#include "adapters/linux/DataLocations.h"
#include "adapters/linux/EvdevKeyNames.h"
#include "adapters/linux/IconvTextCodec.h"

#include <gio/gio.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <array>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "core/buttons/KeyTables.h"
#include "ports/PointerSettingsBackend.h"
#include "adapters/XvfbServer.h"
#include "adapters/linux/pointer/DesktopPointerSettings.h"
#include "adapters/linux/pointer/GSettingsPointerSettings.h"
#include "adapters/linux/pointer/KdeConfigFile.h"
#include "adapters/linux/pointer/KdePointerSettings.h"
#include "adapters/linux/pointer/X11PointerSettings.h"
#include "core/profile/ProfileRecord.h"
#include "core/settings/DesktopPointerSettingsApplier.h"
#include "support/RecordingMessageSink.h"
#include "support/TempDir.h"

// Last: Xlib defines None and Bool as macros, which the headers above use as names.
#include <X11/Xlib.h>

namespace veldrane::test {
namespace {

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
    EXPECT_FALSE(homeless.Enable("\"/usr/bin/veldrane\""));

    EXPECT_FALSE(fromXdg.IsEnabled()); // off by default
    ASSERT_TRUE(fromXdg.Enable("\"/usr/bin/veldrane\""));
    EXPECT_TRUE(fromXdg.IsEnabled());
    EXPECT_EQ(ReadFileBytes(fromXdg.File()), "[Desktop Entry]\n"
                                             "Type=Application\n"
                                             "Name=VELDRANE Configurator\n"
                                             "Comment=Tray icon of the Tessaly VELDRANE mouse configurator\n"
                                             "Exec=\"/usr/bin/veldrane\"\n"
                                             "Terminal=false\n"
                                             "NoDisplay=true\n"
                                             "X-GNOME-Autostart-enabled=true\n");
    EXPECT_TRUE(fromXdg.Disable());
    EXPECT_FALSE(std::filesystem::exists(fromXdg.File()));
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
    } cases[] = {{LegacyCodePage::Gbk, "Item1=宏", "Item1=\xBA\xEA"},
                 {LegacyCodePage::Gbk, "€", "\x80"}, // the Windows variants, not the plain ones
                 {LegacyCodePage::Big5, "左鍵", "\xA5\xAA\xC1\xE4"},
                 {LegacyCodePage::Big5, "€", "\xA3\xE1"},
                 {LegacyCodePage::Windows1252, "é€", "\xE9\x80"}};
    const IconvTextCodec codec;
    for (const auto& c : cases) {
        EXPECT_EQ(codec.ToUtf8(c.bytes, c.page), c.utf8);
        EXPECT_EQ(codec.FromUtf8(c.utf8, c.page), c.bytes);
    }
    // Bad bytes and text a code page cannot hold give nothing.
    EXPECT_EQ(codec.ToUtf8("a\x81", LegacyCodePage::Windows1252), std::nullopt);
    EXPECT_EQ(codec.ToUtf8("ab\xD7", LegacyCodePage::Gbk), std::nullopt);
    EXPECT_EQ(codec.FromUtf8("a한", LegacyCodePage::Gbk), std::nullopt);
    EXPECT_EQ(codec.FromUtf8("Click 左", LegacyCodePage::Windows1252), std::nullopt);
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
        const DesktopEnvironment environment{c.currentDesktop, c.display, c.waylandDisplay, {}, {}};
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

// An executable shell script standing in for a desktop tool: it appends each of its arguments on
// a line of its own to `log`, then a line "--".
std::filesystem::path WriteRecordingProgram(const std::filesystem::path& directory, const std::string& name,
                                            const std::filesystem::path& log)
{
    const std::filesystem::path program = directory / name;
    WriteFileBytes(program, "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\" >> '" + log.string() +
                                "'; done\necho -- >> '" + log.string() + "'\n");
    ::chmod(program.c_str(), 0755);
    return program;
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

    RecordingMessageSink messages;
    DesktopPointerSettingsApplier applier(m_kde, messages);

    ProfileRecord record{};
    record.pointerPrecision = 1;
    record.mouseSpeed = 12;
    record.scrollLines = 7;
    record.doubleClickSpeed = 12;
    applier.ApplyPointerSettings(record);

    EXPECT_TRUE(messages.shown.empty());
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

// With the tools present, they write the entries instead of the program.
TEST_F(KdePointerSettingsFiles, WritesEveryEntryThroughKwriteconfigAndAnnouncesIt)
{
    const std::filesystem::path toolLog = m_home / "kwriteconfig.log";
    const std::filesystem::path busLog = m_home / "dbus.log";
    std::filesystem::create_directories(Config());
    WriteFileBytes(Config() / "kcminputrc", "[Libinput][1133][49271][USB Optical Mouse]\n"
                                            "PointerAccelerationProfile=2\n");
    const std::string file = (Config() / "kcminputrc").string();
    KdePointerSettings kde(Config(), KdeTools{WriteRecordingProgram(m_home.Path(), "kwriteconfig6", toolLog),
                                              WriteRecordingProgram(m_home.Path(), "dbus-send", busLog)});

    ASSERT_EQ(kde.SetMouseSpeed(1), kApplied);

    EXPECT_EQ(ReadFileBytes(toolLog), "--file\n" + file +
                                          "\n--group\nMouse\n--key\nXLbInptPointerAcceleration\n-1.000\n--\n"
                                          "--file\n" +
                                          file +
                                          "\n--group\nLibinput\n--group\n1133\n--group\n49271\n--group\n"
                                          "USB Optical Mouse\n--key\nPointerAcceleration\n-1.000\n--\n");
    EXPECT_EQ(ReadFileBytes(busLog), "--session\n--type=signal\n/KGlobalSettings\n"
                                     "org.kde.KGlobalSettings.notifyChange\nint32:3\nint32:0\n--\n");
}

} // namespace
} // namespace veldrane::test
