#include "settings/SliderStrip.h"

#include <gtest/gtest.h>

namespace veldrane {
namespace {

struct StripCase
{
    int offset;
    std::uint8_t position;
};

class StageSliderStrip : public testing::TestWithParam<StripCase>
{
};

TEST_P(StageSliderStrip, GivesTheSensitivityOrAngleSnapPosition)
{
    EXPECT_EQ(kStageSliderStrip.PositionAt(GetParam().offset), GetParam().position);
}

INSTANTIATE_TEST_SUITE_P(Edges, StageSliderStrip,
                         testing::Values(StripCase{0, 1}, StripCase{8, 1}, StripCase{9, 2}, StripCase{29, 2},
                                         StripCase{30, 3}, StripCase{176, 9}, StripCase{177, 10}, StripCase{197, 10},
                                         StripCase{198, 11}, StripCase{207, 11}));

class LightLevelStrip : public testing::TestWithParam<StripCase>
{
};

TEST_P(LightLevelStrip, GivesTheLightLevel)
{
    EXPECT_EQ(kLightLevelStrip.PositionAt(GetParam().offset), GetParam().position);
}

INSTANTIATE_TEST_SUITE_P(Edges, LightLevelStrip,
                         testing::Values(StripCase{0, 1}, StripCase{3, 1}, StripCase{4, 2}, StripCase{33, 2},
                                         StripCase{34, 3}, StripCase{63, 3}, StripCase{64, 4}, StripCase{93, 4},
                                         StripCase{94, 5}, StripCase{123, 5}, StripCase{124, 6}, StripCase{127, 6}));

} // namespace
} // namespace veldrane
