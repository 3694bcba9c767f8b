#include "core/profile/ProfileTransfer.h"

#include <gtest/gtest.h>

#include "core/profile/InstalledProfiles.h"

namespace veldrane {
namespace {

using test::Patterned;
using test::ReadFileBytes;
using test::WriteFileBytes;
using Shown = test::RecordingMessageSink::Shown;

class ProfileTransferTest : public test::InstalledProfiles
{
protected:
    ProfileTransferTest()
    {
        EXPECT_TRUE(files.LoadConfig(record).Done());
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
    ProfileTransfer transfer{files, codec, messages, Language::English};
};

TEST_F(ProfileTransferTest, ImportTakesTheWholeRecordAndTheLabelsBesideIt)
{
    GiveSlot(0, 1, "");
    ASSERT_TRUE(files.LoadConfig(record).Done());
    ASSERT_EQ(files.FirstRunFlag(), 1);
    files.SelectProfileIndex(2);
    ProfileRecord stored = Patterned(40);
    stored.reportRate = 0; // no control gives these: they come in as the nearest the controls give
    stored.lightMode = 200;
    // The labels are beside, under the name with its first ".bin" made ".ini".
    WriteFileBytes(outside / "mine.bin.old", ConfigFile::Encode(0, stored));
    IniFile(outside / "mine.ini.old", codec).WriteString("Setting-EN", "Item1", "Fire");
    const SkinSettings skin = files.Skin();

    EXPECT_TRUE(transfer.ImportFrom(outside / "mine.bin.old", record));
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
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(ProfileTransferTest, ImportOfAFileOfAnotherSizeNamesItAndChangesNothing)
{
    GiveSlot(0, 1, "");
    ASSERT_TRUE(files.LoadConfig(record).Done());
    ASSERT_EQ(files.FirstRunFlag(), 1);
    const ProfileRecord before = record;
    const auto labels = files.ButtonLabel();
    IniFile(outside / "odd.ini", codec).WriteString("Setting-EN", "Item1", "Fire");
    for (const std::size_t size : {0, 1824, 1826}) {
        messages.shown.clear();
        WriteFileBytes(outside / "odd.bin", std::string(size, '\x07'));
        EXPECT_FALSE(transfer.ImportFrom(outside / "odd.bin", record));
        const std::string text = (outside / "odd.bin").string() + " has " + std::to_string(size) +
                                 " bytes. A profile file has 1825 bytes; nothing was imported.";
        EXPECT_EQ(messages.shown, (std::vector<Shown>{{Shown::Kind::Message, text, "Tessaly VELDRANE"}}));
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
    transfer.ExportTo(outside / "config6", Patterned(50));
    for (const std::filesystem::path& folder : {outside, dir.Path()}) {
        EXPECT_EQ(ReadFileBytes(folder / "config6.bin"), ConfigFile::Encode(1, Patterned(50))) << folder;
        const IniFile labels(folder / "config6.ini", codec);
        EXPECT_EQ(labels.GetString("Setting-EN", "Item1"), "Fire");
        EXPECT_EQ(labels.KeyNames("Setting-EN").size(), 12u);
        EXPECT_TRUE(labels.KeyNames("Skins").empty());
    }
    EXPECT_FALSE(std::filesystem::exists(outside / "config6"));
    ExpectTheSelectedProfilesFiles();
    EXPECT_TRUE(messages.shown.empty());
}

// Case does not count, and a name is refused too when its label file would be one of them.
TEST_F(ProfileTransferTest, ExportUnderAProgramFileNameIsRefusedAndWritesNothing)
{
    const std::string config0 = ReadFileBytes(dir / "config0.bin");
    const std::string list = ReadFileBytes(dir / "str.ini");
    for (const char* name : {"config2", "config.bin", "Config5.bin", "str.bin", "Str4.bin", "record.bin"}) {
        messages.shown.clear();
        transfer.ExportTo(outside / name, Patterned(50));
        ASSERT_EQ(messages.shown.size(), 1u) << name;
        EXPECT_EQ(messages.shown[0].title, "Tessaly VELDRANE");
    }
    EXPECT_EQ(messages.shown[0].text, "record.bin is the name of one of the program's own files. "
                                      "Please choose another name.");
    EXPECT_TRUE(std::filesystem::is_empty(outside));
    EXPECT_EQ(ReadFileBytes(dir / "config0.bin"), config0);
    EXPECT_EQ(ReadFileBytes(dir / "str.ini"), list);
    EXPECT_FALSE(ProfileTransfer::IsProgramFileName("myconfig0.bin")) << "the whole name counts";
}

} // namespace
} // namespace veldrane
