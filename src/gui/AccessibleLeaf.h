#pragma once

#include <QAccessibleInterface>

namespace veldrane {

// A painted part that assistive technology sees as one element with no children and no object of
// its own: the answers every such part gives alike.
class AccessibleLeaf : public QAccessibleInterface
{
public:
    QObject* object() const override { return nullptr; }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* focusChild() const override { return nullptr; }
    void setText(QAccessible::Text, const QString&) override {}
};

} // namespace veldrane
