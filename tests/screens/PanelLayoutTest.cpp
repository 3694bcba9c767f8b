#include <gtest/gtest.h>

#include <memory>

#include "screens/main/EmptySection.h"
#include "screens/main/RightPanel.h"
#include "screens/main/ScrollThumb.h"
#include "support/RecordingCanvas.h"

namespace veldrane {
namespace {

// A first drag puts the thumb at `startTop` (from 32), a second moves it by `dy`: it stops at the
// ends of its band, tops 32 to 535.
TEST(ScrollThumb, StopsAtTheEndsOfTheBand)
{
    const struct
    {
        int startTop;
        int dy;
        int expectedTop;
    } cases[] = {{32, -1, 32}, {40, -8, 32}, {40, -9, 32}, {500, 35, 535}, {500, 36, 535}, {100, 300, 400}};
    for (const auto& c : cases) {
        ScrollThumb thumb(Size{10, 60});
        thumb.Press({990, 100});
        thumb.Drag({990, 100 + c.startTop - 32});
        thumb.Release();
        ASSERT_EQ(thumb.Top(), c.startTop);
        thumb.Press({990, 300});
        thumb.Drag({990, 300 + c.dy});
        EXPECT_EQ(thumb.Top(), c.expectedTop) << c.startTop << " " << c.dy;
        EXPECT_EQ(thumb.Area().left, 984);
    }
}

// Opening or shutting a section while the panel is scrolled leaves the clicked header where it was
// (under the pointer), as far as the panel's height lets it.
TEST(RightPanel, TogglingWhileScrolledKeepsTheHeaderInPlace)
{
    test::RecordingCanvas images;
    std::array<std::unique_ptr<PanelSection>, RightPanel::kSectionCount> sections;
    for (auto& section : sections) {
        section = std::make_unique<EmptySection>("S", "/none.png", 232, images);
    }
    auto panel = std::make_unique<RightPanel>(std::move(sections), ScrollThumb::kDefaultSize);
    for (auto section : {RightPanel::kCpiSetting, RightPanel::kLighting, RightPanel::kUsbReportRate}) {
        panel->Toggle(section);
    }
    ASSERT_EQ(panel->Overflow(), 3 * 232 + 170 - 564);
    EXPECT_FALSE(panel->Wheel(1)); // at the top already
    EXPECT_TRUE(panel->Wheel(-6));
    ASSERT_EQ(panel->Stack().ScrollOffset(), 150);
    const Rect header = panel->Stack().HeaderArea(RightPanel::kMouseSpeed);
    panel->Toggle(RightPanel::kMouseSpeed);
    EXPECT_EQ(panel->Stack().HeaderArea(RightPanel::kMouseSpeed), header);
    EXPECT_EQ(panel->Stack().ScrollOffset(), 150);
    EXPECT_TRUE(panel->ThumbShown());
    // Shutting the first three leaves too little to scroll: the panel goes back as far as it must.
    for (auto section : {RightPanel::kCpiSetting, RightPanel::kLighting, RightPanel::kUsbReportRate}) {
        panel->Toggle(section);
    }
    EXPECT_EQ(panel->Stack().ScrollOffset(), 0);
    EXPECT_EQ(panel->Thumb().Top(), ScrollThumb::kTrackTop);
    EXPECT_FALSE(panel->ThumbShown());
}

} // namespace
} // namespace veldrane
