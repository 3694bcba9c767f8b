// The profile's pointer settings on their way to the desktop: the values sent, the warnings of
// refused steps, and the chain that hands every value to each desktop's adapter.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "core/profile/ProfileRecord.h"
#include "core/settings/DesktopPointerSettingsApplier.h"
#include "core/settings/PointerSettingsChain.h"

namespace veldrane {
namespace {

constexpr auto kApplied = PointerSettingResult::Applied;
constexpr auto kUnsupported = PointerSettingResult::Unsupported;
constexpr auto kRefused = PointerSettingResult::Refused;

// Keeps every setting it was handed as text, "Mouse 6 10 1; MouseSpeed 10; ", and answers
// each of the four steps as `answers` says.
class RecordingPointerSettings : public PointerSettingsBackend
{
public:
    PointerSettingResult SetMouse(const MouseAcceleration& to) override
    {
        return Note(0, "Mouse", to.threshold1, to.threshold2, to.level);
    }
    PointerSettingResult SetMouseSpeed(int speed) override { return Note(1, "MouseSpeed", speed); }
    PointerSettingResult SetWheelScrollLines(std::uint32_t lines) override
    {
        return Note(2, "WheelScrollLines", lines);
    }
    PointerSettingResult SetDoubleClickTime(int time) override { return Note(3, "DoubleClickTime", time); }

    std::string calls;
    std::array<PointerSettingResult, 4> answers{kApplied, kApplied, kApplied, kApplied};

private:
    template <typename... Values> PointerSettingResult Note(std::size_t step, std::string call, Values... values)
    {
        ((call += " " + std::to_string(values)), ...);
        calls += call + "; ";
        return answers[step];
    }
};

// Speed position p gives 2p - 2 (1 for 1), at most 20: position 12 would be 22. Double-click
// position p gives 900 - 70 (p - 1) ms. "One screen" sends 0xFFFFFFFF whatever the line count;
// precision is on only at 1.
TEST(DesktopPointerSettingsApplier, SendsTheFourValuesInOrderAndReturnsEachRefusal)
{
    // The record's bytes 0x33 to 0x37: pointerPrecision, scrollOneScreen, mouseSpeed, scrollLines,
    // doubleClickSpeed; and the calls they give.
    // clang-format off
    const std::vector<std::pair<std::array<std::uint8_t, 5>, std::string>> cases{
        {{1, 0, 6, 3, 6}, "Mouse 6 10 1; MouseSpeed 10; WheelScrollLines 3; DoubleClickTime 550; "},
        {{1, 0, 1, 100, 1}, "Mouse 6 10 1; MouseSpeed 1; WheelScrollLines 100; DoubleClickTime 900; "},
        {{0, 1, 2, 3, 11}, "Mouse 0 0 0; MouseSpeed 2; WheelScrollLines 4294967295; DoubleClickTime 200; "},
        {{2, 1, 12, 0, 12}, "Mouse 0 0 0; MouseSpeed 20; WheelScrollLines 4294967295; DoubleClickTime 130; "}};
    // clang-format on
    for (const auto& [fields, calls] : cases) {
        ProfileRecord record{};
        std::copy(fields.begin(), fields.end(), record.Bytes().begin() + 0x33);
        RecordingPointerSettings backend;
        EXPECT_TRUE(DesktopPointerSettingsApplier(backend).ApplyPointerSettings(record).Done());
        EXPECT_EQ(backend.calls, calls);
    }

    // Every refused step is returned, in step order; a step the desktop lacks is not, and hides no
    // refusal after it.
    using enum PointerSetting;
    RecordingPointerSettings backend;
    DesktopPointerSettingsApplier applier(backend);
    backend.answers = {kRefused, kRefused, kRefused, kRefused};
    EXPECT_EQ(applier.ApplyPointerSettings(ProfileRecord{}).refused,
              (std::vector{Acceleration, Speed, WheelScrollLines, DoubleClickTime}));
    backend.answers = {kUnsupported, kRefused, kUnsupported, kUnsupported};
    EXPECT_EQ(applier.ApplyPointerSettings(ProfileRecord{}).refused, std::vector{Speed});
    EXPECT_EQ((std::vector{RefusalText(Acceleration), RefusalText(Speed), RefusalText(WheelScrollLines),
                           RefusalText(DoubleClickTime)}),
              (std::vector<std::string_view>{"SETMOUSE failed.", "SETMOUSESPEED failed.", "SETWHEELSCROLLLINES failed.",
                                             "SPI_SETDOUBLECLICKTIME failed."}));
}

// A step is Refused when any link refused it, Applied when one took it and none refused, and
// Unsupported only when no link has it; every link is asked even after one refused.
TEST(PointerSettingsChain, CombinesTheLinksAnswersForEveryStep)
{
    // clang-format off
    const std::vector<std::array<PointerSettingResult, 3>> cases{{kApplied, kApplied, kApplied},
        {kUnsupported, kApplied, kApplied}, {kApplied, kUnsupported, kApplied},
        {kUnsupported, kUnsupported, kUnsupported}, {kRefused, kApplied, kRefused}, {kApplied, kRefused, kRefused},
        {kUnsupported, kRefused, kRefused}};
    // clang-format on
    for (const auto& [first, second, combined] : cases) {
        RecordingPointerSettings desktop;
        RecordingPointerSettings toolkit;
        desktop.answers.fill(first);
        toolkit.answers.fill(second);
        PointerSettingsChain chain{&desktop, nullptr, &toolkit};
        const std::array results{chain.SetMouse({6, 10, 1}), chain.SetMouseSpeed(20),
                                 chain.SetWheelScrollLines(kWheelScrollOneScreen), chain.SetDoubleClickTime(130)};
        EXPECT_EQ(results, (std::array{combined, combined, combined, combined}));
        const std::string calls = "Mouse 6 10 1; MouseSpeed 20; WheelScrollLines 4294967295; DoubleClickTime 130; ";
        EXPECT_EQ(desktop.calls + toolkit.calls, calls + calls);
    }
}

} // namespace
} // namespace veldrane
