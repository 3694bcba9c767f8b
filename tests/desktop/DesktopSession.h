#pragma once

#include <QPoint>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "platform/XvfbServer.h"
#include "platform/linux/IconvTextCodec.h"
#include "support/TempDir.h"

class QCoreApplication;

namespace veldrane::test {

// The installed program on a private Xvfb server, as a user meets it: a copy of the built program
// with its factory files and skin in a folder of its own, started with the simulated mouse and a
// trace of every report it exchanges, driven with xdotool. With a system tray (trayer) on demand.
class DesktopSession
{
public:
    static constexpr int kTimeoutMs = 30000;

    // What the session needs and this machine lacks (Xvfb, xdotool, trayer, the built program).
    static std::optional<std::string> Missing(bool needsTray = false);
    static QCoreApplication& Application();

    // Installs the program with its labels in `language` ("EN", "CHS", "CHT").
    explicit DesktopSession(std::string_view language = "EN", bool withTray = false);
    ~DesktopSession();
    DesktopSession(const DesktopSession&) = delete;
    DesktopSession& operator=(const DesktopSession&) = delete;

    const TempDir& Dir() const { return m_dir; }
    std::filesystem::path operator/(std::string_view name) const { return m_dir / name; }
    // The installed program: bin/veldrane with its skin in share/veldrane; the session's folder
    // itself is the program's data directory.
    std::filesystem::path Executable() const;
    const IconvTextCodec& Codec() const { return m_codec; }

    // What running on a headless Wayland compositor needs and this machine lacks (weston, Qt's
    // wayland platform).
    static std::optional<std::string> MissingWayland();
    // Starts weston's headless compositor in the session's runtime folder; the program started
    // afterwards runs on it (QT_QPA_PLATFORM=wayland) instead of Xvfb, and reports its first
    // paint on its standard error. Whether the compositor came up.
    bool StartWayland();
    // Waits until the program has written `text` to its standard error (Wayland only).
    bool WaitForError(std::string_view text);

    // Starts "veldrane --simulate --sim-trace" (and `extra`); does not wait for a window.
    void Launch(const QStringList& extra = {});
    QProcess& Program() { return m_app; }
    // Starts and waits for the main window; without a tray it is shown at once, with one the
    // tray icon is clicked first. The main window's id, empty when it did not come.
    QString Start();
    // The program's main window; waits until it is shown.
    QString MainWindow() { return WaitForWindow("^Tessaly VELDRANE$"); }
    // Presses the main window's "Save".
    void PressSave(const QString& window);
    // Ends the program with the main window's close button; its exit status (-1 when it hung).
    int CloseWithExitButton(const QString& window);
    // Waits for the program to end; its exit status, -1 when it did not end.
    int WaitForExit();

    // xdotool on the session's display; its output.
    QString Xdo(const QStringList& arguments);
    // The first visible window whose name matches, once it is there.
    QString WaitForWindow(std::string_view name);
    // The window that has the keyboard focus.
    QString FocusedWindow() { return Xdo({"getwindowfocus"}); }
    // The window that took the focus from `window` (a dialog it opened), once it has; empty when
    // none did in time.
    QString WaitForFocusAwayFrom(const QString& window);
    void Click(const QString& window, int x, int y, int button = 1, int repeat = 1);
    // Presses the left button at (x, y) of `window`, moves it through `path` (window pixels) with
    // the button held and lets go at the last point.
    void Drag(const QString& window, QPoint from, const std::vector<QPoint>& path);
    // The window's top-left corner on the screen.
    QPoint WindowPosition(const QString& window);
    void Key(const QStringList& keys);
    // Starts the system tray (trayer) on the session's display; the constructor does so when
    // asked for a tray.
    void StartTray();
    // The tray icon's window, once it is docked.
    QString TrayIcon();
    // Opens the icon's menu with a right click at (x, y) of the icon; the menu's window once shown.
    QString OpenTrayMenu(const QString& icon, int x, int y);
    // A window of the program whose size fits, once there is one (visible only, or any).
    QString WaitForProgramWindow(const std::function<bool(int width, int height)>& fits, bool visible = true);
    // Visible top-level windows of the program other than `except`.
    QStringList OtherWindows(const QString& except);

    // Waits, without a fixed pause, until `done` holds after a change in the installation folder
    // or a bounded time has passed; whether it holds.
    bool WaitFor(const std::function<bool()>& done);
    // Makes `file` look old, so that a write to it can be told from the copy made at install.
    std::filesystem::file_time_type Age(std::string_view file);
    bool WaitUntilWritten(std::string_view file, std::filesystem::file_time_type aged);

    // The trace lines written so far, and the bytes of the block that the last command `code`
    // (with parameter `parameter` when given) carried in its output reports.
    std::vector<std::string> Trace() const;
    std::vector<std::uint8_t> WrittenBlock(std::uint8_t code, std::optional<std::uint8_t> parameter = {}) const;
    // The byte-parsed reports of the trace of `kind` ("SET_FEATURE", "WRITE", ...).
    std::vector<std::vector<std::uint8_t>> Reports(std::string_view kind) const;

private:
    void Install(std::string_view language);
    QProcessEnvironment Environment() const;

    TempDir m_dir;
    TempDir m_runtime;
    IconvTextCodec m_codec;
    std::filesystem::path m_bin;
    bool m_withTray;
    std::unique_ptr<XvfbServer> m_xvfb;
    QProcess m_tray;
    QProcess m_weston;
    QString m_waylandSocket;
    QByteArray m_errors;
    QProcess m_app;
};

// A test on a desktop session whose labels are in the language of its parameter ("EN", "CHS",
// "CHT"); skipped, saying why, where the machine lacks what the session needs.
class DesktopTest : public ::testing::TestWithParam<const char*>
{
protected:
    void SetUp() override
    {
        if (auto missing = DesktopSession::Missing()) {
            GTEST_SKIP() << "needs " << *missing;
        }
        m_session.emplace(GetParam());
    }

    DesktopSession& Session() { return *m_session; }

private:
    std::optional<DesktopSession> m_session;
};

} // namespace veldrane::test
