#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "ports/KeyNameSource.h"

class QKeyEvent;

namespace veldrane {

// The key names of Qt's key events. On X11 and Wayland the native scan code is the keycode,
// which names the physical key whatever the layout; where the window system gives no native
// code, Qt's key code is named instead (then left and right modifiers are not told apart, and a
// shifted symbol names the key it is on). A key without a name in the key tables gets Qt's text
// for it, or "Key " and its code, never one of the tables' names.
class QtKeyNameSource : public KeyNameSource
{
public:
    std::string KeyName(const KeyStroke& stroke) const override;

    // What a key event tells about its key.
    static KeyStroke StrokeOf(const QKeyEvent& event);
    // The US-English name of a Qt key code, as the key tables spell it; nothing for other keys.
    static std::optional<std::string_view> QtKeyName(int key, bool keypad);
};

} // namespace veldrane
