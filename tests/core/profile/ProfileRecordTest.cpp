#include "core/profile/ProfileRecord.h"

#include <gtest/gtest.h>

#include <numeric>
#include <tuple>
#include <vector>

namespace veldrane {
namespace {

// One byte of a loaded record and what it becomes: the nearest value the window's controls give.
// Every other byte stays, the buttons and the macros are never touched, and stages 5 and 6 and
// the mouse speed are kept as they are.
TEST(ProfileRecord, LoadBringsEachByteToTheNearestControlValueAndNoOtherByte)
{
    ProfileRecord original{};
    std::iota(original.Bytes().begin(), original.Bytes().end(), std::uint8_t{1});
    ProfileRecord baseline = original;
    BringIntoControlRange(baseline);
    EXPECT_EQ(baseline.macroData, original.macroData);
    EXPECT_EQ(baseline.buttonFunction, original.buttonFunction);
    // offset, stored, loaded
    // clang-format off
    const std::vector<std::tuple<std::size_t, int, int>> cases{
        {0x005, 0, 1}, {0x005, 3, 2} /* a tie goes to the faster rate */, {0x005, 7, 8}, {0x005, 200, 8},
        {0x005, 4, 4}, {0x006, 2, 0}, {0x007, 0, 1}, {0x00A, 200, 164}, {0x00B, 200, 200}, {0x00F, 2, 1},
        {0x013, 2, 2}, {0x02F, 9, 3}, {0x030, 0, 1}, {0x032, 7, 6}, {0x033, 2, 0}, {0x034, 2, 0}, {0x035, 0, 0},
        {0x038, 0, 1}, {0x039, 0xEE, 0xEE}, {0x03A, 12, 11}, {0x03B, 255, 11}};
    // clang-format on
    for (const auto& [offset, stored, loaded] : cases) {
        ProfileRecord record = baseline;
        record.Bytes()[offset] = static_cast<std::uint8_t>(stored);
        BringIntoControlRange(record);
        ProfileRecord expected = baseline;
        expected.Bytes()[offset] = static_cast<std::uint8_t>(loaded);
        EXPECT_EQ(record, expected) << "offset " << offset << " stored " << stored;
    }
}

} // namespace
} // namespace veldrane
