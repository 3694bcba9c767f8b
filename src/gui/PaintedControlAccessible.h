#pragma once

#include <QAccessibleActionInterface>
#include <QAccessibleInterface>
#include <QAccessibleValueInterface>
#include <QPointer>

#include <cstddef>
#include <optional>

#include "gui/AccessibleLeaf.h"
#include "screens/common/FocusControl.h"

namespace veldrane {

class CHidMouseDlg;

// One painted control of the main window for assistive technology: the control of the model's
// Controls() with this key, read afresh on every question. It presses, steps and takes the focus through
// the model, as the keyboard does.
class PaintedControlAccessible : public AccessibleLeaf,
                                 public QAccessibleActionInterface,
                                 public QAccessibleValueInterface
{
public:
    PaintedControlAccessible(CHidMouseDlg& window, std::size_t key);
    std::size_t Key() const { return m_key; }

    bool isValid() const override;
    QWindow* window() const override;
    QAccessibleInterface* parent() const override;
    QString text(QAccessible::Text t) const override;
    QRect rect() const override;
    QAccessible::Role role() const override;
    QAccessible::State state() const override;
    void* interface_cast(QAccessible::InterfaceType type) override;

    // QAccessibleActionInterface
    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

    // QAccessibleValueInterface: the number the control stands for, in its own unit.
    QVariant currentValue() const override;
    void setCurrentValue(const QVariant& value) override;
    QVariant maximumValue() const override;
    QVariant minimumValue() const override;
    QVariant minimumStepSize() const override;

private:
    std::optional<FocusControl> Control() const;
    // Where the control stands in the model's Controls() now.
    std::optional<std::size_t> Index() const;

    QPointer<CHidMouseDlg> m_window;
    std::size_t m_key;
};

} // namespace veldrane
