#include "platform/linux/pointer/GSettingsPointerSettings.h"

#include <gio/gio.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <utility>

#include "support/TempDir.h"

namespace veldrane {
namespace {

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
    test::TempDir m_config;
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

    std::string KeyfileText() const { return test::ReadFileBytes(KeyfileSettingsEnvironment::Keyfile()); }

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

} // namespace
} // namespace veldrane
