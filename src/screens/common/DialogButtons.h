#pragma once

#include <string_view>

#include "ports/Geometry.h"
#include "ports/SkinCanvas.h"

namespace veldrane {

// What a press in a skinned dialog asks its window to do.
enum class DialogAction
{
    None,
    Accept,   // close with OK
    Reject,   // close with Cancel
    StartMove // move the window with the pointer, as a press on a caption would
};

// The OK, Cancel and close areas that the capture dialogs and the macro key dialog share, with
// their pictures and the "-over" variant under the pointer. Dialog client coordinates.
class DialogButtons
{
public:
    enum class Button
    {
        None,
        Ok,
        Cancel,
        Close
    };

    static constexpr Rect kOk{250, 250, 308, 275};
    static constexpr Rect kCancel{314, 250, 372, 275};
    static constexpr Rect kClose{352, 6, 370, 24};

    static Button At(Point p);
    // Accept for OK, Reject for Cancel and close, None elsewhere.
    static DialogAction ActionAt(Point p);

    // True when the button under the pointer changed, so a picture changed.
    bool Hover(Point p);
    Button Hovered() const { return m_hovered; }

    // The three pictures with the language's OK and Cancel texts centred on theirs.
    void Draw(SkinCanvas& canvas, std::string_view okText, std::string_view cancelText, FontRole font) const;

private:
    Button m_hovered = Button::None;
};

} // namespace veldrane
