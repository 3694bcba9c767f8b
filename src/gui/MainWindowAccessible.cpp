#include "gui/MainWindowAccessible.h"

#include <vector>

#include "gui/CHidMouseDlg.h"
#include "gui/PaintedControlAccessible.h"

namespace veldrane {

MainWindowAccessible::MainWindowAccessible(CHidMouseDlg& window) : QAccessibleWidget(&window, QAccessible::Window) {}

MainWindowAccessible::~MainWindowAccessible()
{
    for (const auto& [key, id] : m_children) {
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
    const std::size_t key = Window().Model().Controls()[static_cast<std::size_t>(index)].key;
    auto found = m_children.find(key);
    if (found == m_children.end()) {
        const QAccessible::Id id =
            QAccessible::registerAccessibleInterface(new PaintedControlAccessible(Window(), key));
        found = m_children.emplace(key, id).first;
    }
    return QAccessible::accessibleInterface(found->second);
}

int MainWindowAccessible::indexOfChild(const QAccessibleInterface* child) const
{
    const auto* control = dynamic_cast<const PaintedControlAccessible*>(child);
    if (!control) {
        return -1;
    }
    const std::vector<FocusControl> controls = Window().Model().Controls();
    for (std::size_t i = 0; i < controls.size(); ++i) {
        if (controls[i].key == control->Key()) {
            return static_cast<int>(i);
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
