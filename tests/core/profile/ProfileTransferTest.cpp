#include "core/profile/ProfileTransfer.h"

#include <gtest/gtest.h>

#include "core/profile/InstalledProfiles.h"

namespace veldrane {
namespace {

using test::Patterned;
using test::ReadFileBytes;
using test::WriteFileBytes;

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
    ProfileTransfer transfer{files, codec, Language::English};
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
    GiveSlot(0, 1, "");
    ASSERT_TRUE(files.LoadConfig(record).Done());
    ASSERT_EQ(files.FirstRunFlag(), 1);
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
    const std::string config0 = ReadFileBytes(dir / "config0.bin");
    const std::string list = ReadFileBytes(dir / "str.ini");
    for (const char* name : {"config2", "config.bin", "Config5.bin", "str.bin", "Str4.bin", "record.bin"}) {
        const TransferOutcome refused = transfer.ExportTo(outside / name, Patterned(50));
        EXPECT_FALSE(refused.changed) << name;
        EXPECT_TRUE(refused.failures.empty());
        EXPECT_EQ(refused.refusedName,
                  std::string(name).find(".bin") == std::string::npos ? name + std::string(".bin") : std::string(name));
    }
    EXPECT_TRUE(std::filesystem::is_empty(outside));
    EXPECT_EQ(ReadFileBytes(dir / "config0.bin"), config0);
    EXPECT_EQ(ReadFileBytes(dir / "str.ini"), list);
    EXPECT_FALSE(ProfileTransfer::IsProgramFileName("myconfig0.bin")) << "the whole name counts";
}

} // namespace
} // namespace veldrane
