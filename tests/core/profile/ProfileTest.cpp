// The profile files, the factory files and the data folder: what a load makes of each file and what
// a save writes.

#include "core/profile/ConfigFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <csignal>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <numeric>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <sys/resource.h>
#include <sys/stat.h>
#include <system_error>
#include <tuple>
#include <vector>

#include "adapters/linux/IconvTextCodec.h"
#include "core/ini/FileError.h"
#include "core/profile/ConfigFile.h"
#include "core/profile/DataDirectory.h"
#include "core/profile/FactoryDefaults.h"
#include "core/profile/FactoryFiles.h"
#include "core/profile/InstalledProfiles.h"
#include "core/profile/ProfileFileNames.h"
#include "core/profile/ProfileRecord.h"
#include "core/text/FileErrorTexts.h"
#include "support/HexBytes.h"
#include "support/Parameterised.h"
#include "support/PatternedRecord.h"
#include "support/TempDir.h"

namespace veldrane {
namespace {

using test::Parameterised;
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

} // namespace
} // namespace veldrane
