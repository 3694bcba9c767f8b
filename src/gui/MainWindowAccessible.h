#pragma once

#include <QAccessibleWidget>

#include <cstddef>
#include <map>

namespace veldrane {

class CHidMouseDlg;

// The main window's painted canvas for assistive technology: its children are the model's
// controls in Tab order (PaintedControlAccessible), made once per control and kept while the
// window lives, so that a screen reader holding one still has it after a section opened above it.
class MainWindowAccessible : public QAccessibleWidget
{
public:
    explicit MainWindowAccessible(CHidMouseDlg& window);
    ~MainWindowAccessible() override;

    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    QAccessibleInterface* focusChild() const override;

    // The factory QAccessible asks for every object: this interface for the main window.
    static QAccessibleInterface* Factory(const QString& className, QObject* object);

private:
    CHidMouseDlg& Window() const;

    mutable std::map<std::size_t, QAccessible::Id> m_children; // by the control's key
};

} // namespace veldrane
