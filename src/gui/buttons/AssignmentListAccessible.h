#pragma once

#include <QAccessibleWidget>

#include <cstddef>

#include "gui/AccessibleLeaf.h"

namespace veldrane {

class AssignmentListPopup;
class PaintedList;

// An open assignment list for assistive technology: a list (the main list) or a popup menu (a
// submenu) whose items are its entries, read afresh from the model on every question. The entry
// the pointer or the keyboard highlights is the focused, selected item; an entry that opens a
// submenu says it has a popup.
class AssignmentListAccessible : public QAccessibleWidget
{
public:
    explicit AssignmentListAccessible(AssignmentListPopup& popup);

    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    QAccessibleInterface* focusChild() const override;

    // The list the popup shows; null once it has closed.
    const PaintedList* List() const;
    AssignmentListPopup& Popup() const;

    // Installed once for the whole program, beside the main window's.
    static QAccessibleInterface* Factory(const QString& className, QObject* object);
};

// One entry of an open assignment list.
class AssignmentListItemAccessible : public AccessibleLeaf
{
public:
    AssignmentListItemAccessible(AssignmentListPopup& popup, std::size_t entry);
    std::size_t Entry() const { return m_entry; }

    bool isValid() const override;
    QWindow* window() const override;
    QAccessibleInterface* parent() const override;
    QString text(QAccessible::Text t) const override;
    QRect rect() const override;
    QAccessible::Role role() const override;
    QAccessible::State state() const override;

private:
    const PaintedList* List() const;

    QPointer<AssignmentListPopup> m_popup;
    std::size_t m_entry;
};

} // namespace veldrane
