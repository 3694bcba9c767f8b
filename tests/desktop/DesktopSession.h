#pragma once

#include <QPoint>
#include <QProcess>
#include <QRect>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "adapters/XvfbServer.h"
#include "adapters/linux/IconvTextCodec.h"
#include "support/TempDir.h"

namespace veldrane::test {

// One report of the program's trace: its kind ("SET_FEATURE", "WRITE", "READ", ...) and bytes.
using TracedReport = std::pair<std::string, std::vector<std::uint8_t>>;

// The installed program on a private Xvfb server, as a user meets it: a copy of the built program
// with its factory files and skin in a folder of its own, started with the simulated mouse and a
// trace of every report it exchanges, driven with xdotool. With a system tray (trayer) on demand.
class DesktopSession
{
public:
    static constexpr int kTimeoutMs = 30000;

    // What the session needs and this machine lacks: Xvfb, xdotool and the built program, trayer
    // for a tray, weston and Qt's wayland platform for a headless Wayland compositor.
    static std::optional<std::string> Missing(bool needsTray = false, bool needsWayland = false);

    // Installs the program with its labels in `language` ("EN", "CHS", "CHT").
    explicit DesktopSession(std::string_view language = "EN", bool withTray = false);
    ~DesktopSession();
    DesktopSession(const DesktopSession&) = delete;
    DesktopSession& operator=(const DesktopSession&) = delete;

    // The session's folder, which is the program's data directory.
    std::filesystem::path operator/(std::string_view name) const { return m_dir / name; }
    // The installed program: bin/veldrane with its skin in share/veldrane.
    std::filesystem::path Executable() const { return m_dir / "bin" / "veldrane"; }
    const IconvTextCodec& Codec() const { return m_codec; }

    // Starts weston's headless compositor in the session's runtime folder; the program started
    // afterwards runs on it (QT_QPA_PLATFORM=wayland) instead of Xvfb, and reports its first
    // paint on its standard error. Whether the compositor came up.
    bool StartWayland();
    // Waits until the program has written `text` to its standard error (Wayland only).
    bool WaitForError(std::string_view text);

    // Starts "veldrane --simulate --sim-trace" (and `extra`); does not wait for a window.
    void Launch(const QStringList& extra = {});
    QProcess& Program() { return m_app; }
    // The program started afterwards joins the test's session bus (dbus-run-session) instead of
    // running without one.
    void UseSessionBus() { m_sessionBus = true; }
    // Starts (with `extra`) and waits for the main window; without a tray it is shown at once,
    // with one the tray icon is clicked first. The main window's id, empty when it did not come.
    QString Start(const QStringList& extra = {});
    // The program's main window; waits until it is shown.
    QString MainWindow() { return WaitForWindow("^Tessaly VELDRANE$"); }
    // Presses the main window's "Save", then does `during`; whether `file` of the data directory was
    // written then.
    bool Save(const QString& window, std::string_view file, const std::function<void()>& during = {});
    // Ends the program with the main window's close button; its exit status (-1 when it hung).
    int CloseWithExitButton(const QString& window)
    {
        Click(window, 986, 12);
        return WaitForExit();
    }
    // Waits for the program to end; its exit status, -1 when it did not end.
    int WaitForExit();

    // xdotool on the session's display; its output.
    QString Xdo(const QStringList& arguments);
    // The first visible window whose name matches, once it is there.
    QString WaitForWindow(std::string_view name)
    {
        return Xdo({"search", "--sync", "--onlyvisible", "--name", QString::fromUtf8(name.data(), name.size())})
            .section('\n', 0, 0);
    }
    // The window that took the focus from `window` (a dialog it opened), once it has; empty when
    // none did in time.
    QString WaitForFocusAwayFrom(const QString& window);
    void Click(const QString& window, int x, int y, int button = 1, int repeat = 1)
    {
        Xdo({"mousemove", "--window", window, QString::number(x), QString::number(y), "click", "--repeat",
             QString::number(repeat), "--delay", "120", QString::number(button)});
    }
    // Presses the left button at (x, y) of `window`, moves it through `path` (window pixels) with
    // the button held and lets go at the last point.
    void Drag(const QString& window, QPoint from, const std::vector<QPoint>& path);
    // The window's place on the screen and its size.
    QRect Geometry(const QString& window);
    void Key(const QStringList& keys) { Xdo(QStringList{"key", "--delay", "60"} + keys); }
    // Starts the system tray (trayer) on the session's display; the constructor does so when
    // asked for a tray.
    void StartTray();
    // Starts a helper program (a window manager, a small window) on the session's display; it
    // ends with the session.
    QProcess& Spawn(const QString& program, const QStringList& arguments);
    // The tray icon's window, once it is docked.
    QString TrayIcon();
    // Opens the icon's menu with a right click at (x, y) of the icon and picks its entry `index`
    // with the keyboard.
    void PickTrayMenuEntry(const QString& icon, int x, int y, int index);
    // Visible top-level windows of the program other than `except`.
    QStringList OtherWindows(const QString& except);

    // Waits, without a fixed pause, until `done` holds after a change in the installation folder
    // or a bounded time has passed; whether it holds.
    bool WaitFor(const std::function<bool()>& done);

    // The reports of the trace so far (of `kind` only, when given), and the bytes of the block
    // that the last command `code` (with parameter `parameter` when given) carried in its output
    // reports.
    std::vector<TracedReport> Trace(std::string_view kind = {}) const;
    std::vector<std::uint8_t> WrittenBlock(std::uint8_t code, std::optional<std::uint8_t> parameter = {}) const;

private:
    void Install(std::string_view language);
    QProcessEnvironment Environment() const;
    // A window of the program whose size fits, once there is one (visible only, or any).
    QString WaitForProgramWindow(const std::function<bool(int width, int height)>& fits, bool visible = true);

    TempDir m_dir;
    TempDir m_runtime;
    IconvTextCodec m_codec;
    std::filesystem::path m_bin;
    bool m_withTray;
    bool m_sessionBus = false;
    std::unique_ptr<XvfbServer> m_xvfb;
    QProcess m_tray;
    QProcess m_weston;
    QString m_waylandSocket;
    QByteArray m_errors;
    QProcess m_app;
    std::vector<std::unique_ptr<QProcess>> m_helpers;
};

// Skips the test, saying why, where the machine lacks what a session needs.
#define VELDRANE_REQUIRE_DESKTOP(...)                                                                                  \
    if (const auto missing = ::veldrane::test::DesktopSession::Missing(__VA_ARGS__)) {                                 \
        GTEST_SKIP() << "needs " << *missing;                                                                          \
    }

} // namespace veldrane::test
