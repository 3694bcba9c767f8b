#pragma once

#include <functional>
#include <string_view>

#include "ports/Geometry.h"
#include "ports/SkinCanvas.h"

namespace veldrane {

// A one-line text box of the system that a section of a skinned window places over its pictures
// (the line count of "Scroll Speed"). Its text is centred.
//
// The box follows the window's drawing: a section shows it by calling Show every time it draws
// itself, and a drawing of the window in which Show was not called (the section shut or scrolled
// out of sight) hides the box.
class EditBox
{
public:
    using EditedHandler = std::function<void(std::string_view utf8)>;

    virtual ~EditBox() = default;

    // Puts the box over `area` (window pixels); only the part of it inside `visible` is seen,
    // nothing at all when that part is empty.
    virtual void Show(Rect area, Rect visible) = 0;
    // A disabled box shows its text greyed and takes no typing.
    virtual void SetEnabled(bool enabled) = 0;
    // Replaces the text; this does not call the edited handler.
    virtual void SetText(std::string_view utf8) = 0;
    virtual void SetTextColour(Colour colour) = 0;
    // Called with the whole new text after each change the user makes to it.
    virtual void SetEditedHandler(EditedHandler handler) = 0;
};

} // namespace veldrane
