// The VELDRANE configurator: lives in the system tray; "--simulate" runs it against the simulated
// mouse instead of the real one, "--sim-trace FILE" also writes every report it exchanges,
// "--sim-fault FAULT" makes the simulated mouse misbehave.

#include <QApplication>

#include <cstdio>

#include "gui/CHidMouseApp.h"

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("veldrane"));
    veldrane::AppOptions options = veldrane::ParseAppOptions(QApplication::arguments());
    if (!options.usageError.isEmpty()) {
        std::fprintf(stderr, "veldrane: %s\n", qPrintable(options.usageError));
        return 1;
    }
    veldrane::CHidMouseApp app(std::move(options));
    return app.Run();
}
