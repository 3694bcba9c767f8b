#include "DesktopSession.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QStandardPaths>
#include <QTest>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <sstream>

#include "core/ini/IniFile.h"

namespace veldrane::test {

namespace {

constexpr int kTrayWidth = 100;
constexpr int kTrayHeight = 24;
constexpr std::size_t kBlockBytes = 128;
constexpr int kMenuSettleMs = 500;

} // namespace

std::optional<std::string> DesktopSession::Missing(bool needsTray, bool needsWayland)
{
    const char* binDir = std::getenv("VELDRANE_BIN_DIR");
    const QDir plugins(QLibraryInfo::path(QLibraryInfo::PluginsPath) + QStringLiteral("/platforms"));
    const auto lacks = [](const char* program) { return QStandardPaths::findExecutable(program).isEmpty(); };
    const std::pair<bool, const char*> needs[] = {
        {!XvfbServer::Installed(), "Xvfb"},
        {lacks("xdotool"), "xdotool"},
        {needsTray && lacks("trayer"), "trayer (a system tray)"},
        {needsWayland && lacks("weston"), "weston"},
        {needsWayland && plugins.entryList({QStringLiteral("libqwayland-generic*")}, QDir::Files).isEmpty(),
         "Qt's wayland platform (qt6-wayland)"},
        {binDir == nullptr || !std::filesystem::exists(std::filesystem::path(binDir) / "veldrane"),
         "the built program in VELDRANE_BIN_DIR"}};
    const auto* missing = std::ranges::find_if(needs, [](const auto& need) { return need.first; });
    return missing == std::end(needs) ? std::nullopt : std::optional<std::string>(missing->second);
}

DesktopSession::DesktopSession(std::string_view language, bool withTray)
    : m_bin(std::getenv("VELDRANE_BIN_DIR")), m_withTray(withTray)
{
    // One application for all sessions, for QProcess and the waits.
    static int argc = 1;
    static char name[] = "desktop_tests";
    static char* argv[] = {name, nullptr};
    static QCoreApplication application(argc, argv);
    m_xvfb = std::make_unique<XvfbServer>("1280x1024x24");
    EXPECT_FALSE(m_xvfb->Display().empty()) << "Xvfb did not start";
    std::filesystem::permissions(m_runtime.Path(), std::filesystem::perms::owner_all);
    Install(language);
    if (m_withTray) {
        StartTray();
    }
}

void DesktopSession::StartTray()
{
    m_tray.setProcessEnvironment(Environment());
    m_tray.start(QStringLiteral("trayer"),
                 {"--edge", "top", "--align", "right", "--widthtype", "pixel", "--width", QString::number(kTrayWidth),
                  "--heighttype", "pixel", "--height", QString::number(kTrayHeight)});
    EXPECT_TRUE(m_tray.waitForStarted(kTimeoutMs));
    // The tray is there once its panel window is.
    Xdo({"search", "--sync", "--name", "^panel$"});
}

QProcess& DesktopSession::Spawn(const QString& program, const QStringList& arguments)
{
    QProcess& process = *m_helpers.emplace_back(std::make_unique<QProcess>());
    process.setProcessEnvironment(Environment());
    process.start(program, arguments);
    EXPECT_TRUE(process.waitForStarted(kTimeoutMs)) << program.toStdString();
    return process;
}

DesktopSession::~DesktopSession()
{
    for (const std::unique_ptr<QProcess>& helper : m_helpers) {
        helper->kill();
        helper->waitForFinished(kTimeoutMs);
    }
    for (QProcess* process : {&m_app, &m_tray, &m_weston}) {
        process->kill(); // nothing for one that is not running
        process->waitForFinished(kTimeoutMs);
    }
}

void DesktopSession::Install(std::string_view language)
{
    const std::filesystem::path share = m_bin / ".." / "share" / "veldrane";
    std::filesystem::create_directories(m_dir / "bin");
    std::filesystem::create_directories(m_dir / "share");
    std::filesystem::copy(m_bin / "veldrane", Executable());
    std::filesystem::copy(share, m_dir / "share" / "veldrane", std::filesystem::copy_options::recursive);
    // The data directory, seeded already with the factory files beside the skins (the profiles'
    // .bin files, the list and label .ini files), the labels in `language`.
    for (const auto& entry : std::filesystem::directory_iterator(share)) {
        const std::filesystem::path copy = m_dir.Path() / entry.path().filename();
        if (entry.is_regular_file()) {
            std::filesystem::copy(entry.path(), copy);
        }
        if (copy.extension() == ".ini") {
            EXPECT_EQ(IniFile(copy, m_codec).WriteString("Skins", "Lan", language), IniWriteResult::Written);
        }
    }
}

bool DesktopSession::StartWayland()
{
    m_waylandSocket = QStringLiteral("veldrane-test-%1").arg(QCoreApplication::applicationPid());
    // The program's environment from now on, which is also the compositor's: its runtime folder, no X display.
    m_weston.setProcessEnvironment(Environment());
    m_weston.setProcessChannelMode(QProcess::MergedChannels);
    m_weston.start(QStringLiteral("weston"), {"--backend=headless-backend.so", "--socket=" + m_waylandSocket,
                                              "--idle-time=0", "--width=1280", "--height=1024"});
    const std::filesystem::path socket = m_runtime.Path() / m_waylandSocket.toStdString();
    return m_weston.waitForStarted(kTimeoutMs) &&
           WaitFor([&] { return std::filesystem::exists(socket) || m_weston.state() == QProcess::NotRunning; }) &&
           m_weston.state() == QProcess::Running;
}

bool DesktopSession::WaitForError(std::string_view text)
{
    const QByteArray wanted(text.data(), static_cast<qsizetype>(text.size()));
    return WaitFor([&] {
               m_errors += m_app.readAllStandardError();
               return m_errors.contains(wanted) || m_app.state() != QProcess::Running;
           }) &&
           m_errors.contains(wanted);
}

QProcessEnvironment DesktopSession::Environment() const
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    if (m_waylandSocket.isEmpty()) {
        environment.insert(QStringLiteral("DISPLAY"), QString::fromStdString(m_xvfb->Display()));
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    } else {
        environment.remove(QStringLiteral("DISPLAY"));
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("wayland"));
        environment.insert(QStringLiteral("WAYLAND_DISPLAY"), m_waylandSocket);
        environment.insert(QStringLiteral("VELDRANE_REPORT_FIRST_PAINT"), QStringLiteral("1"));
        // Qt's Wayland platform leaks inside Mesa, in libraries without frame pointers: only full
        // stacks let the sanitizer's suppressions recognise those leaks.
        environment.insert(QStringLiteral("LSAN_OPTIONS"),
                           environment.value(QStringLiteral("LSAN_OPTIONS")) + ":fast_unwind_on_malloc=0");
    }
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), QString::fromStdString(m_runtime.Path().string()));
    // No session bus unless asked: balloons are Qt's own windows beside the tray icon.
    if (!m_sessionBus) {
        environment.remove(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"));
    }
    return environment;
}

void DesktopSession::Launch(const QStringList& extra)
{
    m_app.setProcessEnvironment(Environment());
    // On Wayland the test reads the program's report of its first paint.
    m_app.setProcessChannelMode(m_waylandSocket.isEmpty() ? QProcess::ForwardedChannels
                                                          : QProcess::ForwardedOutputChannel);
    m_app.start(QString::fromStdString(Executable().string()),
                QStringList{"--simulate", "--sim-trace", QString::fromStdString((m_dir / "trace.txt").string()),
                            "--data-dir", QString::fromStdString(m_dir.Path().string())} +
                    extra);
    EXPECT_TRUE(m_app.waitForStarted(kTimeoutMs));
}

QString DesktopSession::Start(const QStringList& extra)
{
    Launch(extra);
    if (m_withTray) {
        const QString icon = TrayIcon();
        if (icon.isEmpty()) {
            return {};
        }
        Click(icon, 10, 10);
    }
    return MainWindow();
}

int DesktopSession::WaitForExit()
{
    return m_app.waitForFinished(kTimeoutMs) && m_app.exitStatus() == QProcess::NormalExit ? m_app.exitCode() : -1;
}

bool DesktopSession::Save(const QString& window, std::string_view file)
{
    constexpr int kSaveX = 950, kSaveY = 619;
    // The file made to look old, so that the write can be told from the copy made at install.
    const auto aged = std::filesystem::last_write_time(m_dir / file) - std::chrono::hours(1);
    std::filesystem::last_write_time(m_dir / file, aged);
    Click(window, kSaveX, kSaveY);
    return WaitFor([&] {
        std::error_code error;
        return std::filesystem::last_write_time(m_dir / file, error) != aged && !error;
    });
}

QString DesktopSession::Xdo(const QStringList& arguments)
{
    QProcess xdotool;
    xdotool.setProcessEnvironment(Environment());
    xdotool.start(QStringLiteral("xdotool"), arguments);
    if (!xdotool.waitForFinished(kTimeoutMs)) {
        xdotool.kill();
        xdotool.waitForFinished();
        ADD_FAILURE() << "xdotool did not finish: " << arguments.join(' ').toStdString();
    }
    return QString::fromUtf8(xdotool.readAllStandardOutput()).trimmed();
}

QString DesktopSession::WaitForFocusAwayFrom(const QString& window)
{
    QString focused;
    WaitFor([&] {
        focused = Xdo({"getwindowfocus"});
        return !focused.isEmpty() && focused != window;
    });
    return focused != window ? focused : QString();
}

void DesktopSession::Drag(const QString& window, QPoint from, const std::vector<QPoint>& path)
{
    auto moveTo = [&](QPoint p) {
        return QStringList{"mousemove", "--window", window, QString::number(p.x()), QString::number(p.y()),
                           "sleep",     "0.15"};
    };
    QStringList steps = moveTo(from) + QStringList{"mousedown", "1", "sleep", "0.15"};
    for (const QPoint& p : path) {
        steps += moveTo(p);
    }
    Xdo(steps + QStringList{"mouseup", "1"});
}

QRect DesktopSession::Geometry(const QString& window)
{
    // WINDOW=, X=, Y=, WIDTH=, HEIGHT= and SCREEN=, a line each.
    const QStringList lines = Xdo({"getwindowgeometry", "--shell", window}).split('\n');
    const auto value = [&](int line) { return lines.value(line).section('=', 1).toInt(); };
    return {value(1), value(2), value(3), value(4)};
}

QString DesktopSession::WaitForProgramWindow(const std::function<bool(int width, int height)>& fits, bool visible)
{
    QString found;
    WaitFor([&] {
        const QStringList search = QStringList{"search"} + (visible ? QStringList{"--onlyvisible"} : QStringList{}) +
                                   QStringList{"--class", "^io\\.github\\.veldrane\\.Veldrane$"};
        for (const QString& window : Xdo(search).split('\n', Qt::SkipEmptyParts)) {
            const QRect geometry = Geometry(window);
            if (fits(geometry.width(), geometry.height())) {
                found = window;
                break;
            }
        }
        return !found.isEmpty();
    });
    return found;
}

QString DesktopSession::TrayIcon()
{
    // The icon is a window of the program's class docked in the tray's panel, of the size of the
    // panel's icons; its name is not set where xdotool looks for names.
    const QString icon = WaitForProgramWindow(
        [](int width, int height) {
            return width >= 16 && width <= kTrayHeight && height >= 16 && height <= kTrayHeight;
        },
        false);
    EXPECT_FALSE(icon.isEmpty()) << "the tray icon did not appear";
    return icon;
}

void DesktopSession::PickTrayMenuEntry(const QString& icon, int x, int y, int index)
{
    Click(icon, x, y, 3);
    // The menu: narrow and tall, unlike the main window, the balloons and the icon.
    const QString menu = WaitForProgramWindow([](int width, int height) { return width < 400 && height >= 200; });
    ASSERT_FALSE(menu.isEmpty()) << "the tray menu did not open";
    // The menu takes the keyboard a moment after it is mapped; keys sent before are lost.
    QTest::qWait(kMenuSettleMs);
    Key(QStringList(index + 1, QStringLiteral("Down")) << QStringLiteral("Return"));
}

QStringList DesktopSession::OtherWindows(const QString& except)
{
    QStringList windows = Xdo({"search", "--onlyvisible", "--pid", QString::number(m_app.processId()), "--name", "."})
                              .split('\n', Qt::SkipEmptyParts);
    windows.removeAll(except);
    return windows;
}

bool DesktopSession::WaitFor(const std::function<bool()>& done)
{
    return QTest::qWaitFor(done, kTimeoutMs);
}

std::vector<TracedReport> DesktopSession::Trace(std::string_view kind) const
{
    std::vector<TracedReport> reports;
    std::ifstream in(m_dir / "trace.txt");
    for (std::string line; std::getline(in, line);) {
        std::istringstream words(line);
        std::string time;
        TracedReport report;
        words >> time >> report.first;
        for (std::string word; words >> word;) {
            report.second.push_back(static_cast<std::uint8_t>(std::stoul(word, nullptr, 16)));
        }
        if (kind.empty() || report.first == kind) {
            reports.push_back(std::move(report));
        }
    }
    return reports;
}

std::vector<std::uint8_t> DesktopSession::WrittenBlock(std::uint8_t code, std::optional<std::uint8_t> parameter) const
{
    // A command's feature report (report id, code, parameter, ...) and then its output reports
    // (report id and 64 bytes each) until the block is whole.
    std::vector<std::uint8_t> block;
    bool collecting = false;
    for (const auto& [kind, bytes] : Trace()) {
        if (kind == "SET_FEATURE" && bytes.size() > 2 && bytes[1] == code && (!parameter || bytes[2] == *parameter)) {
            block.clear();
            collecting = true;
        } else if (collecting && kind == "WRITE" && bytes.size() > 1) {
            block.insert(block.end(), bytes.begin() + 1, bytes.end());
            collecting = block.size() < kBlockBytes;
        } else if (kind == "SET_FEATURE") {
            collecting = false;
        }
    }
    block.resize(std::min(block.size(), kBlockBytes));
    return block;
}

} // namespace veldrane::test
