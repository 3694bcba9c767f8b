#include "buttons/PaintedList.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/RecordingCanvas.h"

namespace veldrane {
namespace {

std::vector<std::string> Names(int count)
{
    std::vector<std::string> names;
    for (int i = 0; i < count; ++i) {
        names.push_back("M" + std::to_string(i));
    }
    return names;
}

// 140 pixels high: a one-pixel border and eight rows of 16, with 10 pixels to spare.
PaintedList TwelveInEight()
{
    return PaintedList({42, 146, 151, 286}, 16, Names(12));
}

TEST(PaintedList, ScrollingStaysWithinTheEntriesAndMovesTheRows)
{
    PaintedList list = TwelveInEight();
    EXPECT_FALSE(list.ScrollBy(-3));
    EXPECT_TRUE(list.ScrollBy(3));
    EXPECT_EQ(list.FirstVisible(), 3u);
    EXPECT_TRUE(list.ScrollBy(3));
    EXPECT_EQ(list.FirstVisible(), 4u); // twelve entries, eight shown
    EXPECT_FALSE(list.ScrollBy(3));
    EXPECT_EQ(list.RowAt({100, 150}), 4u);
    EXPECT_TRUE(list.RowRect(3).IsEmpty());
    // The rows stop short of the scroll thumb, which shows eight of twelve from the fifth.
    EXPECT_EQ(list.RowRect(11), (Rect{43, 259, 146, 275}));
    test::RecordingCanvas canvas;
    list.Draw(canvas, FontRole::Dialog, {.text = {1, 2, 3}, .background = {4, 5, 6}});
    ASSERT_EQ(canvas.texts.size(), 8u);
    EXPECT_EQ(canvas.texts.front().text, "M4");
    EXPECT_EQ(canvas.texts.back().text, "M11");
    EXPECT_EQ(canvas.fills.back().area, (Rect{146, 147 + 138 * 4 / 12, 150, 147 + 138 * 4 / 12 + 138 * 8 / 12}));
    // A list whose entries all fit has no thumb and rows as wide as its inside.
    test::RecordingCanvas fitting;
    PaintedList({42, 146, 151, 286}, 16, Names(8)).Draw(fitting, FontRole::Dialog, {});
    EXPECT_EQ(fitting.fills.size(), 2u);
    EXPECT_EQ(fitting.texts.back().area.right, 150);
}

} // namespace
} // namespace veldrane
