#include "platform/linux/pointer/DesktopPointerSettings.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/PointerTestPrograms.h"
#include "platform/linux/pointer/ChildProgram.h"
#include "support/TempDir.h"

namespace veldrane {
namespace {

struct ChoiceCase
{
    const char* name;
    const char* currentDesktop;
    const char* display;
    const char* waylandDisplay;
    bool schemaInstalled;
    PointerDesktop expected;
};

class DesktopPointerSettingsChoice : public testing::TestWithParam<ChoiceCase>
{
};

TEST_P(DesktopPointerSettingsChoice, FollowsTheRunningDesktop)
{
    DesktopEnvironment environment;
    environment.currentDesktop = GetParam().currentDesktop;
    environment.display = GetParam().display;
    environment.waylandDisplay = GetParam().waylandDisplay;

    EXPECT_EQ(DesktopPointerSettings::Choose(environment, GetParam().schemaInstalled), GetParam().expected);
}

constexpr bool kSchema = true;
constexpr bool kNoSchema = false;

INSTANTIATE_TEST_SUITE_P(
    Table, DesktopPointerSettingsChoice,
    testing::Values(ChoiceCase{"PlasmaWayland", "KDE", ":1", "wayland-0", kSchema, PointerDesktop::KdePlasma},
                    ChoiceCase{"PlasmaX11", "KDE", ":0", "", kNoSchema, PointerDesktop::KdePlasma},
                    ChoiceCase{"PlasmaNamedInAList", "neon:kde", "", "wayland-0", kSchema, PointerDesktop::KdePlasma},
                    ChoiceCase{"GnomeWayland", "GNOME", ":1", "wayland-0", kSchema, PointerDesktop::GSettings},
                    ChoiceCase{"UbuntuGnome", "ubuntu:GNOME", ":0", "", kSchema, PointerDesktop::GSettings},
                    ChoiceCase{"Budgie", "Budgie:GNOME", ":0", "", kSchema, PointerDesktop::GSettings},
                    ChoiceCase{"GnomeWithoutSchemaOnX11", "GNOME", ":0", "", kNoSchema, PointerDesktop::X11},
                    ChoiceCase{"GnomeWithoutSchemaOnWayland", "GNOME", "", "wayland-0", kNoSchema,
                               PointerDesktop::NoSettings},
                    // GNOME's schema on a machine running another desktop is not that desktop's.
                    ChoiceCase{"XfceWithSchema", "XFCE", ":0", "", kSchema, PointerDesktop::X11},
                    ChoiceCase{"Cinnamon", "X-Cinnamon", ":0", "", kSchema, PointerDesktop::X11},
                    ChoiceCase{"BareXSession", "", ":0", "", kSchema, PointerDesktop::X11},
                    ChoiceCase{"SwayWithXwayland", "sway", ":0", "wayland-1", kSchema, PointerDesktop::NoSettings},
                    ChoiceCase{"NoDisplayAtAll", "", "", "", kNoSchema, PointerDesktop::NoSettings},
                    ChoiceCase{"KdeIsNotAPartOfAName", "KDEish", ":0", "", kNoSchema, PointerDesktop::X11}),
    [](const testing::TestParamInfo<ChoiceCase>& info) { return std::string(info.param.name); });

TEST(DesktopPointerSettings, PlasmaWithoutItsToolsWritesItsFiles)
{
    test::TempDir home;
    DesktopEnvironment environment;
    environment.currentDesktop = "KDE";
    environment.waylandDisplay = "wayland-0";
    environment.configDirectory = home / "config";
    environment.searchPath = (home / "no-tools").string();
    DesktopPointerSettings desktop(environment);
    ASSERT_EQ(desktop.Desktop(), PointerDesktop::KdePlasma);

    EXPECT_EQ(desktop.SetDoubleClickTime(200), PointerSettingResult::Applied);

    EXPECT_EQ(test::ReadFileBytes(home / "config" / "kdeglobals"), "[KDE]\nDoubleClickInterval=200\n");
}

TEST(DesktopPointerSettings, AnUnknownWaylandDesktopHasNoSettingAtAll)
{
    DesktopEnvironment environment;
    environment.currentDesktop = "Hyprland";
    environment.waylandDisplay = "wayland-1";
    DesktopPointerSettings desktop(environment);

    EXPECT_EQ(desktop.Desktop(), PointerDesktop::NoSettings);
    EXPECT_EQ(desktop.SetMouse({6, 10, 1}), PointerSettingResult::Unsupported);
    EXPECT_EQ(desktop.SetMouseSpeed(22), PointerSettingResult::Unsupported);
    EXPECT_EQ(desktop.SetWheelScrollLines(3), PointerSettingResult::Unsupported);
    EXPECT_EQ(desktop.SetDoubleClickTime(0), PointerSettingResult::Unsupported);
}

TEST(ChildProgram, FindsTheFirstExecutableOnThePath)
{
    test::TempDir dir;
    std::filesystem::create_directories(dir / "a");
    std::filesystem::create_directories(dir / "b");
    test::WriteFileBytes(dir / "a" / "tool", "not executable");
    const auto wanted = test::WriteRecordingProgram(dir / "b", "tool", dir / "log");
    const std::string path = "::" + (dir / "a").string() + ":" + (dir / "b").string();

    EXPECT_EQ(FindProgram("tool", path), wanted);
    EXPECT_EQ(FindProgram("missing", path), std::nullopt);
    EXPECT_EQ(FindProgram("b/tool", dir.Path().string()), std::nullopt);
}

TEST(ChildProgram, PassesArgumentsUninterpretedAndReturnsTheExitStatus)
{
    test::TempDir dir;
    const auto program = test::WriteRecordingProgram(dir.Path(), "tool", dir / "log", 3);

    EXPECT_EQ(RunProgram(program, {"two words", "$HOME", "a;b"}, std::chrono::seconds(10)), 3);

    EXPECT_EQ(test::ReadFileBytes(dir / "log"), "two words\n$HOME\na;b\n--\n");
    EXPECT_EQ(RunProgram(dir / "missing", {}, std::chrono::seconds(10)), std::nullopt);
}

} // namespace
} // namespace veldrane
