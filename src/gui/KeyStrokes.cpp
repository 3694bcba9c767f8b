#include "gui/KeyStrokes.h"

#include <QKeyEvent>

namespace veldrane {

std::optional<KeyStroke> KeyStrokeOf(const QKeyEvent& event)
{
    // Shift belongs to Shift+Tab and the keypad's Enter carries its own modifier; the others must
    // come bare, so that the desktop's shortcuts with Ctrl or Alt pass by.
    const Qt::KeyboardModifiers modifiers = event.modifiers() & ~(Qt::KeypadModifier | Qt::ShiftModifier);
    if (modifiers == Qt::ControlModifier) {
        return event.key() == Qt::Key_S ? std::optional(KeyStroke::Save) : std::nullopt;
    }
    if (modifiers == Qt::AltModifier) {
        return event.key() == Qt::Key_Down ? std::optional(KeyStroke::OpenList) : std::nullopt;
    }
    if (modifiers != Qt::NoModifier) {
        return std::nullopt;
    }
    switch (event.key()) {
    case Qt::Key_Tab:
        return event.modifiers() & Qt::ShiftModifier ? KeyStroke::BackTab : KeyStroke::Tab;
    case Qt::Key_Backtab:
        return KeyStroke::BackTab;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return KeyStroke::Return;
    case Qt::Key_Space:
        return KeyStroke::Space;
    case Qt::Key_Left:
        return KeyStroke::Left;
    case Qt::Key_Right:
        return KeyStroke::Right;
    case Qt::Key_Up:
        return KeyStroke::Up;
    case Qt::Key_Down:
        return KeyStroke::Down;
    case Qt::Key_PageUp:
        return KeyStroke::PageUp;
    case Qt::Key_PageDown:
        return KeyStroke::PageDown;
    case Qt::Key_Home:
        return KeyStroke::Home;
    case Qt::Key_End:
        return KeyStroke::End;
    case Qt::Key_Escape:
        return KeyStroke::Escape;
    case Qt::Key_F1:
        return KeyStroke::Help;
    case Qt::Key_Delete:
        return KeyStroke::Delete;
    case Qt::Key_F2:
        return KeyStroke::Rename;
    case Qt::Key_Insert:
        return KeyStroke::Insert;
    default:
        return std::nullopt;
    }
}

} // namespace veldrane
