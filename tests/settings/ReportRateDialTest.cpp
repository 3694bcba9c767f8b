#include "settings/ReportRateDial.h"

#include <gtest/gtest.h>

#include <optional>

namespace veldrane {
namespace {

struct DialCase
{
    const char* name;
    int dx;
    int dy;
    std::optional<std::uint8_t> rate;
};

class ReportRateDialPress : public testing::TestWithParam<DialCase>
{
};

TEST_P(ReportRateDialPress, RingAndQuadrantChooseTheRate)
{
    EXPECT_EQ(ReportRateAtDialOffset(GetParam().dx, GetParam().dy), GetParam().rate);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReportRateDialPress,
    testing::Values(
        DialCase{"UpperRightIs1000Hz", 30, -30, 1}, DialCase{"UpperLeftIs125Hz", -30, -30, 8},
        DialCase{"LowerLeftIs250Hz", -30, 30, 4}, DialCase{"LowerRightIs500Hz", 30, 30, 2},
        DialCase{"Radius35IsOnTheRing", 21, -28, 1}, DialCase{"Radius34IsInside", 16, -30, std::nullopt},
        DialCase{"JustUnder64IsOnTheRing", -39, 50, 4}, DialCase{"JustOver64IsOutside", 40, -50, std::nullopt},
        DialCase{"Radius65IsOutside", 39, 52, std::nullopt}, DialCase{"StraightAboveDoesNothing", 0, -50, std::nullopt},
        DialCase{"StraightRightDoesNothing", 50, 0, std::nullopt},
        DialCase{"StraightLeftDoesNothing", -50, 0, std::nullopt}, DialCase{"TheCentreDoesNothing", 0, 0, std::nullopt},
        DialCase{"FarOutsideDoesNotOverflow", 2000000000, -2000000000, std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ReportRateDial, FrequencyOnlyForTheFourRates)
{
    EXPECT_EQ(ReportFrequencyOf(1), 1000);
    EXPECT_EQ(ReportFrequencyOf(2), 500);
    EXPECT_EQ(ReportFrequencyOf(4), 250);
    EXPECT_EQ(ReportFrequencyOf(8), 125);
    EXPECT_EQ(ReportFrequencyOf(0), std::nullopt); // 1000 ÷ 0 has no value
    EXPECT_EQ(ReportFrequencyOf(3), std::nullopt);
    EXPECT_EQ(ReportFrequencyOf(255), std::nullopt);
}

} // namespace
} // namespace veldrane
