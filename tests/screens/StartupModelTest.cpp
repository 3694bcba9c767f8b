#include "screens/startup/StartupModel.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "adapters/linux/IconvTextCodec.h"
#include "core/ini/IniFile.h"
#include "core/profile/ConfigFile.h"
#include "core/profile/ConfigFiles.h"
#include "core/profile/FactoryFiles.h"
#include "core/profile/ProfileFileNames.h"
#include "core/profile/ProfileSlotMover.h"
#include "support/PatternedRecord.h"
#include "support/TempDir.h"

namespace veldrane {
namespace {

using test::Patterned;
using test::ReadFileBytes;
using test::WriteFileBytes;

// A fresh data folder seeded from the installed factory files, the way the program starts.
class StartupModelTest : public ::testing::Test
{
protected:
    StartupModelTest()
    {
        // The factory files are written once for every test: writing them key by key is slow.
        static const test::TempDir installedOnce;
        static const std::string failure = WriteFactoryFiles(installedOnce.Path(), IconvTextCodec());
        EXPECT_EQ(failure, "");
        std::filesystem::copy(installedOnce.Path(), installed.Path(), std::filesystem::copy_options::recursive);
        EXPECT_EQ(startup.PrepareDataDirectory(), std::nullopt);
    }

    void SetLanguage(std::string_view code)
    {
        ASSERT_EQ(IniFile(user() / ProfileLabelName(0), codec).WriteString(kSkinsSection, kLanguageKey, code),
                  IniWriteResult::Written);
    }
    std::filesystem::path user() const { return data.Path(); }

    test::TempDir installed;
    test::TempDir data;
    IconvTextCodec codec;
    StartupModel startup{data.Path(), installed.Path(), codec};
    ProfileRecords records;
};

TEST_F(StartupModelTest, LoadsTheSelectedProfileInTheLanguageOfItsLabelFileWithTheInstalledSkin)
{
    ProfileRecord mine = ConfigFile::Read(user() / ProfileConfigName(0)).contents.record;
    mine.reportRate = mine.reportRate == 1 ? 2 : 1;
    ASSERT_FALSE(ConfigFile::Write(user() / ProfileConfigName(0), 1, mine));
    SetLanguage("CHT");
    const StartupChoice choice = startup.LoadProfileAndSkin(records);
    ASSERT_NE(choice.files, nullptr);
    EXPECT_EQ(choice.language, Language::TraditionalChinese);
    EXPECT_EQ(choice.files->InterfaceLanguage(), Language::TraditionalChinese);
    EXPECT_EQ(records.Current, mine);
    EXPECT_EQ(records.Backup, records.Current);
    EXPECT_EQ(choice.files->ButtonLabel()[0], "左鍵"); // the factory label of the language's section
    EXPECT_EQ(choice.skinDirectory, installed.Path() / "Skins" / "Default");
    EXPECT_TRUE(choice.messages.empty());

    // The user's own copy of the skin goes first. A second start with another folder is refused in
    // the language of the profile list.
    std::filesystem::create_directories(user() / "Skins" / "Default");
    EXPECT_EQ(startup.LoadProfileAndSkin(records).skinDirectory, user() / "Skins" / "Default");
    ASSERT_EQ(IniFile(user() / kListName, codec).WriteString(kSkinsSection, kLanguageKey, "CHT"),
              IniWriteResult::Written);
    EXPECT_EQ(startup.SecondStartRefusal(), "VELDRANE 已在使用另一個資料夾執行。請先將其關閉。");
}

// A language chosen while the program runs: a button assigned anew since the save (its function, or
// only a parameter such as the macro's number) names its assignment in the new language; the others
// take the labels stored under the new language's section, whatever the window showed before.
TEST_F(StartupModelTest, ALanguageTakenAtRunTimeKeepsTheEditsAndReadsTheOtherLabelsOfItsSection)
{
    const StartupChoice choice = startup.LoadProfileAndSkin(records);
    ASSERT_EQ(choice.language, Language::English);
    ConfigFiles& files = *choice.files;
    IniFile labels(files.LabelPath(), codec);
    ASSERT_EQ(labels.WriteString("Setting-CHT", "Item3", "我的按鍵"), IniWriteResult::Written);
    ASSERT_EQ(labels.WriteString("Setting-CHT", "Item4", "巨集-跳躍"), IniWriteResult::Written);
    records.Current.buttonFunction[1] = static_cast<std::uint8_t>(records.Current.buttonFunction[1] + 1);
    files.EditedLabels()[1] = "Double Click";
    records.Current.macroNumber[4] = static_cast<std::uint8_t>(records.Current.macroNumber[4] + 1);
    files.EditedLabels()[4] = "Macro Key-Run";
    files.EditedLabels()[2] = "Something unsaved"; // no assignment changed: the stored label comes
    const ProfileRecords before = records;

    StartupModel::TakeLanguage(records, files, Language::TraditionalChinese);
    EXPECT_EQ(files.InterfaceLanguage(), Language::TraditionalChinese);
    EXPECT_EQ(records.Current, before.Current);
    EXPECT_EQ(records.Backup, before.Backup);
    const std::vector<std::string> shown(files.ButtonLabel().begin(), files.ButtonLabel().begin() + 5);
    EXPECT_EQ(shown, (std::vector<std::string>{"左鍵", "双击", "我的按鍵", "巨集-跳躍", "巨集-Run"}));

    StartupModel::TakeLanguage(records, files, Language::SimplifiedChinese);
    EXPECT_EQ(files.ButtonLabel()[1], "双击");
    EXPECT_EQ(files.ButtonLabel()[2], "中键");
    EXPECT_EQ(files.ButtonLabel()[4], "宏-Run");
}

struct StartupFault
{
    const char* name;
    void (*make)(const std::filesystem::path& user);
    // The boxes in the order shown; "@" stands for the data folder, a final "*" for the time of day.
    std::vector<UserMessage> messages;
    bool factoryRecord; // the factory settings stand in; otherwise the record is left as it was
};

class StartupFaultTest : public StartupModelTest, public ::testing::WithParamInterface<StartupFault>
{
};

// Each failure of the start is told in the interface language, once the label file has named it;
// a leftover of a killed write is removed without a word.
TEST_P(StartupFaultTest, TellsWhatTheStartCouldNotDo)
{
    const StartupFault& fault = GetParam();
    fault.make(user());
    WriteFileBytes(user() / ".veldrane-tmp-killed", "half a save");
    records.Current = Patterned(3);
    const StartupChoice choice = startup.LoadProfileAndSkin(records);

    ASSERT_EQ(choice.messages.size(), fault.messages.size());
    for (std::size_t i = 0; i < fault.messages.size(); ++i) {
        std::string text = fault.messages[i].text;
        if (const std::size_t at = text.find('@'); at != std::string::npos) {
            text.replace(at, 1, user().string());
        }
        if (text.ends_with('*')) {
            text.pop_back();
            EXPECT_TRUE(choice.messages[i].text.starts_with(text)) << choice.messages[i].text;
        } else {
            EXPECT_EQ(choice.messages[i].text, text);
        }
        EXPECT_EQ(choice.messages[i].title, fault.messages[i].title);
    }
    EXPECT_EQ(choice.files->FactoryStandsIn(), fault.factoryRecord);
    EXPECT_EQ(records.Current == Patterned(3), !fault.factoryRecord);
    EXPECT_FALSE(std::filesystem::exists(user() / ".veldrane-tmp-killed"));
}

INSTANTIATE_TEST_SUITE_P(
    Faults, StartupFaultTest,
    ::testing::Values(
        StartupFault{"MissingProfileFile",
                     [](const std::filesystem::path& user) { std::filesystem::remove(user / ProfileConfigName(0)); },
                     {{"Config file is not exist.", "Tessaly VELDRANE"}},
                     false},
        StartupFault{"DamagedJournalThenUnreadableProfile",
                     [](const std::filesystem::path& user) {
                         WriteFileBytes(user / ProfileSlotMover::kJournalName, "not a journal");
                         std::filesystem::remove(user / ProfileConfigName(0));
                         std::filesystem::create_directory(user / ProfileConfigName(0));
                     },
                     {{"A change of the profile files was cut off and cannot be finished: its journal is damaged. "
                       "The profile files were left as they are; the journal was kept as:\n@/profiles.journal.broken-*",
                       "NULL ==fp "},
                      {"The profile file could not be read; the factory settings are shown. Save stores them in this "
                       "profile.\n@/config0.bin: It is a folder, not a file",
                       "Warning"}},
                     true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(StartupModel, AMouseThisUserMayNotOpenIsNamedInTheInterfaceLanguage)
{
    EXPECT_EQ(StartupModel::MouseDeniedMessage(Language::English, ""), std::nullopt);
    EXPECT_EQ(StartupModel::MouseDeniedMessage(Language::SimplifiedChinese, "/dev/hidraw3"),
              (UserMessage{"游戏鼠标已连接，但当前用户无权打开 /dev/hidraw3。请安装 udev 规则（见 README）。",
                           "Tessaly VELDRANE"}));
}

TEST(StartupModel, WithoutADataFolderOrItsFilesTheStartSaysWhyOnStandardError)
{
    const IconvTextCodec codec;
    const test::TempDir installed;
    EXPECT_EQ(StartupModel({}, installed.Path(), codec).PrepareDataDirectory(),
              "neither XDG_DATA_HOME nor HOME names a folder for the profiles; use --data-dir");
    // Without a list of its own the refusal takes the installed one's language, English by default.
    EXPECT_EQ(StartupModel(installed.Path() / "none", installed.Path(), codec).SecondStartRefusal(),
              "VELDRANE is already running with another data folder. Close it first.");
}

} // namespace
} // namespace veldrane
