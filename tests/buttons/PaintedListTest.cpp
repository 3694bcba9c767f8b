#include "buttons/PaintedList.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace veldrane {
namespace {

// 140 pixels high: a one-pixel border and eight rows of 16, with 10 pixels to spare.
constexpr Rect kArea{42, 146, 151, 286};

TEST(PaintedList, ScrollingStaysWithinTheEntriesAndTheRowsStopShortOfTheThumb)
{
    std::vector<std::string> names = {"M0", "M1", "M2", "M3", "M4", "M5", "M6", "M7", "M8", "M9", "M10", "M11"};
    PaintedList list(kArea, 16, names);
    EXPECT_FALSE(list.ScrollBy(-3));
    EXPECT_TRUE(list.ScrollBy(5));
    EXPECT_EQ(list.FirstVisible(), 4u); // twelve entries, eight shown
    EXPECT_EQ(list.RowAt({100, 150}), 4u);
    EXPECT_TRUE(list.RowRect(3).IsEmpty());
    EXPECT_EQ(list.RowRect(11), (Rect{43, 259, 146, 275}));
    // The thumb shows eight of twelve from the fifth, in the 138 pixels inside the border.
    EXPECT_EQ(list.ScrollThumb(), (Rect{146, 147 + 138 * 4 / 12, 150, 147 + 138 * 4 / 12 + 138 * 8 / 12}));
    // A list whose entries all fit has no thumb and rows as wide as its inside.
    names.resize(8);
    EXPECT_EQ(PaintedList(kArea, 16, names).RowRect(7), (Rect{43, 259, 150, 275}));
}

} // namespace
} // namespace veldrane
