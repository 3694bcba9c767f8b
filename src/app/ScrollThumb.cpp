#include "app/ScrollThumb.h"

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

bool ScrollThumb::IsAllowedTop(int top) const
{
    return top >= kTrackTop && top + m_size.height < kTrackBottom;
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
    int wanted = m_dragAnchor->top + (p.y - m_dragAnchor->pointerY);
    if (wanted == m_top || !IsAllowedTop(wanted)) {
        return false;
    }
    m_top = wanted;
    return true;
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
