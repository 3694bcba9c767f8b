// The desktop whose pointer settings the program uses, and the X server's own pointer control.

#include "platform/linux/pointer/X11PointerSettings.h"

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <optional>

#include "platform/XvfbServer.h"
#include "platform/linux/pointer/DesktopPointerSettings.h"

// Last: Xlib defines None and Bool as macros, which the headers above use as names.
#include <X11/Xlib.h>

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
        if (!test::XvfbServer::Installed()) {
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

    std::optional<test::XvfbServer> m_server;
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

} // namespace
} // namespace veldrane
