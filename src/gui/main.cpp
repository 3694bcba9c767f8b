// The VELDRANE configurator: lives in the system tray. `veldrane --help` lists its options.
// SIGTERM and SIGINT end it as "Exit" does.

#include <QApplication>
#include <QImageReader>
#include <QScreen>
#include <QStringList>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <vector>

#include "adapters/Backends.h"
#include "adapters/qt/TerminationSignals.h"
#include "gui/AppOptions.h"
#include "gui/CHidMouseApp.h"
#include "gui/WindowPlacement.h"
#include "screens/main/AppContext.h"
#include "screens/main/MainWindowLayout.h"

namespace {

constexpr char kScaleVariable[] = "QT_SCALE_FACTOR";

// The main window is as large as the skin's main picture; the default skin's decides, the user's
// own copy of it first.
QSize MainWindowSize(const veldrane::AppOptions& options)
{
    const veldrane::DataFolders folders = veldrane::FindDataFolders(
        {QCoreApplication::applicationDirPath().toStdString(), options.dataDir.toStdString(), options.simulate});
    const std::filesystem::path skin = veldrane::ChooseSkinDirectory(folders.user, folders.installed, "Default");
    const QSize size =
        QImageReader(QString::fromStdString((skin / veldrane::kMainBackground.substr(1)).string())).size();
    return size.isValid() ? size : QSize(veldrane::kFallbackWindowSize.width, veldrane::kFallbackWindowSize.height);
}

// The toolkit for the program's windows. On a screen smaller than the main window it is started
// again with every window scaled down to fit, on top of any scale the user chose, so the window
// is shrunk rather than cut; the user's own setting is given back for the programs it starts.
std::unique_ptr<QApplication> StartToolkit(int& argc, char** argv, const veldrane::AppOptions& options)
{
    // The toolkit takes its own options out of the arguments; a second start needs them again.
    const std::vector<char*> arguments(argv, argv + argc + 1);
    const int count = argc;
    auto application = std::make_unique<QApplication>(argc, argv);
    const QScreen* screen = QGuiApplication::primaryScreen();
    const qreal fit = screen ? veldrane::FitScale(screen->availableGeometry().size(), MainWindowSize(options)) : 1.0;
    if (fit >= 1.0) {
        return application;
    }
    const bool userSet = qEnvironmentVariableIsSet(kScaleVariable);
    const QByteArray userScale = qgetenv(kScaleVariable);
    bool valid = false;
    const double chosen = userScale.toDouble(&valid);
    application.reset();
    qputenv(kScaleVariable, QByteArray::number((valid && chosen > 0 ? chosen : 1.0) * fit, 'f', 3));
    std::copy(arguments.begin(), arguments.end(), argv);
    argc = count;
    application = std::make_unique<QApplication>(argc, argv);
    if (userSet) {
        qputenv(kScaleVariable, userScale);
    } else {
        qunsetenv(kScaleVariable);
    }
    return application;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication::setApplicationName(QStringLiteral("veldrane"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VELDRANE_VERSION));
    // Read before the toolkit connects to a display, so that --help and --version work without one.
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        arguments << QString::fromLocal8Bit(argv[i]);
    }
    const veldrane::AppCommandLine commandLine = veldrane::ParseAppCommandLine(arguments);
    if (!commandLine.options) {
        std::fputs(commandLine.out.toLocal8Bit().constData(), stdout);
        std::fputs(commandLine.err.toLocal8Bit().constData(), stderr);
        return std::fflush(stdout) == 0 ? commandLine.exitStatus : 1;
    }
    const std::unique_ptr<QApplication> application = StartToolkit(argc, argv, *commandLine.options);
    // Docks and task switchers find the desktop entry, and its icon, by the window's app id on
    // Wayland and by its class on X11, which the toolkit takes from the application's name.
    QCoreApplication::setApplicationName(QStringLiteral(VELDRANE_APP_ID));
    QGuiApplication::setDesktopFileName(QStringLiteral(VELDRANE_APP_ID));
    veldrane::TerminationSignals terminationSignals;
    veldrane::CHidMouseApp app(*commandLine.options);
    terminationSignals.SetHandler([&app] { app.RequestExit(); });
    return app.Run();
}
