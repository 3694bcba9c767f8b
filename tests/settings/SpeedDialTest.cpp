#include "settings/SpeedDial.h"

#include <gtest/gtest.h>

#include <optional>

namespace veldrane {
namespace {

struct DialCase
{
    const char* name;
    int dx;
    int dy;
    std::optional<std::uint8_t> position;
};

class SpeedDialPress : public testing::TestWithParam<DialCase>
{
};

TEST_P(SpeedDialPress, AngleOnTheUpperRingGivesThePosition)
{
    EXPECT_EQ(SpeedDialPositionAt(GetParam().dx, GetParam().dy), GetParam().position);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SpeedDialPress,
    testing::Values(DialCase{"RightHorizontalIs12", 50, 0, 12}, DialCase{"LeftHorizontalIs2", -50, 0, 2},
                    DialCase{"StraightUpIs7", 0, -50, 7}, DialCase{"JustAboveTheRightEndIs11", 60, -1, 11},
                    DialCase{"JustAboveTheLeftEndIs2", -60, -1, 2},
                    DialCase{"UnderEighteenDegreesIs11", 60, -19, 11}, // 17.6 degrees
                    DialCase{"OverEighteenDegreesIs10", 60, -20, 10},  // 18.4 degrees
                    DialCase{"FortyFiveDegreesIs9", 40, -40, 9}, DialCase{"OneThirtyFiveDegreesIs4", -40, -40, 4},
                    DialCase{"InnerEdge43IsOnTheRing", 43, 0, 12}, DialCase{"Radius42IsInside", 42, 0, std::nullopt},
                    DialCase{"OuterEdge71IsOnTheRing", -71, 0, 2}, DialCase{"TopOfTheRingIs7", 0, -71, 7},
                    DialCase{"Radius72IsOutside", 0, -72, std::nullopt},
                    DialCase{"OnePixelBelowTheCentreDoesNothing", 50, 1, std::nullopt},
                    DialCase{"FarBelowDoesNothing", -50, 11, std::nullopt},
                    DialCase{"FarOutsideDoesNotOverflow", -2000000000, -2000000000, std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace veldrane
