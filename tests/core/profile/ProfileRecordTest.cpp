#include "core/profile/ProfileRecord.h"

#include <gtest/gtest.h>

#include <numeric>
#include <optional>
#include <tuple>
#include <vector>

namespace veldrane {
namespace {

// One byte of a loaded record and what it becomes: the nearest value the window's controls give,
// with the group of settings it belongs to reported as changed. Every other byte stays, the
// buttons and the macros are never touched, and stages 5 and 6 are kept as they are. The pointer
// dials were kept too, and a damaged import showed a speed dial at position 0.
TEST(ProfileRecord, LoadBringsEachByteToTheNearestControlValueAndNoOtherByte)
{
    ProfileRecord original{};
    std::iota(original.Bytes().begin(), original.Bytes().end(), std::uint8_t{1});
    ProfileRecord baseline = original;
    (void)BringIntoControlRange(baseline);
    EXPECT_EQ(baseline.macroData, original.macroData);
    EXPECT_EQ(baseline.buttonFunction, original.buttonFunction);
    EXPECT_TRUE(BringIntoControlRange(baseline).empty()) << "a record in range stays and reports nothing";
    using G = SettingGroup;
    const std::optional<G> none;
    // offset, stored, loaded, the group reported
    // clang-format off
    const std::vector<std::tuple<std::size_t, int, int, std::optional<G>>> cases{
        {0x005, 0, 1, G::ReportRate}, {0x005, 3, 2, G::ReportRate} /* a tie goes to the faster rate */,
        {0x005, 7, 8, G::ReportRate}, {0x005, 200, 8, G::ReportRate}, {0x005, 4, 4, none},
        {0x006, 2, 0, G::SideButtonLight}, {0x007, 0, 1, G::CpiStages}, {0x00A, 200, 164, G::CpiStages},
        {0x00B, 200, 200, none}, {0x00F, 2, 1, G::CpiStages}, {0x013, 2, 2, none}, {0x02F, 9, 3, G::Lighting},
        {0x030, 0, 1, G::Lighting}, {0x032, 7, 6, G::Lighting}, {0x033, 2, 0, G::MouseSpeed},
        {0x034, 2, 0, G::ScrollSpeed}, {0x035, 0, 1, G::MouseSpeed}, {0x035, 13, 12, G::MouseSpeed},
        {0x035, 12, 12, none}, {0x036, 0, 1, G::ScrollSpeed}, {0x036, 101, 100, G::ScrollSpeed},
        {0x036, 100, 100, none}, {0x037, 0, 1, G::DoubleClickSpeed}, {0x037, 255, 12, G::DoubleClickSpeed},
        {0x038, 0, 1, G::AngleSnap}, {0x039, 0xEE, 0xEE, none}, {0x03A, 12, 11, G::Sensitivity},
        {0x03B, 255, 11, G::Sensitivity}};
    // clang-format on
    for (const auto& [offset, stored, loaded, group] : cases) {
        ProfileRecord record = baseline;
        record.Bytes()[offset] = static_cast<std::uint8_t>(stored);
        const std::vector<SettingGroup> changed = BringIntoControlRange(record);
        ProfileRecord expected = baseline;
        expected.Bytes()[offset] = static_cast<std::uint8_t>(loaded);
        EXPECT_EQ(record, expected) << "offset " << offset << " stored " << stored;
        EXPECT_EQ(changed, group ? std::vector<SettingGroup>{*group} : std::vector<SettingGroup>{})
            << "offset " << offset << " stored " << stored;
    }
}

} // namespace
} // namespace veldrane
