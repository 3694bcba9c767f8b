#include "gui/PaintedControlAccessible.h"

#include <QAccessible>

#include <vector>

#include "gui/CHidMouseDlg.h"

namespace veldrane {
namespace {

QString FromUtf8(const std::string& text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

bool IsSlider(const FocusControl& control)
{
    return control.role == ControlRole::Slider;
}

} // namespace

PaintedControlAccessible::PaintedControlAccessible(CHidMouseDlg& window, std::size_t index)
    : m_window(&window), m_index(index)
{}

std::optional<FocusControl> PaintedControlAccessible::Control() const
{
    if (!m_window) {
        return std::nullopt;
    }
    std::vector<FocusControl> controls = m_window->Model().Controls();
    if (m_index >= controls.size()) {
        return std::nullopt;
    }
    return std::move(controls[m_index]);
}

bool PaintedControlAccessible::isValid() const
{
    return Control().has_value();
}

QWindow* PaintedControlAccessible::window() const
{
    return m_window ? m_window->windowHandle() : nullptr;
}

QAccessibleInterface* PaintedControlAccessible::parent() const
{
    return m_window ? QAccessible::queryAccessibleInterface(m_window.data()) : nullptr;
}

QString PaintedControlAccessible::text(QAccessible::Text t) const
{
    const auto control = Control();
    if (!control) {
        return {};
    }
    switch (t) {
    case QAccessible::Name:
        return FromUtf8(control->name);
    case QAccessible::Value:
        return FromUtf8(control->value);
    default:
        return {};
    }
}

QRect PaintedControlAccessible::rect() const
{
    const auto control = Control();
    if (!control) {
        return {};
    }
    const Rect& area = control->area;
    return {m_window->mapToGlobal(QPoint(area.left, area.top)), QSize(area.Width(), area.Height())};
}

QAccessible::Role PaintedControlAccessible::role() const
{
    const auto control = Control();
    switch (control ? control->role : ControlRole::Button) {
    case ControlRole::CheckBox:
        return QAccessible::CheckBox;
    case ControlRole::RadioButton:
        return QAccessible::RadioButton;
    case ControlRole::Slider:
        return QAccessible::Slider;
    case ControlRole::ComboBox:
        return QAccessible::ComboBox;
    case ControlRole::List:
        return QAccessible::List;
    case ControlRole::PageTab:
        return QAccessible::PageTab;
    case ControlRole::Button:
        break;
    }
    return QAccessible::Button;
}

QAccessible::State PaintedControlAccessible::state() const
{
    QAccessible::State state;
    const auto control = Control();
    if (!control) {
        state.invalid = true;
        return state;
    }
    state.focusable = true;
    state.focused = m_window->hasFocus() && m_window->Model().FocusIndex() == m_index;
    state.disabled = control->disabled;
    if (control->role == ControlRole::CheckBox || control->role == ControlRole::RadioButton) {
        state.checkable = true;
        state.checked = control->checked;
    }
    if (control->role == ControlRole::PageTab || control->role == ControlRole::ComboBox) {
        state.expandable = true;
        state.expanded = control->expanded;
        state.collapsed = !control->expanded;
    }
    return state;
}

void* PaintedControlAccessible::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::ActionInterface) {
        return static_cast<QAccessibleActionInterface*>(this);
    }
    if (type == QAccessible::ValueInterface) {
        const auto control = Control();
        if (control && IsSlider(*control)) {
            return static_cast<QAccessibleValueInterface*>(this);
        }
    }
    return nullptr;
}

QStringList PaintedControlAccessible::actionNames() const
{
    const auto control = Control();
    if (!control) {
        return {};
    }
    if (IsSlider(*control)) {
        return {increaseAction(), decreaseAction(), setFocusAction()};
    }
    return {pressAction(), setFocusAction()};
}

void PaintedControlAccessible::doAction(const QString& actionName)
{
    if (!m_window) {
        return;
    }
    MainWindowModel& model = m_window->Model();
    if (actionName == setFocusAction()) {
        model.SetFocus(m_index);
    } else if (actionName == pressAction()) {
        (void)model.ActOn(m_index, ControlAction::Press);
    } else if (actionName == increaseAction()) {
        (void)model.ActOn(m_index, ControlAction::Increase);
    } else if (actionName == decreaseAction()) {
        (void)model.ActOn(m_index, ControlAction::Decrease);
    }
}

QVariant PaintedControlAccessible::currentValue() const
{
    const auto control = Control();
    return control && control->number ? QVariant(*control->number) : QVariant();
}

void PaintedControlAccessible::setCurrentValue(const QVariant& value)
{
    bool isNumber = false;
    const int number = value.toInt(&isNumber);
    if (m_window && isNumber) {
        (void)m_window->Model().StepTowards(m_index, number);
    }
}

QVariant PaintedControlAccessible::maximumValue() const
{
    const auto control = Control();
    return control ? QVariant(control->maximum) : QVariant();
}

QVariant PaintedControlAccessible::minimumValue() const
{
    const auto control = Control();
    return control ? QVariant(control->minimum) : QVariant();
}

QVariant PaintedControlAccessible::minimumStepSize() const
{
    const auto control = Control();
    return control ? QVariant(control->step) : QVariant();
}

} // namespace veldrane
