#pragma once

#include <QAccessibleWidget>

#include <cstddef>
#include <map>
#include <optional>
#include <vector>

#include "screens/common/FocusControl.h"

class QWidget;

namespace veldrane {

// A dialog painted from its model (the macro manager, the profile manager, the help panel), as
// the keyboard and assistive technology see it: its controls in Tab order, some of them painted
// and some real widgets laid over the picture (a list, an edit field).
class PaintedDialog
{
public:
    virtual ~PaintedDialog() = default;

    virtual std::vector<FocusControl> DialogControls() const = 0;
    // The position in DialogControls() of the control with the keyboard focus.
    virtual std::optional<std::size_t> DialogFocus() const = 0;
    // The widget that stands for the control with this key; none for a painted one.
    virtual QWidget* ControlWidget(std::size_t key) const = 0;
    // A screen reader pressed the control with this key, or gave it the focus.
    virtual void PressControl(std::size_t key) = 0;
    virtual void FocusControlByKey(std::size_t key) = 0;

    // Installs the factory below once for the process.
    static void InstallAccessibility();
    // Tells a screen reader that the focus is now on control `index` of DialogControls(), when it
    // is a painted one (a widget announces its own focus).
    static void AnnounceFocus(QWidget& dialog, std::size_t index);
    // Puts the keyboard focus where the model has it: on the control's widget when one stands for
    // it and is enabled, otherwise on the dialog, which paints the ring and announces control
    // `index`. Then repaints the dialog.
    static void MoveFocus(QWidget& dialog, QWidget* widget, std::optional<std::size_t> index);
    // Tells a screen reader that painted control `index` may have changed its state (a box
    // ticked, a language chosen).
    static void AnnounceChange(QWidget& dialog, std::size_t index);
};

// A PaintedDialog for assistive technology: its children are the dialog's controls in Tab order,
// a widget's own interface where a widget stands for the control, otherwise a painted button or
// check box that is read afresh from the dialog on every question.
class PaintedDialogAccessible : public QAccessibleWidget
{
public:
    explicit PaintedDialogAccessible(QWidget& dialog);
    ~PaintedDialogAccessible() override;

    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    QAccessibleInterface* focusChild() const override;

    static QAccessibleInterface* Factory(const QString& className, QObject* object);

private:
    PaintedDialog& Dialog() const;

    mutable std::map<std::size_t, QAccessible::Id> m_painted; // by the control's key
};

} // namespace veldrane
