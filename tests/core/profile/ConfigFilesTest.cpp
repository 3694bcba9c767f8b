#include "core/profile/ConfigFiles.h"

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <tuple>

#include "adapters/linux/IconvTextCodec.h"
#include "support/FileAccessCounter.h"
#include "support/PatternedRecord.h"
#include "support/RecordingMessageSink.h"
#include "support/TempDir.h"

namespace veldrane {
namespace {

using test::Patterned;
using test::ReadFileBytes;
using test::RecordingMessageSink;
using test::WriteFileBytes;
using Shown = RecordingMessageSink::Shown;

class ConfigFilesTest : public ::testing::Test
{
protected:
    // A list of three profiles, the selected one named `selected`.
    void WriteList(std::string_view selected)
    {
        WriteFileBytes(dir / "str.ini", "[Profile]\r\nCurProfileName=" + std::string(selected) +
                                            "\r\nItemCount=3\r\nItem0=Work\r\nItem1=Games\r\nItem2=Travel\r\n");
    }
    void WriteConfig(std::string_view name, std::uint8_t flag, const ProfileRecord& stored)
    {
        WriteFileBytes(dir / name, ConfigFile::Encode(flag, stored));
    }

    test::TempDir dir;
    RecordingMessageSink messages;
    IconvTextCodec codec;
    ConfigFiles files{dir.Path(), messages, codec};
    ProfileRecord record = Patterned(3);
};

// Save writes flag byte 1 whatever the flag was, and leaves the flag in memory as it is; settings
// outside the window's controls are loaded as the nearest value they give.
TEST_F(ConfigFilesTest, LoadAndSaveUseTheFilesOfTheSelectedNamesPosition)
{
    WriteList("Games");
    WriteConfig("config0.bin", 1, Patterned(10));
    ProfileRecord stored = Patterned(11);
    stored.angleSnap = 0;
    stored.cpiValue[1] = 255;
    WriteConfig("config1.bin", 0, stored);
    files.LoadConfig(record);
    stored.angleSnap = 1;
    stored.cpiValue[1] = 164;
    EXPECT_EQ(record, stored);
    EXPECT_EQ(files.currentProfileIndex, 1);
    EXPECT_EQ(files.labelPath, dir / "str1.ini");
    files.firstRunFlag = 7;
    EXPECT_TRUE(files.SaveConfig(Patterned(3)));
    EXPECT_EQ(ReadFileBytes(dir / "config1.bin"), ConfigFile::Encode(1, Patterned(3)));
    EXPECT_EQ(files.firstRunFlag, 7);
    EXPECT_TRUE(messages.shown.empty());
}

// A list the program never wrote left the window without a profile, and Save then sent an
// all-zero record: it becomes PROFILE_0 on the files numbered 0, on disk too.
TEST_F(ConfigFilesTest, BrokenListIsRepairedToProfile0)
{
    WriteConfig("config0.bin", 1, Patterned(10));
    for (const char* count : {"0", "abc", "2" /* Item1 is missing */}) {
        WriteFileBytes(dir / "str.ini",
                       std::string("[Profile]\r\nCurProfileName=Work\r\nItemCount=") + count + "\r\nItem0=Work\r\n");
        ConfigFiles loader{dir.Path(), messages, codec};
        loader.currentProfileIndex = 3;
        loader.LoadConfig(record);
        EXPECT_EQ(record, Patterned(10));
        EXPECT_TRUE(loader.recordLoaded);
        EXPECT_EQ(loader.currentProfileIndex, 0);
        EXPECT_EQ(loader.configPath, dir / "config0.bin");
        EXPECT_EQ(ReadFileBytes(dir / "str.ini"),
                  "[Profile]\r\nCurProfileName=PROFILE_0\r\nItemCount=1\r\nItem0=PROFILE_0\r\n");
    }
    EXPECT_TRUE(messages.shown.empty());
}

// A file of another size is ignored silently. A FIFO would block an open until someone writes into
// it: it is refused at once, for reading and for writing, and stays what it is.
TEST_F(ConfigFilesTest, MissingOrUnreadableProfileFileIsReportedAndLoadsNothing)
{
    WriteList("Work");
    files.firstRunFlag = 9;
    files.LoadConfig(record);
    for (const std::size_t size : {0, 1824, 1826}) {
        std::string bytes = ConfigFile::Encode(1, Patterned(10));
        bytes.resize(size, '\x55');
        WriteFileBytes(dir / "config0.bin", bytes);
        files.LoadConfig(record);
    }
    std::filesystem::remove(dir / "config0.bin");
    ASSERT_EQ(mkfifo((dir / "config0.bin").c_str(), 0600), 0);
    files.LoadConfig(record);
    EXPECT_FALSE(files.SaveConfig(Patterned(10)));
    const Shown refused{Shown::Kind::Message,
                        "Error Code is: 1001 \n" + (dir / "config0.bin").string() + ": Not a regular file",
                        "NULL ==fp "};
    EXPECT_EQ(messages.shown,
              (std::vector<Shown>{
                  {Shown::Kind::Message, "Config file is not exist.", "Tessaly VELDRANE"}, refused, refused}));
    EXPECT_EQ(record, Patterned(3));
    EXPECT_EQ(files.firstRunFlag, 9);
    EXPECT_EQ(std::filesystem::status(dir / "config0.bin").type(), std::filesystem::file_type::fifo);
}

// Lets this process write at most `bytes` bytes into any file, as a full disk would.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &m_old);
        rlimit limited = m_old;
        limited.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &m_old); }

private:
    rlimit m_old{};
};

TEST_F(ConfigFilesTest, FailedSaveLeavesTheOldFileWholeAndReportsTheError)
{
    WriteConfig("config0.bin", 1, Patterned(10));
    bool saved = true;
    {
        const FileSizeLimit limit(1000);
        saved = files.SaveConfig(record);
    }
    EXPECT_FALSE(saved);
    const std::string failure = "Error Code is: 27 \n" + (dir / "config0.bin").string() + ": File too large";
    EXPECT_EQ(messages.shown, (std::vector<Shown>{{Shown::Kind::Message, failure, "NULL ==fp "}}));
    EXPECT_EQ(ReadFileBytes(dir / "config0.bin"), ConfigFile::Encode(1, Patterned(10)));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1); // no temporary left
}

constexpr std::string_view kLabelFile =
    "; labels of the travel profile\r\n[Setting-EN]\r\nItem1=Click\r\nItem2 = \"Menu\"\r\nItem12=Button Off\r\n\r\n"
    "[Setting-CHT]\r\nItem1=左鍵\r\n[Skins]\r\nLan=CHT\r\nPath=Dark\r\nRColor=230\r\nGColor=12\r\nBColor=x\r\n"
    "[Point]\r\nSensitivityX_Y=36\r\nSensitivityY_Y=96\r\nSensitivity_Y=-4\r\n";

// Labels are read from the language's section. Each language's section gets the labels in its own
// language, so that a change of language shows the functions of this save; the file is replaced
// once, whatever the number of labels.
TEST_F(ConfigFilesTest, LabelsLoadFromTheLanguageSectionAndSaveIntoEveryLanguageSection)
{
    files.labelPath = dir / "str2.ini";
    WriteFileBytes(files.labelPath, kLabelFile);
    files.buttonLabel.fill("stale");
    files.LoadLabels(Language::English);
    EXPECT_EQ(files.buttonLabel, (std::array<std::string, kButtonCount>{"Click", "Menu", "", "", "", "", "", "", "", "",
                                                                        "", "Button Off"}));
    EXPECT_EQ(std::tie(files.skin.path, files.skin.red, files.skin.green, files.skin.blue),
              std::make_tuple("Dark", 230, 12, 0));
    const PointSettings& point = files.point;
    EXPECT_EQ(std::tie(point.sensitivityX_Y, point.sensitivityY_Y, point.sensitivity_Y, point.mouseSpeed_Y),
              std::make_tuple(36, 96, -4, 0));

    files.LoadLabels(Language::TraditionalChinese);
    EXPECT_EQ(files.buttonLabel[0], "左鍵");
    EXPECT_EQ(files.buttonLabel[1], "");

    files.buttonLabel = {
        "Click",        "Menu",       "Universal Scroll", "Left Title Scroll", "Right Title Scroll",   "CPI +", "CPI -",
        "Single Key-A", "Button Off", "Button Off",       "Macro Key-Run",     "Combo Key-Left Ctrl+B"};
    test::FileAccessCounter access(files.labelPath);
    EXPECT_TRUE(files.SaveLabels(Language::English));
    EXPECT_EQ(access.Replacements(), 1);
    EXPECT_EQ(ReadFileBytes(files.labelPath),
              "; labels of the travel profile\r\n[Setting-EN]\r\nItem1=Click\r\nItem2=Menu\r\n"
              "Item12=Combo Key-Left Ctrl+B\r\nItem3=Universal Scroll\r\nItem4=Left Title Scroll\r\n"
              "Item5=Right Title Scroll\r\nItem6=CPI +\r\nItem7=CPI -\r\nItem8=Single Key-A\r\nItem9=Button Off\r\n"
              "Item10=Button Off\r\nItem11=Macro Key-Run\r\n\r\n[Setting-CHT]\r\nItem1=左鍵\r\nItem2=右鍵\r\n"
              "Item3=中鍵\r\nItem4=左搖擺滾輪\r\nItem5=右搖擺滾輪\r\nItem6=CPI +\r\nItem7=CPI -\r\nItem8=單鍵-A\r\n"
              "Item9=按鍵關閉\r\nItem10=按鍵關閉\r\nItem11=巨集-Run\r\nItem12=複合鍵-Left Ctrl+B\r\n[Skins]\r\n"
              "Lan=CHT\r\nPath=Dark\r\nRColor=230\r\nGColor=12\r\nBColor=x\r\n[Point]\r\nSensitivityX_Y=36\r\n"
              "SensitivityY_Y=96\r\nSensitivity_Y=-4\r\n[Setting-CHS]\r\nItem1=左键\r\nItem2=右键\r\nItem3=中键\r\n"
              "Item4=左摇摆滚轮\r\nItem5=右摇摆滚轮\r\nItem6=CPI +\r\nItem7=CPI -\r\nItem8=单键-A\r\nItem9=按键关闭\r\n"
              "Item10=按键关闭\r\nItem11=宏-Run\r\nItem12=组合键-Left Ctrl+B\r\n");
}

// A label that would break the file keeps the value the file has. A file that cannot be written is
// reported; the file and the reason in the interface language follow the system's text.
TEST_F(ConfigFilesTest, SaveLabelsRefusesALabelThatWouldBreakTheFileAndReportsAFileItCannotWrite)
{
    files.labelPath = dir / "str0.ini";
    files.buttonLabel.fill("Click");
    files.buttonLabel[4] = "Single Key-A\r\n[Profile]";
    EXPECT_FALSE(files.SaveLabels(Language::English));
    const std::string text = ReadFileBytes(files.labelPath);
    EXPECT_EQ(text.find("[Profile]"), std::string::npos);
    EXPECT_NE(text.find("Item12=Click\r\n"), std::string::npos);

    files.labelPath = dir / "str1.ini";
    std::filesystem::create_directory(files.labelPath);
    EXPECT_FALSE(files.SaveLabels(Language::English));
    files.language = Language::SimplifiedChinese;
    EXPECT_FALSE(files.SaveLabels(Language::SimplifiedChinese));
    const std::string head = "Error Code is: 21 \n" + files.labelPath.string() + ": ";
    EXPECT_EQ(messages.shown,
              (std::vector<Shown>{{Shown::Kind::Message, head + "It is a folder, not a file", "NULL ==fp "},
                                  {Shown::Kind::Message, head + "这是文件夹，不是文件", "NULL ==fp "}}));
}

} // namespace
} // namespace veldrane
