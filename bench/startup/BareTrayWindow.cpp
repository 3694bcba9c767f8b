// The baseline of the start-up benchmark: a bare Qt Widgets program with one frameless window as
// large as the configurator's and a tray icon, shown at once.

#include <QApplication>
#include <QPainter>
#include <QPixmap>
#include <QSystemTrayIcon>
#include <QWidget>

#include "gui/StartupProbe.h"

namespace {

class BareWindow : public QWidget
{
public:
    BareWindow() : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint) { setFixedSize(1000, 640); }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), QColor(0x20, 0x20, 0x20));
        painter.end();
        veldrane::ReportFirstPaint();
    }
};

} // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QPixmap icon(22, 22);
    icon.fill(Qt::darkRed);
    QSystemTrayIcon tray{QIcon(icon)};
    tray.show();
    BareWindow window;
    window.show();
    return QApplication::exec();
}
