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

TEST(PaintedList, RowsLieInsideTheBorder)
{
    const PaintedList list = TwelveInEight();
    EXPECT_EQ(list.VisibleRows(), 8u);
    EXPECT_EQ(list.RowRect(0), (Rect{43, 147, 150, 163}));
    EXPECT_EQ(list.RowRect(7), (Rect{43, 259, 150, 275}));
    EXPECT_TRUE(list.RowRect(8).IsEmpty());
    EXPECT_EQ(list.RowAt({43, 147}), 0u);
    EXPECT_EQ(list.RowAt({149, 162}), 0u);
    EXPECT_EQ(list.RowAt({100, 163}), 1u);
    EXPECT_FALSE(list.RowAt({42, 150}).has_value());  // border
    EXPECT_FALSE(list.RowAt({100, 146}).has_value()); // border
    EXPECT_FALSE(list.RowAt({100, 280}).has_value()); // below the last whole row
}

TEST(PaintedList, ShortListHasNoRowsBelowItsEntries)
{
    const PaintedList list({50, 87, 132, 227}, 17, Names(3));
    EXPECT_EQ(list.RowAt({60, 88 + 17 * 2}), 2u);
    EXPECT_FALSE(list.RowAt({60, 88 + 17 * 3}).has_value());
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

TEST(PaintedList, HighlightMovesOnlyOverRows)
{
    PaintedList list = TwelveInEight();
    EXPECT_FALSE(list.HighlightAt({42, 150}));
    EXPECT_FALSE(list.Highlighted().has_value());
    EXPECT_TRUE(list.HighlightAt({100, 170}));
    EXPECT_FALSE(list.HighlightAt({120, 172}));
    EXPECT_FALSE(list.HighlightAt({200, 172}));
    EXPECT_EQ(list.Highlighted(), 1u);
}

TEST(PaintedList, EmptyListDrawsItsFrameOnly)
{
    const PaintedList list({42, 146, 151, 286}, 16, {});
    test::RecordingCanvas canvas;
    list.Draw(canvas, FontRole::Dialog, {.text = {1, 2, 3}, .background = {4, 5, 6}});
    EXPECT_TRUE(canvas.texts.empty());
    ASSERT_EQ(canvas.fills.size(), 2u);
    EXPECT_EQ(canvas.fills[1].colour, (Colour{4, 5, 6}));
    EXPECT_FALSE(list.RowAt({100, 150}).has_value());
}

} // namespace
} // namespace veldrane
