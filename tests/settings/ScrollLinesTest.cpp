#include "settings/ScrollLines.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace veldrane {
namespace {

TEST(ScrollLines, StepsStayWithinOneToOneHundred)
{
    EXPECT_EQ(SteppedScrollLines(3, +1), 4);
    EXPECT_EQ(SteppedScrollLines(3, -1), 2);
    EXPECT_EQ(SteppedScrollLines(100, +1), 100);
    EXPECT_EQ(SteppedScrollLines(99, +1), 100);
    EXPECT_EQ(SteppedScrollLines(1, -1), 1);
    EXPECT_EQ(SteppedScrollLines(2, -1), 1);
}

TEST(ScrollLines, LoadedCountsOutsideTheRangeStepByTheSameRule)
{
    EXPECT_EQ(SteppedScrollLines(0, +1), 1);
    EXPECT_EQ(SteppedScrollLines(0, -1), 1);
    EXPECT_EQ(SteppedScrollLines(200, +1), 100);
    EXPECT_EQ(SteppedScrollLines(200, -1), 199);
    EXPECT_EQ(SteppedScrollLines(255, +1), 100); // no wrap through 0
}

struct TextCase
{
    std::string text;
    std::optional<std::uint8_t> lines;
};

class ScrollLinesText : public testing::TestWithParam<TextCase>
{
};

TEST_P(ScrollLinesText, AcceptsOnlyDecimalNumbersFromOneToOneHundred)
{
    EXPECT_EQ(ScrollLinesOfText(GetParam().text), GetParam().lines) << '"' << GetParam().text << '"';
}

INSTANTIATE_TEST_SUITE_P(Texts, ScrollLinesText,
                         testing::Values(TextCase{"1", 1}, TextCase{"100", 100}, TextCase{"42", 42}, TextCase{"007", 7},
                                         TextCase{" 5 ", 5}, TextCase{"0", std::nullopt}, TextCase{"101", std::nullopt},
                                         TextCase{"", std::nullopt}, TextCase{"   ", std::nullopt},
                                         TextCase{"-3", std::nullopt}, TextCase{"+3", std::nullopt},
                                         TextCase{"5x", std::nullopt}, TextCase{"x5", std::nullopt},
                                         TextCase{"1 2", std::nullopt}, TextCase{"99999999999999999999", std::nullopt},
                                         TextCase{"\xEF\xBC\x95", std::nullopt})); // a full-width "5"

} // namespace
} // namespace veldrane
