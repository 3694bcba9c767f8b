#include "gui/WindowKeys.h"

#include <QKeyEvent>

namespace veldrane {

std::optional<WindowKey> WindowKeyOf(const QKeyEvent& event)
{
    // Shift belongs to Shift+Tab and the keypad's Enter carries its own modifier; the others must
    // come bare, so that the desktop's shortcuts with Ctrl or Alt pass by.
    const Qt::KeyboardModifiers modifiers = event.modifiers() & ~(Qt::KeypadModifier | Qt::ShiftModifier);
    if (modifiers == Qt::ControlModifier) {
        return event.key() == Qt::Key_S ? std::optional(WindowKey::Save) : std::nullopt;
    }
    if (modifiers == Qt::AltModifier) {
        return event.key() == Qt::Key_Down ? std::optional(WindowKey::OpenList) : std::nullopt;
    }
    if (modifiers != Qt::NoModifier) {
        return std::nullopt;
    }
    switch (event.key()) {
    case Qt::Key_Tab:
        return event.modifiers() & Qt::ShiftModifier ? WindowKey::BackTab : WindowKey::Tab;
    case Qt::Key_Backtab:
        return WindowKey::BackTab;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return WindowKey::Return;
    case Qt::Key_Space:
        return WindowKey::Space;
    case Qt::Key_Left:
        return WindowKey::Left;
    case Qt::Key_Right:
        return WindowKey::Right;
    case Qt::Key_Up:
        return WindowKey::Up;
    case Qt::Key_Down:
        return WindowKey::Down;
    case Qt::Key_PageUp:
        return WindowKey::PageUp;
    case Qt::Key_PageDown:
        return WindowKey::PageDown;
    case Qt::Key_Home:
        return WindowKey::Home;
    case Qt::Key_End:
        return WindowKey::End;
    case Qt::Key_Escape:
        return WindowKey::Escape;
    case Qt::Key_F1:
        return WindowKey::Help;
    case Qt::Key_Delete:
        return WindowKey::Delete;
    case Qt::Key_F2:
        return WindowKey::Rename;
    case Qt::Key_Insert:
        return WindowKey::Insert;
    default:
        return std::nullopt;
    }
}

} // namespace veldrane
