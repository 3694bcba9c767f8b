#include "profile/ProfileTransfer.h"

#include <gtest/gtest.h>

#include "profile/InstalledProfiles.h"
#include "profile/ScriptedFileDialog.h"

namespace veldrane {
namespace {

using test::InstalledProfiles;
using test::Patterned;
using test::ReadFileBytes;
using test::ScriptedFileDialog;
using test::WriteFileBytes;
using Shown = test::RecordingMessageSink::Shown;

class ProfileTransferTest : public InstalledProfiles
{
protected:
    ProfileTransferTest()
    {
        files.LoadConfig(record);
        files.LoadLabels(Language::English);
        std::filesystem::create_directories(outside);
    }

    std::string Bytes(std::uint8_t flag, const ProfileRecord& source) { return ConfigFile::Encode(flag, source); }
    void ExpectStandardPaths()
    {
        EXPECT_EQ(files.configPath, dir / ProfileConfigName(files.currentProfileIndex));
        EXPECT_EQ(files.labelPath, dir / ProfileLabelName(files.currentProfileIndex));
    }

    ProfileRecord record{};
    std::filesystem::path outside = dir / "exports";
    ProfileTransfer transfer{files, codec, messages, Language::English};
    ScriptedFileDialog dialog;
};

TEST_F(ProfileTransferTest, ImportOfAProfileWithFlag0TakesTheWholeRecordAndTheLabelsBesideIt)
{
    files.currentProfileIndex = 2;
    files.firstRunFlag = 1;
    ProfileRecord stored = Patterned(40);
    stored.reportRate = 0; // no control gives these: they come in as the nearest the controls give
    stored.lightMode = 200;
    WriteFileBytes(outside / "mine.bin", Bytes(0, stored));
    IniFile(outside / "mine.ini", codec).WriteString("Setting-EN", "Item1", "Fire");
    const SkinSettings skin = files.skin;

    EXPECT_TRUE(transfer.ImportFrom(outside / "mine.bin", record));
    ProfileRecord expected = Patterned(40); // the twelve macros too
    expected.reportRate = 1;
    expected.lightMode = 3;
    EXPECT_EQ(record, expected);
    EXPECT_EQ(files.firstRunFlag, 0);
    EXPECT_EQ(files.buttonLabel[0], "Fire");
    EXPECT_EQ(files.buttonLabel[1], ""); // missing in the file: empty, not a default
    // An exported label file has no "Skins": the text colour and skin stay.
    EXPECT_EQ(files.skin.red, skin.red);
    EXPECT_EQ(files.skin.path, skin.path);
    EXPECT_EQ(files.currentProfileIndex, 2);
    ExpectStandardPaths();
    EXPECT_TRUE(messages.shown.empty());
}

class ImportWrongSizeTest : public ProfileTransferTest, public ::testing::WithParamInterface<std::size_t>
{
};

TEST_P(ImportWrongSizeTest, IsRefusedNamingTheFileAndItsSizeAndChangesNothing)
{
    const ProfileRecord before = record;
    const auto labels = files.buttonLabel;
    files.firstRunFlag = 1;
    WriteFileBytes(outside / "odd.bin", std::string(GetParam(), '\x07'));
    IniFile(outside / "odd.ini", codec).WriteString("Setting-EN", "Item1", "Fire");

    EXPECT_FALSE(transfer.ImportFrom(outside / "odd.bin", record));
    const std::string text = (outside / "odd.bin").string() + " has " + std::to_string(GetParam()) +
                             " bytes. A profile file has 1825 bytes; nothing was imported.";
    EXPECT_EQ(messages.shown, (std::vector<Shown>{{Shown::Kind::Message, text, "Tessaly VELDRANE"}}));
    EXPECT_EQ(record, before);
    EXPECT_EQ(files.buttonLabel, labels);
    EXPECT_EQ(files.firstRunFlag, 1);
    ExpectStandardPaths();
}

INSTANTIATE_TEST_SUITE_P(Sizes, ImportWrongSizeTest, ::testing::Values(0u, 1824u, 1826u, 4096u));

TEST_F(ProfileTransferTest, ExportWithoutAnExtensionWritesBinAndIniInBothPlaces)
{
    files.buttonLabel[0] = "Fire";
    record = Patterned(50);
    transfer.ExportTo(outside / "shared", record);
    for (const std::filesystem::path& folder : {outside, dir.Path()}) {
        EXPECT_EQ(ReadFileBytes(folder / "shared.bin"), Bytes(1, Patterned(50))) << folder;
        const IniFile labels(folder / "shared.ini", codec);
        EXPECT_EQ(labels.GetString("Setting-EN", "Item1"), "Fire");
        EXPECT_EQ(labels.KeyNames("Setting-EN").size(), 12u);
        EXPECT_TRUE(labels.KeyNames("Skins").empty());
    }
    EXPECT_FALSE(std::filesystem::exists(outside / "shared"));
    ExpectStandardPaths();
    EXPECT_TRUE(messages.shown.empty());
}

class ExportProgramFileTest : public ProfileTransferTest, public ::testing::WithParamInterface<const char*>
{
};

TEST_P(ExportProgramFileTest, IsRefusedAndWritesNothing)
{
    const std::string config0 = ReadFileBytes(dir / "config0.bin");
    const std::string list = ReadFileBytes(dir / "str.ini");
    transfer.ExportTo(outside / GetParam(), Patterned(50));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].title, "Tessaly VELDRANE");
    EXPECT_NE(messages.shown[0].text.find(" is the name of one of the program's own files."), std::string::npos);
    EXPECT_TRUE(std::filesystem::is_empty(outside));
    EXPECT_EQ(ReadFileBytes(dir / "config0.bin"), config0);
    EXPECT_EQ(ReadFileBytes(dir / "str.ini"), list);
}

INSTANTIATE_TEST_SUITE_P(Names, ExportProgramFileTest,
                         ::testing::Values("config.bin", "config0.bin", "Config5.bin", "config3", "str.bin", "Str4.bin",
                                           "record.bin", "config5.bin"));

TEST_F(ProfileTransferTest, ExportRefusalNamesTheFile)
{
    transfer.ExportTo(outside / "config2", record);
    EXPECT_EQ(messages.shown, (std::vector<Shown>{{Shown::Kind::Message,
                                                   "config2.bin is the name of one of the program's own files. "
                                                   "Please choose another name.",
                                                   "Tessaly VELDRANE"}}));
}

TEST(ProfileTransferNames, LabelFileBesideReplacesTheFirstBinOfTheNameOnly)
{
    EXPECT_EQ(ProfileTransfer::LabelFileBeside("/a.bin/p.bin"), std::filesystem::path("/a.bin/p.ini"));
    EXPECT_EQ(ProfileTransfer::LabelFileBeside("/x/p.bin.bak"), std::filesystem::path("/x/p.ini.bak"));
    EXPECT_EQ(ProfileTransfer::LabelFileBeside("/x/p.bin.bin"), std::filesystem::path("/x/p.ini.bin"));
    EXPECT_TRUE(ProfileTransfer::IsProgramFileName("Record.INI"));
    EXPECT_FALSE(ProfileTransfer::IsProgramFileName("config6.bin"));
    EXPECT_FALSE(ProfileTransfer::IsProgramFileName("myconfig0.bin"));
}

} // namespace
} // namespace veldrane
