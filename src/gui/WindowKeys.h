#pragma once

#include <optional>

#include "screens/common/FocusControl.h"

class QKeyEvent;

namespace veldrane {

// The key a painted window's model understands for a key event, if any: Tab and Shift+Tab,
// Return, Space, the arrows, Page Up and Down, Home, End, Escape, F1, Ctrl+S, Alt+Down, Delete,
// F2 and Insert.
std::optional<WindowKey> WindowKeyOf(const QKeyEvent& event);

} // namespace veldrane
