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

TEST(PointerSettingsChain, AnEmptyChainHasNoSetting)
{
    PointerSettingsChain chain{nullptr};

    EXPECT_EQ(chain.SetMouse({0, 0, 0}), kUnsupported);
    EXPECT_EQ(chain.SetMouseSpeed(10), kUnsupported);
    EXPECT_EQ(chain.SetWheelScrollLines(3), kUnsupported);
    EXPECT_EQ(chain.SetDoubleClickTime(500), kUnsupported);
}

TEST(PointerSettingsChain, LinksAreAskedInTheOrderGiven)
{
    struct OrderedLink : RecordingPointerSettings
    {
        OrderedLink(std::vector<int>& order, int id) : m_order(order), m_id(id) {}
        PointerSettingResult SetMouseSpeed(int speed) override
        {
            m_order.push_back(m_id);
            return RecordingPointerSettings::SetMouseSpeed(speed);
        }
        std::vector<int>& m_order;
        int m_id;
    };
    std::vector<int> order;
    OrderedLink desktop(order, 1);
    OrderedLink toolkit(order, 2);
    PointerSettingsChain chain{&desktop, nullptr, &toolkit};

    chain.SetMouseSpeed(10);

    EXPECT_EQ(order, (std::vector<int>{1, 2}));
}

} // namespace
} // namespace veldrane
