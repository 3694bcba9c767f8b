// Where the program finds its data and the user's files, and the tray menu's "Start with the
// desktop": the autostart entry it writes and removes.

#include "platform/linux/Autostart.h"
#include "platform/linux/DataLocations.h"

#include <gtest/gtest.h>

#include <map>

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

} // namespace
} // namespace veldrane
