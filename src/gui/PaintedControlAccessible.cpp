#include "gui/PaintedControlAccessible.h"

#include <QAccessible>
#include <QTimer>

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

std::optional<std::size_t> IndexOfKey(const MainWindowModel& model, std::size_t key)
{
    const std::vector<FocusControl> controls = model.Controls();
    for (std::size_t i = 0; i < controls.size(); ++i) {
        if (controls[i].key == key) {
            return i;
        }
    }
    return std::nullopt;
}

} // namespace

PaintedControlAccessible::PaintedControlAccessible(CHidMouseDlg& window, std::size_t key)
    : m_window(&window), m_key(key)
{}

std::optional<std::size_t> PaintedControlAccessible::Index() const
{
    return m_window ? IndexOfKey(m_window->Model(), m_key) : std::nullopt;
}

std::optional<FocusControl> PaintedControlAccessible::Control() const
{
    if (!m_window) {
        return std::nullopt;
    }
    for (FocusControl& control : m_window->Model().Controls()) {
        if (control.key == m_key) {
            return std::move(control);
        }
    }
    return std::nullopt;
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
    case ControlRole::EditText:
        return QAccessible::EditableText;
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
    state.focused = m_window->hasFocus() && m_window->Model().FocusIndex() == Index();
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
    std::optional<ControlAction> action;
    if (actionName == pressAction()) {
        action = ControlAction::Press;
    } else if (actionName == increaseAction()) {
        action = ControlAction::Increase;
    } else if (actionName == decreaseAction()) {
        action = ControlAction::Decrease;
    } else if (actionName != setFocusAction()) {
        return;
    }
    // After the reply to the caller: a press may save to the mouse or open a modal dialog, and the
    // screen reader must not wait for that.
    QTimer::singleShot(0, m_window.data(), [window = m_window, key = m_key, action] {
        const auto index = window ? IndexOfKey(window->Model(), key) : std::nullopt;
        if (!index) {
            return;
        }
        if (action) {
            (void)window->Model().ActOn(*index, *action);
        } else {
            window->Model().SetFocus(*index);
        }
    });
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
    if (const auto index = Index(); index && isNumber) {
        (void)m_window->Model().StepTowards(*index, number);
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
