#include "profile/FactoryFiles.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/linux/IconvTextCodec.h"
#include "profile/ConfigFiles.h"
#include "profile/FactoryDefaults.h"
#include "support/HexBytes.h"
#include "support/RecordingMessageSink.h"
#include "support/TempDir.h"

namespace veldrane {
namespace {

using test::HexBytes;
using test::ReadFileBytes;
using test::TempDir;

constexpr std::string_view kLabelSections = "[Setting-EN]\r\n"
                                            "Item1=Click\r\n"
                                            "Item2=Menu\r\n"
                                            "Item3=Universal Scroll\r\n"
                                            "Item4=Left Title Scroll\r\n"
                                            "Item5=Right Title Scroll\r\n"
                                            "Item6=CPI +\r\n"
                                            "Item7=CPI -\r\n"
                                            "Item8=Button Off\r\n"
                                            "Item9=Button Off\r\n"
                                            "Item10=Button Off\r\n"
                                            "Item11=Button Off\r\n"
                                            "Item12=Button Off\r\n"
                                            "[Setting-CHS]\r\n"
                                            "Item1=左键\r\n"
                                            "Item2=右键\r\n"
                                            "Item3=中键\r\n"
                                            "Item4=左摇摆滚轮\r\n"
                                            "Item5=右摇摆滚轮\r\n"
                                            "Item6=CPI +\r\n"
                                            "Item7=CPI -\r\n"
                                            "Item8=按键关闭\r\n"
                                            "Item9=按键关闭\r\n"
                                            "Item10=按键关闭\r\n"
                                            "Item11=按键关闭\r\n"
                                            "Item12=按键关闭\r\n"
                                            "[Setting-CHT]\r\n"
                                            "Item1=左鍵\r\n"
                                            "Item2=右鍵\r\n"
                                            "Item3=中鍵\r\n"
                                            "Item4=左搖擺滾輪\r\n"
                                            "Item5=右搖擺滾輪\r\n"
                                            "Item6=CPI +\r\n"
                                            "Item7=CPI -\r\n"
                                            "Item8=按鍵關閉\r\n"
                                            "Item9=按鍵關閉\r\n"
                                            "Item10=按鍵關閉\r\n"
                                            "Item11=按鍵關閉\r\n"
                                            "Item12=按鍵關閉\r\n"
                                            "[Skins]\r\n"
                                            "Lan=EN\r\n"
                                            "Path=Default\r\n"
                                            "RColor=230\r\n"
                                            "GColor=230\r\n"
                                            "BColor=230\r\n"
                                            "[Point]\r\n"
                                            "SensitivityX_Y=36\r\n"
                                            "SensitivityY_Y=96\r\n"
                                            "Sensitivity_Y=100\r\n"
                                            "MouseSpeed_Y=28\r\n";

std::vector<std::string> FactoryFileNames()
{
    std::vector<std::string> names = {"config.bin", "str.ini"};
    for (int i = 0; i < 6; ++i) {
        names.push_back("config" + std::to_string(i) + ".bin");
        names.push_back("str" + std::to_string(i) + ".ini");
    }
    return names;
}

// The files are written once for the suite: every test reads them, and the one that changes a
// file writes them all again.
class FactoryFilesTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_dir = new TempDir;
        s_failure = WriteFactoryFiles(s_dir->Path(), codec);
    }
    static void TearDownTestSuite()
    {
        delete s_dir;
        s_dir = nullptr;
    }
    void SetUp() override { ASSERT_EQ(s_failure, ""); }

    static inline TempDir* s_dir = nullptr;
    static inline std::string s_failure;
    static inline const IconvTextCodec codec;
    const TempDir& dir = *s_dir;
};

TEST_F(FactoryFilesTest, ProfileFilesAreNeverWrittenFactoryRecords)
{
    const std::string expected = ConfigFile::Encode(0, FactoryProfile());
    ASSERT_EQ(expected.size(), 1825u);
    for (const char* name :
         {"config.bin", "config0.bin", "config1.bin", "config2.bin", "config3.bin", "config4.bin", "config5.bin"}) {
        SCOPED_TRACE(name);
        const std::string bytes = ReadFileBytes(dir / name);
        EXPECT_EQ(bytes.size(), 1825u);
        EXPECT_EQ(bytes[0], '\0');
        EXPECT_EQ(bytes, expected);
    }
}

TEST_F(FactoryFilesTest, LabelFilesHoldTheLabelsOfEveryLanguageSkinsAndPoint)
{
    for (int i = 0; i < 6; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(ReadFileBytes(dir / ("str" + std::to_string(i) + ".ini")), kLabelSections);
    }
}

TEST_F(FactoryFilesTest, NewInstallationLoadsProfileZeroWithItsLabels)
{
    test::RecordingMessageSink messages;
    ConfigFiles files(dir.Path(), messages, codec);
    ProfileRecord record{};
    files.firstRunFlag = 1;
    files.LoadConfig(record);
    files.LoadLabels(Language::TraditionalChinese);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(record, FactoryProfile());
    EXPECT_EQ(files.firstRunFlag, 0);
    EXPECT_EQ(files.labelPath, dir / "str0.ini");
    EXPECT_EQ(files.buttonLabel[3], "左搖擺滾輪");
    EXPECT_EQ(files.skin.path, "Default");
    EXPECT_EQ(files.point.sensitivityY_Y - files.point.sensitivityX_Y, 60); // the Y strip lies 60 pixels lower
}

// The build lays the same files out as the installed data.
TEST_F(FactoryFilesTest, BuildWroteTheFactoryFilesIntoTheInstalledData)
{
    const char* binDir = std::getenv("VELDRANE_BIN_DIR");
    if (binDir == nullptr) {
        GTEST_SKIP() << "VELDRANE_BIN_DIR is not set (run through ctest)";
    }
    const std::filesystem::path share = std::filesystem::path(binDir) / ".." / "share" / "veldrane";
    for (const std::string& name : FactoryFileNames()) {
        SCOPED_TRACE(name);
        EXPECT_EQ(ReadFileBytes(share / name), ReadFileBytes(dir / name));
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
