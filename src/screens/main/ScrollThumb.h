#pragma once

#include <optional>

#include "ports/Geometry.h"

namespace veldrane {

// The draggable thumb of the right panel's scroll bar. Its left edge stays at x = 984; a drag
// moves it by the pointer's vertical movement, within the band where its top is at least 32 and
// its bottom edge (exclusive) stays above 596; a move past either end stops the thumb there.
class ScrollThumb
{
public:
    static constexpr int kLeft = 984;
    static constexpr int kTrackTop = 32;
    static constexpr int kTrackBottom = 596;
    static constexpr Size kDefaultSize{10, 60};

    explicit ScrollThumb(Size size = kDefaultSize);

    int Top() const { return m_top; }
    Size GetSize() const { return m_size; }
    Rect Area() const { return Rect::At({kLeft, m_top}, m_size); }
    // The lowest top a thumb of this height may have.
    int MaxTop() const;

    // The left button went down on the thumb at p (window pixels).
    void Press(Point p);
    // The pointer moved to p with the button held; true when the thumb moved.
    bool Drag(Point p);
    void Release();
    bool IsDragging() const { return m_dragAnchor.has_value(); }

    // Puts the thumb at `top`, clamped into the band (the wheel and a return to the first page);
    // true when it moved.
    bool MoveTo(int top);

private:
    Size m_size;
    int m_top = kTrackTop;
    // Where the drag started: the pointer's y and the thumb's top then. The thumb follows the
    // pointer's distance from there, so a refused move does not leave the grip point behind.
    struct Anchor
    {
        int pointerY;
        int top;
    };
    std::optional<Anchor> m_dragAnchor;
};

} // namespace veldrane
