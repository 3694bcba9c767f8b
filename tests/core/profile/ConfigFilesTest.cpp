// What the program stores and how: the INI files beneath everything and the texts of each
// language; the profile files, the factory files and the data folder; the profile manager, import
// and export; the application rules; every save killed part-way, and the simulated mouse it talks to.

#include "core/profile/ConfigFiles.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cmath>
#include <csignal>
#include <filesystem>
#include <functional>
#include <map>
#include <numeric>
#include <optional>
#include <random>
#include <signal.h>
#include <string>
#include <string_view>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <tuple>
#include <unistd.h>
#include <vector>

#include "core/apps/AppRules.h"
#include "core/apps/AppSwitcher.h"
#include "core/apps/FocusSession.h"
#include "core/buttons/ButtonAssignment.h"
#include "core/buttons/KeyTables.h"
#include "core/device/DeviceImage.h"
#include "core/device/DeviceLink.h"
#include "core/device/MouseSearch.h"
#include "core/device/ProfileDownload.h"
#include "core/exchange/ProfileJsonTransfer.h"
#include "core/ini/AtomicFile.h"
#include "core/ini/FileError.h"
#include "core/ini/UnicodeText.h"
#include "core/macro/MacroEncoder.h"
#include "core/macro/MacroFile.h"
#include "core/macro/MacroSectionRename.h"
#include "core/profile/DataDirectory.h"
#include "core/profile/FactoryDefaults.h"
#include "core/profile/InstalledProfiles.h"
#include "core/profile/ProfileList.h"
#include "core/profile/ProfileManager.h"
#include "core/profile/ProfileSlotMover.h"
#include "core/profile/ProfileTransfer.h"
#include "core/text/CaptureDialogTexts.h"
#include "core/text/FileErrorTexts.h"
#include "core/text/HelpDialogTexts.h"
#include "core/text/MacroKeyDialogTexts.h"
#include "core/text/MacroManagerTexts.h"
#include "core/text/MainWindowTexts.h"
#include "core/text/MessageTexts.h"
#include "core/text/ProfileManagerTexts.h"
#include "core/text/TrayTexts.h"
#include "sim/SimulatedMouse.h"
#include "support/FakeClock.h"
#include "support/FileAccessCounter.h"
#include "support/HexBytes.h"

namespace veldrane {
namespace {

using test::Patterned;
using test::ReadFileBytes;
using test::WriteFileBytes;

class ConfigFilesTest : public ::testing::Test
{
protected:
    // A list of three profiles, the selected one named `selected`.
    void WriteList(std::string_view selected)
    {
        WriteFileBytes(dir / "str.ini", "[Profile]\r\nCurProfileName=" + std::string(selected) +
                                            "\r\nItemCount=3\r\nItem0=Work\r\nItem1=Games\r\nItem2=Travel\r\n");
    }
    void WriteConfig(std::string_view name, std::uint8_t flag, const ProfileRecord& r)
    {
        WriteFileBytes(dir / name, ConfigFile::Encode(flag, r));
    }

    test::TempDir dir;
    IconvTextCodec codec;
    ConfigFiles files{dir.Path(), codec};
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
    EXPECT_TRUE(files.LoadConfig(record).Done());
    stored.angleSnap = 1;
    stored.cpiValue[1] = 164;
    EXPECT_EQ(record, stored);
    EXPECT_EQ(files.CurrentProfileIndex(), 1);
    EXPECT_EQ(files.LabelPath(), dir / "str1.ini");
    EXPECT_TRUE(files.SaveConfig(Patterned(3)).Done());
    EXPECT_EQ(ReadFileBytes(dir / "config1.bin"), ConfigFile::Encode(1, Patterned(3)));
    EXPECT_EQ(files.FirstRunFlag(), 0);
}

// A list the program never wrote left the window without a profile, and Save then sent an
// all-zero record: it becomes PROFILE_0 on the files numbered 0, on disk too.
TEST_F(ConfigFilesTest, BrokenListIsRepairedToProfile0)
{
    WriteConfig("config0.bin", 1, Patterned(10));
    for (const char* count : {"0", "abc", "2" /* Item1 is missing */}) {
        WriteFileBytes(dir / "str.ini",
                       std::string("[Profile]\r\nCurProfileName=Work\r\nItemCount=") + count + "\r\nItem0=Work\r\n");
        ConfigFiles loader{dir.Path(), codec};
        loader.SelectProfileIndex(3);
        EXPECT_TRUE(loader.LoadConfig(record).Done());
        EXPECT_EQ(record, Patterned(10));
        EXPECT_TRUE(loader.RecordLoaded());
        EXPECT_EQ(loader.CurrentProfileIndex(), 0);
        EXPECT_EQ(loader.ConfigPath(), dir / "config0.bin");
        EXPECT_EQ(ReadFileBytes(dir / "str.ini"),
                  "[Profile]\r\nCurProfileName=PROFILE_0\r\nItemCount=1\r\nItem0=PROFILE_0\r\n");
    }
}

// The files kept aside beside `file`, in name order.
std::vector<std::filesystem::path> KeptAside(const std::filesystem::path& file)
{
    std::vector<std::filesystem::path> kept;
    for (const auto& entry : std::filesystem::directory_iterator(file.parent_path())) {
        if (entry.path().filename().string().starts_with(file.filename().string() + ".broken-")) {
            kept.push_back(entry.path());
        }
    }
    return kept;
}

struct UnreadableCase
{
    const char* name;
    std::size_t size;                // bytes of a regular file, when `kind` is regular
    std::filesystem::file_type kind; // regular, fifo or directory
    std::string_view reason;
};

// A fixture of the tests above run once for each case of a table.
template <typename Fixture, typename Case>
class Parameterised : public Fixture, public ::testing::WithParamInterface<Case>
{
};

using UnreadableProfileTest = Parameterised<ConfigFilesTest, UnreadableCase>;

// A profile file of the wrong size was ignored silently and one that is no file reported as such:
// the window showed an all-zero record, and Save stored nothing. Now the load says why, the window
// gets the factory settings and labels, and Save stores them, keeping the old file aside.
TEST_P(UnreadableProfileTest, GivesTheFactorySettingsWhichSaveStoresKeepingTheFileAside)
{
    const UnreadableCase& unreadable = GetParam();
    WriteList("Work");
    ProfileRecord factory = Patterned(20);
    (void)BringIntoControlRange(factory);
    WriteConfig("config.bin", 0, factory);
    const std::filesystem::path profile = dir / "config0.bin";
    std::string old = ConfigFile::Encode(1, Patterned(10));
    old.resize(unreadable.size, '\x55');
    if (unreadable.kind == std::filesystem::file_type::fifo) {
        ASSERT_EQ(mkfifo(profile.c_str(), 0600), 0);
    } else if (unreadable.kind == std::filesystem::file_type::directory) {
        std::filesystem::create_directory(profile);
    } else {
        WriteFileBytes(profile, old);
    }

    const FileOutcome loaded = files.LoadConfig(record);
    files.LoadLabels(Language::SimplifiedChinese);
    EXPECT_TRUE(files.FactoryStandsIn());
    EXPECT_EQ(loaded.file, profile);
    EXPECT_EQ(FileErrorReason(loaded.error.value(), Language::English), unreadable.reason);
    EXPECT_EQ(UnreadableProfileMessage(loaded.file, loaded.error, Language::English),
              "The profile file could not be read; the factory settings are shown. Save stores them in this "
              "profile.\n" +
                  profile.string() + ": " + std::string(unreadable.reason));
    EXPECT_EQ(record, factory);
    EXPECT_TRUE(files.RecordLoaded());
    EXPECT_EQ(files.ButtonLabel(), FactoryLabels(Language::SimplifiedChinese));

    ASSERT_TRUE(files.SaveConfig(record).Done());
    EXPECT_FALSE(files.FactoryStandsIn());
    EXPECT_EQ(ReadFileBytes(profile), ConfigFile::Encode(1, factory));
    const std::vector<std::filesystem::path> kept = KeptAside(profile);
    ASSERT_EQ(kept.size(), 1u);
    EXPECT_EQ(std::filesystem::symlink_status(kept[0]).type(), unreadable.kind);
    if (unreadable.kind == std::filesystem::file_type::regular) {
        EXPECT_EQ(ReadFileBytes(kept[0]), old);
    }
    // The name ends in the date and time: ".broken-YYYYMMDD-HHMMSS".
    const std::string name = kept[0].filename().string();
    EXPECT_EQ(name.size(), std::string("config0.bin.broken-20261208-071500").size()) << name;
    // The next save replaces the stored file, as any save does; nothing more is kept aside.
    ASSERT_TRUE(files.SaveConfig(Patterned(3)).Done());
    EXPECT_EQ(KeptAside(profile).size(), 1u);
}

using enum std::filesystem::file_type;
constexpr std::string_view kWrongSize = "A profile file has 1825 bytes; this one has another size";
// A FIFO would block an open until someone writes into it: it is never opened.
// clang-format off
INSTANTIATE_TEST_SUITE_P(Files, UnreadableProfileTest,
    ::testing::Values(UnreadableCase{"Empty", 0, regular, kWrongSize}, UnreadableCase{"OneByteTooLong", 1826, regular,
        kWrongSize}, UnreadableCase{"Fifo", 0, fifo, "Not a regular file"},
        UnreadableCase{"Folder", 0, directory, "It is a folder, not a file"}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

// Without a readable factory file the program's own factory profile stands in; a missing profile
// file is reported by the load and the save, neither of which creates it or changes the record.
TEST_F(ConfigFilesTest, UnreadableProfileWithoutFactoryFileGetsTheBuiltInDefaults)
{
    WriteList("Work");
    WriteFileBytes(dir / "config0.bin", std::string(100, '\0'));
    EXPECT_EQ(files.LoadConfig(record).error, make_error_code(FileError::WrongProfileSize));
    EXPECT_EQ(record, FactoryProfile());

    std::filesystem::remove(dir / "config0.bin");
    record = Patterned(3);
    const FileOutcome loaded = files.LoadConfig(record);
    const FileOutcome saved = files.SaveConfig(Patterned(10));
    EXPECT_EQ(std::tie(loaded.error, loaded.file), std::tie(saved.error, saved.file));
    EXPECT_EQ(loaded.error, make_error_code(FileError::FileMissing));
    EXPECT_EQ(loaded.file, dir / "config0.bin");
    EXPECT_FALSE(files.FactoryStandsIn());
    EXPECT_EQ(record, Patterned(3));
    EXPECT_FALSE(std::filesystem::exists(dir / "config0.bin"));
}

// The save runs with this process let write at most 1000 bytes into any file, as a full disk would.
TEST_F(ConfigFilesTest, FailedSaveLeavesTheOldFileWholeAndReturnsTheError)
{
    WriteConfig("config0.bin", 1, Patterned(10));
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    const rlimit limited{1000, old.rlim_max};
    setrlimit(RLIMIT_FSIZE, &limited);
    const FileOutcome saved = files.SaveConfig(record);
    setrlimit(RLIMIT_FSIZE, &old);
    EXPECT_EQ(saved.error, std::error_code(EFBIG, std::generic_category()));
    EXPECT_EQ(saved.file, dir / "config0.bin");
    EXPECT_EQ(ReadFileBytes(dir / "config0.bin"), ConfigFile::Encode(1, Patterned(10)));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1); // no temporary left
}

constexpr std::string_view kLabelFile =
    "; labels of the travel profile\r\n[Setting-EN]\r\nItem1=Click\r\nItem2 = \"Menu\"\r\nItem12=Button Off\r\n\r\n"
    "[Setting-CHT]\r\nItem1=左鍵\r\n[Skins]\r\nLan=CHT\r\nPath=Dark\r\nRColor=230\r\nGColor=12\r\nBColor=x\r\n"
    "[Point]\r\nSensitivityX_Y=36\r\nSensitivityY_Y=96\r\nSensitivity_Y=-4\r\n";

// Labels are read from the language's section. Each language's section gets the labels in its own
// language, so that a change of language shows the functions of this save.
TEST_F(ConfigFilesTest, LabelsLoadFromTheLanguageSectionAndSaveIntoEveryLanguageSection)
{
    WriteList("Travel");
    WriteConfig("config2.bin", 1, Patterned(10));
    WriteFileBytes(dir / "str2.ini", kLabelFile);
    ASSERT_TRUE(files.LoadConfig(record).Done());
    ASSERT_EQ(files.LabelPath(), dir / "str2.ini");
    files.EditedLabels().fill("stale");
    files.LoadLabels(Language::English);
    EXPECT_EQ(files.ButtonLabel(), (std::array<std::string, kButtonCount>{"Click", "Menu", "", "", "", "", "", "", "",
                                                                          "", "", "Button Off"}));
    EXPECT_EQ(std::tie(files.Skin().path, files.Skin().red, files.Skin().green, files.Skin().blue),
              std::make_tuple("Dark", 230, 12, 0));
    const PointSettings& point = files.Point();
    EXPECT_EQ(std::tie(point.sensitivityX_Y, point.sensitivityY_Y, point.sensitivity_Y, point.mouseSpeed_Y),
              std::make_tuple(36, 96, -4, 0));

    files.LoadLabels(Language::TraditionalChinese);
    EXPECT_EQ(files.ButtonLabel()[0], "左鍵");
    EXPECT_EQ(files.ButtonLabel()[1], "");

    files.EditedLabels() = {
        "Click",        "Menu",       "Universal Scroll", "Left Title Scroll", "Right Title Scroll",   "CPI +", "CPI -",
        "Single Key-A", "Button Off", "Button Off",       "Macro Key-Run",     "Combo Key-Left Ctrl+B"};
    EXPECT_TRUE(files.SaveLabels(Language::English).Done());
    EXPECT_EQ(ReadFileBytes(files.LabelPath()),
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

// A label that would break the file keeps the value the file has. A file that cannot be written
// stays as it is; the outcome names it and why. Before any load there is no label file to write.
TEST_F(ConfigFilesTest, SaveLabelsRefusesALabelThatWouldBreakTheFileAndReturnsAFileItCannotWrite)
{
    EXPECT_EQ(files.SaveLabels(Language::English).error, make_error_code(FileError::FileMissing));
    ConfigFiles::Labels labels;
    labels.fill("Click");
    labels[4] = "Single Key-A\r\n[Profile]";
    const FileOutcome refused = files.SaveLabelsTo(dir / "str0.ini", labels, Language::English);
    EXPECT_EQ(refused.error, make_error_code(FileError::LabelBreaksLine));
    const std::string text = ReadFileBytes(dir / "str0.ini");
    EXPECT_EQ(text.find("[Profile]"), std::string::npos);
    EXPECT_NE(text.find("Item12=Click\r\n"), std::string::npos);

    std::filesystem::create_directory(dir / "str1.ini");
    const FileOutcome unwritable = files.SaveLabelsTo(dir / "str1.ini", labels, Language::SimplifiedChinese);
    EXPECT_EQ(unwritable.error, std::error_code(EISDIR, std::generic_category()));
    EXPECT_EQ(unwritable.file, dir / "str1.ini");
    EXPECT_EQ(FileFailureMessage(unwritable.file, unwritable.error.value(), Language::SimplifiedChinese),
              "Error Code is: 21 \n" + (dir / "str1.ini").string() + ": 这是文件夹，不是文件");
}

// The user's data directory: seeded from the installed factory files, never overwritten, so that
// a rebuild (which writes the factory files again) leaves the user's profiles alone.
using DataDirectoryTest = test::InstalledProfiles;

TEST_F(DataDirectoryTest, FirstUseCopiesTheFactoryFilesIntoAPrivateFolderThatARebuildLeavesAlone)
{
    const test::TempDir home;
    const std::filesystem::path data = home / ".local/share/veldrane";
    ASSERT_TRUE(DataDirectory::Seed(dir.Path(), data).Done());
    for (const auto& folder : {home / ".local", home / ".local/share", data}) {
        EXPECT_EQ(std::filesystem::status(folder).permissions() & std::filesystem::perms::all,
                  std::filesystem::perms::owner_all)
            << folder;
    }
    // record.ini is not installed, so not made up.
    EXPECT_EQ(test::ReadFolder(data), test::ReadFolder(dir.Path()));
    // The installed copies are read-only; the user's must take a save.
    std::filesystem::permissions(dir / "config0.bin", std::filesystem::perms::owner_read);
    std::filesystem::remove(data / "config0.bin");
    ASSERT_TRUE(DataDirectory::Seed(dir.Path(), data).Done());
    EXPECT_NE(std::filesystem::status(data / "config0.bin").permissions() & std::filesystem::perms::owner_write,
              std::filesystem::perms::none);

    WriteFileBytes(home / "file", "x");
    const FileOutcome blocked = DataDirectory::Seed(dir.Path(), home / "file" / "veldrane");
    EXPECT_EQ(blocked.error, std::make_error_code(std::errc::not_a_directory)) << "a folder that cannot be made";
    EXPECT_EQ(blocked.file, home / "file" / "veldrane");

    // A rebuild of the factory files leaves the user's files alone. The user saved report rate 4 into the first profile
    // and removed a label file.
    ProfileRecord saved = FactoryProfile();
    saved.reportRate = 4;
    WriteFileBytes(data / "config0.bin", ConfigFile::Encode(1, saved));
    std::filesystem::remove(data / "str3.ini");

    // The build runs the factory generator again, and the program starts again.
    ASSERT_EQ(WriteFactoryFiles(dir.Path(), codec), "");
    ASSERT_TRUE(DataDirectory::Seed(dir.Path(), data).Done());

    EXPECT_EQ(ReadFileBytes(data / "config0.bin"), ConfigFile::Encode(1, saved));
    EXPECT_EQ(ReadFileBytes(data / "str3.ini"), ReadFileBytes(dir / "str3.ini"));
    EXPECT_EQ(test::ReadFolder(data).size(), DataDirectory::SeedFileNames().size() - 1) << "a temporary was left";
}

using test::HexBytes;

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

// One byte of a loaded record and what it becomes: the nearest value the window's controls give,
// with the group of settings it belongs to reported as changed. Every other byte stays, the
// buttons and the macros are never touched, and stages 5 and 6 are kept as they are. The pointer
// dials were kept too, and a damaged import showed a speed dial at position 0.
TEST(ProfileRecord, LoadBringsEachByteToTheNearestControlValueAndNoOtherByte)
{
    ProfileRecord original{};
    std::iota(original.Bytes().begin(), original.Bytes().end(), std::uint8_t{1});
    ProfileRecord baseline = original;
    (void)BringIntoControlRange(baseline);
    EXPECT_EQ(baseline.macroData, original.macroData);
    EXPECT_EQ(baseline.buttonFunction, original.buttonFunction);
    EXPECT_TRUE(BringIntoControlRange(baseline).empty()) << "a record in range stays and reports nothing";
    using G = SettingGroup;
    const std::optional<G> none;
    // offset, stored, loaded, the group reported
    // clang-format off
    const std::vector<std::tuple<std::size_t, int, int, std::optional<G>>> cases{
        {0x005, 0, 1, G::ReportRate}, {0x005, 3, 2, G::ReportRate} /* a tie goes to the faster rate */,
        {0x005, 7, 8, G::ReportRate}, {0x005, 200, 8, G::ReportRate}, {0x005, 4, 4, none},
        {0x006, 2, 0, G::SideButtonLight}, {0x007, 0, 1, G::CpiStages}, {0x00A, 200, 164, G::CpiStages},
        {0x00B, 200, 200, none}, {0x00F, 2, 1, G::CpiStages}, {0x013, 2, 2, none}, {0x02F, 9, 3, G::Lighting},
        {0x030, 0, 1, G::Lighting}, {0x032, 7, 6, G::Lighting}, {0x033, 2, 0, G::MouseSpeed},
        {0x034, 2, 0, G::ScrollSpeed}, {0x035, 0, 1, G::MouseSpeed}, {0x035, 13, 12, G::MouseSpeed},
        {0x035, 12, 12, none}, {0x036, 0, 1, G::ScrollSpeed}, {0x036, 101, 100, G::ScrollSpeed},
        {0x036, 100, 100, none}, {0x037, 0, 1, G::DoubleClickSpeed}, {0x037, 255, 12, G::DoubleClickSpeed},
        {0x038, 0, 1, G::AngleSnap}, {0x039, 0xEE, 0xEE, none}, {0x03A, 12, 11, G::Sensitivity},
        {0x03B, 255, 11, G::Sensitivity}};
    // clang-format on
    for (const auto& [offset, stored, loaded, group] : cases) {
        ProfileRecord record = baseline;
        record.Bytes()[offset] = static_cast<std::uint8_t>(stored);
        const std::vector<SettingGroup> changed = BringIntoControlRange(record);
        ProfileRecord expected = baseline;
        expected.Bytes()[offset] = static_cast<std::uint8_t>(loaded);
        EXPECT_EQ(record, expected) << "offset " << offset << " stored " << stored;
        EXPECT_EQ(changed, group ? std::vector<SettingGroup>{*group} : std::vector<SettingGroup>{})
            << "offset " << offset << " stored " << stored;
    }
}

using Names = std::vector<std::string>;

class ProfileManagerTest : public test::InstalledProfiles
{
protected:
    ProfileManager& Manager()
    {
        if (!m_manager) {
            m_manager.emplace(ProfileManagerContext{files, codec, language});
            EXPECT_FALSE(m_manager->LoadProfileList().error);
        }
        return *m_manager;
    }
    void Delete(std::size_t line)
    {
        Manager().OnListClick(line);
        EXPECT_TRUE(Manager().DeleteProfile());
    }
    // Section "Profile" of the list, which a store writes last.
    std::string StoredList()
    {
        const std::string list = ReadFileBytes(dir / "str.ini");
        return list.substr(list.find("[Profile]"));
    }

    Language language = Language::English;

private:
    std::optional<ProfileManager> m_manager;
};

TEST_F(ProfileManagerTest, NewCopyAndRenameNameTheLines)
{
    StoreList({}, ""); // read as PROFILE_0, the name the loader repairs such a list to
    ASSERT_TRUE(Manager().NewProfile());
    EXPECT_EQ(Manager().Selected(), 1u);
    Manager().CommitRename(1, "  Game_99999999999  ");
    Manager().CommitRename(1, "   ");
    Manager().CommitRename(1, "two\nlines");
    Manager().CommitRename(7, "nowhere");
    // The number after the last name's, with the language's base name (without a number in the
    // last name: the count of names).
    ASSERT_TRUE(Manager().NewProfile());
    Manager().OnListClick(0);
    Manager().CopyProfile(); // the language's copy word before the selected name
    EXPECT_EQ(Manager().Names(), (Names{"PROFILE_0", "Game_99999999999", "PROFILE_2147483648", "Copy PROFILE_0"}));
    EXPECT_EQ(Manager().Selected(), 0u);
}

TEST_F(ProfileManagerTest, SixNamesNewWarnsAndCopyAddsNothing)
{
    StoreList({"a", "b", "c", "d", "e", "f"}, "c");
    EXPECT_FALSE(Manager().NewProfile());
    Manager().CopyProfile();
    EXPECT_EQ(Manager().Names(), (Names{"a", "b", "c", "d", "e", "f"}));
}

// The stored name is matched whole, as the loader reads it: an exact match (the last one) wins
// over one that ignores case (the first one); opening changes nothing.
TEST_F(ProfileManagerTest, StoredNameSelectsItsLine)
{
    // clang-format off
    const std::vector<std::tuple<Names, const char*, std::optional<std::size_t>>> cases{
        {{"PROFILE_10", "PROFILE_1"}, "PROFILE_1", 1}, {{"PROFILE_10"}, "PROFILE_1", std::nullopt},
        {{"PROFILE_0", "PROFILE_1"}, "profile_1", 1}, {{"game", "Game"}, "Game", 1}, {{"x", "y", "x"}, "x", 2},
        {{"X", "y", "X"}, "x", 0}};
    // clang-format on
    for (const auto& [names, stored, selected] : cases) {
        StoreList(names, stored);
        files.SelectProfileIndex(5);
        ProfileManager manager(ProfileManagerContext{files, codec, language});
        EXPECT_FALSE(manager.LoadProfileList().error);
        EXPECT_EQ(manager.Selected(), selected) << stored;
        EXPECT_EQ(files.CurrentProfileIndex(), 5);
        EXPECT_EQ(manager.RememberedPosition(), std::nullopt);
    }
}

// The list is written as the whole section in order, stale keys gone.
TEST_F(ProfileManagerTest, CloseWritesTheWholeSection)
{
    InstallThree();
    ASSERT_EQ(IniFile(dir / "str.ini", codec).WriteString("Profile", "Stale", "x"), IniWriteResult::Written);
    Manager().CommitRename(1, "Games");
    Delete(2);
    ASSERT_TRUE(Manager().NewProfile());
    Manager().CommitRename(2, "C");
    EXPECT_TRUE(Manager().CloseManager().Stored());
    EXPECT_EQ(StoredList(), "[Profile]\r\nCurProfileName=C\r\nItemCount=3\r\nItem0=A\r\nItem1=Games\r\nItem2=C\r\n");
    EXPECT_EQ(files.CurrentProfileIndex(), 2);
    EXPECT_EQ(SettingsOf(1), Patterned(11)); // a renamed name keeps its files
    EXPECT_EQ(LabelOf(1), "label B");
}

// Deleting the last name left an empty list: the next start showed a black window, and Save sent
// an all-zero profile.
TEST_F(ProfileManagerTest, TheOnlyNameIsNeverDeleted)
{
    InstallThree();
    for (const bool deleted : {true, true, false}) {
        Manager().OnListClick(0);
        EXPECT_EQ(Manager().DeleteProfile(), deleted);
    }
    ASSERT_TRUE(Manager().CloseManager().Stored());
    EXPECT_EQ(StoredList(), "[Profile]\r\nCurProfileName=C\r\nItemCount=1\r\nItem0=C\r\n");
    EXPECT_EQ(SettingsOf(0), Patterned(12));
}

// Each name keeps its settings and labels wherever it moves; a new name gets the factory files
// (the label file without a list), and a position that no name had before is left alone.
TEST_F(ProfileManagerTest, DeleteAndCopyKeepEachNamesFiles)
{
    InstallThree();
    GiveSlot(3, 13, "not listed");
    GiveSlot(5, 15, "not listed");
    Manager().OnListClick(0);
    Manager().CopyProfile();             // "Copy A" at 3
    ASSERT_TRUE(Manager().NewProfile()); // "Copy A_4" at 4
    Delete(0);                           // everything moves up one
    Manager().OnListClick(0);            // B
    ASSERT_TRUE(Manager().CloseManager().Stored());

    EXPECT_EQ(StoredList(), "[Profile]\r\nCurProfileName=B\r\nItemCount=4\r\nItem0=B\r\nItem1=C\r\n"
                            "Item2=Copy A\r\nItem3=Copy A_4\r\n");
    EXPECT_EQ(files.CurrentProfileIndex(), 0);
    for (const auto& [index, seed, label] : {std::tuple{0, 11, "label B"}, {1, 12, "label C"}, {2, 10, "label A"}}) {
        EXPECT_EQ(SettingsOf(index), Patterned(static_cast<std::uint8_t>(seed))) << index;
        EXPECT_EQ(LabelOf(index), label);
    }
    // The factory label file is "str.ini" without its list.
    const std::string factoryLabels = ReadFileBytes(dir / "str.ini");
    EXPECT_EQ(ReadFileBytes(dir / "str3.ini"), factoryLabels.substr(0, factoryLabels.find("[Profile]")));
    EXPECT_EQ(ReadFileBytes(dir / "config3.bin"), ReadFileBytes(dir / "config.bin"));
    EXPECT_EQ(SettingsOf(5), Patterned(15));

    ProfileRecord loaded{};
    EXPECT_TRUE(files.LoadConfig(loaded).Done());
    EXPECT_EQ(loaded, Patterned(11)) << "the loader finds B's own settings under B";
}

// A list that cannot be stored puts every moved file back; a profile file that cannot be read
// stops the move before anything is written.
TEST_F(ProfileManagerTest, AFailedStoreLeavesTheOldLayoutWhole)
{
    InstallThree();
    // A stray byte that Windows-1252 has no character for: the list is read but never rewritten.
    const std::string list = ReadFileBytes(dir / "str.ini");
    const std::string damaged = list + "; \x81\r\n";
    test::WriteFileBytes(dir / "str.ini", damaged);
    const test::FolderState before = test::ReadFolder(dir.Path());
    files.SelectProfileIndex(1);
    Delete(0);
    const ProfileListStore unstored = Manager().CloseManager();
    EXPECT_FALSE(unstored.Stored());
    EXPECT_EQ(unstored.failure.error, std::error_code(EIO, std::generic_category()));
    EXPECT_EQ(unstored.failure.file, dir / "str.ini");
    EXPECT_TRUE(unstored.undoFailure.Done());
    EXPECT_EQ(test::ReadFolder(dir.Path()), before);
    EXPECT_EQ(Manager().Names(), (Names{"B", "C"})) << "the user's names stay for another try";
    EXPECT_EQ(files.CurrentProfileIndex(), 1);

    test::WriteFileBytes(dir / "str.ini", list);
    std::filesystem::remove(dir / "config2.bin");
    std::filesystem::create_directory(dir / "config2.bin");
    const ProfileListStore unread = Manager().CloseManager();
    EXPECT_FALSE(unread.Stored());
    EXPECT_EQ(unread.failure.file, dir / "config2.bin");
    EXPECT_TRUE(unread.undoFailure.Done());
    EXPECT_EQ(ReadFileBytes(dir / "str.ini"), list);
    EXPECT_EQ(SettingsOf(0), Patterned(10));
}

// The rules of "apps.ini" follow a renamed or moved name in the same step as its files; a deleted
// name's rules (and the default) go, with a note; a list that cannot be stored leaves them as they were.
TEST_F(ProfileManagerTest, ApplicationRulesFollowTheirNames)
{
    InstallThree();
    AppRules rules;
    rules.SetEnabled(true);
    ASSERT_TRUE(rules.AddApp("A", "firefox"));
    ASSERT_TRUE(rules.AddApp("B", "steam"));
    ASSERT_TRUE(rules.AddApp("C", "gimp"));
    ASSERT_TRUE(rules.SetDefaultProfile("A"));
    ASSERT_FALSE(WriteAppRules(dir.Path(), rules));
    const std::string before = ReadFileBytes(dir / "apps.ini");

    const std::string list = ReadFileBytes(dir / "str.ini");
    test::WriteFileBytes(dir / "str.ini", list + "; \x81\r\n");
    Manager().CommitRename(1, "Games");
    EXPECT_FALSE(Manager().CloseManager().Stored());
    EXPECT_EQ(ReadFileBytes(dir / "apps.ini"), before);

    test::WriteFileBytes(dir / "str.ini", list);
    Delete(0);
    Manager().OnListClick(0);
    Manager().CopyProfile(); // "Copy Games" takes Games' files but not its rules
    const ProfileListStore stored = Manager().CloseManager();
    ASSERT_TRUE(stored.Stored());
    EXPECT_EQ(ReadFileBytes(dir / "apps.ini"), "[Settings]\r\nEnabled=1\r\nSwitches=0\r\n"
                                               "[Games]\r\nApp0=steam\r\n[C]\r\nApp0=gimp\r\n");
    EXPECT_EQ(stored.droppedRules, (Names{"A"}));
    EXPECT_TRUE(stored.commitFailure.Done());
    EXPECT_FALSE(std::filesystem::exists(dir / "profiles.journal"));
}

// The manager follows the loaded profile through the edits: a save while it is open lands in that
// profile's files, wherever its name moves when the list is stored.
TEST_F(ProfileManagerTest, TheLoadedProfileKeepsItsFilesWhileTheListChanges)
{
    InstallThree();
    files.SelectProfileIndex(2); // C is loaded
    Delete(0);
    EXPECT_EQ(Manager().LoadedPosition(), 1u);
    ASSERT_TRUE(files.SaveConfig(Patterned(99)).Done()); // still C's old position: nothing has moved yet
    ASSERT_TRUE(Manager().StoreKeepingCurrent().Stored());
    EXPECT_EQ(files.CurrentProfileIndex(), 1);
    EXPECT_EQ(StoredList(), "[Profile]\r\nCurProfileName=C\r\nItemCount=2\r\nItem0=B\r\nItem1=C\r\n");
    ASSERT_TRUE(files.SaveConfig(Patterned(98)).Done());
    EXPECT_EQ(SettingsOf(0), Patterned(11)); // B's own
    EXPECT_EQ(SettingsOf(1), Patterned(98)); // C's, saved twice
    EXPECT_EQ(LabelOf(1), "label C");
}

// The section goes to the end of the file whole, old keys and all gone; without a selection the
// first name is stored as the selected one, and an empty list keeps only the count.
TEST(ProfileList, ReplacementWritesTheSectionAsTheProgramStoresIt)
{
    test::TempDir dir;
    const IconvTextCodec codec;
    IniFile list(dir / "str.ini", codec);
    test::WriteFileBytes(dir / "str.ini", "[Profile]\r\nItem5=old\r\nItemCount=6\r\n[Skins]\r\nPath=Default\r\n");
    ASSERT_EQ(list.Apply(ProfileList::Replacement(Names{"PROFILE_0", "Game"}, 1u)), IniWriteResult::Written);
    EXPECT_EQ(ReadFileBytes(dir / "str.ini"), "[Skins]\r\nPath=Default\r\n[Profile]\r\nCurProfileName=Game\r\n"
                                              "ItemCount=2\r\nItem0=PROFILE_0\r\nItem1=Game\r\n");
    ASSERT_EQ(list.Apply(ProfileList::Replacement(Names{"a", "b"}, std::nullopt)), IniWriteResult::Written);
    EXPECT_EQ(ReadFileBytes(dir / "str.ini"),
              "[Skins]\r\nPath=Default\r\n[Profile]\r\nCurProfileName=a\r\nItemCount=2\r\nItem0=a\r\nItem1=b\r\n");
    ASSERT_EQ(list.Apply(ProfileList::Replacement(Names{}, std::nullopt)), IniWriteResult::Written);
    EXPECT_EQ(ReadFileBytes(dir / "str.ini"), "[Skins]\r\nPath=Default\r\n[Profile]\r\nItemCount=0\r\n");
}

using ProfileSlotMoverTest = test::InstalledProfiles;

// A kill between the moves, or between the moves and the list, left names on other names' files:
// the next start takes the step back whole, and then forgets it.
TEST_F(ProfileSlotMoverTest, AStepCutOffIsTakenBackWholeAtTheNextStart)
{
    GiveSlot(0, 10, "zero");
    GiveSlot(1, 11, "one");
    std::filesystem::remove(dir / "str2.ini");
    const test::FolderState before = test::ReadFolder(dir.Path());
    ProfileSlotMover mover{dir.Path(), codec};
    const std::vector<ProfileFileSource> sources{1, std::nullopt, 0};
    ASSERT_TRUE(mover.Move(sources, 2).Done());
    // The program stops before the list is stored (or after: the list is in the journal too).
    ASSERT_EQ(IniFile(dir / "str.ini", codec).WriteString("Profile", "ItemCount", "3"), IniWriteResult::Written);

    EXPECT_FALSE(ProfileSlotMover::Recover(dir.Path()).error);
    EXPECT_EQ(test::ReadFolder(dir.Path()), before) << "str2.ini and the journal gone too";
    EXPECT_FALSE(ProfileSlotMover::Recover(dir.Path()).error) << "nothing left to do";

    // A completed step leaves the swapped files and no journal behind.
    ASSERT_TRUE(mover.Move(sources, 2).Done());
    EXPECT_TRUE(mover.Commit().Done());
    EXPECT_FALSE(std::filesystem::exists(dir / "profiles.journal"));
    EXPECT_EQ(SettingsOf(0), Patterned(11));
    EXPECT_EQ(LabelOf(0), "one");
    EXPECT_EQ(SettingsOf(2), Patterned(10));
    EXPECT_EQ(LabelOf(2), "zero");

    // A journal cut short is not believed. It gave "Error Code is: 5" at every start: it is kept
    // aside, the files stay as they are, and the next start has nothing to say.
    const std::string damaged = "veldrane profile move 1\nconfig0.bin\n1825\nxx";
    test::WriteFileBytes(dir / "profiles.journal", damaged);
    const ProfileSlotMover::Recovery recovery = ProfileSlotMover::Recover(dir.Path());
    EXPECT_EQ(recovery.error, make_error_code(FileError::DamagedJournal));
    EXPECT_EQ(SettingsOf(0), Patterned(11));
    EXPECT_FALSE(std::filesystem::exists(dir / "profiles.journal"));
    EXPECT_EQ(recovery.keptAside.parent_path(), dir.Path());
    EXPECT_TRUE(recovery.keptAside.filename().string().starts_with("profiles.journal.broken-"));
    EXPECT_EQ(test::ReadFileBytes(recovery.keptAside), damaged);
    EXPECT_EQ(JournalRecoveryMessage(dir / "profiles.journal", recovery.error, recovery.keptAside,
                                     Language::SimplifiedChinese),
              "配置文件的一次更改被中断且无法完成：其日志文件已损坏。配置文件保持原样；日志文件已保留为：\n" +
                  recovery.keptAside.string());
    EXPECT_FALSE(ProfileSlotMover::Recover(dir.Path()).error);
}

class ProfileTransferTest : public test::InstalledProfiles
{
protected:
    // Profile 0 holds a saved profile (flag 1), selected and loaded.
    ProfileTransferTest()
    {
        GiveSlot(0, 1, "");
        EXPECT_TRUE(files.LoadConfig(record).Done());
        EXPECT_EQ(files.FirstRunFlag(), 1);
        files.LoadLabels(Language::English);
        std::filesystem::create_directories(outside);
    }

    // Import and export never move the selected profile off its own files.
    void ExpectTheSelectedProfilesFiles()
    {
        EXPECT_EQ(files.ConfigPath(), dir / ProfileConfigName(files.CurrentProfileIndex()));
        EXPECT_EQ(files.LabelPath(), dir / ProfileLabelName(files.CurrentProfileIndex()));
    }

    ProfileRecord record{};
    // Only a file's own name counts: the ".bin" of this folder's name neither makes a name a profile
    // file nor turns into ".ini" in a label file's path.
    std::filesystem::path outside = dir / "exports.bin";
    ProfileTransfer transfer{files, codec, Language::English};
};

TEST_F(ProfileTransferTest, ImportTakesTheWholeRecordAndTheLabelsBesideIt)
{
    files.SelectProfileIndex(2);
    ProfileRecord stored = Patterned(40);
    stored.reportRate = 0; // no control gives these: they come in as the nearest the controls give
    stored.lightMode = 200;
    // The labels are beside, under the name with its first ".bin" made ".ini".
    WriteFileBytes(outside / "mine.bin.old", ConfigFile::Encode(0, stored));
    ASSERT_EQ(IniFile(outside / "mine.ini.old", codec).WriteString("Setting-EN", "Item1", "Fire"),
              IniWriteResult::Written);
    const SkinSettings skin = files.Skin();

    const TransferOutcome imported = transfer.ImportFrom(outside / "mine.bin.old", record);
    EXPECT_TRUE(imported.changed);
    EXPECT_TRUE(imported.failures.empty());
    ProfileRecord expected = Patterned(40); // the twelve macros too
    expected.reportRate = 1;
    expected.lightMode = 3;
    EXPECT_EQ(record, expected);
    EXPECT_EQ(files.FirstRunFlag(), 0);
    EXPECT_EQ(files.ButtonLabel()[0], "Fire");
    EXPECT_EQ(files.ButtonLabel()[1], ""); // missing in the file: empty, not a default
    // An exported label file has no "Skins": the text colour and skin stay.
    EXPECT_EQ(files.Skin().red, skin.red);
    EXPECT_EQ(files.Skin().path, skin.path);
    ExpectTheSelectedProfilesFiles();
}

TEST_F(ProfileTransferTest, ImportOfAFileOfAnotherSizeNamesItAndChangesNothing)
{
    const ProfileRecord before = record;
    const auto labels = files.ButtonLabel();
    ASSERT_EQ(IniFile(outside / "odd.ini", codec).WriteString("Setting-EN", "Item1", "Fire"), IniWriteResult::Written);
    for (const std::size_t size : {0, 1824, 1826}) {
        WriteFileBytes(outside / "odd.bin", std::string(size, '\x07'));
        const TransferOutcome refused = transfer.ImportFrom(outside / "odd.bin", record);
        EXPECT_FALSE(refused.changed);
        ASSERT_EQ(refused.failures.size(), 1u);
        EXPECT_EQ(refused.failures[0].error, FileError::WrongProfileSize);
        EXPECT_EQ(refused.failures[0].file, outside / "odd.bin");
        EXPECT_EQ(refused.wrongSize, size);
    }
    EXPECT_EQ(record, before);
    EXPECT_EQ(files.ButtonLabel(), labels);
    EXPECT_EQ(files.FirstRunFlag(), 1);
    ExpectTheSelectedProfilesFiles();
}

// There are six profiles: "config6" is no program file.
TEST_F(ProfileTransferTest, ExportWithoutAnExtensionWritesBinAndIniInBothPlaces)
{
    files.SetButtonLabel(0, "Fire");
    EXPECT_TRUE(transfer.ExportTo(outside / "config6", Patterned(50)).failures.empty());
    for (const std::filesystem::path& folder : {outside, dir.Path()}) {
        EXPECT_EQ(ReadFileBytes(folder / "config6.bin"), ConfigFile::Encode(1, Patterned(50))) << folder;
        const IniFile labels(folder / "config6.ini", codec);
        EXPECT_EQ(labels.GetString("Setting-EN", "Item1"), "Fire");
        EXPECT_EQ(labels.KeyNames("Setting-EN").size(), 12u);
        EXPECT_TRUE(labels.KeyNames("Skins").empty());
    }
    EXPECT_FALSE(std::filesystem::exists(outside / "config6"));
    ExpectTheSelectedProfilesFiles();
}

// Case does not count, and a name is refused too when its label file would be one of them.
TEST_F(ProfileTransferTest, ExportUnderAProgramFileNameIsRefusedAndWritesNothing)
{
    const test::FolderState before = test::ReadFolder(dir.Path());
    for (const char* name : {"config2", "config.bin", "Config5.bin", "str.bin", "Str4.bin", "record.bin"}) {
        const TransferOutcome refused = transfer.ExportTo(outside / name, Patterned(50));
        EXPECT_FALSE(refused.changed) << name;
        EXPECT_TRUE(refused.failures.empty());
        EXPECT_EQ(refused.refusedName,
                  std::string(name).find(".bin") == std::string::npos ? name + std::string(".bin") : std::string(name));
    }
    EXPECT_TRUE(std::filesystem::is_empty(outside));
    EXPECT_EQ(test::ReadFolder(dir.Path()), before);
    EXPECT_FALSE(ProfileTransfer::IsProgramFileName("myconfig0.bin")) << "the whole name counts";
}

using namespace std::chrono_literals;

AppRules TwoRules()
{
    AppRules rules;
    rules.SetEnabled(true);
    EXPECT_TRUE(rules.AddApp("PROFILE_1", "Firefox"));
    EXPECT_TRUE(rules.AddApp("PROFILE_2", "steam"));
    EXPECT_TRUE(rules.SetDefaultProfile("PROFILE_0"));
    return rules;
}

struct MatchCase
{
    const char* what;
    FocusedWindow window;
    std::optional<std::string> profile;
};

using AppRulesMatch = testing::TestWithParam<MatchCase>;

TEST_P(AppRulesMatch, NamesTheProfileOfTheFirstFieldARuleNames)
{
    AppRules rules;
    ASSERT_TRUE(rules.AddApp("ByClass", "Navigator"));
    ASSERT_TRUE(rules.AddApp("ById", "org.mozilla.firefox"));
    ASSERT_TRUE(rules.AddApp("ByExe", "firefox-bin"));
    ASSERT_TRUE(rules.AddApp("ByInstance", "navigator-main"));
    EXPECT_EQ(rules.Match(GetParam().window), GetParam().profile) << GetParam().what;
}

INSTANTIATE_TEST_SUITE_P(
    Order, AppRulesMatch,
    testing::Values(
        MatchCase{"app id first", {"org.mozilla.firefox", "Navigator", "navigator-main", "firefox-bin"}, "ById"},
        MatchCase{"desktop-file id with case and suffix", {"ORG.Mozilla.Firefox.desktop", "", "", ""}, "ById"},
        MatchCase{"class before instance", {"other", "NAVIGATOR", "navigator-main", "firefox-bin"}, "ByClass"},
        MatchCase{"instance before executable", {"", "x", "Navigator-Main", "firefox-bin"}, "ByInstance"},
        MatchCase{"executable last", {"", "x", "y", "Firefox-Bin"}, "ByExe"},
        MatchCase{"no field named", {"a", "b", "c", "d"}, std::nullopt},
        MatchCase{"the desktop itself", {}, std::nullopt}));

TEST(AppRules, FileHoldsSettingsAndOneSectionPerProfile)
{
    AppRules rules = TwoRules();
    ASSERT_TRUE(rules.AddApp("PROFILE_1", "code"));
    rules.CountSwitch();
    rules.CountSwitch();
    const std::string text = rules.Serialise();
    EXPECT_EQ(text, "[Settings]\r\nEnabled=1\r\nDefault=PROFILE_0\r\nSwitches=2\r\n"
                    "[PROFILE_1]\r\nApp0=Firefox\r\nApp1=code\r\n[PROFILE_2]\r\nApp0=steam\r\n");
    const AppRules read = AppRules::Parse(text);
    EXPECT_EQ(read.Serialise(), text);
    EXPECT_EQ(read.AppsOf("profile_1"), (std::vector<std::string>{"Firefox", "code"}));
}

TEST(AppRules, ReadStopsAtTheFirstGapAndSkipsWhatCannotBeAProfile)
{
    const AppRules rules = AppRules::Parse("[Settings]\nEnabled=yes\nSwitches=12x\n[Game]\nApp0=a\nApp2=c\n"
                                           "[settings]\nApp0=b\n");
    EXPECT_FALSE(rules.Enabled());
    EXPECT_EQ(rules.Switches(), 0u);
    EXPECT_EQ(rules.Profiles(), std::vector<std::string>{"Game"});
    EXPECT_EQ(rules.AppsOf("Game"), std::vector<std::string>{"a"});
}

TEST(AppRules, AnAppBelongsToOneProfileAndBadTextIsRefused)
{
    AppRules rules = TwoRules();
    ASSERT_TRUE(rules.AddApp("PROFILE_2", "FIREFOX"));
    EXPECT_EQ(rules.Profiles(), std::vector<std::string>{"PROFILE_2"});
    EXPECT_EQ(rules.Match({"firefox", "", "", ""}), "PROFILE_2");
    EXPECT_FALSE(rules.AddApp("PROFILE_2", "a\nApp9=b"));
    EXPECT_FALSE(rules.AddApp("Bad]Name", "x"));
    EXPECT_FALSE(rules.AddApp("Settings", "x"));
    EXPECT_FALSE(rules.SetDefaultProfile("Settings"));
    rules.RemoveApp("profile_2", "Steam");
    EXPECT_EQ(rules.AppsOf("PROFILE_2"), std::vector<std::string>{"FIREFOX"});
}

TEST(AppRules, RulesFollowRenamedProfilesAndDropDeletedOnes)
{
    AppRules rules = TwoRules();
    // PROFILE_1 renamed to Game, PROFILE_0 (the default) renamed to Desk, PROFILE_2 deleted.
    const std::vector<std::string> dropped =
        rules.FollowProfiles({{"PROFILE_1", "Game"}, {"PROFILE_0", "Desk"}}, {"Desk", "Game"});
    EXPECT_EQ(dropped, std::vector<std::string>{"PROFILE_2"});
    EXPECT_EQ(rules.Match({"firefox", "", "", ""}), "Game");
    EXPECT_EQ(rules.Match({"steam", "", "", ""}), std::nullopt);
    EXPECT_EQ(rules.DefaultProfile(), "Desk");

    // Swapped names swap their rules.
    AppRules swapped = TwoRules();
    EXPECT_TRUE(swapped
                    .FollowProfiles({{"PROFILE_1", "PROFILE_2"}, {"PROFILE_2", "PROFILE_1"}},
                                    {"PROFILE_0", "PROFILE_1", "PROFILE_2"})
                    .empty());
    EXPECT_EQ(swapped.AppsOf("PROFILE_2"), std::vector<std::string>{"Firefox"});

    AppRules noDefault = TwoRules();
    EXPECT_EQ(noDefault.FollowProfiles({}, {"PROFILE_1", "PROFILE_2"}), std::vector<std::string>{"PROFILE_0"});
    EXPECT_EQ(noDefault.DefaultProfile(), std::nullopt);
}

// No file in the data folder is no error: switching is off until the user turns it on.
TEST(AppRules, NoFileInTheDataFolderReadsAsSwitchingOff)
{
    test::TempDir dir;
    const AppRulesRead missing = ReadAppRules(dir.Path());
    EXPECT_FALSE(missing.error);
    EXPECT_FALSE(missing.rules.Enabled());
}

class AppSwitcherTest : public testing::Test
{
protected:
    AppSwitcher::Decision Decide(std::optional<std::string_view> mouse = "PROFILE_0", SwitchBlockers blockers = {})
    {
        return switcher.Decide(rules, mouse, blockers);
    }
    void Focus(std::string appId) { switcher.FocusChanged({std::move(appId), "", "", ""}); }

    test::FakeClock clock;
    AppRules rules = TwoRules();
    AppSwitcher switcher{clock};
};

TEST_F(AppSwitcherTest, SwitchesOnlyAfterTheFocusHasLastedOneSecond)
{
    clock.now = 10s;
    Focus("firefox");
    EXPECT_EQ(Decide().lookAgain, 11s);
    clock.now = 10s + 999ms;
    EXPECT_EQ(Decide().profile, std::nullopt);
    // Alt+Tab crosses steam on the way back: the time starts again for the window that stays.
    Focus("steam");
    clock.now = 10s + 1300ms;
    Focus("firefox");
    clock.now = 11s + 1200ms;
    EXPECT_EQ(Decide().profile, std::nullopt);
    clock.now = 11s + 1300ms;
    EXPECT_EQ(Decide().profile, "PROFILE_1");
}

TEST_F(AppSwitcherTest, NothingWhenTheMouseHoldsTheProfileOrSwitchingIsOff)
{
    Focus("firefox");
    clock.now = 5s;
    EXPECT_EQ(Decide("profile_1").profile, std::nullopt);
    EXPECT_EQ(Decide("profile_1").lookAgain, std::nullopt);
    EXPECT_EQ(Decide(std::nullopt).profile, "PROFILE_1");
    rules.SetEnabled(false);
    EXPECT_EQ(Decide().profile, std::nullopt);
}

TEST_F(AppSwitcherTest, UnnamedWindowsAndTheDesktopBringTheDefault)
{
    Focus("gimp");
    clock.now = 2s;
    EXPECT_EQ(Decide("PROFILE_2").profile, "PROFILE_0");
    switcher.FocusChanged({});
    clock.now = 4s;
    EXPECT_EQ(Decide("PROFILE_2").profile, "PROFILE_0");
    ASSERT_TRUE(rules.SetDefaultProfile(std::nullopt));
    EXPECT_EQ(Decide("PROFILE_2").profile, std::nullopt);
}

using AppSwitcherBlocked = Parameterised<AppSwitcherTest, SwitchBlockers>;

TEST_P(AppSwitcherBlocked, WaitsUntilNothingBlocks)
{
    Focus("steam");
    clock.now = 3s;
    const AppSwitcher::Decision blocked = Decide("PROFILE_0", GetParam());
    EXPECT_EQ(blocked.profile, std::nullopt);
    EXPECT_EQ(blocked.lookAgain, 3s + AppSwitcher::kBlockedRetry);
    clock.now = 60s;
    EXPECT_EQ(Decide("PROFILE_0", GetParam()).profile, std::nullopt);
    EXPECT_EQ(Decide("PROFILE_0", {}).profile, "PROFILE_2");
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Each, AppSwitcherBlocked, testing::Values(SwitchBlockers{true, false, false, false},
    SwitchBlockers{false, true, false, false}, SwitchBlockers{false, false, true, false},
    SwitchBlockers{false, false, false, true}));
// clang-format on

TEST(FocusSession, WaylandDesktopDecidesBeforeXwayland)
{
    EXPECT_EQ(FocusSessionOf("", ":0", "openbox"), FocusSession::X11);
    EXPECT_EQ(FocusSessionOf("wayland-0", ":0", "KDE"), FocusSession::KdeWayland);
    EXPECT_EQ(FocusSessionOf("wayland-0", "", "ubuntu:GNOME"), FocusSession::GnomeWayland);
    EXPECT_EQ(FocusSessionOf("wayland-0", ":1", "sway"), FocusSession::OtherWayland);
    EXPECT_EQ(FocusSessionOf("wayland-0", "", "GNOME-Flashback"), FocusSession::OtherWayland);
    EXPECT_EQ(FocusSessionOf("", "", "GNOME"), FocusSession::Headless);
}

// The readable profile form: a record the controls produce comes back byte for byte on a fresh
// data folder with its macros, a broken document is refused field by field with nothing changed,
// and macros join the macro file without overwriting any.
// A data folder seeded with the factory files and three named profiles, with a macro file of
// its own when given macros.
struct DataFolder
{
    explicit DataFolder(const std::vector<MacroRecord>& macros = {})
    {
        test::CopyFactoryFiles(dir.Path());
        const std::vector<std::string> names{"Work", "Game", "Draw"};
        EXPECT_TRUE(files.StoreSelectedProfile(names, 0));
        for (const MacroRecord& macro : macros) {
            EXPECT_EQ(WriteLoopTimes(macroFile, macro.name, 1), IniWriteResult::Written);
            EXPECT_EQ(SaveMacro(macroFile, macro), MacroSaveResult::Saved);
        }
    }

    ProfileRecord Factory() const { return ConfigFile::Read(dir / "config.bin").contents.record; }
    ProfileRecord Stored(std::size_t i) const { return ConfigFile::Read(dir / ProfileConfigName(i)).contents.record; }

    test::TempDir dir;
    IconvTextCodec codec;
    test::RecordingMessageSink messages;
    ConfigFiles files{dir.Path(), codec};
    IniFile macroFile{dir / "record.ini", codec};
    ProfileJsonTransfer transfer{files, macroFile, codec};
};

MacroRecord RandomMacro(std::mt19937& random, const std::string& name)
{
    const std::vector<std::string_view> keys = KeyNames();
    MacroRecord macro;
    macro.name = name;
    macro.DelayTimeSelStatus = static_cast<int>(random() % 2);
    macro.LoopTimeSelStatus = static_cast<int>(random() % 2);
    macro.MacroLoopTimes = std::to_string(1 + random() % 65535);
    const std::size_t events = random() % 8;
    for (std::size_t i = 0; i < events; ++i) {
        const std::string_view key = keys[random() % keys.size()];
        macro.items.push_back(MacroItem::Press(key));
        macro.items.push_back(MacroItem::Delay(static_cast<long>(random() % 30000)));
        macro.items.push_back(MacroItem::Release(key));
    }
    return macro;
}

// What the window's controls can make of the factory profile: every setting in its range, and
// each button given two functions in a row, so that the first one's parameters stay behind.
ProfileRecord RandomRecord(std::mt19937& random, const ProfileRecord& factory, std::size_t macroCount,
                           ButtonLabels& labels)
{
    ProfileRecord record = factory;
    const auto pick = [&](int low, int high) { return static_cast<std::uint8_t>(low + random() % (high - low + 1)); };
    record.deviceProfile = 0;
    record.reportRate = std::array<std::uint8_t, 4>{1, 2, 4, 8}[random() % 4];
    for (std::size_t stage = 0; stage < 4; ++stage) {
        record.cpiValue[stage] = pick(1, 164);
        record.cpiEnabled[stage] = pick(0, 1);
        for (std::size_t c = 0; c < 3; ++c) {
            record.cpiColor[stage * 3 + c] = pick(0, 255);
        }
    }
    for (auto& level : record.lightLevel) {
        level = pick(1, 6);
    }
    using R = ProfileRecord;
    // clang-format off
    for (const auto& [field, low, high] : {std::tuple{&R::lightMode, 0, 3}, {&R::sideButtonLight, 0, 1},
            {&R::pointerPrecision, 0, 1}, {&R::scrollOneScreen, 0, 1}, {&R::mouseSpeed, 1, 12},
            {&R::scrollLines, 1, 100}, {&R::doubleClickSpeed, 1, 12}, {&R::angleSnap, 1, 11},
            {&R::sensitivityX, 1, 11}, {&R::sensitivityY, 1, 11}}) {
        // clang-format on
        record.*field = pick(low, high);
    }

    const std::vector<std::string_view> keys = KeyNames();
    const auto key = [&]() -> std::string_view { return random() % 5 == 0 ? "" : keys[random() % keys.size()]; };
    ButtonAssignment assign(record, labels, Language::English);
    const std::array plain{FunctionCode::Click, FunctionCode::DoubleClick, FunctionCode::ButtonOff,
                           FunctionCode::RightTitleScroll};
    for (std::size_t button = 0; button < kButtonCount; ++button) {
        for (int round = 0; round < 2; ++round) {
            const auto code = static_cast<FunctionCode>(pick(6, 9));
            const auto macro =
                static_cast<std::uint8_t>(random() % std::clamp(macroCount, std::size_t{1}, kMacroCount));
            const std::string_view modifier = random() % 4 == 0 ? "" : ModifierNames()[random() % 8];
            const auto kind = random() % 6;
            EXPECT_TRUE(kind == 0   ? assign.StorePlainFunction(button, plain[random() % 4])
                        : kind == 1 ? assign.StoreSubmenuChoice(button, code, random() % SubmenuSize(code))
                        : kind == 2 ? assign.StoreSingleKey(button, keys[random() % keys.size()])
                        : kind == 3 ? assign.StoreComboKey(button, modifier, key(), key())
                                    : macroCount == 0 || assign.StoreMacroBinding(button, macro, pick(0, 2), "m"));
        }
    }
    return record;
}

TEST(ProfileJson, ExportedRecordsImportedOnAFreshFolderComeBackByteForByteWithTheirMacros)
{
    std::mt19937 random(20261208);
    for (int round = 0; round < 30; ++round) {
        std::vector<MacroRecord> macros;
        const std::size_t macroCount = random() % 15;
        for (std::size_t i = 0; i < macroCount; ++i) {
            macros.push_back(RandomMacro(random, "Macro " + std::to_string(i)));
        }
        DataFolder source(macros);
        ButtonLabels labels;
        labels.fill("Click");
        ProfileRecord record = RandomRecord(random, source.Factory(), macroCount, labels);
        record.macroData = RebuildMacroData(source.macroFile, macroCount);

        const std::string json = source.transfer.Export(record, labels, "Shared");
        DataFolder fresh;
        const JsonImport imported = fresh.transfer.ImportInto(2, json);
        ASSERT_TRUE(imported.Done()) << round << ": "
                                     << (imported.problems.empty() ? imported.error : imported.problems[0]);
        EXPECT_TRUE(imported.renamedMacros.empty());

        const ProfileRecord back = fresh.Stored(2);
        ASSERT_TRUE(std::ranges::equal(back.Bytes(), record.Bytes())) << "round " << round << "\n" << json;
        EXPECT_EQ(ConfigFile::Read(fresh.dir / "config2.bin").contents.firstRunFlag, 1);
        const std::vector<std::string> names = ListMacroNames(fresh.macroFile);
        ASSERT_EQ(names.size(), std::min(macroCount, kMacroCount));
        for (std::size_t i = 0; i < names.size(); ++i) {
            EXPECT_EQ(LoadMacro(fresh.macroFile, names[i]), macros[i]);
        }
        EXPECT_EQ(IniFile(fresh.dir / "str2.ini", fresh.codec).GetString("Setting-EN", "Item12"), labels[11]);
        // Imported into the same folder, every macro is found by its content: nothing is added.
        ASSERT_TRUE(source.transfer.ImportInto(1, json).Done());
        EXPECT_EQ(ListMacroNames(source.macroFile).size(), macroCount);
        EXPECT_TRUE(std::ranges::equal(source.Stored(1).Bytes(), record.Bytes()));
    }
}

// A document the user wrote by hand: the key and function names are those of the menus.
TEST(ProfileJson, ExportNamesFunctionsKeysAndColoursAsTheMenusDo)
{
    DataFolder folder({RandomMacro(*std::make_unique<std::mt19937>(1), "Greeting")});
    ProfileRecord record = folder.Factory();
    ButtonLabels labels;
    ButtonAssignment assign(record, labels, Language::English);
    ASSERT_TRUE(assign.StoreComboKey(0, "Left Ctrl", "C", ""));
    ASSERT_TRUE(assign.StoreSubmenuChoice(1, FunctionCode::Multimedia, 5));
    ASSERT_TRUE(assign.StoreMacroBinding(2, 0, 1, "Greeting"));
    std::ranges::copy(std::array<std::uint8_t, 3>{0x0A, 0xBC, 0xFF}, record.cpiColor.begin() + 3);
    record.cpiValue[1] = 32;
    record.reportRate = 4;

    const auto json = nlohmann::json::parse(folder.transfer.Export(record, labels, "Mine"));
    EXPECT_EQ(json["format"], "veldrane-profile");
    EXPECT_EQ(json["version"], 1);
    EXPECT_EQ(json["reportRateHz"], 250);
    EXPECT_EQ(json["cpiStages"][1]["cpi"], 1600);
    EXPECT_EQ(json["cpiStages"][1]["colour"], "#0ABCFF");
    EXPECT_EQ(json["buttons"][0]["function"], "Combo Key");
    EXPECT_EQ(json["buttons"][0]["modifier"], "Left Ctrl");
    EXPECT_EQ(json["buttons"][0]["keys"], nlohmann::json::parse(R"(["C", null])"));
    EXPECT_EQ(json["buttons"][0]["label"], "Combo Key-Left Ctrl+C");
    EXPECT_EQ(json["buttons"][1]["action"], "Mute");
    EXPECT_EQ(json["buttons"][2]["macro"], "Greeting");
    EXPECT_EQ(json["buttons"][2]["repeat"], 1);
    EXPECT_EQ(json["macros"][0]["name"], "Greeting");
}

struct BrokenCase
{
    const char* name;
    std::string pointer; // where the document is changed (a JSON pointer)
    nlohmann::json value;
    std::vector<std::string> problems;
};

using BrokenDocument = ::testing::TestWithParam<BrokenCase>;

// Each bad field is named with what is wrong, and nothing is written: not the profile, not its
// labels, not the macro file.
TEST_P(BrokenDocument, IsRefusedFieldByFieldChangingNothing)
{
    const BrokenCase& c = GetParam();
    DataFolder folder({RandomMacro(*std::make_unique<std::mt19937>(2), "Greeting")});
    ButtonLabels labels;
    labels.fill("Click");
    ProfileRecord record = folder.Factory();
    ButtonAssignment(record, labels, Language::English).StoreMacroBinding(4, 0, 0, "Greeting");
    nlohmann::json document = nlohmann::json::parse(folder.transfer.Export(record, labels, "Mine"));
    if (c.value.is_discarded()) {
        document.erase(nlohmann::json::json_pointer(c.pointer).back());
    } else {
        document[nlohmann::json::json_pointer(c.pointer)] = c.value;
    }
    std::string text = document.dump();
    if (std::string_view(c.name) == "NotJson") {
        text.pop_back();
    }
    const test::FolderState before = test::ReadFolder(folder.dir.Path());

    const JsonImport imported = folder.transfer.ImportInto(1, text);
    EXPECT_EQ(imported.problems, c.problems);
    EXPECT_EQ(test::ReadFolder(folder.dir.Path()), before);
}

const nlohmann::json kRemoved = nlohmann::json::value_t::discarded;

using Json = nlohmann::json;
// clang-format off
INSTANTIATE_TEST_SUITE_P(Fields, BrokenDocument, ::testing::Values(
    BrokenCase{"NotJson", "/name", "x", {"the text is not JSON"}},
    BrokenCase{"Format", "/format", "other", {"format: must be \"veldrane-profile\""}},
    BrokenCase{"ReportRate", "/reportRateHz", 300, {"reportRateHz: must be 1000, 500, 250 or 125"}},
    BrokenCase{"Cpi", "/cpiStages/2/cpi", 8250, {"cpiStages[2].cpi: must be a multiple of 50 from 50 to 8200"}},
    BrokenCase{"Colour", "/cpiStages/0/colour", "red", {"cpiStages[0].colour: must be a colour \"#RRGGBB\""}},
    BrokenCase{"Missing", "/angleSnap", kRemoved, {"angleSnap: missing"}},
    BrokenCase{"Unknown", "/colour", "red", {"colour: is not a field of the profile form"}},
    BrokenCase{"LightMode", "/lighting/mode", "disco",
        {"lighting.mode: must be one of \"off\", \"single colour\", \"pulsating\", \"multi-colour\""}},
    BrokenCase{"Level", "/lighting/levels/1", 7, {"lighting.levels[1]: must be a whole number from 1 to 6"}},
    BrokenCase{"Key", "/buttons/3", Json{{"function", "Single Key"}, {"key", "Hyper"}, {"label", ""}},
        {"buttons[3].key: must be a key name of the key table or null"}},
    BrokenCase{"Parameter", "/buttons/3", Json{{"function", "Click"}, {"key", "A"}, {"label", ""}},
        {"buttons[3].key: is not a parameter of Click"}},
    BrokenCase{"Macro", "/buttons/4/macro", "Nothing", {"buttons[4].macro: must name one of the profile's macros"}},
    BrokenCase{"MacroName", "/macros/0/name", "[x]", {"macros[0].name: cannot name a macro (brackets are not allowed)",
        "buttons[4].macro: must name one of the profile's macros"}},
    BrokenCase{"Several", "/sensitivity", Json{{"x", 0}, {"y", 12}},
        {"sensitivity.x: must be a whole number from 1 to 11", "sensitivity.y: must be a whole number from 1 to 11"}}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

// A macro of the document whose name the file gives to other content is added under a new name
// and reported; the file's macro keeps its content, and the button plays the one it came with.
TEST(ProfileJson, MacroNameClashIsRenamedAndReportedNeverOverwritten)
{
    std::mt19937 random(3);
    const MacroRecord theirs = RandomMacro(random, "Greeting");
    MacroRecord mine = RandomMacro(random, "Greeting");
    mine.items.push_back(MacroItem::Delay(5));
    DataFolder target({RandomMacro(random, "Other"), theirs});
    DataFolder source({mine});
    ButtonLabels labels;
    ProfileRecord record = source.Factory();
    ASSERT_TRUE(ButtonAssignment(record, labels, Language::English).StoreMacroBinding(0, 0, 0, "Greeting"));

    const JsonImport imported = target.transfer.ImportInto(0, source.transfer.Export(record, labels, "Mine"));
    ASSERT_TRUE(imported.Done());
    EXPECT_EQ(imported.renamedMacros, (std::vector<std::pair<std::string, std::string>>{{"Greeting", "Greeting (2)"}}));
    EXPECT_EQ(ListMacroNames(target.macroFile), (std::vector<std::string>{"Other", "Greeting", "Greeting (2)"}));
    EXPECT_EQ(LoadMacro(target.macroFile, "Greeting"), theirs);
    MacroRecord renamed = mine;
    renamed.name = "Greeting (2)";
    EXPECT_EQ(LoadMacro(target.macroFile, "Greeting (2)"), renamed);
    EXPECT_EQ(target.Stored(0).macroNumber[0], 2);
    EXPECT_EQ(target.Stored(0).MacroBuffer(2)[0], EncodeMacro(renamed)[0]);
}

// The label and macro files: reads, snapshots and batches of edits through the real code pages, and
// the Unicode conversions beneath them.
using test::FileAccessCounter;
using namespace std::string_literals;

// One label file in a fresh directory, read and written through the real code pages.
class IniFileFixture : public ::testing::Test
{
protected:
    IniFile File(LegacyCodePage fallback = LegacyCodePage::Windows1252) const { return {m_path, m_codec, fallback}; }
    void Store(std::string_view bytes) const { test::WriteFileBytes(m_path, bytes); }
    std::string Stored() const { return test::ReadFileBytes(m_path); }

    test::TempDir m_dir;
    std::filesystem::path m_path = m_dir / "str0.ini";
    IconvTextCodec m_codec;
};

// A UTF-16 LE file of `text`, byte-order mark first; lone surrogates stay as they are.
std::string Utf16File(std::u16string_view text)
{
    std::string bytes = "\xFF\xFE";
    for (const char16_t unit : text) {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>(unit >> 8);
    }
    return bytes;
}

// Chinese texts in the legacy code pages: "左键" and "右键" in GBK, "左鍵" and "右鍵" in Big5.
const std::string kUtf8Bom = "\xEF\xBB\xBF";
const std::string kGbkClick = "\xD7\xF3\xBC\xFC";
const std::string kGbkMenu = "\xD3\xD2\xBC\xFC";
const std::string kBig5Click = "\xA5\xAA\xC1\xE4";
const std::string kBig5Menu = "\xA5\x6B\xC1\xE4";

struct ReadCase
{
    const char* name;
    std::string file;
    std::string section;
    std::string key;
    std::string expected;
    LegacyCodePage fallback = LegacyCodePage::Windows1252; // the interface language's, for a file without "Lan"
};

using IniFileRead = Parameterised<IniFileFixture, ReadCase>;

TEST_P(IniFileRead, GetString)
{
    Store(GetParam().file);
    EXPECT_EQ(File(GetParam().fallback).GetString(GetParam().section, GetParam().key, "default"), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Lookups, IniFileRead,
    ::testing::Values(
        ReadCase{"SectionAndKeyIgnoreCase", "[Skins]\r\nLan=CHS\r\n", "sKINS", "LAN", "CHS"},
        ReadCase{"ValueLosesSurroundingBlanks", "[S]\r\nk= \t spaced out \t\r\n", "S", "k", "spaced out"},
        ReadCase{"DoubleQuotesRemoved", "[S]\r\nk=\"a\"\r\n", "S", "k", "a"},
        ReadCase{"MismatchedQuotesKept", "[S]\r\nk=\"c'\r\n", "S", "k", "\"c'"},
        ReadCase{"OnlyOnePairRemoved", "[S]\r\nk=\"\"d\"\"\r\n", "S", "k", "\"d\""},
        ReadCase{"PresentEmptyValueIsNotDefault", "[S]\r\nk=\r\n", "S", "k", ""},
        ReadCase{"MissingKeyReadsDefault", "[S]\r\nk=1\r\n", "S", "other", "default"},
        ReadCase{"FirstDuplicateKeyWins", "[S]\r\nk=first\r\nK=second\r\n", "S", "k", "first"},
        ReadCase{"KeyOnlyInSecondDuplicateSectionIsMissing", "[S]\r\na=1\r\n[S]\r\nk=2\r\n", "S", "k", "default"},
        ReadCase{"NonAsciiNamesCompareExactly", "[宏一]\r\n键=值\r\n", "宏一", "键", "值"},
        ReadCase{"MegabyteLine", "[S]\r\nk=" + std::string(1 << 20, 'x'), "S", "k",
                 std::string(kProfileBufferChars - 1, 'x')},
        // The encoding: a byte-order mark, else the code page that "Lan" names, else the
        // interface language's; bytes that are no text read as U+FFFD.
        ReadCase{"Utf16Le", Utf16File(u"[S]\r\nk=左键\r\n"), "S", "k", "左键"},
        ReadCase{"Utf16LoneSurrogates", Utf16File(u"[S]\r\nk=\xD83Dx\xDE00\r\n"), "S", "k",
                 "\xEF\xBF\xBDx\xEF\xBF\xBD"},
        ReadCase{"Utf16OddLastByte", Utf16File(u"[S]\r\nk=x") + "\x41", "S", "k", "x\xEF\xBF\xBD"},
        ReadCase{"Utf8WithBom", kUtf8Bom + "[S]\r\nk=左鍵\xC3x\r\n", "S", "k", "左鍵\xEF\xBF\xBDx"},
        ReadCase{"LanChsIsGbk", "[S]\r\nk=" + kGbkClick + "\r\n[Skins]\r\nLan=CHS\r\n", "S", "k", "左键"},
        // The second byte of "右" in Big5 is 'k': a trail byte that is ASCII must not confuse the key.
        ReadCase{"LanChtIsBig5", "[Skins]\r\nlan = \"CHT\"\r\n[S]\r\nk=" + kBig5Menu, "S", "k", "右鍵"},
        ReadCase{"NoLanUsesGbkFallback", "[S]\r\nk=" + kGbkClick, "S", "k", "左键", LegacyCodePage::Gbk},
        ReadCase{"NoLanUsesCp1252Fallback", "[S]\r\nk=Caf\xE9\x81", "S", "k", "Caf\xC3\xA9\xEF\xBF\xBD"},
        ReadCase{"LanEnBeatsGbkFallback", "[Skins]\r\nLan=EN\r\n[S]\r\nk=Caf\xE9", "S", "k", "Café",
                 LegacyCodePage::Gbk},
        ReadCase{"LowerCaseChsIsNotChinese", "[Skins]\r\nLan=chs\r\n[S]\r\nk=\xD7\xF3", "S", "k", "×ó",
                 LegacyCodePage::Gbk},
        ReadCase{"LanOutsideSkinsDoesNotCount", "[Point]\r\nLan=CHS\r\n[S]\r\nk=\xD7\xF3", "S", "k", "×ó"}),
    [](const auto& info) { return info.param.name; });

TEST_F(IniFileFixture, MissingFileReadsDefaultWithoutTrailingBlanks)
{
    EXPECT_EQ(File().GetString("Skins", "Lan", "EN  "), "EN");
    EXPECT_EQ(File().GetString("Skins", "Lan"), "");
    EXPECT_FALSE(File().Exists());
}

TEST_F(IniFileFixture, ReadOfBufferSizeReturnsOneCharacterLess)
{
    // The default buffer's cut is the MegabyteLine lookup's.
    Store("[S]\r\nshort=左键abc\r\n");
    EXPECT_EQ(File().GetString("S", "short", {}, 4), "左键a");
    EXPECT_EQ(File().GetString("S", "short", {}, 1), "");
    EXPECT_EQ(File().GetString("S", "missing", "左键", 2), "左");
}

TEST(ParseDecimal, ReadsLikeWtoiAndSaturates)
{
    EXPECT_EQ(ParseDecimal("  42abc"), 42);
    EXPECT_EQ(ParseDecimal("- 5"), 0);
    EXPECT_EQ(ParseDecimal("99999999999999999999"), INT_MAX);
    EXPECT_EQ(ParseDecimal("-2147483649"), INT_MIN);
}

TEST_F(IniFileFixture, SnapshotReadsTheFileOnceAndKeepsWhatItRead)
{
    Store("k=orphan\r\n[ Macro_0 ]\r\n  DelayTimeSelStatus = 1 \r\n; Item0=commented\r\nMacroLoopTimes=\"300\"\r\n"
          "not a key\r\nITEM0='A   Dn'\r\nitem0=B   Dn\r\nEmpty=\r\n; [NotASection]\r\n"
          "[macro_0]\r\nItem1=second section\r\n[Macro_1]\r\nItemCount=2\r\n[]\r\n[Unclosed\r\n");
    FileAccessCounter access(m_path);
    const IniSnapshot snapshot = File().Read();
    Store("[Other]\r\nItemCount=9\r\n");
    // Each section and key once, in file order, with its first value.
    EXPECT_EQ(snapshot.SectionNames(), (std::vector<std::string>{"Macro_0", "Macro_1", ""}));
    EXPECT_EQ(snapshot.Section("MACRO_0"),
              (std::vector<IniEntry>{
                  {"DelayTimeSelStatus", "1"}, {"MacroLoopTimes", "300"}, {"ITEM0", "A   Dn"}, {"Empty", ""}}));
    EXPECT_EQ(snapshot.KeyNames("macro_0"),
              (std::vector<std::string>{"DelayTimeSelStatus", "MacroLoopTimes", "ITEM0", "Empty"}));
    EXPECT_TRUE(snapshot.Section("Macro_2").empty());
    EXPECT_EQ(snapshot.GetInt("Macro_1", "ItemCount"), 2);
    EXPECT_EQ(snapshot.GetString("Other", "ItemCount", "none  "), "none");
    // One open to read it, one by Store to overwrite it; the queries never went back to the disk.
    EXPECT_EQ(access.Opens(), 2);
}

TEST(IniNamesEqual, IgnoresAsciiCaseAndSurroundingBlanksOnly)
{
    EXPECT_TRUE(IniNamesEqual(" Item0\t", "ITEM0"));
    EXPECT_FALSE(IniNamesEqual("Item 0", "Item0"));
    EXPECT_FALSE(IniNamesEqual("Item", "Item0"));
    EXPECT_FALSE(IniNamesEqual("É", "é"));
    EXPECT_FALSE(IniNamesEqual("[", "{"));
}

const std::string kReplacement = "\xEF\xBF\xBD";

TEST(UnicodeText, Utf16LeBothWaysWithSurrogatePairsAndBrokenUnits)
{
    EXPECT_EQ(Utf16LeToUtf8(std::string("\x3D\xD8\x00\xDE", 4)), "\xF0\x9F\x98\x80");
    EXPECT_EQ(Utf16LeToUtf8(std::string("\x3D\xD8\x41\x00", 4)), kReplacement + "A");
    EXPECT_EQ(Utf8ToUtf16Le("左\xF0\x9F\x98\x80"), std::string("\xE6\x5D\x3D\xD8\x00\xDE", 6));
    EXPECT_EQ(Utf8ToUtf16Le("a\xC3"), std::string("a\0\xFD\xFF", 4));
}

TEST(UnicodeText, RefusesGbkOverlongSurrogatesAndCutSequencesReplacingEachOnce)
{
    EXPECT_TRUE(IsValidUtf8("左键\xF0\x9F\x98\x80"));
    for (const char* bad : {"\xD7\xF3\xBC\xFC", "\xE0\x80\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xE5\xB7"}) {
        EXPECT_FALSE(IsValidUtf8(bad)) << bad;
    }
    // The cut-off three-byte sequence E5 B7 is one replacement, not two, and one character.
    EXPECT_EQ(SanitiseUtf8(std::string("a\xE5\xB7") + "b\xFF"), "a" + kReplacement + "b" + kReplacement);
    EXPECT_EQ(Utf8Prefix(std::string("\xE5\xB7") + "b", 1), "\xE5\xB7");
}

const std::string kMacroFile = "; macros\n[Macro_0]\nMacroLoopTimes=1\nItem0=A   Dn\nItem1 = \"A   Up\" \n\n"
                               "[Macro_1]\nMacroLoopTimes=2\n[Macro_2]\nMacroLoopTimes=3\n";

const std::string kCp1252File = "[Setting-EN]\r\nItem1=Caf\xE9\r\n";
const std::string kUndecodableCp1252 = kCp1252File + "Item2=\x81x\r\n"; // 0x81: no character in Windows-1252
const std::string kMegabyteHeader = "[" + std::string(1 << 20, 'S') + "]\r\nItem1=Click\r\n";
const std::string kBrokenNames = "[Setting-EN]]\r\n[[Skins]\r\n[unclosed\r\n=no key\r\nItem1==Click=\r\n"
                                 "\t[ Setting-EN ]\t\r\n;[Point]\r\nItem1=\0\r\n"s;

struct EditCase
{
    const char* name;
    std::string before; // empty: there is no file
    std::function<void(IniBatch&)> edit;
    IniWriteResult result;
    std::string after{};     // empty: the file is as it was before
    std::error_code error{}; // the reason of an IoError
};

using IniFileEdit = Parameterised<IniFileFixture, EditCase>;

// A changed file is read once and replaced once, by a temporary file beside it that is gone
// afterwards; untouched lines keep their text, and every line ends in CR LF. A refused batch, or
// one that changes nothing, leaves every byte as it was.
TEST_P(IniFileEdit, WritesExactlyTheseBytes)
{
    const EditCase& edit = GetParam();
    if (!edit.before.empty()) {
        Store(edit.before);
    }
    IniBatch batch;
    edit.edit(batch);
    FileAccessCounter access(m_path);
    IniFile file = File();
    EXPECT_EQ(file.Apply(batch), edit.result);
    EXPECT_EQ(file.LastError(), edit.error);
    // A refused name or value is refused before the file is read.
    const bool refused = edit.result == IniWriteResult::RefusedName || edit.result == IniWriteResult::RefusedValue;
    EXPECT_EQ(access.Opens(), edit.before.empty() || refused ? 0 : 1);
    EXPECT_EQ(access.Replacements(), edit.after.empty() ? 0 : 1);
    const std::string expected = edit.after.empty() ? edit.before : edit.after;
    EXPECT_EQ(File().Exists(), !expected.empty());
    if (!expected.empty()) {
        EXPECT_EQ(Stored(), expected);
    }
    const auto entries = std::distance(std::filesystem::directory_iterator(m_dir.Path()), {});
    EXPECT_EQ(entries, expected.empty() ? 0 : 1);
}

std::function<void(IniBatch&)> Write(std::string section, std::string key, std::string value)
{
    return [=](IniBatch& batch) { batch.WriteString(section, key, value); };
}

// A bad name or value between two good edits, which must refuse the whole batch.
std::function<void(IniBatch&)> Between(std::string section, std::string key, std::string value)
{
    return [=](IniBatch& batch) {
        batch.DeleteSection("Macro_0");
        batch.WriteString(section, key, value);
        batch.WriteString("Macro_1", "Item0", "A   Dn");
    };
}

const auto kWriteSpeed = Write("Point", "MouseSpeed_Y", "7");
const std::string kSpeed = "[Point]\r\nMouseSpeed_Y=7\r\n";
const std::string kGbkFile = "[Setting-CHS]\r\nItem1=" + kGbkClick + "\r\n[Skins]\r\nLan=CHS\r\n";
const std::string kBig5File = "[Skins]\r\nlan = \"CHT\"\r\n[Setting-CHT]\r\nItem1=" + kBig5Click + "\r\n";

constexpr auto kWritten = IniWriteResult::Written;
constexpr auto kIoError = IniWriteResult::IoError;
constexpr auto kRefusedName = IniWriteResult::RefusedName;
constexpr auto kRefusedValue = IniWriteResult::RefusedValue;

void WriteProfileNameAndCount(IniBatch& batch)
{
    batch.WriteString("Profile", "CurProfileName", "PROFILE 1");
    batch.WriteInt("Profile", "ItemCount", -12);
}

void EditMacros(IniBatch& batch)
{
    batch.WriteString("macro_0", "ITEM1", "B   Up"); // in place, keeping the key's spelling
    batch.WriteInt("Macro_0", "ItemCount", 2);       // after the section's last key
    batch.DeleteKey("Macro_0", "Item0");
    batch.DeleteSection("Macro_1");
    batch.WriteString("Macro_1", "MacroLoopTimes", "7"); // the section comes back at the end
    batch.WriteString("Macro_3", "Item0", "C   Dn");
    batch.DeleteKey("Macro_3", "Item0"); // what the batch wrote, it can take back
    batch.DeleteKey("Macro_2", "Missing");
}

void WriteHangulAmongGoodEdits(IniBatch& batch)
{
    batch.WriteString("Skins", "Path", "Default");
    batch.WriteString("Setting-CHS", "Item2", "한");
    batch.DeleteKey("Setting-CHS", "Item1");
}

INSTANTIATE_TEST_SUITE_P(
    Edits, IniFileEdit,
    testing::Values(
        EditCase{"FirstWriteCreatesUtf8", "", WriteProfileNameAndCount, kWritten,
                 "[Profile]\r\nCurProfileName=PROFILE 1\r\nItemCount=-12\r\n"},
        EditCase{"BatchInOrder", kMacroFile, EditMacros, kWritten,
                 "; macros\r\n[Macro_0]\r\nMacroLoopTimes=1\r\nItem1=B   Up\r\nItemCount=2\r\n\r\n"
                 "[Macro_2]\r\nMacroLoopTimes=3\r\n[Macro_1]\r\nMacroLoopTimes=7\r\n[Macro_3]\r\n"},
        EditCase{"NewKeyOfSectionWithoutKeysFollowsItsHeader", "[Point]\r\n; no keys yet\r\n[Skins]\r\n", kWriteSpeed,
                 kWritten, "[Point]\r\nMouseSpeed_Y=7\r\n; no keys yet\r\n[Skins]\r\n"},
        EditCase{"NewSectionAtTheEnd", "; top\n[A]\nk=1\nnot a key\n\n  ; indented comment  \n", kWriteSpeed, kWritten,
                 "; top\r\n[A]\r\nk=1\r\nnot a key\r\n\r\n  ; indented comment  \r\n" + kSpeed},
        EditCase{
            "DeleteKeyTakesEveryLineOfItFromTheFirstSection", "[S]\r\nk=1\r\n; kept\r\nK=2\r\nj=3\r\n[S]\r\nk=4\r\n",
            [](IniBatch& batch) { batch.DeleteKey("s", "k"); }, kWritten, "[S]\r\n; kept\r\nj=3\r\n[S]\r\nk=4\r\n"},
        EditCase{"DeleteSectionTakesEverySectionOfThatName",
                 "; top\r\n[Macro_1]\r\nk=1\r\n\r\n[Macro_2]\r\nk=2\r\n[macro_1]\r\nk=3\r\n",
                 [](IniBatch& batch) { batch.DeleteSection("Macro_1"); }, kWritten, "; top\r\n[Macro_2]\r\nk=2\r\n"},
        // Deleting what is not there changes nothing, and nothing is written: not even line ends.
        EditCase{"NothingToDeleteWritesNothing", kMacroFile,
                 [](IniBatch& batch) { batch.DeleteKey("Macro_0", "Item7"); }, kWritten},
        EditCase{"NothingToDeleteCreatesNoFile", "", [](IniBatch& batch) { batch.DeleteSection("Macro_9"); }, kWritten},
        EditCase{"SectionWithLineFeed", kMacroFile, Between("Macro\n[Skins]", "k", "v"), kRefusedName},
        EditCase{"SectionWithBrackets", kMacroFile, Between("a[b]c", "k", "v"), kRefusedName},
        EditCase{"KeyWithEquals", kMacroFile, Between("Skins", "Lan=CHS", "v"), kRefusedName},
        EditCase{"KeyThatWouldBeAComment", kMacroFile, Between("Skins", " ;k", "v"), kRefusedName},
        EditCase{"ValueWithLineBreak", kMacroFile, Between("Skins", "Path", "x\r\n[Point]"), kRefusedValue},
        EditCase{"ValueWithNul", kMacroFile, Between("Skins", "Path", std::string("x\0y", 3)), kRefusedValue},
        // A file is written back in the encoding it was read in.
        EditCase{"Utf16Le", Utf16File(u"[S]\r\nItem1=左键\r\n"), Write("S", "Item2", "右键"), kWritten,
                 Utf16File(u"[S]\r\nItem1=左键\r\nItem2=右键\r\n")},
        EditCase{"Utf8KeepsItsBom", kUtf8Bom + "[Point]\r\nItem1=左鍵\r\n", kWriteSpeed, kWritten,
                 kUtf8Bom + "[Point]\r\nItem1=左鍵\r\nMouseSpeed_Y=7\r\n"},
        EditCase{"GbkWithLanChs", kGbkFile, Write("Setting-CHS", "Item2", "右键"), kWritten,
                 "[Setting-CHS]\r\nItem1=" + kGbkClick + "\r\nItem2=" + kGbkMenu + "\r\n[Skins]\r\nLan=CHS\r\n"},
        // The second byte of "右" in Big5 is 'k': a trail byte that is ASCII must not confuse the key.
        EditCase{"Big5WithLanCht", kBig5File, Write("Setting-CHT", "Item2", "右鍵"), kWritten,
                 kBig5File + "Item2=" + kBig5Menu + "\r\n"},
        // A character the file's legacy code page lacks fails the whole batch.
        EditCase{"HangulInGbk", kGbkFile, WriteHangulAmongGoodEdits, kIoError, "", FileError::UnencodableText},
        EditCase{"ChineseInCp1252", kCp1252File, Write("Setting-EN", "Item2", "左键"), kIoError, "",
                 FileError::UnencodableText},
        // Bytes that are no text are never written: the write would turn them into U+FFFD for good,
        // in lines it did not touch.
        EditCase{"UndecodableCp1252", kUndecodableCp1252, kWriteSpeed, kIoError, "", FileError::UndecodableText},
        EditCase{"UndecodableUtf8WithBom", kUtf8Bom + "[S]\r\nk=\xC3x\r\n", kWriteSpeed, kIoError, "",
                 FileError::UndecodableText},
        EditCase{"Utf16LoneSurrogate", Utf16File(u"[S]\r\nk=\xD83Dx\xDE00\r\n"), kWriteSpeed, kIoError, "",
                 FileError::UndecodableText},
        EditCase{"Utf16OddLastByte", Utf16File(u"[S]\r\nk=x") + "\x41", kWriteSpeed, kIoError, "",
                 FileError::UndecodableText},
        // Files the program never wrote: its own section goes at the end, and what was there stays.
        EditCase{"TruncatedInsideACharacter", "[S]\r\nk=Cli\xE5\xB7", kWriteSpeed, kWritten,
                 "[S]\r\nk=Cli\xE5\xB7\r\n" + kSpeed},
        EditCase{"MegabyteHeader", kMegabyteHeader, kWriteSpeed, kWritten, kMegabyteHeader + kSpeed},
        EditCase{"NamesThatBreakTheStructure", kBrokenNames, kWriteSpeed, kWritten, kBrokenNames + kSpeed}),
    [](const auto& info) { return info.param.name; });

// Switching the interface language rewrites "Lan", which names the code page of the next read:
// the file follows it, or becomes UTF-8 when the new code page cannot hold its text.
TEST_F(IniFileFixture, ChangingLanKeepsEveryTextReadable)
{
    Store("[Skins]\r\nLan=EN\r\n[Setting-EN]\r\nItem1=Caf\xE9\r\n");
    EXPECT_EQ(File().WriteString("Skins", "Lan", "CHS"), IniWriteResult::Written);
    EXPECT_EQ(Stored(), "[Skins]\r\nLan=CHS\r\n[Setting-EN]\r\nItem1=Caf\xA8\xA6\r\n");
    EXPECT_EQ(File().GetString("Setting-EN", "Item1"), "Café");

    Store("[Skins]\r\nLan=CHS\r\n[Setting-CHS]\r\nItem1=" + kGbkClick + "\r\n");
    EXPECT_EQ(File().WriteString("Skins", "Lan", ""), IniWriteResult::Written);
    EXPECT_EQ(Stored(), "[Skins]\r\nLan=\r\n[Setting-CHS]\r\nItem1=左键\r\n");
    EXPECT_EQ(File().GetString("Setting-CHS", "Item1"), "左键");

    // Writing over the one byte that was no UTF-8 must not make "Ã®" read as "î".
    Store("[S]\r\nA=\xC3\xAE\r\nB=\xC5\r\n");
    EXPECT_EQ(File().WriteString("S", "B", "x"), IniWriteResult::Written);
    EXPECT_EQ(File().GetString("S", "A"), "Ã®");
}

// What is no regular file cannot be read, so it must not be replaced either; a FIFO is not even
// opened, since opening it would wait for a writer.
TEST_F(IniFileFixture, TargetThatIsNoRegularFileIsRefusedUntouched)
{
    for (const bool fifo : {false, true}) {
        std::filesystem::remove(m_path);
        if (fifo) {
            ASSERT_EQ(mkfifo(m_path.c_str(), 0600), 0);
        } else {
            std::filesystem::create_directory(m_path);
        }
        IniFile file = File();
        EXPECT_EQ(file.GetString("Skins", "Lan", "EN"), "EN");
        EXPECT_EQ(file.WriteString("Skins", "Lan", "CHS"), IniWriteResult::IoError);
        EXPECT_EQ(file.LastError(),
                  fifo ? std::error_code(FileError::NotRegularFile) : std::make_error_code(std::errc::is_a_directory));
        EXPECT_FALSE(file.DeleteSection("Skins"));
        EXPECT_EQ(WriteFileAtomically(m_path, "x"), file.LastError());
        EXPECT_EQ(std::filesystem::status(m_path).type(),
                  fifo ? std::filesystem::file_type::fifo : std::filesystem::file_type::directory);
    }
}

TEST_F(IniFileFixture, LeftoverTemporaryFilesAreRemovedAndNothingElse)
{
    Store(kMacroFile);
    const std::string leftover = std::string(kTemporaryFilePrefix) + "str0.ini.0123abcd";
    const std::string folder = std::string(kTemporaryFilePrefix) + "folder";
    test::WriteFileBytes(m_dir / leftover, "[Macro_0]\r\nItem1=A");
    test::WriteFileBytes(m_dir / "str0.ini.tmp-0123abcd", "the user's own");
    std::filesystem::create_directory(m_dir / folder);
    EXPECT_EQ(RemoveLeftoverTemporaryFiles(m_dir.Path()), 1u);
    EXPECT_FALSE(std::filesystem::exists(m_dir / leftover));
    EXPECT_EQ(Stored(), kMacroFile);
    EXPECT_TRUE(std::filesystem::exists(m_dir / "str0.ini.tmp-0123abcd"));
    EXPECT_TRUE(std::filesystem::exists(m_dir / folder));
}

// The texts of each language exactly as the user reads them, odd spellings and blanks included;
// the language a code chooses and the kind of message a text is.
constexpr Language kEn = Language::English;
constexpr Language kChs = Language::SimplifiedChinese;
constexpr Language kCht = Language::TraditionalChinese;

TEST(TextSets, EachLanguageReadsAsShipped)
{
    const std::pair<std::string_view, std::string_view> cases[] = {
        {CaptureDialogTextsFor(kEn).singlePrompt, "Please enter a key"},
        {CaptureDialogTextsFor(kEn).singleOk, "Ok"},
        {CaptureDialogTextsFor(kEn).comboOk, "OK"},
        {HelpDialogTextsFor(kCht).update, "Update 驱动更新"},
        {HelpDialogTextsFor(kEn).version, "Version\xEF\xBC\x9A"
                                          "1.1"}, // a full-width colon
        {ProfileManagerTextsFor(kChs).limitMessage, "最多可以新建6个配置。"},
        // Traditional Chinese has no blank before Ctrl.
        {MacroManagerTextsFor(kChs).recordingWindowText, "按 Ctrl+Break 停止录制"},
        {MacroManagerTextsFor(kCht).recordingWindowText, "按Ctrl+Break 停止錄製"},
        {MacroKeyDialogTextsFor(kEn).repeatModes[1], "Repeat until press any  mouse button to end"},
        {MainWindowTextsFor(kEn).cpiStageNotices[0], "Switch CPI into the first stage "},
        {MainWindowTextsFor(kEn).m1M5LightButton, "M1-M5 Light Button "},
        {MainWindowTextsFor(kChs).cpiStageNotices[5], "CPI切换到第六段 "},
        // After a download the user is told to press the button that is there: "Save".
        {MainWindowTextsFor(kEn).settingsNotTaken,
         "The gaming mouse did not take the settings. They are saved; plug the mouse in again and press Save."},
        {MainWindowTextsFor(kCht).savedWithoutMouse, "遊戲滑鼠未連接。設定已儲存，下次按「保存」時將寫入滑鼠。"},
        {OpenWindowText(kCht), "開啟"}};
    for (const auto& [shown, expected] : cases) {
        EXPECT_EQ(shown, expected);
    }
}

TEST(LanguageFromCode, OnlyTheExactUpperCaseCodesChooseChinese)
{
    EXPECT_EQ(LanguageFromCode("CHS"), Language::SimplifiedChinese);
    EXPECT_EQ(LanguageFromCode("CHT"), Language::TraditionalChinese);
    for (const std::string_view other : {std::string_view("EN"), std::string_view("chs"), std::string_view("CHS "),
                                         std::string_view("CHSCHT"), std::string_view{"CHS\0", 4}}) {
        EXPECT_EQ(LanguageFromCode(other), Language::English);
    }
    // A missing "Lan" key reads and writes the English labels.
    EXPECT_EQ(LanguageSectionName(LanguageFromCode("")), "Setting-EN");
    EXPECT_EQ(LanguageSectionName(Language::TraditionalChinese), "Setting-CHT");
}

TEST(FormatWithErrorCode, ReplacesOnlyTheFirstPlaceholder)
{
    EXPECT_EQ(FormatWithErrorCode(kFileOpenErrorFormat, 5), "Error Code is: 5 \n");
    EXPECT_EQ(FormatWithErrorCode("%d and %d", 7), "7 and %d");
}

TEST(KindOfMessage, WarningsByTheirCaptionErrorsByWhatTheySay)
{
    using Case = std::tuple<std::string_view, std::string_view, MessageKind>;
    // clang-format off
    for (const auto& [text, title, kind] : {Case{"Profile numbers up to 6.", "Warning", MessageKind::Warning},
            Case{kSetMouseFailed, kWarningTitle, MessageKind::Warning}, Case{kImageError, kConfigDialogImageFailed,
            MessageKind::Error}, Case{"Error Code is: 2 \n", kFileOpenErrorTitle, MessageKind::Error},
            Case{"KeyboardHook_ComboDlg Install error code :5\n", "Tessaly VELDRANE", MessageKind::Error},
            Case{"The update program was not found:\n/x", "Tessaly VELDRANE", MessageKind::Information},
            Case{"Switch CPI into the first stage 800", kInfoTitle, MessageKind::Information}}) {
        // clang-format on
        EXPECT_EQ(KindOfMessage(text, title), kind) << text;
    }
}

// Every saving operation, killed at moments spread over its whole run: what it leaves behind must
// be the files as they were or as the operation makes them, never half of one, never a mix that the
// operation would not leave in between, and no stray temporary file once the next start has cleaned
// up.
//
// Each operation runs in a child process on its own copy of an installation; the parent kills it
// with SIGKILL once in each of kKillsPerOperation slices of the time one whole run takes, at a
// random moment inside the slice; the slices shrink towards the end, where the files are committed.
// Where a kill lands decides nothing about the verdict: a sound operation passes at any moment.
using namespace test;

constexpr int kKillsPerOperation = 20;
constexpr std::uint32_t kSeed = 20261207;
// The kills grow denser towards the end of a run, where the renames that commit each save happen,
// and reach past the measured run, as one run may take longer than another.
constexpr double kLastKill = 1.3;

// One saving operation as the program runs it, on the installation in `folder`.
struct SavingOperation
{
    const char* name;
    // The files in the order the operation commits them; the files of one step change together.
    std::vector<std::vector<std::string>> steps;
    std::function<void(const std::filesystem::path& folder)> run;
};

// "Save" with the simulated mouse: the download, which ends by writing the selected profile's
// configuration and label files.
void SaveSelectedProfile(ConfigFiles& files, ProfileRecord& record)
{
    FakeClock clock;
    SimulatedMouse mouse{clock};
    DeviceLink link{mouse, clock};
    if (!FindMouse(link).Done()) {
        return;
    }
    DeviceImage image;
    (void)DownloadProfile(link, image, record, files);
}

// The program started on the installation in `folder`: its profile loaded, the profile list read
// into the manager.
struct OpenedProfileManager
{
    explicit OpenedProfileManager(const std::filesystem::path& folder)
        : files{folder, codec}, manager({files, codec, Language::English})
    {
        (void)files.LoadConfig(record).Done(); // what was on disk, whatever it is
        (void)manager.LoadProfileList();
    }

    IconvTextCodec codec;
    ConfigFiles files;
    ProfileRecord record;
    ProfileManager manager;
};

void Save(const std::filesystem::path& folder)
{
    OpenedProfileManager opened(folder);
    opened.record = Patterned(77);
    for (std::size_t button = 0; button < kButtonCount; ++button) {
        opened.files.SetButtonLabel(button, "saved " + std::to_string(button + 1));
    }
    SaveSelectedProfile(opened.files, opened.record);
}

// The profile manager closed after deleting "A": B and C move down with their files.
void CloseProfileList(const std::filesystem::path& folder)
{
    OpenedProfileManager opened(folder);
    opened.manager.OnListClick(0);
    (void)opened.manager.DeleteProfile();
    (void)opened.manager.CloseManager();
}

void SaveMacroOperation(const std::filesystem::path& folder)
{
    IconvTextCodec codec;
    IniFile macros(folder / kMacroFileName, codec);
    MacroRecord macro{"Macro_2", 1, 1, "9", {}};
    for (int i = 0; i < 40; ++i) {
        macro.items.insert(macro.items.end(),
                           {MacroItem::Press("B"), MacroItem::Delay(30 + i), MacroItem::Release("B")});
    }
    (void)SaveMacro(macros, macro); // killed on the way; what it returns is never seen
}

void RenameMacroOperation(const std::filesystem::path& folder)
{
    IconvTextCodec codec;
    IniFile macros(folder / kMacroFileName, codec);
    (void)RenameMacroSection(macros, "Macro_2", "Renamed"); // killed on the way, as above
}

// Import into the selected profile from the profile manager, then "Save".
void ImportOperation(const std::filesystem::path& folder)
{
    OpenedProfileManager opened(folder);
    opened.manager.OnListClick(1);
    if (!opened.manager.LoadSelected()) {
        return;
    }
    ProfileTransfer transfer(opened.files, opened.codec, Language::English);
    if (transfer.ImportFrom(folder / "exported.bin", opened.record).changed) {
        SaveSelectedProfile(opened.files, opened.record);
    }
}

const std::vector<SavingOperation>& Operations()
{
    static const std::vector<SavingOperation> operations{
        {"Save", {{"config1.bin"}, {"str1.ini"}}, Save},
        {"ProfileListOnClose",
         {{"config0.bin", "config1.bin", "config2.bin", "str0.ini", "str1.ini", "str2.ini", "str.ini"}},
         CloseProfileList},
        {"MacroSave", {{"record.ini"}}, SaveMacroOperation},
        {"MacroRename", {{"record.ini"}}, RenameMacroOperation},
        {"Import", {{"str.ini"}, {"config1.bin"}, {"str1.ini"}}, ImportOperation}};
    return operations;
}

// What a killed run left, against the files before and after a whole run: the faults found.
std::vector<std::string> Judge(const SavingOperation& operation, const FolderState& before, const FolderState& after,
                               const FolderState& left)
{
    std::vector<std::string> faults;
    std::map<std::string, bool> isNew; // the files the operation changes: whether each is new yet
    FolderState every = before;
    every.insert(after.begin(), after.end());
    every.insert(left.begin(), left.end());
    for (const auto& [name, bytes] : every) {
        const auto find = [&name](const FolderState& state) -> std::optional<std::string> {
            const auto it = state.find(name);
            return it == state.end() ? std::nullopt : std::optional(it->second);
        };
        const auto old = find(before);
        const auto now = find(after);
        const auto found = find(left);
        if (!old && !now) {
            faults.push_back(name + " was left behind");
        } else if (old == now && found != old) {
            faults.push_back(name + " changed though the operation leaves it as it was");
        } else if (old != now && (found == old || found == now)) {
            isNew[name] = found == now;
        } else if (old != now) {
            faults.push_back(name + " is neither its old nor its new version");
        }
    }
    // The steps must read as some first steps done and the rest not begun.
    bool laterBegun = false;
    for (auto step = operation.steps.rbegin(); step != operation.steps.rend(); ++step) {
        bool stepOld = false;
        bool stepNew = false;
        for (const std::string& name : *step) {
            if (const auto it = isNew.find(name); it != isNew.end()) {
                (it->second ? stepNew : stepOld) = true;
            }
        }
        if (stepOld && stepNew) {
            faults.push_back("the files of one step disagree: " + testing::PrintToString(*step));
        } else if (stepOld && laterBegun) {
            faults.push_back("a later step was done before " + testing::PrintToString(*step));
        }
        laterBegun = laterBegun || stepNew;
    }
    return faults;
}

// What the operation leaves on a fresh copy of `installed` in `work` once the program has started
// again; it runs in a child, killed `delay` after it began (none: let it end); `took` is how long it ran.
FolderState RunOnACopy(const SavingOperation& operation, const std::filesystem::path& installed,
                       const std::filesystem::path& work, std::optional<std::chrono::microseconds> delay,
                       std::chrono::microseconds* took = nullptr)
{
    std::filesystem::remove_all(work);
    std::filesystem::copy(installed, work);
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0) {
        operation.run(work);
        _exit(0); // takes no time worth counting
    }
    if (child < 0) {
        ADD_FAILURE() << "fork failed";
        return {};
    }
    if (delay) {
        std::this_thread::sleep_until(start + *delay);
        kill(child, SIGKILL);
    }
    int status = 0;
    waitpid(child, &status, 0);
    if (took) {
        *took = std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start);
    }
    // What the program does first when it starts again: clears what a killed write left.
    RemoveLeftoverTemporaryFiles(work);
    (void)ProfileSlotMover::Recover(work);
    return ReadFolder(work);
}

class SaveKillTest : public InstalledProfiles, public testing::WithParamInterface<SavingOperation>
{
protected:
    void SetUp() override
    {
        InstallThree();
        IniFile macros(dir / kMacroFileName, codec);
        ASSERT_EQ(WriteLoopTimes(macros, "Macro_1", 1), IniWriteResult::Written);
        for (const char* name : {"Macro_1", "Macro_2", "Macro_3"}) {
            MacroRecord macro{name, 1, 0, "1", {}};
            for (int i = 0; i < 20; ++i) {
                macro.items.insert(macro.items.end(), {MacroItem::Press("A"), MacroItem::Release("A")});
            }
            ASSERT_EQ(SaveMacro(macros, macro), MacroSaveResult::Saved);
        }
        files.EditedLabels().fill("imported");
        ASSERT_TRUE(ProfileTransfer(files, codec, Language::English)
                        .ExportTo(dir / "exported.bin", Patterned(88))
                        .failures.empty());
    }
};

TEST_P(SaveKillTest, KilledAnywhereLeavesOldOrNewFilesThatAgree)
{
    const SavingOperation& operation = GetParam();
    const FolderState before = ReadFolder(dir.Path());
    const TempDir scratch;
    std::chrono::microseconds whole{};
    const FolderState after = RunOnACopy(operation, dir.Path(), scratch / "work", std::nullopt, &whole);
    ASSERT_NE(after, before) << "the operation changed nothing";

    std::mt19937 random(kSeed);
    std::uniform_real_distribution<double> withinSlice(0.0, 1.0);
    for (int kill = 0; kill < kKillsPerOperation; ++kill) {
        const std::chrono::microseconds delay{static_cast<long long>(
            whole.count() * kLastKill * std::sqrt((kill + withinSlice(random)) / kKillsPerOperation))};
        const FolderState left = RunOnACopy(operation, dir.Path(), scratch / "work", delay);
        const std::vector<std::string> faults = Judge(operation, before, after, left);
        ASSERT_TRUE(faults.empty()) << operation.name << " killed after " << delay.count() << " us of " << whole.count()
                                    << " us: " << testing::PrintToString(faults);
    }
}

INSTANTIATE_TEST_SUITE_P(Operations, SaveKillTest, testing::ValuesIn(Operations()),
                         [](const testing::TestParamInfo<SavingOperation>& info) { return info.param.name; });

using Bytes = std::vector<std::uint8_t>;

// The simulated mouse that "Save" talks to above: what it takes and refuses.

// A feature report: its ID, seven command bytes, and their checksum 0xFF minus their sum.
Bytes Feature(std::initializer_list<std::uint8_t> command, std::optional<std::uint8_t> checksum = {},
              std::uint8_t id = 0)
{
    Bytes report(9, 0);
    report[0] = id;
    std::copy(command.begin(), command.end(), report.begin() + 1);
    const unsigned sum = std::accumulate(report.begin() + 1, report.begin() + 8, 0u);
    report[8] = checksum.value_or(static_cast<std::uint8_t>(0xFF - sum % 256));
    return report;
}

// An output report of 64 data bytes after its ID 0.
const Bytes kOutput = [] {
    Bytes report(65, 1);
    report[0] = 0;
    return report;
}();

TEST(SimulatedMouse, AMalformedReportIsRecordedAsAnErrorAndNothingIsTaken)
{
    // Features sent in order, then the outputs, and the one error recorded.
    const std::tuple<std::vector<Bytes>, std::vector<Bytes>, std::string> cases[] = {
        {{Feature({0x01, 0xFC}, 0x03)}, {}, "command 0x01 with checksum 0x03, expected 0x02"},
        {{Bytes(8, 0)}, {}, "feature report of 8 bytes, the mouse takes 9"},
        {{Feature({0x01, 0xFC}, {}, 0x01)}, {}, "feature report with report id 0x01"},
        {{Feature({0x04, 0xFC})}, {}, "unknown command 0x04"},
        {{Feature({0x0F, 0x00, 0x80})}, {kOutput, kOutput}, "macro slot 0 out of range"},
        {{}, {kOutput}, "output report without a block command before it"},
        // A refused block's chunks are taken off the wire without a further error.
        // clang-format off
        {{Feature({0x0C, 0x00, 0x80})}, {Bytes(64, 0)},
            "output report of 64 bytes with report id 0x00, the mouse takes 65 bytes with id 0x00"},
        {{Feature({0x0C, 0x00, 0x80}), Feature({0x05, 0x01})}, {},
            "data phase of command 0x0C cut short after 0 bytes"},
        {{Feature({0x0F, 0x01, 0x81})}, {kOutput, kOutput, kOutput},
            "command 0x0F announces 129 bytes, a block has 128"}};
    // clang-format on
    for (const auto& [features, outputs, error] : cases) {
        FakeClock clock;
        SimulatedMouse mouse{clock};
        auto device = mouse.Open(SimulatedMouse::PathOf(SimulatedInterface::Command), HidOpenMode::Commands);
        const auto settings = mouse.SettingsBlock(0);
        for (const Bytes& feature : features) {
            device->SetFeature(feature);
        }
        for (const Bytes& output : outputs) {
            device->WriteOutput(output);
        }
        EXPECT_EQ(mouse.Errors(), (std::vector<std::string>{error}));
        EXPECT_EQ(mouse.ModeByte(), 0x00) << error;
        EXPECT_EQ(mouse.SettingsBlock(0), settings) << error;
        EXPECT_EQ(mouse.MacroSlot(1)[0], 0x00) << error;
    }
}

TEST(SimulatedMouse, ButtonPressReachesEveryOpenNotificationHandle)
{
    FakeClock clock;
    SimulatedMouse mouse{clock};
    const std::string path = SimulatedMouse::PathOf(SimulatedInterface::Notification);
    auto first = mouse.Open(path, HidOpenMode::Reading);
    auto second = mouse.Open(path, HidOpenMode::Reading);
    mouse.PressCpiButton(3);
    EXPECT_EQ(mouse.CpiStage(), 3);
    for (auto* device : {first.get(), second.get()}) {
        std::array<std::uint8_t, 9> buffer{};
        ASSERT_EQ(device->ReadInput(std::span(buffer).first(8), 0ms).length, 8u);
        // Eight bytes, nothing past the length asked for.
        EXPECT_EQ(Bytes(buffer.begin(), buffer.end()), (Bytes{0x06, 0x07, 0x01, 0x03, 0, 0, 0, 0, 0}));
    }
}

TEST(SimulatedFault, ParseNamesAFaultOrNothing)
{
    const std::pair<std::string, std::optional<SimulatedFault>> cases[] = {
        {"silent", SimulatedFault{SimulatedFault::Kind::Silent}},
        {"garbage", SimulatedFault{SimulatedFault::Kind::Garbage}},
        {"unplug-after:14", SimulatedFault{SimulatedFault::Kind::UnplugAfter, 14}},
        {"slow:60000", SimulatedFault{SimulatedFault::Kind::Slow, 0, 60000ms}}};
    for (const auto& [text, fault] : cases) {
        EXPECT_EQ(SimulatedFault::Parse(text), fault) << text;
    }
    for (const char* text :
         {"slow:60001", "unplug-after:", "unplug-after:-1", "unplug-after:3x", "slow: 5", "Silent", "", "none"}) {
        EXPECT_EQ(SimulatedFault::Parse(text), std::nullopt) << text;
    }
}

} // namespace
} // namespace veldrane
