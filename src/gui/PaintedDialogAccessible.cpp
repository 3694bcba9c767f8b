#include "gui/PaintedDialogAccessible.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include "gui/AccessibleLeaf.h"

namespace veldrane {
namespace {

QString FromUtf8(const std::string& text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

PaintedDialog* DialogOf(QObject* object)
{
    return dynamic_cast<PaintedDialog*>(object);
}

// One painted control of a dialog: a push button, a check box or a radio button.
class PaintedDialogControl : public AccessibleLeaf, public QAccessibleActionInterface
{
public:
    PaintedDialogControl(QWidget& dialog, std::size_t key) : m_dialog(&dialog), m_key(key) {}
    std::size_t Key() const { return m_key; }

    bool isValid() const override { return Control().has_value(); }
    QWindow* window() const override { return m_dialog ? m_dialog->window()->windowHandle() : nullptr; }
    QAccessibleInterface* parent() const override
    {
        return m_dialog ? QAccessible::queryAccessibleInterface(m_dialog.data()) : nullptr;
    }
    QString text(QAccessible::Text t) const override
    {
        const auto control = Control();
        return control && t == QAccessible::Name ? FromUtf8(control->name) : QString();
    }
    QRect rect() const override
    {
        const auto control = Control();
        if (!control) {
            return {};
        }
        const Rect& area = control->area;
        return {m_dialog->mapToGlobal(QPoint(area.left, area.top)), QSize(area.Width(), area.Height())};
    }
    QAccessible::Role role() const override
    {
        const auto control = Control();
        switch (control ? control->role : ControlRole::Button) {
        case ControlRole::CheckBox:
            return QAccessible::CheckBox;
        case ControlRole::RadioButton:
            return QAccessible::RadioButton;
        default:
            return QAccessible::PushButton;
        }
    }
    QAccessible::State state() const override
    {
        QAccessible::State state;
        const auto control = Control();
        if (!control) {
            state.invalid = true;
            return state;
        }
        state.focusable = true;
        const PaintedDialog* dialog = DialogOf(m_dialog.data());
        const auto focus = dialog->DialogFocus();
        state.focused = m_dialog->hasFocus() && focus && dialog->DialogControls()[*focus].key == m_key;
        state.disabled = control->disabled;
        if (control->role == ControlRole::CheckBox || control->role == ControlRole::RadioButton) {
            state.checkable = true;
            state.checked = control->checked;
        }
        return state;
    }
    void* interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this) : nullptr;
    }

    QStringList actionNames() const override { return {pressAction(), setFocusAction()}; }
    void doAction(const QString& actionName) override
    {
        if (actionName != pressAction() && actionName != setFocusAction()) {
            return;
        }
        // After the reply to the caller: a press may close the dialog or open a message.
        const bool press = actionName == pressAction();
        QTimer::singleShot(0, m_dialog.data(), [dialog = m_dialog, key = m_key, press] {
            if (PaintedDialog* painted = dialog ? DialogOf(dialog.data()) : nullptr) {
                press ? painted->PressControl(key) : painted->FocusControlByKey(key);
            }
        });
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

private:
    std::optional<FocusControl> Control() const
    {
        const PaintedDialog* dialog = m_dialog ? DialogOf(m_dialog.data()) : nullptr;
        if (!dialog) {
            return std::nullopt;
        }
        for (FocusControl& control : dialog->DialogControls()) {
            if (control.key == m_key) {
                return std::move(control);
            }
        }
        return std::nullopt;
    }

    QPointer<QWidget> m_dialog;
    std::size_t m_key;
};

} // namespace

void PaintedDialog::InstallAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(&PaintedDialogAccessible::Factory);
        return true;
    }();
    (void)installed;
}

void PaintedDialog::MoveFocus(QWidget& dialog, QWidget* widget, std::optional<std::size_t> index)
{
    QWidget& target = widget != nullptr && widget->isEnabled() ? *widget : dialog;
    if (!target.hasFocus()) {
        target.setFocus(Qt::TabFocusReason);
    }
    if (index && &target == &dialog) {
        AnnounceFocus(dialog, *index);
    }
    dialog.update();
}

void PaintedDialog::AnnounceFocus(QWidget& dialog, std::size_t index)
{
    if (!QAccessible::isActive() || !dialog.hasFocus()) {
        return;
    }
    QAccessibleInterface* window = QAccessible::queryAccessibleInterface(&dialog);
    if (QAccessibleInterface* control = window ? window->child(static_cast<int>(index)) : nullptr) {
        QAccessibleEvent focused(control, QAccessible::Focus);
        QAccessible::updateAccessibility(&focused);
    }
}

void PaintedDialog::AnnounceChange(QWidget& dialog, std::size_t index)
{
    if (!QAccessible::isActive()) {
        return;
    }
    QAccessibleInterface* window = QAccessible::queryAccessibleInterface(&dialog);
    QAccessibleInterface* control = window ? window->child(static_cast<int>(index)) : nullptr;
    if (control && !control->object()) {
        QAccessible::State states;
        states.checked = true;
        QAccessibleStateChangeEvent changed(control, states);
        QAccessible::updateAccessibility(&changed);
    }
}

PaintedDialogAccessible::PaintedDialogAccessible(QWidget& dialog) : QAccessibleWidget(&dialog, QAccessible::Dialog) {}

PaintedDialogAccessible::~PaintedDialogAccessible()
{
    for (const auto& [key, id] : m_painted) {
        QAccessible::deleteAccessibleInterface(id);
    }
}

PaintedDialog& PaintedDialogAccessible::Dialog() const
{
    return *DialogOf(widget());
}

int PaintedDialogAccessible::childCount() const
{
    return static_cast<int>(Dialog().DialogControls().size());
}

QAccessibleInterface* PaintedDialogAccessible::child(int index) const
{
    const std::vector<FocusControl> controls = Dialog().DialogControls();
    if (index < 0 || static_cast<std::size_t>(index) >= controls.size()) {
        return nullptr;
    }
    const std::size_t key = controls[static_cast<std::size_t>(index)].key;
    if (QWidget* standIn = Dialog().ControlWidget(key)) {
        return QAccessible::queryAccessibleInterface(standIn);
    }
    auto found = m_painted.find(key);
    if (found == m_painted.end()) {
        const QAccessible::Id id = QAccessible::registerAccessibleInterface(new PaintedDialogControl(*widget(), key));
        found = m_painted.emplace(key, id).first;
    }
    return QAccessible::accessibleInterface(found->second);
}

int PaintedDialogAccessible::indexOfChild(const QAccessibleInterface* child) const
{
    if (!child) {
        return -1;
    }
    const std::vector<FocusControl> controls = Dialog().DialogControls();
    const auto* painted = dynamic_cast<const PaintedDialogControl*>(child);
    for (std::size_t i = 0; i < controls.size(); ++i) {
        const bool same = painted ? controls[i].key == painted->Key()
                                  : child->object() && child->object() == Dialog().ControlWidget(controls[i].key);
        if (same) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

QAccessibleInterface* PaintedDialogAccessible::childAt(int x, int y) const
{
    const QPoint local = widget()->mapFromGlobal(QPoint(x, y));
    const std::vector<FocusControl> controls = Dialog().DialogControls();
    for (std::size_t i = 0; i < controls.size(); ++i) {
        if (controls[i].area.Contains({local.x(), local.y()})) {
            return child(static_cast<int>(i));
        }
    }
    return nullptr;
}

QAccessibleInterface* PaintedDialogAccessible::focusChild() const
{
    const auto focus = Dialog().DialogFocus();
    return focus ? child(static_cast<int>(*focus)) : nullptr;
}

QAccessibleInterface* PaintedDialogAccessible::Factory(const QString&, QObject* object)
{
    auto* widget = qobject_cast<QWidget*>(object);
    if (widget && DialogOf(widget)) {
        return new PaintedDialogAccessible(*widget);
    }
    return nullptr;
}

} // namespace veldrane
