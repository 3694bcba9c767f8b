#include "settings/DesktopPointerSettingsApplier.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "profile/ProfileRecord.h"
#include "settings/RecordingPointerSettings.h"
#include "support/RecordingMessageSink.h"

namespace veldrane {
namespace {

using test::RecordingMessageSink;
using test::RecordingPointerSettings;
using Call = RecordingPointerSettings::Call;
using Shown = RecordingMessageSink::Shown;

struct PointerFields
{
    std::uint8_t pointerPrecision;
    std::uint8_t mouseSpeed;
    std::uint8_t scrollOneScreen;
    std::uint8_t scrollLines;
    std::uint8_t doubleClickSpeed;
};

ProfileRecord RecordWith(const PointerFields& fields)
{
    ProfileRecord record{};
    record.pointerPrecision = fields.pointerPrecision;
    record.mouseSpeed = fields.mouseSpeed;
    record.scrollOneScreen = fields.scrollOneScreen;
    record.scrollLines = fields.scrollLines;
    record.doubleClickSpeed = fields.doubleClickSpeed;
    return record;
}

// A profile as it comes out of the factory file: precision on, speed 6, 3 lines, position 6.
constexpr PointerFields kFactory{1, 6, 0, 3, 6};

struct ApplyCase
{
    const char* name;
    PointerFields fields;
    std::vector<Call> expected;
};

class DesktopPointerSettingsApplierValues : public testing::TestWithParam<ApplyCase>
{
};

TEST_P(DesktopPointerSettingsApplierValues, SendsTheFourValuesInOrder)
{
    RecordingPointerSettings backend;
    RecordingMessageSink messages;
    DesktopPointerSettingsApplier applier(backend, messages);

    applier.ApplyPointerSettings(RecordWith(GetParam().fields));

    EXPECT_EQ(backend.calls, GetParam().expected);
    EXPECT_TRUE(messages.shown.empty());
}

using R = RecordingPointerSettings;

INSTANTIATE_TEST_SUITE_P(
    EdgeCases, DesktopPointerSettingsApplierValues,
    testing::Values(
        ApplyCase{"Factory",
                  kFactory,
                  {R::Mouse(6, 10, 1), R::MouseSpeed(10), R::WheelScrollLines(3), R::DoubleClickTime(550)}},
        ApplyCase{"SpeedPosition1Gives1",
                  {1, 1, 0, 3, 6},
                  {R::Mouse(6, 10, 1), R::MouseSpeed(1), R::WheelScrollLines(3), R::DoubleClickTime(550)}},
        ApplyCase{"SpeedPosition2Gives2",
                  {1, 2, 0, 3, 6},
                  {R::Mouse(6, 10, 1), R::MouseSpeed(2), R::WheelScrollLines(3), R::DoubleClickTime(550)}},
        ApplyCase{"SpeedPosition11Gives20",
                  {1, 11, 0, 3, 6},
                  {R::Mouse(6, 10, 1), R::MouseSpeed(20), R::WheelScrollLines(3), R::DoubleClickTime(550)}},
        // Position 12 works out at 22, which the system never takes: the fastest speed is sent.
        ApplyCase{"SpeedPosition12IsCappedAt20",
                  {1, 12, 0, 3, 6},
                  {R::Mouse(6, 10, 1), R::MouseSpeed(20), R::WheelScrollLines(3), R::DoubleClickTime(550)}},
        ApplyCase{"DoubleClickPosition1Gives900",
                  {1, 6, 0, 3, 1},
                  {R::Mouse(6, 10, 1), R::MouseSpeed(10), R::WheelScrollLines(3), R::DoubleClickTime(900)}},
        ApplyCase{"DoubleClickPosition11Gives200",
                  {1, 6, 0, 3, 11},
                  {R::Mouse(6, 10, 1), R::MouseSpeed(10), R::WheelScrollLines(3), R::DoubleClickTime(200)}},
        ApplyCase{"DoubleClickPosition12Gives130",
                  {1, 6, 0, 3, 12},
                  {R::Mouse(6, 10, 1), R::MouseSpeed(10), R::WheelScrollLines(3), R::DoubleClickTime(130)}},
        ApplyCase{"OneScreenIgnoresThreeLines",
                  {1, 6, 1, 3, 6},
                  {R::Mouse(6, 10, 1), R::MouseSpeed(10), R::WheelScrollLines(0xFFFFFFFF), R::DoubleClickTime(550)}},
        ApplyCase{"OneScreenIgnoresZeroLines",
                  {1, 6, 1, 0, 6},
                  {R::Mouse(6, 10, 1), R::MouseSpeed(10), R::WheelScrollLines(0xFFFFFFFF), R::DoubleClickTime(550)}},
        ApplyCase{"PrecisionOffGivesNoAcceleration",
                  {0, 6, 0, 3, 6},
                  {R::Mouse(0, 0, 0), R::MouseSpeed(10), R::WheelScrollLines(3), R::DoubleClickTime(550)}},
        ApplyCase{"PrecisionOtherThan1IsOff",
                  {2, 6, 0, 3, 6},
                  {R::Mouse(0, 0, 0), R::MouseSpeed(10), R::WheelScrollLines(3), R::DoubleClickTime(550)}}),
    [](const testing::TestParamInfo<ApplyCase>& info) { return std::string(info.param.name); });

TEST(DesktopPointerSettingsApplier, EveryRefusedStepShowsItsOwnBoxInStepOrder)
{
    RecordingPointerSettings backend;
    backend.mouseResult = backend.mouseSpeedResult = PointerSettingResult::Refused;
    backend.wheelScrollLinesResult = backend.doubleClickTimeResult = PointerSettingResult::Refused;
    RecordingMessageSink messages;
    DesktopPointerSettingsApplier applier(backend, messages);

    applier.ApplyPointerSettings(RecordWith(kFactory));

    EXPECT_EQ(messages.shown,
              (std::vector<Shown>{{Shown::Kind::Message, "SETMOUSE failed.", "Warning"},
                                  {Shown::Kind::Message, "SETMOUSESPEED failed.", "Warning"},
                                  {Shown::Kind::Message, "SETWHEELSCROLLLINES failed.", "Warning"},
                                  {Shown::Kind::Message, "SPI_SETDOUBLECLICKTIME failed.", "Warning"}}));
}

TEST(DesktopPointerSettingsApplier, UnsupportedStepsShowNothingAndDoNotHideARefusal)
{
    RecordingPointerSettings backend;
    backend.mouseResult = backend.wheelScrollLinesResult = PointerSettingResult::Unsupported;
    backend.doubleClickTimeResult = PointerSettingResult::Unsupported;
    backend.mouseSpeedResult = PointerSettingResult::Refused;
    RecordingMessageSink messages;
    DesktopPointerSettingsApplier applier(backend, messages);

    applier.ApplyPointerSettings(RecordWith(kFactory));

    EXPECT_EQ(backend.calls.size(), 4u);
    EXPECT_EQ(messages.shown, (std::vector<Shown>{{Shown::Kind::Message, "SETMOUSESPEED failed.", "Warning"}}));
}

} // namespace
} // namespace veldrane
