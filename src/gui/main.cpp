// The VELDRANE configurator: lives in the system tray. `veldrane --help` lists its options.

#include <QApplication>

#include <cstdio>

#include "gui/AppOptions.h"
#include "gui/CHidMouseApp.h"

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("veldrane"));
    QApplication::setApplicationVersion(QStringLiteral(VELDRANE_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral("veldrane"));
    const veldrane::AppCommandLine commandLine = veldrane::ParseAppCommandLine(QApplication::arguments());
    if (!commandLine.options) {
        std::fputs(commandLine.out.toLocal8Bit().constData(), stdout);
        std::fputs(commandLine.err.toLocal8Bit().constData(), stderr);
        return std::fflush(stdout) == 0 ? commandLine.exitStatus : 1;
    }
    veldrane::CHidMouseApp app(*commandLine.options);
    return app.Run();
}
