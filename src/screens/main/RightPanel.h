#pragma once

#include <array>
#include <cstddef>
#include <memory>
#include <optional>

#include "screens/main/ScrollThumb.h"
#include "screens/main/SectionStack.h"

namespace veldrane {

class PanelSection;

// The right panel of the main window: seven folding sections, in this order "CPI Setting",
// "Lighting", "USB Report Rate", "Mouse Speed", "Double Click Speed", "Scroll Speed" and
// "Angle Snap", whose headers stand 25 pixels apart from (734, 32) while all are shut. The panel
// scrolls with the thumb at its right edge and with the wheel; the thumb's place in its band
// chooses how far the stack is scrolled, from not at all (top 32) to its end showing (lowest top).
class RightPanel
{
public:
    enum SectionIndex : std::size_t
    {
        kCpiSetting,
        kLighting,
        kUsbReportRate,
        kMouseSpeed,
        kDoubleClickSpeed,
        kScrollSpeed,
        kAngleSnap,
        kSectionCount
    };

    static constexpr Rect kViewport{734, ScrollThumb::kTrackTop, ScrollThumb::kLeft, ScrollThumb::kTrackBottom};
    static constexpr Point kFirstHeader{734, 32};
    static constexpr int kHeaderWidth = 242;
    static constexpr int kHeaderHeight = 20;
    static constexpr int kHeaderGap = 5; // headers 25 pixels apart
    // Content pixels one notch of the wheel scrolls: one header.
    static constexpr int kWheelStep = kHeaderHeight + kHeaderGap;

    RightPanel(std::array<std::unique_ptr<PanelSection>, kSectionCount> sections, Size thumbSize);

    SectionStack& Stack() { return m_stack; }
    const SectionStack& Stack() const { return m_stack; }
    ScrollThumb& Thumb() { return m_thumb; }
    const ScrollThumb& Thumb() const { return m_thumb; }

    // Folds a section open or shut. Its header stays where it was as far as the new height lets
    // the panel stay scrolled.
    bool Toggle(std::size_t section);
    // How many content pixels do not fit into the viewport.
    int Overflow() const;
    // The thumb is shown only while there is something to scroll.
    bool ThumbShown() const { return Overflow() > 0; }
    // Takes the scroll offset from the thumb's place (after a drag of the thumb, message 0xB20).
    void FollowThumb();
    // Scrolls by wheel notches (positive: towards the top); true when the panel moved.
    bool Wheel(int notches);
    // Scrolls as little as shows `area` (window pixels, as the panel is scrolled now) in the
    // viewport, its top first where it is taller; true when the panel moved.
    bool ScrollIntoView(Rect area);
    // Back to the top.
    bool ScrollToTop();

private:
    int OffsetForTop(int top) const;
    void ScrollTo(int offset);
    int TopForOffset(int offset) const;

    SectionStack m_stack;
    ScrollThumb m_thumb;
};

} // namespace veldrane
