#include "gui/MainWindowAccessible.h"

#include "gui/CHidMouseDlg.h"
#include "gui/PaintedControlAccessible.h"

namespace veldrane {

MainWindowAccessible::MainWindowAccessible(CHidMouseDlg& window) : QAccessibleWidget(&window, QAccessible::Window) {}

MainWindowAccessible::~MainWindowAccessible()
{
    for (QAccessible::Id id : m_children) {
        QAccessible::deleteAccessibleInterface(id);
    }
}

CHidMouseDlg& MainWindowAccessible::Window() const
{
    return *static_cast<CHidMouseDlg*>(widget());
}

int MainWindowAccessible::childCount() const
{
    return static_cast<int>(Window().Model().Controls().size());
}

QAccessibleInterface* MainWindowAccessible::child(int index) const
{
    if (index < 0 || index >= childCount()) {
        return nullptr;
    }
    const auto at = static_cast<std::size_t>(index);
    while (m_children.size() <= at) {
        m_children.push_back(
            QAccessible::registerAccessibleInterface(new PaintedControlAccessible(Window(), m_children.size())));
    }
    return QAccessible::accessibleInterface(m_children[at]);
}

int MainWindowAccessible::indexOfChild(const QAccessibleInterface* child) const
{
    for (std::size_t i = 0; i < m_children.size(); ++i) {
        if (QAccessible::accessibleInterface(m_children[i]) == child) {
            return static_cast<int>(i) < childCount() ? static_cast<int>(i) : -1;
        }
    }
    return -1;
}

QAccessibleInterface* MainWindowAccessible::childAt(int x, int y) const
{
    const QPoint local = Window().mapFromGlobal(QPoint(x, y));
    const std::vector<FocusControl> controls = Window().Model().Controls();
    for (std::size_t i = 0; i < controls.size(); ++i) {
        if (controls[i].area.Contains({local.x(), local.y()})) {
            return child(static_cast<int>(i));
        }
    }
    return nullptr;
}

QAccessibleInterface* MainWindowAccessible::focusChild() const
{
    const auto focus = Window().Model().FocusIndex();
    return focus ? child(static_cast<int>(*focus)) : nullptr;
}

QAccessibleInterface* MainWindowAccessible::Factory(const QString&, QObject* object)
{
    if (auto* window = qobject_cast<CHidMouseDlg*>(object)) {
        return new MainWindowAccessible(*window);
    }
    return nullptr;
}

} // namespace veldrane
