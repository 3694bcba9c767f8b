#include "screens/main/ProfileCommands.h"
#include "screens/main/AppFocusSwitching.h"

#include <gtest/gtest.h>

#include "core/ini/IniFile.h"
#include "core/profile/ConfigFile.h"
#include "core/profile/ProfileFileNames.h"
#include "screens/MainWindowFixture.h"
#include "support/Parameterised.h"
#include "support/PatternedRecord.h"

namespace veldrane {
namespace {

using test::Patterned;
using Shown = test::RecordingMessageSink::Shown;

class RecordingHost : public ProfileCommandsHost
{
public:
    // With the number of downloads made so far, so that the download is seen under the wait cursor.
    void SetWaitCursor(bool wait) override
    {
        calls.push_back((wait ? "wait@" : "arrow@") + std::to_string(downloads->size()));
    }
    void ReturnToFirstPage() override { calls.push_back("firstPage"); }

    std::vector<std::string> calls;
    const std::vector<ProfileRecord>* downloads = nullptr;
};

class ProfileCommandsTest : public test::MainWindowFixture
{
protected:
    ProfileCommandsTest()
    {
        // A factory file that differs from the profile in every byte, and profile labels that
        // differ from the factory ones.
        EXPECT_FALSE(ConfigFile::Write(dir / "config.bin", 0, Patterned(3)));
        records.Current = Patterned(100);
        records.Current.deviceProfile = 4;
        records.Snapshot();
        files.EditedLabels().fill("mine");
        EXPECT_TRUE(files.SaveLabels(language).Done());
        host.downloads = &mouse.downloads;
    }

    std::string LabelInFile(std::string_view section = "Setting-EN")
    {
        return IniFile(dir / "str0.ini", codec).GetString(section, "Item1");
    }

    ProfileCommands commands{records, files, mouse, messages, pointerSettings, language};
    RecordingHost host;
};

const Shown kNotTaken{Shown::Kind::Message,
                      "The gaming mouse did not take the settings. They are saved; plug the mouse in again and press "
                      "Save.",
                      "Warning"};
const Shown kNotConnected{Shown::Kind::Message,
                          "The gaming mouse is not connected. Your settings are saved and will go to the mouse the "
                          "next time you press Save.",
                          "Tessaly VELDRANE"};

const Shown kResetAlone{Shown::Kind::Message,
                        "The gaming mouse is not connected. The factory settings are shown but not saved; press Save "
                        "to keep them.",
                        "Tessaly VELDRANE"};

// The factory settings replace the profile's; its macros stay, and the mouse gets them as its
// profile 0, as every download writes it.
TEST_F(ProfileCommandsTest, ResetWithTheMouseTakesFactorySettingsKeepsMacrosAndSaves)
{
    ProfileRecord expected = Patterned(3);
    expected.deviceProfile = 0;
    expected.macroData = records.Current.macroData;
    commands.ResetProfile(host);

    EXPECT_EQ(host.calls, (std::vector<std::string>{"wait@0", "arrow@1", "firstPage"}));
    EXPECT_EQ(records.Current, expected);
    EXPECT_EQ(mouse.downloads, std::vector<ProfileRecord>{expected});
    // the download saved into the selected profile's files (see the table below), not into the factory ones
    EXPECT_EQ(ConfigFile::Read(dir / "config.bin").contents.record, Patterned(3));
    EXPECT_EQ(LabelInFile(), "Click");
}

struct CommandCase
{
    const char* name;
    bool reset; // "Reset", or else "Save"
    bool connected;
    bool takes;
    bool saved; // the files and the backup take the record
    std::vector<Shown> shown;
};

using CommandTest = test::Parameterised<ProfileCommandsTest, CommandCase>;

// Whatever became of the mouse, Save stores the edits in the profile's files and makes them the
// backup, and the user learns where they are. Reset without the mouse changes the record only, so
// that "Cancel" brings the profile back.
TEST_P(CommandTest, StoresTheProfileAndTellsWhetherTheMouseTookIt)
{
    const CommandCase& c = GetParam();
    mouse.connected = c.connected;
    mouse.takes = c.takes;
    const ProfileRecord before = records.Current;
    const ProfileRecord inFile = ConfigFile::Read(dir / "config0.bin").contents.record;
    records.Current.cpiValue[1] = 0x42;
    files.SetButtonLabel(0, "edited");
    if (c.reset) {
        commands.ResetProfile(host);
    } else {
        EXPECT_EQ(commands.ApplyProfile(host), c.connected && c.takes);
    }

    EXPECT_EQ(ConfigFile::Read(dir / "config0.bin").contents.record, c.saved ? records.Current : inFile);
    EXPECT_EQ(records.Backup, c.saved ? records.Current : before);
    EXPECT_EQ(LabelInFile(), c.saved ? files.ButtonLabel()[0] : "mine");
    EXPECT_EQ(pointerSettings.applied.size(), c.saved ? 1u : 0u);
    EXPECT_EQ(mouse.downloads.size(), c.connected ? 1u : 0u);
    EXPECT_EQ(messages.shown, c.shown);
    EXPECT_FALSE(files.ResetInProgress());
}

INSTANTIATE_TEST_SUITE_P(Mouse, CommandTest,
                         ::testing::Values(CommandCase{"SaveTaken", false, true, true, true, {}},
                                           CommandCase{"SaveNotTaken", false, true, false, true, {kNotTaken}},
                                           CommandCase{"SaveNotConnected", false, false, false, true, {kNotConnected}},
                                           CommandCase{"ResetTaken", true, true, true, true, {}},
                                           CommandCase{"ResetNotTaken", true, true, false, true, {kNotTaken}},
                                           CommandCase{"ResetNotConnected", true, false, false, false, {kResetAlone}}),
                         [](const auto& info) { return std::string(info.param.name); });

// With a full disk the error box came, but all 49 reports still reached the mouse, which then held
// settings that the files lacked: nothing goes to the mouse, and the user is told so.
TEST_F(ProfileCommandsTest, WhenTheFilesCannotBeStoredNothingIsSent)
{
    for (const bool reset : {false, true}) {
        messages.shown.clear();
        const ProfileRecord before = records.Backup;
        std::filesystem::remove(dir / "config0.bin");
        std::filesystem::create_directory(dir / "config0.bin"); // refused like a full disk, and portably
        if (reset) {
            commands.ResetProfile(host);
        } else {
            EXPECT_FALSE(commands.ApplyProfile(host));
        }
        EXPECT_TRUE(mouse.downloads.empty()) << reset;
        EXPECT_EQ(records.Backup, before) << reset;
        EXPECT_TRUE(pointerSettings.applied.empty()) << reset;
        EXPECT_EQ(LabelInFile(), "mine") << reset;
        const Shown refused{Shown::Kind::Message,
                            "Error Code is: 21 \n" + (dir / "config0.bin").string() + ": It is a folder, not a file",
                            "NULL ==fp "};
        const Shown notSent{Shown::Kind::Message,
                            "The settings could not be saved, so nothing was sent to the gaming mouse.", "Warning"};
        EXPECT_EQ(messages.shown, (std::vector<Shown>{refused, notSent})) << reset;
        std::filesystem::remove(dir / "config0.bin");
    }
}

// A profile never saved gets the default names of its language on the first draw of the window,
// once: after a save they are the user's.
TEST_F(ProfileCommandsTest, FirstRunLabelsAreFilledOnceInTheLanguageOfTheWindow)
{
    ASSERT_EQ(files.FirstRunFlag(), 0);
    ProfileCommands chinese(records, files, mouse, messages, pointerSettings, Language::SimplifiedChinese);
    chinese.FillFirstRunLabels();
    EXPECT_EQ(files.ButtonLabel()[0], "左键");
    EXPECT_EQ(files.ButtonLabel()[11], "按键关闭");
    EXPECT_EQ(LabelInFile("Setting-CHS"), "左键");

    commands.ApplyProfile(host);
    EXPECT_TRUE(files.LoadConfig(records.Current).Done());
    files.EditedLabels().fill("kept");
    commands.FillFirstRunLabels();
    EXPECT_EQ(files.ButtonLabel()[0], "kept");
}

// Three named profiles whose files differ; the fixture's record is the first one's, unedited.
class SwitchTest : public ProfileCommandsTest
{
protected:
    SwitchTest()
    {
        const std::vector<std::string> names{"Work", "Game", "Draw"};
        EXPECT_TRUE(files.StoreSelectedProfile(names, 0));
        for (std::uint8_t slot = 0; slot < 3; ++slot) {
            EXPECT_FALSE(ConfigFile::Write(dir / ProfileConfigName(slot), 1, Patterned(slot * 40 + 1)));
        }
        IniFile label(dir / "str1.ini", codec);
        EXPECT_EQ(label.WriteString("Setting-EN", "Item1", "game label"), IniWriteResult::Written);
        EXPECT_TRUE(files.LoadConfig(records.Current).Done());
        files.LoadLabels(language);
        records.Snapshot();
    }

    std::string StoredSelection() { return IniFile(dir / "str.ini", codec).GetString("Profile", "CurProfileName"); }
};

// The switch loads the profile's files, selects it in the list, downloads it under the wait
// cursor and takes it as the backup; the user hears of it only through ReportSwitch.
TEST_F(SwitchTest, LoadsSelectsAndDownloadsTheProfile)
{
    const SwitchOutcome outcome = commands.SwitchProfile(host, 1);

    EXPECT_EQ((std::tuple{outcome.result, outcome.index, outcome.name}),
              (std::tuple{SwitchResult::Switched, 1u, "Game"}));
    ProfileRecord expected = Patterned(41);
    expected.deviceProfile = records.Current.deviceProfile;
    EXPECT_EQ(records.Current, expected);
    EXPECT_EQ(records.Backup, records.Current);
    EXPECT_EQ(files.CurrentProfileIndex(), 1u);
    EXPECT_EQ(files.ButtonLabel()[0], "game label");
    EXPECT_EQ(StoredSelection(), "Game");
    EXPECT_EQ(host.calls, (std::vector<std::string>{"wait@0", "firstPage", "arrow@1"}));
    EXPECT_EQ(pointerSettings.applied.size(), 1u);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(commands.ProfileIndexOf("Draw"), 2u);
    EXPECT_EQ(commands.ProfileIndexOf("draw"), std::nullopt);
    EXPECT_EQ(commands.LastSentProfile(), 1u);
    // "Next profile" and "Previous profile" go round the list from the loaded one.
    EXPECT_EQ(commands.StepProfile(1), 2u);
    EXPECT_EQ(commands.StepProfile(-1), 0u);
    EXPECT_EQ(commands.SwitchProfile(host, *commands.StepProfile(1)).result, SwitchResult::Switched);
    EXPECT_EQ(commands.StepProfile(1), 0u);
    EXPECT_EQ(commands.StepProfile(-4), 1u);
}

struct RefusalCase
{
    const char* name;
    std::size_t index;
    bool connected;
    bool edited;
    bool managerOpen;
    bool fileMissing;
    SwitchResult result;
    std::vector<Shown> reported;
};

using SwitchRefusalTest = test::Parameterised<SwitchTest, RefusalCase>;

// A refused switch changes nothing: not the record, not its edits, not the files, not the mouse.
TEST_P(SwitchRefusalTest, ChangesNothing)
{
    const RefusalCase& c = GetParam();
    mouse.connected = c.connected;
    if (c.edited) {
        records.Current.cpiValue[0] = static_cast<std::uint8_t>(records.Current.cpiValue[0] + 1);
    }
    commands.SetListOwnedElsewhere(c.managerOpen);
    if (c.fileMissing) {
        std::filesystem::remove(dir / "config1.bin");
    }
    const ProfileRecord before = records.Current;

    const SwitchOutcome outcome = commands.SwitchProfile(host, c.index);
    EXPECT_EQ(outcome.result, c.result);
    EXPECT_EQ(records.Current, before);
    EXPECT_TRUE(mouse.downloads.empty());
    EXPECT_EQ(files.CurrentProfileIndex(), 0u);
    EXPECT_EQ(StoredSelection(), "Work");
    EXPECT_TRUE(host.calls.empty());
    EXPECT_TRUE(messages.shown.empty());
    commands.ReportSwitch(outcome);
    EXPECT_EQ(messages.shown, c.reported);
}

const Shown kUnsaved{Shown::Kind::Message,
                     "The settings in the window are not saved. Press Save or Cancel before you switch the profile.",
                     "Warning"};
const Shown kNoMouse{Shown::Kind::Message, "The system did not detect the gaming mouse!", "Warning"};
const Shown kNoFile{Shown::Kind::Message, "Config file is not exist.", "Tessaly VELDRANE"};

INSTANTIATE_TEST_SUITE_P(
    Switch, SwitchRefusalTest,
    ::testing::Values(RefusalCase{"NoSuchProfile", 3, true, false, false, false, SwitchResult::NoSuchProfile, {}},
                      RefusalCase{"NoMouse", 1, false, false, false, false, SwitchResult::NoMouse, {kNoMouse}},
                      RefusalCase{"UnsavedEdits", 1, true, true, false, false, SwitchResult::UnsavedEdits, {kUnsaved}},
                      RefusalCase{"ProfileManagerOpen", 1, true, false, true, false, SwitchResult::Busy, {}},
                      RefusalCase{"FileMissing", 1, true, false, false, true, SwitchResult::Failed, {kNoFile}}),
    [](const auto& info) { return std::string(info.param.name); });

// A mouse that did not take the profile: it is loaded and stored all the same, and the warning of
// "Save" follows once asked for, after the warning of each pointer setting the desktop refused.
TEST_F(SwitchTest, NotTakenLoadsTheProfileAndWarnsLikeSave)
{
    mouse.takes = false;
    pointerSettings.refused = {PointerSetting::Speed, PointerSetting::DoubleClickTime};
    const SwitchOutcome outcome = commands.SwitchProfile(host, 2);
    EXPECT_EQ(outcome.result, SwitchResult::NotTaken);
    EXPECT_EQ(files.CurrentProfileIndex(), 2u);
    EXPECT_EQ(records.Backup, records.Current);
    commands.ReportSwitch(outcome);
    EXPECT_EQ(messages.shown, (std::vector<Shown>{{Shown::Kind::Message, "SETMOUSESPEED failed.", "Warning"},
                                                  {Shown::Kind::Message, "SPI_SETDOUBLECLICKTIME failed.", "Warning"},
                                                  kNotTaken}));
}

// While a download runs (a switch asked for from a message box of "Save" or from the bus), no
// other is started behind it.
TEST_F(SwitchTest, NoSwitchWhileADownloadRuns)
{
    class ReentrantMouse : public test::FakeMouse
    {
    public:
        using FakeMouse::FakeMouse;
        bool DownloadProfile(ProfileRecord& record) override
        {
            nested = commands->SwitchProfile(*host, 2).result;
            return FakeMouse::DownloadProfile(record);
        }
        ProfileCommands* commands = nullptr;
        ProfileCommandsHost* host = nullptr;
        std::optional<SwitchResult> nested;
    };
    ReentrantMouse reentrant;
    ProfileCommands withReentrant(records, files, reentrant, messages, pointerSettings, language);
    reentrant.commands = &withReentrant;
    reentrant.host = &host;

    EXPECT_TRUE(withReentrant.ApplyProfile(host));
    EXPECT_EQ(reentrant.nested, SwitchResult::Busy);
    EXPECT_EQ(reentrant.downloads.size(), 1u);
    EXPECT_FALSE(withReentrant.Busy());
}

using namespace std::chrono_literals;

// Switching by application over the three profiles: Game for steam, Work for any other window.
class AppFocusSwitchTest : public SwitchTest
{
protected:
    AppFocusSwitchTest()
    {
        test::WriteFileBytes(dir / "apps.ini", "[Settings]\r\nEnabled=1\r\nDefault=Work\r\n[Game]\r\nApp0=steam\r\n");
        switching.LoadRules();
    }
    std::string Switches() { return IniFile(dir / "apps.ini", codec).GetString("Settings", "Switches"); }
    std::optional<std::chrono::milliseconds> Focus(std::string appClass, bool dialogOpen = false)
    {
        return switching.FocusChanged({"", std::move(appClass), "", ""}, dialogOpen);
    }

    AppFocusSwitching switching{commands, [this](std::size_t index) { return commands.SwitchProfile(host, index); },
                                files,    messages,
                                clock,    language};
};

// Each real change that lasts downloads once and is counted; a short visit and a window that
// brings the profile the mouse holds download nothing.
TEST_F(AppFocusSwitchTest, LastingChangesSwitchOnceEach)
{
    EXPECT_EQ(Focus("Steam"), 1000ms); // how long a focus must last is the switcher's test
    clock.now = 1000ms;
    EXPECT_EQ(switching.Check(false), std::nullopt);
    ASSERT_EQ(mouse.downloads.size(), 1u);
    EXPECT_EQ(files.CurrentProfileIndex(), 1u);
    EXPECT_EQ(messages.shown, (std::vector<Shown>{{Shown::Kind::Balloon, "Profile: Game", "Info", 5000ms}}));
    EXPECT_EQ(Switches(), "1");

    clock.now = 1500ms;
    EXPECT_EQ(Focus("xterm"), 4000ms) << "three seconds after the last switch";
    clock.now = 4000ms;
    EXPECT_EQ(switching.Check(false), std::nullopt);
    EXPECT_EQ(mouse.downloads.size(), 2u);
    EXPECT_EQ(files.CurrentProfileIndex(), 0u);

    clock.now = 8000ms;
    (void)Focus("steam");
    clock.now = 8300ms;
    EXPECT_EQ(Focus("xterm"), std::nullopt) << "the mouse holds Work already";
    clock.now = 10000ms;
    EXPECT_EQ(switching.Check(false), std::nullopt);
    EXPECT_EQ(mouse.downloads.size(), 2u);
    EXPECT_EQ(Switches(), "2");
}

// Unsaved edits and an open capture dialog hold the switch back until they are gone; nothing is
// dropped or stored unasked.
TEST_F(AppFocusSwitchTest, WaitsForEditsAndDialogs)
{
    records.Current.cpiValue[0] = static_cast<std::uint8_t>(records.Current.cpiValue[0] + 1);
    const ProfileRecord edited = records.Current;
    (void)Focus("steam");
    clock.now = 1000ms;
    EXPECT_EQ(switching.Check(false), 1500ms);
    EXPECT_EQ(records.Current, edited);
    records.Current = records.Backup;
    clock.now = 1500ms;
    EXPECT_EQ(switching.Check(true), 2000ms);
    EXPECT_TRUE(mouse.downloads.empty());
    clock.now = 2000ms;
    EXPECT_EQ(switching.Check(false), std::nullopt);
    EXPECT_EQ(mouse.downloads.size(), 1u);
}

// Rules of a profile that is gone (the list edited elsewhere) are dropped at start, with a note.
TEST_F(AppFocusSwitchTest, RulesOfMissingProfilesAreDroppedWithANote)
{
    AppRules rules = switching.Rules();
    ASSERT_TRUE(rules.AddApp("Gone", "gimp"));
    ASSERT_FALSE(switching.StoreRules(rules));
    messages.shown.clear();
    switching.LoadRules();
    EXPECT_EQ(messages.shown, (std::vector<Shown>{{Shown::Kind::Message,
                                                   "These profiles no longer exist; their applications were removed: "
                                                   "Gone",
                                                   "Tessaly VELDRANE"}}));
    EXPECT_EQ(ReadAppRules(dir.Path()).rules.Profiles(), std::vector<std::string>{"Game"});
}

} // namespace
} // namespace veldrane
