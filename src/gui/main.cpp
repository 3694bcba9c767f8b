// The VELDRANE configurator: lives in the system tray; "--simulate" runs it against the simulated
// mouse instead of the real one, "--sim-trace FILE" also writes every report it exchanges.
// SIGTERM and SIGINT end it as "Exit" does.

#include <QApplication>

#include "gui/CHidMouseApp.h"
#include "gui/TerminationSignals.h"

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("veldrane"));
    const veldrane::TerminationSignals terminationSignals;
    veldrane::CHidMouseApp app(veldrane::ParseAppOptions(QApplication::arguments()));
    return app.Run();
}
