#include "screens/main/ScrollThumb.h"

#include <algorithm>

namespace veldrane {

ScrollThumb::ScrollThumb(Size size) : m_size(size)
{
    if (m_size.height <= 0 || m_size.height >= kTrackBottom - kTrackTop) {
        m_size.height = kDefaultSize.height;
    }
    if (m_size.width <= 0) {
        m_size.width = kDefaultSize.width;
    }
}

int ScrollThumb::MaxTop() const
{
    return kTrackBottom - 1 - m_size.height;
}

void ScrollThumb::Press(Point p)
{
    m_dragAnchor = Anchor{p.y, m_top};
}

bool ScrollThumb::Drag(Point p)
{
    if (!m_dragAnchor) {
        return false;
    }
    return MoveTo(m_dragAnchor->top + (p.y - m_dragAnchor->pointerY));
}

void ScrollThumb::Release()
{
    m_dragAnchor.reset();
}

bool ScrollThumb::MoveTo(int top)
{
    top = std::clamp(top, kTrackTop, MaxTop());
    if (top == m_top) {
        return false;
    }
    m_top = top;
    return true;
}

} // namespace veldrane
