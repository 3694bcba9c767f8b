// The rules of "apps.ini" and when a focus change switches the profile.

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/apps/AppRules.h"
#include "core/apps/AppSwitcher.h"
#include "core/apps/FocusSession.h"
#include "support/FakeClock.h"
#include "support/Parameterised.h"
#include "support/TempDir.h"

namespace veldrane {
namespace {

using test::Parameterised;

using namespace std::chrono_literals;

AppRules TwoRules()
{
    AppRules rules;
    rules.SetEnabled(true);
    EXPECT_TRUE(rules.AddApp("PROFILE_1", "Firefox"));
    EXPECT_TRUE(rules.AddApp("PROFILE_2", "steam"));
    EXPECT_TRUE(rules.SetDefaultProfile("PROFILE_0"));
    return rules;
}

struct MatchCase
{
    const char* what;
    FocusedWindow window;
    std::optional<std::string> profile;
};

using AppRulesMatch = testing::TestWithParam<MatchCase>;

TEST_P(AppRulesMatch, NamesTheProfileOfTheFirstFieldARuleNames)
{
    AppRules rules;
    ASSERT_TRUE(rules.AddApp("ByClass", "Navigator"));
    ASSERT_TRUE(rules.AddApp("ById", "org.mozilla.firefox"));
    ASSERT_TRUE(rules.AddApp("ByExe", "firefox-bin"));
    ASSERT_TRUE(rules.AddApp("ByInstance", "navigator-main"));
    EXPECT_EQ(rules.Match(GetParam().window), GetParam().profile) << GetParam().what;
}

INSTANTIATE_TEST_SUITE_P(
    Order, AppRulesMatch,
    testing::Values(
        MatchCase{"app id first", {"org.mozilla.firefox", "Navigator", "navigator-main", "firefox-bin"}, "ById"},
        MatchCase{"desktop-file id with case and suffix", {"ORG.Mozilla.Firefox.desktop", "", "", ""}, "ById"},
        MatchCase{"class before instance", {"other", "NAVIGATOR", "navigator-main", "firefox-bin"}, "ByClass"},
        MatchCase{"instance before executable", {"", "x", "Navigator-Main", "firefox-bin"}, "ByInstance"},
        MatchCase{"executable last", {"", "x", "y", "Firefox-Bin"}, "ByExe"},
        MatchCase{"no field named", {"a", "b", "c", "d"}, std::nullopt},
        MatchCase{"the desktop itself", {}, std::nullopt}));

TEST(AppRules, FileHoldsSettingsAndOneSectionPerProfile)
{
    AppRules rules = TwoRules();
    ASSERT_TRUE(rules.AddApp("PROFILE_1", "code"));
    rules.CountSwitch();
    rules.CountSwitch();
    const std::string text = rules.Serialise();
    EXPECT_EQ(text, "[Settings]\r\nEnabled=1\r\nDefault=PROFILE_0\r\nSwitches=2\r\n"
                    "[PROFILE_1]\r\nApp0=Firefox\r\nApp1=code\r\n[PROFILE_2]\r\nApp0=steam\r\n");
    const AppRules read = AppRules::Parse(text);
    EXPECT_EQ(read.Serialise(), text);
    EXPECT_EQ(read.AppsOf("profile_1"), (std::vector<std::string>{"Firefox", "code"}));
}

TEST(AppRules, ReadStopsAtTheFirstGapAndSkipsWhatCannotBeAProfile)
{
    const AppRules rules = AppRules::Parse("[Settings]\nEnabled=yes\nSwitches=12x\n[Game]\nApp0=a\nApp2=c\n"
                                           "[settings]\nApp0=b\n");
    EXPECT_FALSE(rules.Enabled());
    EXPECT_EQ(rules.Switches(), 0u);
    EXPECT_EQ(rules.Profiles(), std::vector<std::string>{"Game"});
    EXPECT_EQ(rules.AppsOf("Game"), std::vector<std::string>{"a"});
}

TEST(AppRules, AnAppBelongsToOneProfileAndBadTextIsRefused)
{
    AppRules rules = TwoRules();
    ASSERT_TRUE(rules.AddApp("PROFILE_2", "FIREFOX"));
    EXPECT_EQ(rules.Profiles(), std::vector<std::string>{"PROFILE_2"});
    EXPECT_EQ(rules.Match({"firefox", "", "", ""}), "PROFILE_2");
    EXPECT_FALSE(rules.AddApp("PROFILE_2", "a\nApp9=b"));
    EXPECT_FALSE(rules.AddApp("Bad]Name", "x"));
    EXPECT_FALSE(rules.AddApp("Settings", "x"));
    EXPECT_FALSE(rules.SetDefaultProfile("Settings"));
    rules.RemoveApp("profile_2", "Steam");
    EXPECT_EQ(rules.AppsOf("PROFILE_2"), std::vector<std::string>{"FIREFOX"});
}

TEST(AppRules, RulesFollowRenamedProfilesAndDropDeletedOnes)
{
    AppRules rules = TwoRules();
    // PROFILE_1 renamed to Game, PROFILE_0 (the default) renamed to Desk, PROFILE_2 deleted.
    const std::vector<std::string> dropped =
        rules.FollowProfiles({{"PROFILE_1", "Game"}, {"PROFILE_0", "Desk"}}, {"Desk", "Game"});
    EXPECT_EQ(dropped, std::vector<std::string>{"PROFILE_2"});
    EXPECT_EQ(rules.Match({"firefox", "", "", ""}), "Game");
    EXPECT_EQ(rules.Match({"steam", "", "", ""}), std::nullopt);
    EXPECT_EQ(rules.DefaultProfile(), "Desk");

    // Swapped names swap their rules.
    AppRules swapped = TwoRules();
    EXPECT_TRUE(swapped
                    .FollowProfiles({{"PROFILE_1", "PROFILE_2"}, {"PROFILE_2", "PROFILE_1"}},
                                    {"PROFILE_0", "PROFILE_1", "PROFILE_2"})
                    .empty());
    EXPECT_EQ(swapped.AppsOf("PROFILE_2"), std::vector<std::string>{"Firefox"});

    AppRules noDefault = TwoRules();
    EXPECT_EQ(noDefault.FollowProfiles({}, {"PROFILE_1", "PROFILE_2"}), std::vector<std::string>{"PROFILE_0"});
    EXPECT_EQ(noDefault.DefaultProfile(), std::nullopt);
}

// No file in the data folder is no error: switching is off until the user turns it on.
TEST(AppRules, NoFileInTheDataFolderReadsAsSwitchingOff)
{
    test::TempDir dir;
    const AppRulesRead missing = ReadAppRules(dir.Path());
    EXPECT_FALSE(missing.error);
    EXPECT_FALSE(missing.rules.Enabled());
}

class AppSwitcherTest : public testing::Test
{
protected:
    AppSwitcher::Decision Decide(std::optional<std::string_view> mouse = "PROFILE_0", SwitchBlockers blockers = {})
    {
        return switcher.Decide(rules, mouse, blockers);
    }
    void Focus(std::string appId) { switcher.FocusChanged({std::move(appId), "", "", ""}); }

    test::FakeClock clock;
    AppRules rules = TwoRules();
    AppSwitcher switcher{clock};
};

TEST_F(AppSwitcherTest, SwitchesOnlyAfterTheFocusHasLastedOneSecond)
{
    clock.now = 10s;
    Focus("firefox");
    EXPECT_EQ(Decide().lookAgain, 11s);
    clock.now = 10s + 999ms;
    EXPECT_EQ(Decide().profile, std::nullopt);
    // Alt+Tab crosses steam on the way back: the time starts again for the window that stays.
    Focus("steam");
    clock.now = 10s + 1300ms;
    Focus("firefox");
    clock.now = 11s + 1200ms;
    EXPECT_EQ(Decide().profile, std::nullopt);
    clock.now = 11s + 1300ms;
    EXPECT_EQ(Decide().profile, "PROFILE_1");
}

TEST_F(AppSwitcherTest, NothingWhenTheMouseHoldsTheProfileOrSwitchingIsOff)
{
    Focus("firefox");
    clock.now = 5s;
    EXPECT_EQ(Decide("profile_1").profile, std::nullopt);
    EXPECT_EQ(Decide("profile_1").lookAgain, std::nullopt);
    EXPECT_EQ(Decide(std::nullopt).profile, "PROFILE_1");
    rules.SetEnabled(false);
    EXPECT_EQ(Decide().profile, std::nullopt);
}

TEST_F(AppSwitcherTest, UnnamedWindowsAndTheDesktopBringTheDefault)
{
    Focus("gimp");
    clock.now = 2s;
    EXPECT_EQ(Decide("PROFILE_2").profile, "PROFILE_0");
    switcher.FocusChanged({});
    clock.now = 4s;
    EXPECT_EQ(Decide("PROFILE_2").profile, "PROFILE_0");
    ASSERT_TRUE(rules.SetDefaultProfile(std::nullopt));
    EXPECT_EQ(Decide("PROFILE_2").profile, std::nullopt);
}

using AppSwitcherBlocked = Parameterised<AppSwitcherTest, SwitchBlockers>;

TEST_P(AppSwitcherBlocked, WaitsUntilNothingBlocks)
{
    Focus("steam");
    clock.now = 3s;
    const AppSwitcher::Decision blocked = Decide("PROFILE_0", GetParam());
    EXPECT_EQ(blocked.profile, std::nullopt);
    EXPECT_EQ(blocked.lookAgain, 3s + AppSwitcher::kBlockedRetry);
    clock.now = 60s;
    EXPECT_EQ(Decide("PROFILE_0", GetParam()).profile, std::nullopt);
    EXPECT_EQ(Decide("PROFILE_0", {}).profile, "PROFILE_2");
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Each, AppSwitcherBlocked, testing::Values(SwitchBlockers{true, false, false, false},
    SwitchBlockers{false, true, false, false}, SwitchBlockers{false, false, true, false},
    SwitchBlockers{false, false, false, true}));
// clang-format on

TEST(FocusSession, WaylandDesktopDecidesBeforeXwayland)
{
    EXPECT_EQ(FocusSessionOf("", ":0", "openbox"), FocusSession::X11);
    EXPECT_EQ(FocusSessionOf("wayland-0", ":0", "KDE"), FocusSession::KdeWayland);
    EXPECT_EQ(FocusSessionOf("wayland-0", "", "ubuntu:GNOME"), FocusSession::GnomeWayland);
    EXPECT_EQ(FocusSessionOf("wayland-0", ":1", "sway"), FocusSession::OtherWayland);
    EXPECT_EQ(FocusSessionOf("wayland-0", "", "GNOME-Flashback"), FocusSession::OtherWayland);
    EXPECT_EQ(FocusSessionOf("", "", "GNOME"), FocusSession::Headless);
}

} // namespace
} // namespace veldrane
