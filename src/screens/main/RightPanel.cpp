#include "screens/main/RightPanel.h"

#include <algorithm>

#include "screens/main/PanelSection.h"

namespace veldrane {

RightPanel::RightPanel(std::array<std::unique_ptr<PanelSection>, kSectionCount> sections, Size thumbSize)
    : m_stack(kViewport, kFirstHeader, kHeaderWidth, kHeaderGap), m_thumb(thumbSize)
{
    for (auto& section : sections) {
        m_stack.AddRow(kHeaderHeight, {}, std::move(section));
    }
}

bool RightPanel::Toggle(std::size_t section)
{
    const int offset = m_stack.ScrollOffset();
    if (!m_stack.Toggle(section)) {
        return false;
    }
    // The section's own header does not move with its content, so the same offset keeps it in
    // place; the thumb follows the offset rather than the other way round.
    ScrollTo(offset);
    return true;
}

void RightPanel::ScrollTo(int offset)
{
    offset = std::clamp(offset, 0, Overflow());
    m_thumb.MoveTo(TopForOffset(offset));
    m_stack.SetScrollOffset(offset);
}

int RightPanel::Overflow() const
{
    return std::max(0, m_stack.TotalHeight() - kViewport.Height());
}

int RightPanel::OffsetForTop(int top) const
{
    int range = m_thumb.MaxTop() - ScrollThumb::kTrackTop;
    if (range <= 0) {
        return 0;
    }
    long long travelled = std::clamp(top - ScrollThumb::kTrackTop, 0, range);
    return static_cast<int>(travelled * Overflow() / range);
}

int RightPanel::TopForOffset(int offset) const
{
    int overflow = Overflow();
    int range = m_thumb.MaxTop() - ScrollThumb::kTrackTop;
    if (overflow <= 0 || range <= 0) {
        return ScrollThumb::kTrackTop;
    }
    long long scrolled = std::clamp(offset, 0, overflow);
    // Rounded up, so that the offset this top gives back is at least the one asked for.
    return ScrollThumb::kTrackTop + static_cast<int>((scrolled * range + overflow - 1) / overflow);
}

void RightPanel::FollowThumb()
{
    m_stack.SetScrollOffset(OffsetForTop(m_thumb.Top()));
}

bool RightPanel::Wheel(int notches)
{
    if (notches == 0 || Overflow() == 0) {
        return false;
    }
    int before = m_stack.ScrollOffset();
    int top = TopForOffset(before - notches * kWheelStep);
    if (top == m_thumb.Top()) {
        top += notches > 0 ? -1 : 1; // a long stack on a short track: at least one step of the thumb
    }
    m_thumb.MoveTo(top);
    FollowThumb();
    return m_stack.ScrollOffset() != before;
}

bool RightPanel::ScrollIntoView(Rect area)
{
    const int before = m_stack.ScrollOffset();
    int offset = before;
    if (area.top < kViewport.top) {
        offset -= kViewport.top - area.top;
    } else if (area.bottom > kViewport.bottom) {
        offset += std::min(area.bottom - kViewport.bottom, area.top - kViewport.top);
    }
    if (offset == before) {
        return false;
    }
    ScrollTo(offset);
    return m_stack.ScrollOffset() != before;
}

bool RightPanel::ScrollToTop()
{
    bool moved = m_thumb.MoveTo(ScrollThumb::kTrackTop);
    FollowThumb();
    return moved;
}

} // namespace veldrane
