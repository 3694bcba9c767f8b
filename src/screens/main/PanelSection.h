#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ports/Geometry.h"
#include "screens/common/FocusControl.h"

namespace veldrane {

class SkinCanvas;

// Which picture of the mouse the main window shows: 1 = top, 2 = side (the start).
enum class MouseView
{
    Top = 1,
    Side = 2
};

// One folding section of a panel of the main window ("CPI Setting", "Button Assignment", ...).
// The panel draws the header and decides where the content goes; the section draws and handles
// its content. Every point is in window pixels; contentOrigin is the window position of the
// content's top-left corner, which moves as the panel scrolls and as sections above open.
// The panel calls Draw, Press, Hover, Drag and Release only while the section is open.
class PanelSection
{
public:
    virtual ~PanelSection() = default;

    // The header text in the interface language.
    virtual std::string_view Title() const = 0;
    // The pixels under the header that the open section takes.
    virtual int ContentHeight() const = 0;
    // Runs clipped to the panel; the section leaves the canvas's clip alone.
    virtual void Draw(SkinCanvas& canvas, Point contentOrigin) = 0;
    // A left-button press inside the content; true when it changed something to redraw.
    virtual bool Press(Point p, Point contentOrigin) = 0;
    // The pointer moved over the content; true when a picture changed.
    virtual bool Hover(Point p, Point contentOrigin) = 0;

    // Whether a press at p belongs to the section alone: the window then does not start a window
    // drag from it and sends the following moves to Drag and the button's release to Release. A
    // press on a control answers true; one on an empty spot of the content leaves the window free
    // to be dragged.
    virtual bool TakesPress(Point /*p*/, Point /*contentOrigin*/) const { return false; }
    // The left button is held and moving after a press the section took; true to redraw.
    virtual bool Drag(Point /*p*/, Point /*contentOrigin*/) { return false; }
    // The end of such a press; true to redraw.
    virtual bool Release(Point /*p*/, Point /*contentOrigin*/) { return false; }

    // The pointer left the content (or the section was shut): back to the "-normal" pictures.
    // True when a picture changed.
    virtual bool Unhover() { return false; }
    // Closes the dropdown lists the section has open: used by a reset, by the profile manager's
    // closing and by showing the window from the tray.
    virtual void CloseLists() {}
    // The window switched between the top and the side view of the mouse.
    virtual void MouseViewChanged(MouseView /*view*/) {}
    // A picture of the whole mouse to show instead of the plain one of the current view, such as
    // the one with the button of an open dropdown list lit.
    virtual std::optional<std::string> MousePicture() const { return std::nullopt; }

    // The controls of the open content in reading order, for the keyboard's focus and for
    // assistive technology, with their areas in window pixels.
    virtual std::vector<FocusControl> FocusControls(Point /*contentOrigin*/) const { return {}; }
    // A key's action on control `control` of that list; true when something changed to redraw.
    virtual bool Act(std::size_t /*control*/, ControlAction /*action*/) { return false; }
    // A key while the section has a list open, before the window's own handling: true when the
    // list took it (and something changed to redraw).
    virtual bool ListKey(WindowKey /*key*/) { return false; }
};

} // namespace veldrane
