#include "app/ProfileCommands.h"

#include <gtest/gtest.h>

#include "app/MainWindowFixture.h"
#include "ini/IniFile.h"
#include "profile/ConfigFile.h"
#include "support/PatternedRecord.h"

namespace veldrane {
namespace {

class RecordingHost : public ProfileCommandsHost
{
public:
    // With the number of downloads made so far, so that the download is seen under the wait cursor.
    void SetWaitCursor(bool wait) override
    {
        calls.push_back((wait ? "wait@" : "arrow@") + std::to_string(downloads ? downloads->size() : 0));
    }
    void ReturnToFirstPage() override { calls.push_back("firstPage"); }

    std::vector<std::string> calls;
    const std::vector<ProfileRecord>* downloads = nullptr;
};

using test::Patterned;

class ProfileCommandsTest : public test::MainWindowFixture
{
protected:
    ProfileCommandsTest()
    {
        // A factory file that differs from the profile in every byte, and profile labels that
        // differ from the factory ones.
        EXPECT_EQ(ConfigFile::Write(dir / "config.bin", 0, Patterned(3)), 0);
        records.Current = Patterned(100);
        records.Current.deviceProfile = 4;
        records.Snapshot();
        files.buttonLabel.fill("mine");
        files.SaveLabels(language);
        host.downloads = &mouse.downloads;
    }

    std::string LabelInFile(std::string_view file, std::size_t button)
    {
        IniFile labels(dir / file, codec);
        return labels.GetString("Setting-EN", "Item" + std::to_string(button + 1));
    }

    ProfileCommands commands{records, files, mouse, messages, pointerSettings, language};
    RecordingHost host;
};

TEST_F(ProfileCommandsTest, ResetWithTheMouseTakesFactorySettingsKeepsMacrosAndSaves)
{
    const ProfileRecord before = records.Current;
    const ProfileRecord factory = Patterned(3);
    commands.ResetProfile(host);

    EXPECT_EQ(host.calls, (std::vector<std::string>{"wait@0", "arrow@1", "firstPage"}));
    EXPECT_EQ(records.Current.deviceProfile, 4);
    for (std::size_t i = 1; i < kSettingsPartSize; ++i) {
        ASSERT_EQ(records.Current.Bytes()[i], factory.Bytes()[i]) << i;
    }
    EXPECT_EQ(records.Current.macroData, before.macroData);
    EXPECT_EQ(files.buttonLabel[0], "Click");
    EXPECT_FALSE(files.resetInProgress);

    ASSERT_EQ(mouse.downloads.size(), 1u);
    EXPECT_EQ(mouse.downloads[0], records.Current);
    EXPECT_EQ(records.Backup, records.Current);
    EXPECT_EQ(pointerSettings.applied.size(), 1u);
    // the download saved into the selected profile's files, not into the factory ones
    EXPECT_EQ(ConfigFile::Read(dir / "config0.bin").contents.record, records.Current);
    EXPECT_EQ(ConfigFile::Read(dir / "config.bin").contents.record, factory);
    EXPECT_EQ(LabelInFile("str0.ini", 0), "Click");
}

TEST_F(ProfileCommandsTest, ResetWithoutTheMouseChangesMemoryOnly)
{
    mouse.connected = false;
    const ProfileRecord before = records.Current;
    const std::string configBefore = test::ReadFileBytes(dir / "config0.bin");
    commands.ResetProfile(host);

    EXPECT_EQ(host.calls, (std::vector<std::string>{"wait@0", "arrow@0", "firstPage"}));
    EXPECT_EQ(records.Current.cpiValue, Patterned(3).cpiValue);
    EXPECT_EQ(records.Current.deviceProfile, 4);
    EXPECT_TRUE(mouse.downloads.empty());
    EXPECT_TRUE(pointerSettings.applied.empty());
    EXPECT_EQ(records.Backup, before);
    EXPECT_EQ(test::ReadFileBytes(dir / "config0.bin"), configBefore);
    EXPECT_EQ(LabelInFile("str0.ini", 0), "mine");
    EXPECT_FALSE(files.resetInProgress);

    records.Revert(); // "Cancel" after it brings the profile back
    EXPECT_EQ(records.Current, before);
}

struct SaveCase
{
    const char* name;
    bool connected;
    bool takes;
    std::vector<test::RecordingMessageSink::Shown> shown;
};

class SaveTest : public ProfileCommandsTest, public ::testing::WithParamInterface<SaveCase>
{
};

// Whatever became of the mouse, the edits reach the profile's files and become the backup, and the
// user learns where they are.
TEST_P(SaveTest, StoresTheProfileAndTellsWhetherTheMouseTookIt)
{
    mouse.connected = GetParam().connected;
    mouse.takes = GetParam().takes;
    records.Current.cpiValue[1] = 0x42;
    files.buttonLabel[0] = "edited";
    EXPECT_EQ(commands.ApplyProfile(host), GetParam().connected && GetParam().takes);

    EXPECT_EQ(ConfigFile::Read(dir / "config0.bin").contents.record, records.Current);
    EXPECT_EQ(LabelInFile("str0.ini", 0), "edited");
    EXPECT_EQ(records.Backup, records.Current);
    EXPECT_EQ(pointerSettings.applied.size(), 1u);
    EXPECT_EQ(mouse.downloads.size(), GetParam().connected ? 1u : 0u);
    EXPECT_EQ(messages.shown, GetParam().shown);
}

using Shown = test::RecordingMessageSink::Shown;
const Shown kNotTaken{Shown::Kind::Message,
                      "The gaming mouse did not take the settings. They are saved; plug the mouse in again and press "
                      "Save.",
                      "Warning"};
const Shown kNotConnected{Shown::Kind::Message,
                          "The gaming mouse is not connected. Your settings are saved and will go to the mouse the "
                          "next time you press Save.",
                          "Tessaly VELDRANE"};

INSTANTIATE_TEST_SUITE_P(Mouse, SaveTest,
                         ::testing::Values(SaveCase{"Taken", true, true, {}},
                                           SaveCase{"NotTaken", true, false, {kNotTaken}},
                                           SaveCase{"NotConnected", false, false, {kNotConnected}}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ProfileCommandsTest, ResetThatTheMouseDidNotTakeWarnsAndStillSaves)
{
    mouse.takes = false;
    commands.ResetProfile(host);
    EXPECT_EQ(messages.shown, (std::vector<Shown>{kNotTaken}));
    EXPECT_EQ(ConfigFile::Read(dir / "config0.bin").contents.record, records.Current);
    EXPECT_EQ(records.Backup, records.Current);
}

struct FirstRunCase
{
    const char* name;
    Language language;
    const char* section;
    std::array<const char*, kButtonCount> labels;
};

class FirstRunLabelsTest : public test::MainWindowFixture, public ::testing::WithParamInterface<FirstRunCase>
{
};

TEST_P(FirstRunLabelsTest, ANeverSavedProfileGetsTheDefaultNames)
{
    files.firstRunFlag = 0;
    files.buttonLabel.fill("old");
    ProfileCommands commands(records, files, mouse, messages, pointerSettings, GetParam().language);
    commands.FillFirstRunLabels();
    IniFile labels(dir / "str0.ini", codec);
    for (std::size_t button = 0; button < kButtonCount; ++button) {
        EXPECT_EQ(files.buttonLabel[button], GetParam().labels[button]) << button;
        EXPECT_EQ(labels.GetString(GetParam().section, "Item" + std::to_string(button + 1)), GetParam().labels[button]);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Languages, FirstRunLabelsTest,
    ::testing::Values(FirstRunCase{"English",
                                   Language::English,
                                   "Setting-EN",
                                   {"Click", "Menu", "Universal Scroll", "Left Title Scroll", "Right Title Scroll",
                                    "CPI +", "CPI -", "Button Off", "Button Off", "Button Off", "Button Off",
                                    "Button Off"}},
                      FirstRunCase{"SimplifiedChinese",
                                   Language::SimplifiedChinese,
                                   "Setting-CHS",
                                   {"左键", "右键", "中键", "左摇摆滚轮", "右摇摆滚轮", "CPI +", "CPI -", "按键关闭",
                                    "按键关闭", "按键关闭", "按键关闭", "按键关闭"}},
                      FirstRunCase{"TraditionalChinese",
                                   Language::TraditionalChinese,
                                   "Setting-CHT",
                                   {"左鍵", "右鍵", "中鍵", "左搖擺滾輪", "右搖擺滾輪", "CPI +", "CPI -", "按鍵關閉",
                                    "按鍵關閉", "按鍵關閉", "按鍵關閉", "按鍵關閉"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ProfileCommandsTest, AfterASaveTheFillDoesNotRepeatOnTheNextLoad)
{
    commands.ApplyProfile(host);
    files.LoadConfig(records.Current);
    EXPECT_EQ(files.firstRunFlag, 1);
    files.buttonLabel.fill("kept");
    commands.FillFirstRunLabels();
    EXPECT_EQ(files.buttonLabel[0], "kept");
}

} // namespace
} // namespace veldrane
