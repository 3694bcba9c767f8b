// The VELDRANE configurator: lives in the system tray; "--simulate" runs it against the simulated
// mouse instead of the real one, "--sim-trace FILE" also writes every report it exchanges.

#include <QApplication>

#include "gui/CHidMouseApp.h"

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("veldrane"));
    veldrane::CHidMouseApp app(veldrane::ParseAppOptions(QApplication::arguments()));
    return app.Run();
}
