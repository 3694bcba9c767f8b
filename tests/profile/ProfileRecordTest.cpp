#include "profile/ProfileRecord.h"

#include <gtest/gtest.h>

#include <numeric>

namespace veldrane {
namespace {

ProfileRecord Patterned()
{
    ProfileRecord record{};
    auto bytes = record.Bytes();
    std::iota(bytes.begin(), bytes.end(), std::uint8_t{1});
    return record;
}

TEST(ProfileRecord, FieldsLieAtTheirFileOffsets)
{
    ProfileRecord record{};
    record.reportRate = 0xA5;
    record.cpiValue[1] = 0x20;
    record.cpiColor[17] = 0x33;
    record.sensitivityY = 0x0B;
    record.buttonFunction[11] = 0x0D;
    record.macroRepeat[11] = 0x02;
    record.macroData[1535] = 0x7F;
    const auto bytes = record.Bytes();
    EXPECT_EQ(bytes[0x005], 0xA5);
    EXPECT_EQ(bytes[0x008], 0x20);
    EXPECT_EQ(bytes[0x028], 0x33);
    EXPECT_EQ(bytes[0x03B], 0x0B);
    EXPECT_EQ(bytes[0x047], 0x0D);
    EXPECT_EQ(bytes[0x11F], 0x02);
    EXPECT_EQ(bytes[0x71F], 0x7F);
}

TEST(ProfileRecord, PartsSplitTheRecordAt0x120)
{
    ProfileRecord record = Patterned();
    EXPECT_EQ(record.SettingsPart().data(), record.Bytes().data());
    EXPECT_EQ(record.MacroPart().data(), record.Bytes().data() + 0x120);
    EXPECT_EQ(record.MacroBuffer(0).data(), record.macroData.data());
    EXPECT_EQ(record.MacroBuffer(11).data(), record.Bytes().data() + 0x120 + 11 * 128);
}

TEST(ProfileRecords, RevertAfterSnapshotGivesBackEveryByte)
{
    ProfileRecords records;
    records.Current = Patterned();
    records.Snapshot();
    records.Current.reserved039 = 0;
    records.Current.macroData[100] = 0;
    records.Current.reserved0FC[3] ^= 0xFF;
    records.Current.deviceProfile = 9;
    records.Revert();
    EXPECT_EQ(records.Current, Patterned());
    EXPECT_EQ(records.Backup, Patterned());
}

// One byte of a loaded record, and what it becomes: the nearest value the window's controls give.
// Every other byte stays as it was.
struct RangeCase
{
    const char* name;
    std::size_t offset;
    std::uint8_t stored;
    std::uint8_t loaded;
};

class ControlRange : public ::testing::TestWithParam<RangeCase>
{
};

TEST_P(ControlRange, BringsTheByteToTheNearestControlValueAndNoOtherByte)
{
    const ProfileRecord original = Patterned();
    ProfileRecord baseline = original;
    BringIntoControlRange(baseline);
    ProfileRecord record = baseline;
    record.Bytes()[GetParam().offset] = GetParam().stored;
    BringIntoControlRange(record);
    ProfileRecord expected = baseline;
    expected.Bytes()[GetParam().offset] = GetParam().loaded;
    EXPECT_EQ(record, expected);
    // The buttons and the macros are never touched.
    EXPECT_EQ(baseline.macroData, original.macroData);
    EXPECT_EQ(baseline.buttonFunction, original.buttonFunction);
}

INSTANTIATE_TEST_SUITE_P(
    Fields, ControlRange,
    ::testing::Values(RangeCase{"ReportRateZero", 0x005, 0, 1}, RangeCase{"ReportRateThreeTiesToFaster", 0x005, 3, 2},
                      RangeCase{"ReportRateSeven", 0x005, 7, 8}, RangeCase{"ReportRate200", 0x005, 200, 8},
                      RangeCase{"ReportRateValid", 0x005, 4, 4}, RangeCase{"SideLightTwo", 0x006, 2, 0},
                      RangeCase{"CpiZero", 0x007, 0, 1}, RangeCase{"CpiStage4Over", 0x00A, 200, 164},
                      RangeCase{"CpiStage5Kept", 0x00B, 200, 200}, RangeCase{"StageSwitchTwo", 0x00F, 2, 1},
                      RangeCase{"StageSwitch5Kept", 0x013, 2, 2}, RangeCase{"LightModeNine", 0x02F, 9, 3},
                      RangeCase{"LightLevelZero", 0x030, 0, 1}, RangeCase{"LightLevelSeven", 0x032, 7, 6},
                      RangeCase{"PointerPrecisionTwo", 0x033, 2, 0}, RangeCase{"ScrollModeTwo", 0x034, 2, 0},
                      RangeCase{"MouseSpeedKept", 0x035, 0, 0}, RangeCase{"AngleSnapZero", 0x038, 0, 1},
                      RangeCase{"ReservedKept", 0x039, 0xEE, 0xEE}, RangeCase{"SensitivityX12", 0x03A, 12, 11},
                      RangeCase{"SensitivityY255", 0x03B, 255, 11}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace veldrane
