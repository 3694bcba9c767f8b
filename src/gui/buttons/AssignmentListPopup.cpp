#include "gui/buttons/AssignmentListPopup.h"

#include <QAccessible>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QToolTip>

#include "gui/buttons/AssignmentListsView.h"
#include "screens/common/PaintedList.h"

namespace veldrane {
namespace {

Point InWindow(const QWidget& popup, QPointF local)
{
    const QPoint p = popup.mapToParent(local.toPoint());
    return {p.x(), p.y()};
}

} // namespace

AssignmentListPopup::AssignmentListPopup(AssignmentListsView& owner, Kind kind, QWidget& window)
    : QWidget(&window), m_owner(owner), m_kind(kind)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setFocusPolicy(Qt::NoFocus);
}

AssignmentListPopup::~AssignmentListPopup()
{
    // The items' interfaces belong to no object of their own: they go with their list.
    for (const QByteArray& name : dynamicPropertyNames()) {
        if (name.startsWith("veldraneItem")) {
            QAccessible::deleteAccessibleInterface(property(name.constData()).value<QAccessible::Id>());
        }
    }
}

void AssignmentListPopup::HighlightMoved()
{
    const PaintedList* list = m_owner.ListOf(m_kind);
    if (!list || !list->Highlighted() || !QAccessible::isActive()) {
        return;
    }
    QAccessibleEvent focus(this, QAccessible::Focus);
    focus.setChild(static_cast<int>(*list->Highlighted()));
    QAccessible::updateAccessibility(&focus);
}

bool AssignmentListPopup::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        // An entry cut to the window's room shows whole while the pointer rests on it.
        const auto* help = static_cast<QHelpEvent*>(event);
        const QString whole = m_owner.CutEntryAt(InWindow(*this, help->pos()));
        if (whole.isEmpty()) {
            QToolTip::hideText();
        } else {
            QToolTip::showText(help->globalPos(), whole, this);
        }
        return true;
    }
    return QWidget::event(event);
}

void AssignmentListPopup::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    painter.translate(-pos());
    m_owner.Paint(m_kind, painter, event->rect().translated(pos()));
}

void AssignmentListPopup::mouseMoveEvent(QMouseEvent* event)
{
    m_owner.HoverAt(InWindow(*this, event->position()));
}

void AssignmentListPopup::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        m_owner.PressAt(InWindow(*this, event->position()));
    }
}

void AssignmentListPopup::mouseDoubleClickEvent(QMouseEvent* event)
{
    mousePressEvent(event);
}

} // namespace veldrane
