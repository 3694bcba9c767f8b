// The program as it lives in a system tray: a second start shows the hidden window and ends at
// once, "Save" reaches the simulated mouse and the profile files (and, when the mouse does not
// answer or is absent, the files and a message), the tray menu's simulator entries make the mouse
// report and a balloon appears, "Exit" ends the program with status 0.
// On a Wayland compositor without a tray the window shows at once and the program ends cleanly
// when the session asks it to terminate.

#include <gtest/gtest.h>

#include <algorithm>

#include "DesktopSession.h"
#include "core/profile/ProfileFileNames.h"

namespace veldrane {
namespace {

TEST(AppShellDesktopTest, SecondStartShowsTheWindowSaveReachesTheMouseAndExitEndsWithZero)
{
    VELDRANE_REQUIRE_DESKTOP(true);
    test::DesktopSession session("EN", true);
    session.Launch();
    const QString icon = session.TrayIcon();
    ASSERT_FALSE(icon.isEmpty());
    // Hidden at start: nothing of the program is shown but its icon.
    EXPECT_TRUE(session.Xdo({"search", "--onlyvisible", "--name", "^Tessaly VELDRANE$"}).isEmpty());

    // A second start while the first runs hidden in the tray (a click on the desktop's menu
    // entry) ends at once with 0 and brings the running window forward.
    QProcess second;
    second.setProcessEnvironment(session.Program().processEnvironment());
    second.start(QString::fromStdString(session.Executable().string()), {"--simulate"});
    ASSERT_TRUE(second.waitForFinished(test::DesktopSession::kTimeoutMs));
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    const QString window = session.MainWindow();
    ASSERT_FALSE(window.isEmpty());

    // "Save": the selected profile's files are written, then the download reaches the mouse.
    ASSERT_TRUE(session.Save(window, ProfileConfigName(0)));
    EXPECT_TRUE(session.WaitFor([&] { return session.WrittenBlock(0x0F, 12).size() == 128u; }));
    EXPECT_EQ(session.WrittenBlock(0x0C).size(), 128u);
    EXPECT_EQ(session.WrittenBlock(0x0D).size(), 128u);
    EXPECT_EQ(session.WrittenBlock(0x0F, 12).size(), 128u);

    // "Press CPI stage 2": the mouse reports the stage, the program reads its CPI and shows the
    // balloon, a window of its own beside the icon.
    const QStringList before = session.OtherWindows(window);
    session.PickTrayMenuEntry(icon, 10, 3, 1);
    // Report 6, marker 7, the CPI button's code 1 and the stage.
    const auto stage2 = [](const test::TracedReport& read) {
        return read.second.size() > 3 && read.second[0] == 0x06 && read.second[2] == 0x01 && read.second[3] == 0x02;
    };
    ASSERT_TRUE(session.WaitFor([&] { return std::ranges::any_of(session.Trace("READ"), stage2); }))
        << "the mouse did not report stage 2";
    EXPECT_TRUE(session.WaitFor([&] { return session.OtherWindows(window).size() > before.size(); }))
        << "no balloon appeared";

    // "Exit", the entry after the simulator's twenty-one and "Start with the desktop".
    session.PickTrayMenuEntry(icon, 10, 3, 22);
    EXPECT_EQ(session.WaitForExit(), 0);
}

// A mouse that does not answer, then no mouse at all: each "Save" stores the profile and says so.
TEST(AppShellDesktopTest, SaveToAMouseThatDoesNotAnswerOrIsAbsentStoresTheProfileAndSaysSo)
{
    VELDRANE_REQUIRE_DESKTOP(true);
    test::DesktopSession session("EN", true);
    const QString window = session.Start({"--sim-fault", "silent"});
    ASSERT_FALSE(window.isEmpty());
    EXPECT_TRUE(session.Save(window, ProfileConfigName(0)));
    EXPECT_FALSE(session.WaitForWindow("^Warning$").isEmpty()) << "no warning that the mouse did not take it";
    EXPECT_TRUE(session.WrittenBlock(0x0C).empty());
    session.Key({"Return"});

    // "Unplug" is the entry after the four CPI stages and twelve macro keys.
    const QStringList before = session.OtherWindows(window);
    session.PickTrayMenuEntry(session.TrayIcon(), 10, 3, 16);
    EXPECT_TRUE(session.WaitFor([&] { return session.OtherWindows(window).size() > before.size(); }))
        << "no balloon appeared";
    // The balloon may lie over the Save button: it goes first.
    session.WaitFor([&] { return session.OtherWindows(window).size() == before.size(); });
    const std::size_t reports = session.Trace().size();
    EXPECT_TRUE(session.Save(window, ProfileConfigName(0)));
    ASSERT_FALSE(session.WaitForFocusAwayFrom(window).isEmpty()) << "no message said where the settings are";
    session.Key({"Return"});
    EXPECT_EQ(session.CloseWithExitButton(window), 0);
    EXPECT_EQ(session.Trace().size(), reports) << "a report went to a mouse that is not there";
}

// A profile file of 100 bytes gave no word, a window of zeros and a Save that stored nothing: the
// start names the file and why, the window has the factory settings, and Save stores them whole
// while the broken file is kept aside.
TEST(AppShellDesktopTest, AnUnreadableProfileIsExplainedAtStartAndSaveStoresTheFactorySettings)
{
    VELDRANE_REQUIRE_DESKTOP(false);
    test::DesktopSession session("EN");
    const std::string broken(100, '\x07');
    test::WriteFileBytes(session / ProfileConfigName(0), broken);
    session.Launch();
    ASSERT_FALSE(session.WaitForWindow("^Warning$").isEmpty()) << "no word about the unreadable file";
    session.Key({"Return"});
    const QString window = session.MainWindow();
    ASSERT_FALSE(window.isEmpty());
    ASSERT_TRUE(session.Save(window, ProfileConfigName(0)));
    EXPECT_EQ(std::filesystem::file_size(session / ProfileConfigName(0)), 1825u);
    std::vector<std::string> aside;
    for (const auto& entry : std::filesystem::directory_iterator(session / "")) {
        if (entry.path().filename().string().starts_with("config0.bin.broken-")) {
            aside.push_back(test::ReadFileBytes(entry.path()));
        }
    }
    EXPECT_EQ(aside, std::vector<std::string>{broken});
    EXPECT_EQ(session.CloseWithExitButton(window), 0);
}

// The panel started after the program (late at login): the program, which showed its window for
// want of a tray, puts its icon into the tray once there is one.
TEST(AppShellLateTrayDesktopTest, ATrayThatAppearsLaterGetsTheIcon)
{
    VELDRANE_REQUIRE_DESKTOP(true);
    test::DesktopSession session("EN", false);
    ASSERT_FALSE(session.Start().isEmpty());
    session.StartTray();
    EXPECT_FALSE(session.TrayIcon().isEmpty());
}

TEST(WaylandDesktopTest, TheWindowShowsOnAHeadlessCompositorAndTerminationEndsWithZero)
{
    VELDRANE_REQUIRE_DESKTOP(false, true);
    test::DesktopSession session("EN");
    ASSERT_TRUE(session.StartWayland()) << "weston did not start";
    session.Launch();
    // Qt paints a Wayland window only once the compositor has configured its toplevel.
    EXPECT_TRUE(session.WaitForError("first-paint")) << "the window was never shown";
    session.Program().terminate();
    EXPECT_EQ(session.WaitForExit(), 0);
}

} // namespace
} // namespace veldrane
