#pragma once

#include <algorithm>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>

#include "ports/Geometry.h"

namespace veldrane {

// What a control of a painted window is, for the keyboard and for assistive technology.
enum class ControlRole
{
    Button,
    CheckBox,
    RadioButton,
    Slider, // a track, a strip or a dial
    ComboBox,
    List,
    PageTab, // a section header that folds its section open and shut
    EditText // a field the user types into
};

// The keys a window's model understands; the view translates the toolkit's key events to these.
enum class WindowKey
{
    Tab,
    BackTab,
    Return,
    Space,
    Left,
    Right,
    Up,
    Down,
    PageUp,
    PageDown,
    Home,
    End,
    Escape,
    Help,     // F1
    Save,     // Ctrl+S
    OpenList, // Alt+Down
    Delete,
    Rename, // F2
    Insert
};

// What a key does to the control that has the focus.
enum class ControlAction
{
    Press,
    Increase,
    Decrease,
    IncreaseMore, // Page Up
    DecreaseMore, // Page Down
    ToFirst,      // Home: the lowest value
    ToLast,       // End: the highest value
    OpenList
};

// Where a stepping action takes a value that may go from `lowest` to `highest`: one step, `pageStep`
// steps or an end, kept within them; nothing for an action that does not step.
inline std::optional<int> SteppedValue(int value, ControlAction action, int pageStep, int lowest, int highest)
{
    switch (action) {
    case ControlAction::Increase:
        return std::min(value + 1, highest);
    case ControlAction::Decrease:
        return std::max(value - 1, lowest);
    case ControlAction::IncreaseMore:
        return std::min(value + pageStep, highest);
    case ControlAction::DecreaseMore:
        return std::max(value - pageStep, lowest);
    case ControlAction::ToFirst:
        return lowest;
    case ControlAction::ToLast:
        return highest;
    default:
        return std::nullopt;
    }
}

// One control as the keyboard and a screen reader see it: its place in window pixels, its role,
// its name and value in the interface language, and its states.
struct FocusControl
{
    // Names the control for as long as it exists, while the controls before it come and go.
    std::size_t key = 0;
    Rect area;
    ControlRole role = ControlRole::Button;
    std::string name;
    std::string value;
    // A slider's value as a number in its own unit (CPI, Hz), its range and its smallest step
    // (0 where the steps are uneven).
    std::optional<int> number;
    int minimum = 0;
    int maximum = 0;
    int step = 0;
    bool checked = false;
    bool expanded = false;
    bool disabled = false;
};

// A control with its place, role and name; everything else as a FocusControl starts.
inline FocusControl ControlAt(Rect area, ControlRole role, std::string_view name)
{
    FocusControl control;
    control.area = area;
    control.role = role;
    control.name = name;
    return control;
}

// The same, named by a key of the window's own enumeration of its controls.
template <typename Key>
requires std::is_enum_v<Key> FocusControl ControlAt(Key key, Rect area, ControlRole role, std::string_view name)
{
    FocusControl control = ControlAt(area, role, name);
    control.key = static_cast<std::size_t>(key);
    return control;
}

} // namespace veldrane
