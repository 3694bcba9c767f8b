#include "adapters/qt/QtKeyNameSource.h"

#include <QKeyEvent>
#include <QKeySequence>

#include <algorithm>
#include <iterator>

#include "adapters/linux/EvdevKeyNames.h"
#include "core/buttons/KeyTables.h"

namespace veldrane {
namespace {

struct QtKeyRow
{
    int key;
    std::string_view name;
    std::string_view keypadName; // the name when the key comes from the numeric keypad
};

// Qt reports a character key by the character it types, so the shifted symbols of a US layout
// name the key they are on. Keypad keys without Num Lock come as the navigation keys they act
// as, with the keypad flag.
constexpr QtKeyRow kQtKeys[] = {
    {Qt::Key_Escape, "Esc", {}},
    {Qt::Key_Tab, "Tab", {}},
    {Qt::Key_Backtab, "Tab", {}},
    {Qt::Key_Backspace, "Backspace", {}},
    {Qt::Key_Return, "Enter", {}},
    {Qt::Key_Enter, "Num Enter", "Num Enter"},
    {Qt::Key_Insert, "Insert", "Num 0"},
    {Qt::Key_Delete, "Delete", "Num Del"},
    {Qt::Key_Pause, "Pause", {}},
    {Qt::Key_Print, "Prnt Scrn", {}},
    {Qt::Key_SysReq, "Prnt Scrn", {}},
    {Qt::Key_Clear, "Num 5", "Num 5"},
    {Qt::Key_Home, "Home", "Num 7"},
    {Qt::Key_End, "End", "Num 1"},
    {Qt::Key_Left, "Left", "Num 4"},
    {Qt::Key_Up, "Up", "Num 8"},
    {Qt::Key_Right, "Right", "Num 6"},
    {Qt::Key_Down, "Down", "Num 2"},
    {Qt::Key_PageUp, "Page Up", "Num 9"},
    {Qt::Key_PageDown, "Page Down", "Num 3"},
    {Qt::Key_Shift, "Shift", {}},
    {Qt::Key_Control, "Ctrl", {}},
    {Qt::Key_Meta, "Left Windows", {}},
    {Qt::Key_Super_L, "Left Windows", {}},
    {Qt::Key_Super_R, "Right Windows", {}},
    {Qt::Key_Alt, "Alt", {}},
    {Qt::Key_AltGr, "Right Alt", {}},
    {Qt::Key_CapsLock, "Caps Lock", {}},
    {Qt::Key_NumLock, "Num Lock", {}},
    {Qt::Key_ScrollLock, "Scroll Lock", {}},
    {Qt::Key_Menu, "Application", {}},
    {Qt::Key_Space, "Space", {}},
    {Qt::Key_Exclam, "1", {}},
    {Qt::Key_QuoteDbl, "'", {}},
    {Qt::Key_NumberSign, "3", {}},
    {Qt::Key_Dollar, "4", {}},
    {Qt::Key_Percent, "5", {}},
    {Qt::Key_Ampersand, "7", {}},
    {Qt::Key_Apostrophe, "'", {}},
    {Qt::Key_ParenLeft, "9", {}},
    {Qt::Key_ParenRight, "0", {}},
    {Qt::Key_Asterisk, "8", "Num *"},
    {Qt::Key_Plus, "=", "Num +"},
    {Qt::Key_Comma, ",", {}},
    {Qt::Key_Minus, "-", "Num -"},
    {Qt::Key_Period, ".", "Num Del"},
    {Qt::Key_Slash, "/", "Num /"},
    {Qt::Key_Colon, ";", {}},
    {Qt::Key_Semicolon, ";", {}},
    {Qt::Key_Less, ",", {}},
    {Qt::Key_Equal, "=", {}},
    {Qt::Key_Greater, ".", {}},
    {Qt::Key_Question, "/", {}},
    {Qt::Key_At, "2", {}},
    {Qt::Key_BracketLeft, "[", {}},
    {Qt::Key_Backslash, "\\", {}},
    {Qt::Key_BracketRight, "]", {}},
    {Qt::Key_AsciiCircum, "6", {}},
    {Qt::Key_Underscore, "-", {}},
    {Qt::Key_QuoteLeft, "`", {}},
    {Qt::Key_BraceLeft, "[", {}},
    {Qt::Key_Bar, "\\", {}},
    {Qt::Key_BraceRight, "]", {}},
    {Qt::Key_AsciiTilde, "`", {}},
};

constexpr std::string_view kDigits[] = {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9"};
constexpr std::string_view kKeypadDigits[] = {"Num 0", "Num 1", "Num 2", "Num 3", "Num 4",
                                              "Num 5", "Num 6", "Num 7", "Num 8", "Num 9"};
constexpr std::string_view kLetters = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
constexpr std::string_view kFunctionKeys[] = {"F1", "F2", "F3", "F4",  "F5",  "F6",
                                              "F7", "F8", "F9", "F10", "F11", "F12"};

// A text for a key the tables do not name; it must not be one of their names, or the key would
// send another key's usage.
std::string UnknownKeyName(const KeyStroke& stroke)
{
    if (stroke.toolkitKey != 0 && stroke.toolkitKey != Qt::Key_unknown) {
        const std::string text = QKeySequence(stroke.toolkitKey).toString(QKeySequence::PortableText).toStdString();
        if (!text.empty() && KeyCodeFromName(text) == 0) {
            return text;
        }
    }
    const auto code = stroke.nativeScanCode != 0 ? static_cast<long long>(stroke.nativeScanCode)
                                                 : static_cast<long long>(stroke.toolkitKey);
    return "Key " + std::to_string(code);
}

} // namespace

std::optional<std::string_view> QtKeyNameSource::QtKeyName(int key, bool keypad)
{
    if (key >= Qt::Key_0 && key <= Qt::Key_9) {
        const auto digit = static_cast<std::size_t>(key - Qt::Key_0);
        return keypad ? kKeypadDigits[digit] : kDigits[digit];
    }
    if (key >= Qt::Key_A && key <= Qt::Key_Z) {
        return kLetters.substr(static_cast<std::size_t>(key - Qt::Key_A), 1);
    }
    if (key >= Qt::Key_F1 && key <= Qt::Key_F12) {
        return kFunctionKeys[static_cast<std::size_t>(key - Qt::Key_F1)];
    }
    const auto found =
        std::find_if(std::begin(kQtKeys), std::end(kQtKeys), [key](const QtKeyRow& row) { return row.key == key; });
    if (found == std::end(kQtKeys)) {
        return std::nullopt;
    }
    return keypad && !found->keypadName.empty() ? found->keypadName : found->name;
}

std::string QtKeyNameSource::KeyName(const KeyStroke& stroke) const
{
#if defined(Q_OS_LINUX)
    // X11 and Wayland: the keycode names the physical key; a known code without a name is a key
    // the tables do not have, whatever Qt's key code says.
    if (stroke.nativeScanCode != 0) {
        if (const auto name = XkbKeycodeName(stroke.nativeScanCode)) {
            return std::string(*name);
        }
        return UnknownKeyName(stroke);
    }
#endif
    if (const auto name = QtKeyName(stroke.toolkitKey, stroke.keypad)) {
        return std::string(*name);
    }
    return UnknownKeyName(stroke);
}

KeyStroke QtKeyNameSource::StrokeOf(const QKeyEvent& event)
{
    KeyStroke stroke;
    stroke.nativeScanCode = event.nativeScanCode();
    stroke.toolkitKey = event.key();
    stroke.keypad = event.modifiers().testFlag(Qt::KeypadModifier);
    return stroke;
}

} // namespace veldrane
