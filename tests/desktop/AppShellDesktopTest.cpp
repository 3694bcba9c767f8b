// The program as it lives in a system tray: a second start shows the hidden window and ends at
// once, "Save" reaches the simulated mouse and the profile files (also when the program is asked
// to end during it), the tray menu's simulator entries make the mouse
// report and a balloon appears, "Open" at the head of the menu shows the window again after its
// minimise button hid it, "Exit" ends the program with status 0. Its windows carry the
// application id as their X11 class, as the installed desktop entry is named.
// On a Wayland compositor without a tray the window shows at once and the program ends cleanly
// when the session asks it to terminate.

#include <gtest/gtest.h>

#include <filesystem>

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

    // A second start with another data folder (the simulated mouse's default one) is not taken
    // for a click on the menu entry: it says why it does not run and ends with 1, and the running
    // one stays hidden.
    const QString dataDir = QString::fromStdString((session / "").parent_path().string());
    QProcess other;
    other.setProcessEnvironment(session.Program().processEnvironment());
    other.start(QString::fromStdString(session.Executable().string()), {"--simulate"});
    const QString box = session.WaitForWindow("^Tessaly VELDRANE$");
    ASSERT_FALSE(box.isEmpty()) << "no message said why the second start does not run";
    session.Key({"Return"});
    ASSERT_TRUE(other.waitForFinished(test::DesktopSession::kTimeoutMs));
    EXPECT_EQ(other.exitCode(), 1); // what it says is the start-up model's test

    // A second start with the same folder while the first runs hidden in the tray (a click on the
    // desktop's menu entry) ends at once with 0 and brings the running window forward.
    QProcess second;
    second.setProcessEnvironment(session.Program().processEnvironment());
    second.start(QString::fromStdString(session.Executable().string()), {"--simulate", "--data-dir", dataDir});
    ASSERT_TRUE(second.waitForFinished(test::DesktopSession::kTimeoutMs));
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    const QString window = session.MainWindow();
    ASSERT_FALSE(window.isEmpty());
    EXPECT_TRUE(session.Xdo({"search", "--class", "^io\\.github\\.veldrane\\.Veldrane$"}).split('\n').contains(window));

    // "Press CPI stage 2": the mouse reports the stage, the program reads its CPI and shows the
    // balloon, a window of its own beside the icon.
    const QStringList before = session.OtherWindows(window);
    session.PickTrayMenuEntry(icon, 10, 3, 2);
    EXPECT_TRUE(session.WaitFor([&] { return session.OtherWindows(window).size() > before.size(); }))
        << "no balloon appeared";

    // The window's minimise button hides it in the tray; "Open", the menu's first entry, shows it.
    session.Click(window, 965, 12);
    ASSERT_TRUE(session.WaitFor([&] {
        return session.Xdo({"search", "--onlyvisible", "--name", "^Tessaly VELDRANE$"}).isEmpty();
    })) << "the minimise button did not hide the window";
    session.PickTrayMenuEntry(icon, 10, 3, 0);
    EXPECT_EQ(session.MainWindow(), window);

    // "Exit", the entry after "Open", the simulator's twenty-one, "Profiles", "Next profile",
    // "Previous profile", "Switch profiles by application" and "Start with the desktop".
    session.PickTrayMenuEntry(icon, 10, 3, 27);
    EXPECT_EQ(session.WaitForExit(), 0);
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

// A termination request while a message box of the start-up is open ends the program with 0, as
// it does at the end of a session; it used to close the box and leave the program running.
TEST(AppShellTerminationDesktopTest, TerminationDuringAStartUpMessageEndsTheProgram)
{
    VELDRANE_REQUIRE_DESKTOP();
    test::DesktopSession session("EN");
    // A journal of a profile move that cannot be read whole and cannot be removed: the start-up
    // says that the files could not be put back.
    std::filesystem::create_directories(session / "profiles.journal");
    test::WriteFileBytes(session / "profiles.journal" / "keep", "x");
    session.Launch();
    ASSERT_FALSE(session.WaitForWindow("^NULL ==fp $").isEmpty()) << "no start-up message";
    session.Program().terminate();
    EXPECT_EQ(session.WaitForExit(), 0);
}

// "Save" to a mouse that answers late: the close button pressed during the save ends the program
// once the save is done, with the profile stored; so does a termination request. A mouse that
// answers too late fails the download, whose warning would then have swallowed the press: the
// program ends without it.
TEST(AppShellTerminationDesktopTest, ExitAndTerminationDuringASaveWaitForIt)
{
    VELDRANE_REQUIRE_DESKTOP();
    // The fault (three answers each this late; beyond 1000 ms the chunks do not come), and whether
    // the program is asked to terminate instead of closed.
    const std::pair<const char*, bool> cases[] = {{"slow:900", false}, {"slow:900", true}, {"slow:1100", false}};
    for (const auto& [fault, terminate] : cases) {
        test::DesktopSession session("EN");
        const QString window = session.Start({"--sim-fault", fault});
        ASSERT_FALSE(window.isEmpty());
        const std::string what = std::string(fault) + (terminate ? ", terminate" : ", close button");
        EXPECT_TRUE(session.Save(window, ProfileConfigName(0), [&, terminate = terminate] {
            terminate ? session.Program().terminate() : session.Click(window, 986, 12);
        })) << what;
        EXPECT_EQ(session.WaitForExit(), 0) << what;
        EXPECT_EQ(session.WrittenBlock(0x0F, 12).size(), std::string_view(fault) == "slow:900" ? 128u : 0u) << what;
    }
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
