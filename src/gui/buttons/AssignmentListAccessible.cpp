#include "gui/buttons/AssignmentListAccessible.h"

#include <QWidget>

#include "gui/buttons/AssignmentListPopup.h"
#include "gui/buttons/AssignmentListsView.h"
#include "screens/common/PaintedList.h"

namespace veldrane {
namespace {

// The window pixels of `area` on the screen.
QRect OnScreen(const QWidget& popup, Rect area)
{
    const QWidget* window = popup.parentWidget() ? popup.parentWidget() : &popup;
    return {window->mapToGlobal(QPoint(area.left, area.top)), QSize(area.Width(), area.Height())};
}

} // namespace

AssignmentListAccessible::AssignmentListAccessible(AssignmentListPopup& popup)
    : QAccessibleWidget(&popup, popup.ListKind() == AssignmentListPopup::Kind::MainList ? QAccessible::List
                                                                                        : QAccessible::PopupMenu)
{}

AssignmentListPopup& AssignmentListAccessible::Popup() const
{
    return *static_cast<AssignmentListPopup*>(widget());
}

const PaintedList* AssignmentListAccessible::List() const
{
    return Popup().Owner().ListOf(Popup().ListKind());
}

int AssignmentListAccessible::childCount() const
{
    const PaintedList* list = List();
    return list ? static_cast<int>(list->Count()) : 0;
}

QAccessibleInterface* AssignmentListAccessible::child(int index) const
{
    if (index < 0 || index >= childCount()) {
        return nullptr;
    }
    // One interface per entry for as long as the popup lives, so that its id stays the same.
    const QString property = QStringLiteral("veldraneItem%1").arg(index);
    const QVariant known = Popup().property(property.toLatin1().constData());
    if (known.isValid()) {
        return QAccessible::accessibleInterface(known.value<QAccessible::Id>());
    }
    auto* item = new AssignmentListItemAccessible(Popup(), static_cast<std::size_t>(index));
    const QAccessible::Id id = QAccessible::registerAccessibleInterface(item);
    Popup().setProperty(property.toLatin1().constData(), QVariant::fromValue(id));
    return item;
}

int AssignmentListAccessible::indexOfChild(const QAccessibleInterface* child) const
{
    const auto* item = dynamic_cast<const AssignmentListItemAccessible*>(child);
    return item && item->parent() == this ? static_cast<int>(item->Entry()) : -1;
}

QAccessibleInterface* AssignmentListAccessible::childAt(int x, int y) const
{
    for (int i = 0; i < childCount(); ++i) {
        if (QAccessibleInterface* item = child(i); item && item->rect().contains(x, y)) {
            return item;
        }
    }
    return nullptr;
}

QAccessibleInterface* AssignmentListAccessible::focusChild() const
{
    const PaintedList* list = List();
    return list && list->Highlighted() ? child(static_cast<int>(*list->Highlighted())) : nullptr;
}

QAccessibleInterface* AssignmentListAccessible::Factory(const QString&, QObject* object)
{
    if (auto* popup = qobject_cast<AssignmentListPopup*>(object)) {
        return new AssignmentListAccessible(*popup);
    }
    return nullptr;
}

AssignmentListItemAccessible::AssignmentListItemAccessible(AssignmentListPopup& popup, std::size_t entry)
    : m_popup(&popup), m_entry(entry)
{}

const PaintedList* AssignmentListItemAccessible::List() const
{
    return m_popup ? m_popup->Owner().ListOf(m_popup->ListKind()) : nullptr;
}

bool AssignmentListItemAccessible::isValid() const
{
    const PaintedList* list = List();
    return list && m_entry < list->Count();
}

QWindow* AssignmentListItemAccessible::window() const
{
    return m_popup && m_popup->window() ? m_popup->window()->windowHandle() : nullptr;
}

QAccessibleInterface* AssignmentListItemAccessible::parent() const
{
    return m_popup ? QAccessible::queryAccessibleInterface(m_popup.data()) : nullptr;
}

QString AssignmentListItemAccessible::text(QAccessible::Text t) const
{
    const PaintedList* list = List();
    if (t != QAccessible::Name || !list || m_entry >= list->Count()) {
        return {};
    }
    return QString::fromStdString(list->Entry(m_entry));
}

QRect AssignmentListItemAccessible::rect() const
{
    const PaintedList* list = List();
    return list && m_popup ? OnScreen(*m_popup, list->RowRect(m_entry)) : QRect();
}

QAccessible::Role AssignmentListItemAccessible::role() const
{
    return m_popup && m_popup->ListKind() == AssignmentListPopup::Kind::MainList ? QAccessible::ListItem
                                                                                 : QAccessible::MenuItem;
}

QAccessible::State AssignmentListItemAccessible::state() const
{
    QAccessible::State state;
    const PaintedList* list = List();
    if (!list) {
        state.invalid = true;
        return state;
    }
    state.selectable = true;
    state.focusable = true;
    state.selected = state.focused = list->Highlighted() == m_entry;
    state.hasPopup = list->OpensSubmenu(m_entry);
    return state;
}

} // namespace veldrane
