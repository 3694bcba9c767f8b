#pragma once

#include <cstdint>
#include <string>

namespace veldrane {

// One keyboard event as the window system reports it.
struct KeyStroke
{
    // The window system's code of the physical key (on X11 and Wayland the keycode, which is the
    // kernel's evdev code + 8); 0 when it gives none.
    std::uint32_t nativeScanCode = 0;
    // The toolkit's code of the key, for when there is no native code.
    int toolkitKey = 0;
    // The toolkit reports the key as one of the numeric keypad.
    bool keypad = false;
};

// Names keys as the key tables spell them: the US-English texts the system's key-name function
// gives, whatever the keyboard layout, with left and right modifiers told apart ("Ctrl",
// "Right Ctrl", "Left Windows"). The capture dialogs and the macro recorder keep keys as these
// names; the names become HID usages only on their way to the mouse.
class KeyNameSource
{
public:
    virtual ~KeyNameSource() = default;

    // The key's name; a key the tables do not know gets a text that is none of their names.
    virtual std::string KeyName(const KeyStroke& stroke) const = 0;
};

} // namespace veldrane
