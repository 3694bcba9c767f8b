// The VELDRANE configurator: lives in the system tray. `veldrane --help` lists its options.
// SIGTERM and SIGINT end it as "Exit" does.

#include <QApplication>
#include <QStringList>

#include <cstdio>

#include "gui/AppOptions.h"
#include "gui/CHidMouseApp.h"
#include "adapters/qt/TerminationSignals.h"

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
    QApplication application(argc, argv);
    // Docks and task switchers find the desktop entry, and its icon, by the window's app id on
    // Wayland and by its class on X11, which the toolkit takes from the application's name.
    QCoreApplication::setApplicationName(QStringLiteral(VELDRANE_APP_ID));
    QGuiApplication::setDesktopFileName(QStringLiteral(VELDRANE_APP_ID));
    veldrane::TerminationSignals terminationSignals;
    veldrane::CHidMouseApp app(*commandLine.options);
    terminationSignals.SetHandler([&app] { app.RequestExit(); });
    return app.Run();
}
