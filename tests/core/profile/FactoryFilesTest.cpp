#include "core/profile/FactoryFiles.h"

#include <gtest/gtest.h>

#include "core/profile/FactoryDefaults.h"
#include "core/profile/InstalledProfiles.h"
#include "support/HexBytes.h"

namespace veldrane {
namespace {

using test::HexBytes;
using test::ReadFileBytes;

constexpr std::string_view kLabelSections =
    "[Setting-EN]\r\nItem1=Click\r\nItem2=Menu\r\nItem3=Universal Scroll\r\nItem4=Left Title Scroll\r\n"
    "Item5=Right Title Scroll\r\nItem6=CPI +\r\nItem7=CPI -\r\nItem8=Button Off\r\nItem9=Button Off\r\n"
    "Item10=Button Off\r\nItem11=Button Off\r\nItem12=Button Off\r\n[Setting-CHS]\r\nItem1=左键\r\nItem2=右键\r\n"
    "Item3=中键\r\nItem4=左摇摆滚轮\r\nItem5=右摇摆滚轮\r\nItem6=CPI +\r\nItem7=CPI -\r\nItem8=按键关闭\r\n"
    "Item9=按键关闭\r\nItem10=按键关闭\r\nItem11=按键关闭\r\nItem12=按键关闭\r\n[Setting-CHT]\r\nItem1=左鍵\r\n"
    "Item2=右鍵\r\nItem3=中鍵\r\nItem4=左搖擺滾輪\r\nItem5=右搖擺滾輪\r\nItem6=CPI +\r\nItem7=CPI -\r\n"
    "Item8=按鍵關閉\r\nItem9=按鍵關閉\r\nItem10=按鍵關閉\r\nItem11=按鍵關閉\r\nItem12=按鍵關閉\r\n[Skins]\r\n"
    "Lan=EN\r\nPath=Default\r\nRColor=230\r\nGColor=230\r\nBColor=230\r\n[Point]\r\nSensitivityX_Y=36\r\n"
    "SensitivityY_Y=96\r\nSensitivity_Y=100\r\nMouseSpeed_Y=28\r\n";

// A fresh installation holds the factory files and nothing else.
using FactoryFilesTest = test::InstalledProfiles;

TEST_F(FactoryFilesTest, ProfileFilesAreNeverWrittenFactoryRecords)
{
    const std::string expected = ConfigFile::Encode(0, FactoryProfile());
    ASSERT_EQ(expected.size(), 1825u);
    EXPECT_EQ(ReadFileBytes(dir / "config.bin"), expected);
    for (std::size_t i = 0; i < 6; ++i) {
        EXPECT_EQ(ReadFileBytes(dir / ProfileConfigName(i)), expected) << i;
        EXPECT_EQ(ReadFileBytes(dir / ProfileLabelName(i)), kLabelSections) << i;
    }
}

TEST(FactoryDefaults, SettingsOfTheFactoryProfile)
{
    const ProfileRecord record = FactoryProfile();
    EXPECT_EQ(HexBytes(std::span(record.Bytes()).first(0x3C)),
              // deviceProfile, reserved, 1000 Hz, side light on
              "00 00 00 00 00 01 01 "
              // CPI 800, 1600, 2400, 3200 on; 4000 and 4800 off
              "10 20 30 40 50 60 00 00 01 01 01 01 00 00 00 00 "
              // stage colours red, green, blue, yellow, cyan, magenta
              "FF 00 00 00 FF 00 00 00 FF FF FF 00 00 FF FF FF 00 FF 00 00 00 00 00 00 "
              // "Single color" at level 6; precision on, lines, speed 6, 3 lines, double-click 7, snap off
              "01 06 03 03 01 00 06 03 07 01 00 "
              // sensitivity X, Y in the middle
              "06 06");
    EXPECT_TRUE(std::all_of(record.macroData.begin(), record.macroData.end(), [](auto byte) { return byte == 0; }));
}

} // namespace
} // namespace veldrane
