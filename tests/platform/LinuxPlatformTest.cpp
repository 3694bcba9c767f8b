// The Linux adapters: where the program finds its data and the user's files, the autostart entry
// of the tray menu's "Start with the desktop", the legacy code pages, the kernel's key names.

#include "platform/linux/Autostart.h"
#include "platform/linux/DataLocations.h"
#include "platform/linux/EvdevKeyNames.h"
#include "platform/linux/IconvTextCodec.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <string>

#include "buttons/KeyTables.h"
#include "support/TempDir.h"

namespace veldrane {
namespace {

using test::ReadFileBytes;
using test::TempDir;

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

} // namespace
} // namespace veldrane
