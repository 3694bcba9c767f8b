#include "settings/PointerSettingsChain.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "settings/RecordingPointerSettings.h"

namespace veldrane {
namespace {

using test::RecordingPointerSettings;
using R = RecordingPointerSettings;
constexpr auto kApplied = PointerSettingResult::Applied;
constexpr auto kUnsupported = PointerSettingResult::Unsupported;
constexpr auto kRefused = PointerSettingResult::Refused;

struct ChainCase
{
    const char* name;
    PointerSettingResult first;
    PointerSettingResult second;
    PointerSettingResult combined;
};

class PointerSettingsChainResults : public testing::TestWithParam<ChainCase>
{
};

TEST_P(PointerSettingsChainResults, CombinesTheLinksAnswersForEveryStep)
{
    RecordingPointerSettings first;
    RecordingPointerSettings second;
    first.mouseResult = first.mouseSpeedResult = first.wheelScrollLinesResult = first.doubleClickTimeResult =
        GetParam().first;
    second.mouseResult = second.mouseSpeedResult = second.wheelScrollLinesResult = second.doubleClickTimeResult =
        GetParam().second;
    PointerSettingsChain chain{&first, &second};

    EXPECT_EQ(chain.SetMouse({6, 10, 1}), GetParam().combined);
    EXPECT_EQ(chain.SetMouseSpeed(20), GetParam().combined);
    EXPECT_EQ(chain.SetWheelScrollLines(kWheelScrollOneScreen), GetParam().combined);
    EXPECT_EQ(chain.SetDoubleClickTime(130), GetParam().combined);

    const std::vector<R::Call> expected{R::Mouse(6, 10, 1), R::MouseSpeed(20), R::WheelScrollLines(0xFFFFFFFF),
                                        R::DoubleClickTime(130)};
    EXPECT_EQ(first.calls, expected);
    EXPECT_EQ(second.calls, expected); // asked even after the first one refused
}

INSTANTIATE_TEST_SUITE_P(Table, PointerSettingsChainResults,
                         testing::Values(ChainCase{"BothApplied", kApplied, kApplied, kApplied},
                                         ChainCase{"OnlyTheToolkitHasIt", kUnsupported, kApplied, kApplied},
                                         ChainCase{"OnlyTheDesktopHasIt", kApplied, kUnsupported, kApplied},
                                         ChainCase{"NobodyHasIt", kUnsupported, kUnsupported, kUnsupported},
                                         ChainCase{"DesktopRefusedToolkitApplied", kRefused, kApplied, kRefused},
                                         ChainCase{"DesktopAppliedToolkitRefused", kApplied, kRefused, kRefused},
                                         ChainCase{"RefusedWhereTheOtherHasNone", kUnsupported, kRefused, kRefused}),
                         [](const testing::TestParamInfo<ChainCase>& info) { return std::string(info.param.name); });

} // namespace
} // namespace veldrane
