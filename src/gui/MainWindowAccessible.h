#pragma once

#include <QAccessibleWidget>

#include <vector>

namespace veldrane {

class CHidMouseDlg;

// The main window's painted canvas for assistive technology: its children are the model's
// controls in Tab order (PaintedControlAccessible), made once per position and kept.
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

    mutable std::vector<QAccessible::Id> m_children;
};

} // namespace veldrane
