#include "gui/CHelpDialog.h"

#include <QFocusEvent>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPointer>

#include "gui/WindowKeys.h"
#include "gui/skin/QtSkinCanvas.h"
#include "screens/main/MainWindowModel.h"

namespace veldrane {

CHelpDialog::CHelpDialog(QWidget* parent, MainWindowModel& model, SkinImageCache& images, const FontBook& fonts)
    : QWidget(parent), m_model(model), m_images(images), m_fonts(fonts)
{
    setObjectName(QStringLiteral("CHelpDialog"));
    setFocusPolicy(Qt::StrongFocus);
    PaintedDialog::InstallAccessibility();
    FollowModel();
}

std::vector<FocusControl> CHelpDialog::DialogControls() const
{
    return m_model.HelpPanel().Controls();
}

std::optional<std::size_t> CHelpDialog::DialogFocus() const
{
    return m_model.HelpPanel().FocusIndex();
}

void CHelpDialog::PressControl(std::size_t key)
{
    const QPointer<CHelpDialog> alive(this);
    m_model.HelpPanelPress(m_model.HelpPanel().CentreOf(key));
    if (alive) {
        PaintedDialog::AnnounceChange(*this, key);
        update();
    }
}

void CHelpDialog::FocusControlByKey(std::size_t key)
{
    m_model.HelpPanel().SetFocus(key);
    setFocus(Qt::OtherFocusReason);
    update();
}

void CHelpDialog::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    setFocus(Qt::PopupFocusReason);
}

void CHelpDialog::focusInEvent(QFocusEvent* event)
{
    QWidget::focusInEvent(event);
    m_model.HelpPanel().SetKeyboardFocus(true);
    if (const auto focus = DialogFocus()) {
        PaintedDialog::AnnounceFocus(*this, *focus);
    }
    update();
}

void CHelpDialog::focusOutEvent(QFocusEvent* event)
{
    QWidget::focusOutEvent(event);
    m_model.HelpPanel().SetKeyboardFocus(false);
    update();
}

void CHelpDialog::keyPressEvent(QKeyEvent* event)
{
    const std::optional<WindowKey> key = WindowKeyOf(*event);
    const HelpPanelModel::KeyResult result = key ? m_model.HelpPanel().KeyPressed(*key) : HelpPanelModel::KeyResult{};
    if (!result.handled) {
        event->ignore(); // on to the main window
        return;
    }
    if (result.press) {
        const std::optional<std::size_t> pressed = DialogFocus();
        const QPointer<CHelpDialog> alive(this); // a message box may run while the panel closes
        m_model.HelpPanelPress(*result.press);
        if (alive && pressed) {
            PaintedDialog::AnnounceChange(*this, *pressed);
            update();
        }
        return;
    }
    if (const auto focus = DialogFocus()) {
        PaintedDialog::AnnounceFocus(*this, *focus);
    }
    update();
}

bool CHelpDialog::focusNextPrevChild(bool)
{
    return false; // Tab walks the panel's own lines
}

void CHelpDialog::FollowModel()
{
    const Rect area = m_model.HelpPanel().PanelArea();
    setGeometry(area.left, area.top, area.Width(), area.Height());
}

bool CHelpDialog::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        m_tips.Show(*this, *static_cast<QHelpEvent*>(event));
        return true;
    }
    return QWidget::event(event);
}

void CHelpDialog::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    QtSkinCanvas canvas(painter, m_images, m_fonts, event->rect());
    m_model.HelpPanel().Draw(canvas, {0, 0});
    m_tips.Painted(event->rect(), canvas.Elided());
}

void CHelpDialog::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        const QPoint p = event->position().toPoint();
        m_model.HelpPanelPress({p.x(), p.y()});
    }
}

void CHelpDialog::mouseDoubleClickEvent(QMouseEvent* event)
{
    mousePressEvent(event);
}

} // namespace veldrane
