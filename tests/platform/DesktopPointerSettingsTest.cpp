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
                    ChoiceCase{"PlasmaNamedInAList", "neon:kde", "", "wayland-0", kSchema, PointerDesktop::KdePlasma},
                    ChoiceCase{"GnomeWayland", "GNOME", ":1", "wayland-0", kSchema, PointerDesktop::GSettings},
                    ChoiceCase{"GnomeWithoutSchemaOnX11", "GNOME", ":0", "", kNoSchema, PointerDesktop::X11},
                    ChoiceCase{"GnomeWithoutSchemaOnWayland", "GNOME", "", "wayland-0", kNoSchema,
                               PointerDesktop::NoSettings},
                    // GNOME's schema on a machine running another desktop is not that desktop's.
                    ChoiceCase{"XfceWithSchema", "XFCE", ":0", "", kSchema, PointerDesktop::X11},
                    ChoiceCase{"BareXSession", "", ":0", "", kSchema, PointerDesktop::X11},
                    ChoiceCase{"SwayWithXwayland", "sway", ":0", "wayland-1", kSchema, PointerDesktop::NoSettings},
                    ChoiceCase{"KdeIsNotAPartOfAName", "KDEish", ":0", "", kNoSchema, PointerDesktop::X11}),
    [](const testing::TestParamInfo<ChoiceCase>& info) { return std::string(info.param.name); });

} // namespace
} // namespace veldrane
