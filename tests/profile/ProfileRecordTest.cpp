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

} // namespace
} // namespace veldrane
