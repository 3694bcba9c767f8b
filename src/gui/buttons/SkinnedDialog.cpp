#include "gui/buttons/SkinnedDialog.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QShowEvent>
#include <QWheelEvent>
#include <QWindow>

#include <string>

#include "adapters/qt/QtKeyNameSource.h"
#include "gui/skin/QtSkinCanvas.h"
#include "ports/KeyNameSource.h"

namespace veldrane {
namespace {

Point ToPoint(QPointF p)
{
    const QPoint rounded = p.toPoint();
    return {rounded.x(), rounded.y()};
}

// Where the pointer is when it has left the dialog: over no area.
constexpr Point kNowhere{-1, -1};

} // namespace

SkinnedDialog::SkinnedDialog(SkinImageCache& images, Language language, const KeyNameSource* keyNames, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), m_images(images), m_keyNames(keyNames), m_fonts(language)
{
    setModal(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
}

void SkinnedDialog::SizeTo(Size size)
{
    setFixedSize(size.width, size.height);
}

bool SkinnedDialog::event(QEvent* event)
{
    switch (event->type()) {
    case QEvent::ShortcutOverride:
        // No shortcut of the application may take a key from the capture.
        event->accept();
        return true;
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (m_keyNames && KeyModel(m_keyNames->KeyName(QtKeyNameSource::StrokeOf(*key)))) {
            update();
        }
        event->accept();
        return true;
    }
    default:
        return QDialog::event(event);
    }
}

void SkinnedDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // The keys are the dialog's own: it takes the focus as soon as it shows.
    activateWindow();
    setFocus(Qt::ActiveWindowFocusReason);
    if (m_keyNames) {
        grabKeyboard();
    }
}

void SkinnedDialog::hideEvent(QHideEvent* event)
{
    if (m_keyNames) {
        releaseKeyboard();
    }
    QDialog::hideEvent(event);
}

void SkinnedDialog::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    painter.fillRect(event->rect(), Qt::black);
    {
        QtSkinCanvas canvas(painter, m_images, m_fonts, event->rect());
        DrawModel(canvas);
    }
    painter.setClipRect(event->rect());
    PaintExtras(painter);
}

void SkinnedDialog::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        return;
    }
    const DialogAction action = PressModel(ToPoint(event->position()));
    update();
    switch (action) {
    case DialogAction::Accept:
        accept();
        break;
    case DialogAction::Reject:
        reject();
        break;
    case DialogAction::StartMove:
        StartMove(event->globalPosition().toPoint());
        break;
    case DialogAction::None:
        break;
    }
}

void SkinnedDialog::mouseDoubleClickEvent(QMouseEvent* event)
{
    mousePressEvent(event); // the second click of a double click is a press like the first
}

void SkinnedDialog::mouseMoveEvent(QMouseEvent* event)
{
    if (m_manualMove) {
        if (event->buttons() & Qt::LeftButton) {
            move(m_moveStartWindow + (event->globalPosition().toPoint() - m_moveStartGlobal));
            return;
        }
        m_manualMove = false;
    }
    if (HoverModel(ToPoint(event->position()))) {
        update();
    }
}

void SkinnedDialog::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        m_manualMove = false;
    }
}

void SkinnedDialog::leaveEvent(QEvent* event)
{
    if (HoverModel(kNowhere)) {
        update();
    }
    QDialog::leaveEvent(event);
}

void SkinnedDialog::wheelEvent(QWheelEvent* event)
{
    if (WheelModel(event->angleDelta().y())) {
        update();
    }
    event->accept();
}

void SkinnedDialog::StartMove(QPoint globalPress)
{
    if (QWindow* window = windowHandle(); window && window->startSystemMove()) {
        return;
    }
    m_manualMove = true;
    m_moveStartGlobal = globalPress;
    m_moveStartWindow = pos();
}

} // namespace veldrane
