#include "gui/CHelpDialog.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include "gui/skin/QtSkinCanvas.h"
#include "screens/main/MainWindowModel.h"

namespace veldrane {

CHelpDialog::CHelpDialog(QWidget* parent, MainWindowModel& model, SkinImageCache& images, const FontBook& fonts)
    : QWidget(parent), m_model(model), m_images(images), m_fonts(fonts)
{
    FollowModel();
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
