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
    EXPECT_EQ(list.RowRect(11), (Rect{43, 259, 150, 275}));
    test::RecordingCanvas canvas;
    list.Draw(canvas, FontRole::Dialog, {.text = {1, 2, 3}, .background = {4, 5, 6}});
    ASSERT_EQ(canvas.texts.size(), 8u);
    EXPECT_EQ(canvas.texts.front().text, "M4");
    EXPECT_EQ(canvas.texts.back().text, "M11");
}

} // namespace
} // namespace veldrane
