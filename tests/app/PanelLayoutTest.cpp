#include <gtest/gtest.h>

#include <memory>

#include "app/AppContext.h"
#include "app/EmptySection.h"
#include "app/HoverGroup.h"
#include "app/LeftPanel.h"
#include "app/RightPanel.h"
#include "app/ScrollThumb.h"
#include "support/RecordingCanvas.h"

namespace veldrane {
namespace {

using test::RecordingCanvas;

struct ThumbDragCase
{
    const char* name;
    int startTop; // where a first drag puts the thumb (from 32)
    int dy;
    int expectedTop;
};

class ScrollThumbDragTest : public ::testing::TestWithParam<ThumbDragCase>
{
};

TEST_P(ScrollThumbDragTest, StopsAtTheEndsOfTheBand)
{
    ScrollThumb thumb(Size{10, 60});
    thumb.Press({990, 100});
    thumb.Drag({990, 100 + GetParam().startTop - 32});
    thumb.Release();
    ASSERT_EQ(thumb.Top(), GetParam().startTop);

    thumb.Press({990, 300});
    thumb.Drag({990, 300 + GetParam().dy});
    EXPECT_EQ(thumb.Top(), GetParam().expectedTop);
    EXPECT_EQ(thumb.Area().left, 984);
}

INSTANTIATE_TEST_SUITE_P(
    Edges, ScrollThumbDragTest,
    ::testing::Values(ThumbDragCase{"AboveTheTop", 32, -1, 32}, ThumbDragCase{"ExactlyToTheTop", 40, -8, 32},
                      ThumbDragCase{"OnePastTheTop", 40, -9, 32}, ThumbDragCase{"BottomEdgeAt595", 500, 35, 535},
                      ThumbDragCase{"BottomWouldReach596", 500, 36, 535}, ThumbDragCase{"Ordinary", 100, 300, 400},
                      ThumbDragCase{"FarBelow", 32, 1000, 535}, ThumbDragCase{"FarAbove", 500, -1000, 32}),
    [](const auto& info) { return std::string(info.param.name); });

std::array<std::unique_ptr<PanelSection>, RightPanel::kSectionCount> EmptySections(SkinImageSizes& images, int height)
{
    std::array<std::unique_ptr<PanelSection>, RightPanel::kSectionCount> sections;
    for (auto& section : sections) {
        section = std::make_unique<EmptySection>("S", "/none.png", height, images);
    }
    return sections;
}

TEST(RightPanel, ShutHeadersStand25PixelsApartFrom734And32)
{
    RecordingCanvas images;
    RightPanel panel(EmptySections(images, 100), ScrollThumb::kDefaultSize);
    for (std::size_t i = 0; i < RightPanel::kSectionCount; ++i) {
        const int top = 32 + 25 * static_cast<int>(i);
        EXPECT_EQ(panel.Stack().HeaderArea(i), (Rect{734, top, 976, top + 20}));
        EXPECT_EQ(panel.Stack().HeaderAt({975, top + 19}), i);
    }
    EXPECT_EQ(panel.Stack().HeaderAt({734, 52}), std::nullopt); // the gap
    EXPECT_EQ(panel.Stack().HeaderAt({976, 32}), std::nullopt);
    EXPECT_EQ(panel.Overflow(), 0);
}

TEST(RightPanel, AnOpenSectionPushesTheLaterOnesDown)
{
    RecordingCanvas images;
    RightPanel panel(EmptySections(images, 100), ScrollThumb::kDefaultSize);
    panel.Toggle(RightPanel::kLighting);
    EXPECT_EQ(panel.Stack().ContentOrigin(RightPanel::kLighting), (Point{734, 77}));
    EXPECT_EQ(panel.Stack().HeaderArea(RightPanel::kUsbReportRate), (Rect{734, 182, 976, 202}));
    EXPECT_EQ(panel.Stack().OpenContentAt({800, 77}), RightPanel::kLighting);
    EXPECT_EQ(panel.Stack().OpenContentAt({800, 176}), RightPanel::kLighting);
    EXPECT_EQ(panel.Stack().OpenContentAt({800, 177}), std::nullopt);
}

// Opening or shutting a section while the panel is scrolled leaves the clicked header where it was
// (under the pointer), as far as the panel's height lets it.
TEST(RightPanel, TogglingWhileScrolledKeepsTheHeaderInPlace)
{
    RecordingCanvas images;
    RightPanel panel(EmptySections(images, 232), ScrollThumb::kDefaultSize);
    for (auto section : {RightPanel::kCpiSetting, RightPanel::kLighting, RightPanel::kUsbReportRate}) {
        panel.Toggle(section);
    }
    ASSERT_EQ(panel.Overflow(), 3 * 232 + 170 - 564);
    EXPECT_FALSE(panel.Wheel(1)); // at the top already
    EXPECT_TRUE(panel.Wheel(-6));
    const int offset = panel.Stack().ScrollOffset();
    ASSERT_EQ(offset, 150);
    const Rect header = panel.Stack().HeaderArea(RightPanel::kMouseSpeed);
    panel.Toggle(RightPanel::kMouseSpeed);
    EXPECT_EQ(panel.Stack().HeaderArea(RightPanel::kMouseSpeed), header);
    EXPECT_EQ(panel.Stack().ScrollOffset(), offset);
    EXPECT_TRUE(panel.ThumbShown());
    // Shutting the first three leaves too little to scroll: the panel goes back as far as it must.
    for (auto section : {RightPanel::kCpiSetting, RightPanel::kLighting, RightPanel::kUsbReportRate}) {
        panel.Toggle(section);
    }
    EXPECT_EQ(panel.Stack().ScrollOffset(), 0);
    EXPECT_EQ(panel.Thumb().Top(), ScrollThumb::kTrackTop);
    EXPECT_FALSE(panel.ThumbShown());
}

TEST(LeftPanel, RowsStartAt107AndTheMacroManagerRowDoesNotFold)
{
    RecordingCanvas images;
    auto section = [&](int height) { return std::make_unique<EmptySection>("S", "/none.png", height, images); };
    LeftPanel panel(section(170), "Macro Manager", section(118), section(40));
    const SectionStack& stack = panel.Stack();
    EXPECT_EQ(stack.HeaderArea(LeftPanel::kButtonAssignment), (Rect{20, 107, 262, 127}));
    EXPECT_EQ(stack.HeaderArea(LeftPanel::kMacroManager), (Rect{20, 132, 262, 170}));
    EXPECT_EQ(stack.HeaderArea(LeftPanel::kXySensitivity), (Rect{20, 175, 262, 195}));
    EXPECT_EQ(stack.HeaderArea(LeftPanel::kLightButton), (Rect{20, 200, 262, 220}));
    EXPECT_EQ(stack.Title(LeftPanel::kMacroManager), "Macro Manager");
    EXPECT_FALSE(panel.Stack().Toggle(LeftPanel::kMacroManager));
    EXPECT_TRUE(panel.Stack().Toggle(LeftPanel::kXySensitivity));
    EXPECT_EQ(stack.HeaderArea(LeftPanel::kLightButton), (Rect{20, 318, 262, 338}));
}

TEST(SkinDirectory, IsTheFolderUnderSkinsBesideTheExecutable)
{
    EXPECT_EQ(SkinDirectoryOf("/opt/v", "Default").string(), "/opt/v/Skins/Default");
    EXPECT_EQ(SkinDirectoryOf("/opt/v", "/Default").string(), "/opt/v/Skins/Default");
    EXPECT_EQ(SkinDirectoryOf("/opt/v", "").string(), "/opt/v/Skins/");
}

} // namespace
} // namespace veldrane
