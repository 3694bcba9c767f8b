#include "platform/linux/pointer/DesktopPointerSettings.h"

#include <gtest/gtest.h>

namespace veldrane {
namespace {

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
        DesktopEnvironment environment;
        environment.currentDesktop = c.currentDesktop;
        environment.display = c.display;
        environment.waylandDisplay = c.waylandDisplay;
        EXPECT_EQ(DesktopPointerSettings::Choose(environment, c.schemaInstalled), c.expected) << c.currentDesktop;
    }
}

} // namespace
} // namespace veldrane
