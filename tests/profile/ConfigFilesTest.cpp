#include "profile/ConfigFiles.h"

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

#include "platform/linux/IconvTextCodec.h"
#include "support/FileAccessCounter.h"
#include "support/PatternedRecord.h"
#include "support/RecordingMessageSink.h"
#include "support/TempDir.h"

namespace veldrane {
namespace {

using test::ReadFileBytes;
using test::RecordingMessageSink;
using test::TempDir;
using test::WriteFileBytes;
using Shown = RecordingMessageSink::Shown;

using test::Patterned;

std::string ConfigBytes(std::uint8_t flag, const ProfileRecord& record)
{
    std::string bytes(1, static_cast<char>(flag));
    for (const std::uint8_t byte : record.Bytes()) {
        bytes.push_back(static_cast<char>(byte));
    }
    return bytes;
}

// A list of three profiles, the selected one named `selected`.
std::string ListOfThree(std::string_view selected)
{
    return "[Profile]\r\nCurProfileName=" + std::string(selected) +
           "\r\nItemCount=3\r\nItem0=Work\r\nItem1=Games\r\nItem2=Travel\r\n";
}

const Shown kNotExist{Shown::Kind::Message, "Config file is not exist.", "Tessaly VELDRANE"};

class ConfigFilesTest : public ::testing::Test
{
protected:
    void WriteList(std::string_view text) { WriteFileBytes(dir / "str.ini", text); }
    void WriteConfig(std::string_view name, std::uint8_t flag, const ProfileRecord& record)
    {
        WriteFileBytes(dir / name, ConfigBytes(flag, record));
    }

    TempDir dir;
    RecordingMessageSink messages;
    IconvTextCodec codec;
    ConfigFiles files{dir.Path(), messages, codec};
    ProfileRecord record = Patterned(3);
};

TEST_F(ConfigFilesTest, SelectedNameChoosesTheFilesOfItsPosition)
{
    WriteList(ListOfThree("Games"));
    WriteConfig("config0.bin", 1, Patterned(10));
    WriteConfig("config1.bin", 1, Patterned(11));
    files.LoadConfig(record);
    EXPECT_EQ(files.currentProfileIndex, 1);
    EXPECT_EQ(record, Patterned(11));
    EXPECT_EQ(files.configPath, dir / "config1.bin");
    EXPECT_EQ(files.labelPath, dir / "str1.ini");
    EXPECT_EQ(files.listPath, dir / "str.ini");
    EXPECT_EQ(files.macroPath, dir / "record.ini");
    EXPECT_TRUE(messages.shown.empty());
}

class ConfigFilesCountTest : public ConfigFilesTest, public ::testing::WithParamInterface<const char*>
{
};

// A list the program never wrote left the window without a profile, and Save then sent an
// all-zero record: it becomes PROFILE_0 on the files numbered 0.
TEST_P(ConfigFilesCountTest, BrokenListIsRepairedToProfile0)
{
    WriteList(std::string("[Profile]\r\nCurProfileName=Work\r\nItemCount=") + GetParam() + "\r\nItem0=Work\r\n");
    WriteConfig("config0.bin", 1, Patterned(10));
    files.currentProfileIndex = 3;
    files.LoadConfig(record);
    EXPECT_EQ(record, Patterned(10));
    EXPECT_TRUE(files.recordLoaded);
    EXPECT_EQ(files.currentProfileIndex, 0);
    EXPECT_EQ(files.configPath, dir / "config0.bin");
    EXPECT_EQ(test::ReadFileBytes(dir / "str.ini"),
              "[Profile]\r\nCurProfileName=PROFILE_0\r\nItemCount=1\r\nItem0=PROFILE_0\r\n");
    EXPECT_TRUE(messages.shown.empty());
}

INSTANTIATE_TEST_SUITE_P(Counts, ConfigFilesCountTest,
                         ::testing::Values("0", "7", "abc", "", "2" /* Item1 is missing */));

class ConfigFilesSizeTest : public ConfigFilesTest, public ::testing::WithParamInterface<std::size_t>
{
};

TEST_P(ConfigFilesSizeTest, FileOfAnotherSizeIsIgnoredSilently)
{
    WriteList(ListOfThree("Work"));
    std::string bytes = ConfigBytes(1, Patterned(10));
    bytes.resize(GetParam(), '\x55');
    WriteFileBytes(dir / "config0.bin", bytes);
    files.firstRunFlag = 9;
    files.LoadConfig(record);
    EXPECT_EQ(record, Patterned(3));
    EXPECT_EQ(files.firstRunFlag, 9);
    EXPECT_TRUE(messages.shown.empty());
}

INSTANTIATE_TEST_SUITE_P(Sizes, ConfigFilesSizeTest, ::testing::Values(0, 1, 1824, 1826, 4096));

TEST_F(ConfigFilesTest, MissingProfileFileIsReportedAndLoadsNothing)
{
    WriteList(ListOfThree("Games"));
    files.LoadConfig(record);
    EXPECT_EQ(messages.shown, std::vector<Shown>{kNotExist});
    EXPECT_EQ(record, Patterned(3));
    EXPECT_EQ(files.configPath, dir / "config1.bin");
}

TEST_F(ConfigFilesTest, UnreadableProfileFileIsReportedWithItsErrorCode)
{
    WriteList(ListOfThree("Work"));
    std::filesystem::create_directory(dir / "config0.bin");
    files.LoadConfig(record);
    const std::string failure =
        "Error Code is: 21 \n" + (dir / "config0.bin").string() + ": It is a folder, not a file";
    EXPECT_EQ(messages.shown, (std::vector<Shown>{{Shown::Kind::Message, failure, "NULL ==fp "}}));
    EXPECT_EQ(record, Patterned(3));
}

// A FIFO would block an open until someone writes into it: it is refused at once, for reading
// and for writing, and stays what it is.
TEST_F(ConfigFilesTest, ProfileFileThatIsAFifoIsRefusedWithoutOpeningIt)
{
    WriteList(ListOfThree("Work"));
    ASSERT_EQ(mkfifo((dir / "config0.bin").c_str(), 0600), 0);
    files.LoadConfig(record);
    EXPECT_FALSE(files.SaveConfig(Patterned(10)));
    const Shown refused{Shown::Kind::Message,
                        "Error Code is: 1001 \n" + (dir / "config0.bin").string() + ": Not a regular file",
                        "NULL ==fp "};
    EXPECT_EQ(messages.shown, (std::vector<Shown>{refused, refused}));
    EXPECT_EQ(record, Patterned(3));
    EXPECT_EQ(std::filesystem::status(dir / "config0.bin").type(), std::filesystem::file_type::fifo);
}

TEST_F(ConfigFilesTest, LoadBringsSettingsOutsideTheControlsToTheNearestValue)
{
    WriteList(ListOfThree("Work"));
    ProfileRecord stored = Patterned(10);
    stored.angleSnap = 0;
    stored.cpiValue[1] = 255;
    WriteConfig("config0.bin", 1, stored);
    files.LoadConfig(record);
    ProfileRecord expected = Patterned(10);
    expected.angleSnap = 1;
    expected.cpiValue[1] = 164;
    EXPECT_EQ(record, expected);
}

TEST_F(ConfigFilesTest, ResetTakesTheSettingsPartFromTheFactoryFileAndKeepsTheMacros)
{
    WriteList(ListOfThree("Games"));
    WriteConfig("config.bin", 0, Patterned(50));
    files.currentProfileIndex = 1;
    files.resetInProgress = true;
    files.LoadConfig(record);

    const auto loaded = record.Bytes();
    const ProfileRecord factory = Patterned(50);
    const ProfileRecord before = Patterned(3);
    EXPECT_TRUE(std::equal(loaded.begin(), loaded.begin() + 0x120, factory.Bytes().begin()));
    EXPECT_TRUE(std::equal(loaded.begin() + 0x120, loaded.end(), before.Bytes().begin() + 0x120));
    EXPECT_EQ(files.configPath, dir / "config.bin");
    EXPECT_EQ(files.labelPath, dir / "str.ini");
    EXPECT_EQ(files.currentProfileIndex, 1);
    EXPECT_EQ(files.firstRunFlag, 0);
}

TEST_F(ConfigFilesTest, DirectoryNamedLikeTheExecutableStillFindsItsFiles)
{
    const auto inner = dir / "VELDRANE.exe";
    std::filesystem::create_directory(inner);
    WriteFileBytes(inner / "str.ini", ListOfThree("Travel"));
    WriteFileBytes(inner / "config2.bin", ConfigBytes(1, Patterned(12)));
    ConfigFiles beside(inner, messages, codec);
    beside.LoadConfig(record);
    EXPECT_EQ(record, Patterned(12));
    EXPECT_EQ(beside.configPath, inner / "config2.bin");
    EXPECT_EQ(beside.PathOf("str.ini"), inner / "str.ini");
}

class ConfigFilesSaveFlagTest : public ConfigFilesTest, public ::testing::WithParamInterface<int>
{
};

TEST_P(ConfigFilesSaveFlagTest, SavedFileBeginsWithOneWhateverTheFlagWas)
{
    WriteConfig("config3.bin", 0, Patterned(10));
    files.currentProfileIndex = 3;
    files.firstRunFlag = static_cast<std::uint8_t>(GetParam());
    EXPECT_TRUE(files.SaveConfig(record));
    EXPECT_EQ(ReadFileBytes(dir / "config3.bin"), ConfigBytes(1, Patterned(3)));
    EXPECT_EQ(files.firstRunFlag, GetParam());
    EXPECT_TRUE(messages.shown.empty());
}

INSTANTIATE_TEST_SUITE_P(Flags, ConfigFilesSaveFlagTest, ::testing::Values(0, 1, 7));

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
    EXPECT_EQ(ReadFileBytes(dir / "config0.bin"), ConfigBytes(1, Patterned(10)));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1); // no temporary left
}

constexpr std::string_view kLabelFile = "; labels of the travel profile\r\n"
                                        "[Setting-EN]\r\n"
                                        "Item1=Click\r\n"
                                        "Item2 = \"Menu\"\r\n"
                                        "Item12=Button Off\r\n"
                                        "\r\n"
                                        "[Setting-CHT]\r\n"
                                        "Item1=左鍵\r\n"
                                        "[Skins]\r\n"
                                        "Lan=CHT\r\n"
                                        "Path=Dark\r\n"
                                        "RColor=230\r\n"
                                        "GColor=12\r\n"
                                        "BColor=x\r\n"
                                        "[Point]\r\n"
                                        "SensitivityX_Y=36\r\n"
                                        "SensitivityY_Y=96\r\n"
                                        "Sensitivity_Y=-4\r\n";

TEST_F(ConfigFilesTest, LoadLabelsReadsTheLanguageSectionSkinsAndPoint)
{
    files.labelPath = dir / "str2.ini";
    WriteFileBytes(files.labelPath, kLabelFile);
    files.buttonLabel.fill("stale");
    files.LoadLabels(Language::English);
    EXPECT_EQ(files.buttonLabel[0], "Click");
    EXPECT_EQ(files.buttonLabel[1], "Menu");
    EXPECT_EQ(files.buttonLabel[2], "");
    EXPECT_EQ(files.buttonLabel[11], "Button Off");
    EXPECT_EQ(files.skin.path, "Dark");
    EXPECT_EQ(files.skin.red, 230);
    EXPECT_EQ(files.skin.green, 12);
    EXPECT_EQ(files.skin.blue, 0);
    EXPECT_EQ(files.point.sensitivityX_Y, 36);
    EXPECT_EQ(files.point.sensitivityY_Y, 96);
    EXPECT_EQ(files.point.sensitivity_Y, -4);
    EXPECT_EQ(files.point.mouseSpeed_Y, 0);

    files.LoadLabels(Language::TraditionalChinese);
    EXPECT_EQ(files.buttonLabel[0], "左鍵");
    EXPECT_EQ(files.buttonLabel[1], "");
}

// Each language's section gets the labels in its own language, so that a change of language
// shows the functions of this save; the file is replaced once, whatever the number of labels.
TEST_F(ConfigFilesTest, SaveLabelsWritesEveryLanguageSectionInOneReplacement)
{
    files.labelPath = dir / "str2.ini";
    WriteFileBytes(files.labelPath, kLabelFile);
    files.buttonLabel = {
        "Click",        "Menu",       "Universal Scroll", "Left Title Scroll", "Right Title Scroll",   "CPI +", "CPI -",
        "Single Key-A", "Button Off", "Button Off",       "Macro Key-Run",     "Combo Key-Left Ctrl+B"};
    test::FileAccessCounter access(files.labelPath);
    EXPECT_TRUE(files.SaveLabels(Language::English));
    EXPECT_EQ(access.Replacements(), 1);
    EXPECT_EQ(ReadFileBytes(files.labelPath), "; labels of the travel profile\r\n"
                                              "[Setting-EN]\r\n"
                                              "Item1=Click\r\n"
                                              "Item2=Menu\r\n"
                                              "Item12=Combo Key-Left Ctrl+B\r\n"
                                              "Item3=Universal Scroll\r\n"
                                              "Item4=Left Title Scroll\r\n"
                                              "Item5=Right Title Scroll\r\n"
                                              "Item6=CPI +\r\n"
                                              "Item7=CPI -\r\n"
                                              "Item8=Single Key-A\r\n"
                                              "Item9=Button Off\r\n"
                                              "Item10=Button Off\r\n"
                                              "Item11=Macro Key-Run\r\n"
                                              "\r\n"
                                              "[Setting-CHT]\r\n"
                                              "Item1=左鍵\r\n"
                                              "Item2=右鍵\r\n"
                                              "Item3=中鍵\r\n"
                                              "Item4=左搖擺滾輪\r\n"
                                              "Item5=右搖擺滾輪\r\n"
                                              "Item6=CPI +\r\n"
                                              "Item7=CPI -\r\n"
                                              "Item8=單鍵-A\r\n"
                                              "Item9=按鍵關閉\r\n"
                                              "Item10=按鍵關閉\r\n"
                                              "Item11=巨集-Run\r\n"
                                              "Item12=複合鍵-Left Ctrl+B\r\n"
                                              "[Skins]\r\n"
                                              "Lan=CHT\r\n"
                                              "Path=Dark\r\n"
                                              "RColor=230\r\n"
                                              "GColor=12\r\n"
                                              "BColor=x\r\n"
                                              "[Point]\r\n"
                                              "SensitivityX_Y=36\r\n"
                                              "SensitivityY_Y=96\r\n"
                                              "Sensitivity_Y=-4\r\n"
                                              "[Setting-CHS]\r\n"
                                              "Item1=左键\r\n"
                                              "Item2=右键\r\n"
                                              "Item3=中键\r\n"
                                              "Item4=左摇摆滚轮\r\n"
                                              "Item5=右摇摆滚轮\r\n"
                                              "Item6=CPI +\r\n"
                                              "Item7=CPI -\r\n"
                                              "Item8=单键-A\r\n"
                                              "Item9=按键关闭\r\n"
                                              "Item10=按键关闭\r\n"
                                              "Item11=宏-Run\r\n"
                                              "Item12=组合键-Left Ctrl+B\r\n");
}

// The file and the reason in the interface language follow the system's text.
TEST_F(ConfigFilesTest, LabelFileThatCannotBeWrittenIsReported)
{
    files.labelPath = dir / "str0.ini";
    std::filesystem::create_directory(files.labelPath);
    files.buttonLabel.fill("Click");
    EXPECT_FALSE(files.SaveLabels(Language::English));
    files.language = Language::SimplifiedChinese;
    EXPECT_FALSE(files.SaveLabels(Language::SimplifiedChinese));
    const std::string head = "Error Code is: 21 \n" + files.labelPath.string() + ": ";
    EXPECT_EQ(messages.shown,
              (std::vector<Shown>{{Shown::Kind::Message, head + "It is a folder, not a file", "NULL ==fp "},
                                  {Shown::Kind::Message, head + "这是文件夹，不是文件", "NULL ==fp "}}));
}

TEST_F(ConfigFilesTest, SaveLabelsRefusesALabelThatWouldBreakTheFile)
{
    files.labelPath = dir / "str0.ini";
    files.buttonLabel.fill("Click");
    files.buttonLabel[4] = "Single Key-A\r\n[Profile]";
    EXPECT_FALSE(files.SaveLabels(Language::English));
    const std::string text = ReadFileBytes(files.labelPath);
    EXPECT_EQ(text.find("[Profile]"), std::string::npos);
    EXPECT_NE(text.find("Item12=Click\r\n"), std::string::npos);
}

} // namespace
} // namespace veldrane
