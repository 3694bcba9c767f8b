#include "gui/skin/SkinStyleSheet.h"

#include <QDir>

#include "gui/skin/SkinImageCache.h"

namespace veldrane {
namespace {

// The skin's accent and its dark surfaces, as the default skin's pictures are painted.
constexpr Colour kAccent{176, 24, 24};
constexpr Colour kAccentBright{232, 51, 43};
constexpr Colour kMenuBackground{80, 0, 0};
constexpr Colour kWell{12, 12, 14};
constexpr Colour kEdge{74, 74, 84};
constexpr Colour kSurface{22, 22, 26};
constexpr Colour kBoxText{230, 230, 230};
constexpr Colour kSteelTop{70, 70, 78};
constexpr Colour kSteelBottom{34, 34, 40};
constexpr std::string_view kThumbPicture = "/ScrollThumb.png";

QString Rgba(Colour colour)
{
    return QStringLiteral("rgba(%1, %2, %3, %4)").arg(colour.r).arg(colour.g).arg(colour.b).arg(colour.a);
}

} // namespace

QString SkinStyleSheet(SkinImageCache& images, Colour text, Colour listBackground)
{
    QString handle = QStringLiteral("background: %1; border-radius: 3px;").arg(Rgba(kAccent));
    if (images.Find(kThumbPicture)) {
        const QString file = QDir::fromNativeSeparators(
            QString::fromStdString((images.Directory() / std::string(kThumbPicture.substr(1))).string()));
        handle = QStringLiteral("border-image: url(\"%1\") 0 0 0 0 stretch stretch;").arg(file);
    }
    return QStringLiteral("QListWidget { background: %1; color: %2; border: none; outline: none; }"
                          "QListWidget::item { padding: 0px 2px; border: none; }"
                          "QListWidget::item:selected { background: %3; color: white; }"
                          "QListWidget::item:hover:!selected { background: rgba(255, 255, 255, 24); }"
                          "QScrollBar:vertical { background: %4; width: 8px; margin: 0px; border: none; }"
                          "QScrollBar::handle:vertical { %5 min-height: 16px; }"
                          "QScrollBar::add-line:vertical, QScrollBar::sub-line:vertical { height: 0px; border: none; }"
                          "QScrollBar::add-page:vertical, QScrollBar::sub-page:vertical { background: none; }"
                          "QLineEdit { background: %4; color: %2; border: 1px solid %6; selection-background-color: %3;"
                          " selection-color: white; padding: 0px 1px; }"
                          "QLineEdit:disabled { color: rgba(255, 255, 255, 90); }"
                          "QMenu { background: %7; color: %2; border: 1px solid %8; padding: 2px; }"
                          "QMenu::item { padding: 3px 14px 3px 10px; background: transparent; }"
                          "QMenu::item:selected { background: %3; color: white; }"
                          "QMenu::separator { height: 1px; background: %8; margin: 2px 4px; }"
                          "QToolTip { background: %4; color: %2; border: 1px solid %6; }")
        .arg(Rgba(listBackground), Rgba(text), Rgba(kAccent), Rgba(kWell), handle, Rgba(kAccentBright),
             Rgba(kMenuBackground), Rgba(kEdge));
}

QString MessageBoxStyleSheet()
{
    return QStringLiteral("QMessageBox { background: %1; }"
                          "QMessageBox QLabel { color: %2; background: transparent; }"
                          "QMessageBox QPushButton { color: %2; min-width: 64px; padding: 4px 14px;"
                          " border: 1px solid %3; border-radius: 4px;"
                          " background: qlineargradient(x1: 0, y1: 0, x2: 0, y2: 1, stop: 0 %4, stop: 1 %5); }"
                          "QMessageBox QPushButton:default { border: 1px solid %6; }"
                          "QMessageBox QPushButton:hover { border: 1px solid %7;"
                          " background: qlineargradient(x1: 0, y1: 0, x2: 0, y2: 1, stop: 0 %7, stop: 1 %6); }"
                          "QMessageBox QPushButton:pressed { background: %6; }"
                          "QMessageBox QPushButton:focus { outline: none; }")
        .arg(Rgba(kSurface), Rgba(kBoxText), Rgba(kEdge), Rgba(kSteelTop), Rgba(kSteelBottom), Rgba(kAccent),
             Rgba(kAccentBright));
}

} // namespace veldrane
