// The user's data directory: seeded from the installed factory files, never overwritten, so that
// a rebuild (which writes the factory files again) leaves the user's profiles alone.

#include "profile/DataDirectory.h"

#include <gtest/gtest.h>

#include "platform/linux/IconvTextCodec.h"
#include "profile/ConfigFile.h"
#include "profile/FactoryDefaults.h"
#include "profile/FactoryFiles.h"
#include "support/TempDir.h"

namespace veldrane {
namespace {

using test::ReadFileBytes;
using test::TempDir;
using test::WriteFileBytes;

class DataDirectoryTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_EQ(WriteFactoryFiles(installed.Path(), codec), ""); }

    IconvTextCodec codec;
    TempDir installed;
    TempDir home;
    const std::filesystem::path data = home / ".local/share/veldrane";
};

TEST_F(DataDirectoryTest, FirstUseCopiesTheFactoryFilesIntoAPrivateFolder)
{
    ASSERT_EQ(DataDirectory::Seed(installed.Path(), data), "");
    for (const auto& folder : {home / ".local", home / ".local/share", data}) {
        EXPECT_EQ(std::filesystem::status(folder).permissions() & std::filesystem::perms::all,
                  std::filesystem::perms::owner_all)
            << folder;
    }
    for (const std::string& name : DataDirectory::SeedFileNames()) {
        SCOPED_TRACE(name);
        if (name == "record.ini") {
            EXPECT_FALSE(std::filesystem::exists(data / name)); // not installed, so not made up
            continue;
        }
        EXPECT_EQ(ReadFileBytes(data / name), ReadFileBytes(installed / name));
    }
    // The installed copies are read-only; the user's must take a save.
    std::filesystem::permissions(installed / "config0.bin", std::filesystem::perms::owner_read);
    std::filesystem::remove(data / "config0.bin");
    ASSERT_EQ(DataDirectory::Seed(installed.Path(), data), "");
    EXPECT_NE(std::filesystem::status(data / "config0.bin").permissions() & std::filesystem::perms::owner_write,
              std::filesystem::perms::none);
}

TEST_F(DataDirectoryTest, ARebuildOfTheFactoryFilesLeavesTheUsersFilesAlone)
{
    ASSERT_EQ(DataDirectory::Seed(installed.Path(), data), "");
    // The user saved report rate 4 into the first profile and removed a label file.
    ProfileRecord saved = FactoryProfile();
    saved.reportRate = 4;
    const std::string savedBytes = ConfigFile::Encode(1, saved);
    WriteFileBytes(data / "config0.bin", savedBytes);
    std::filesystem::remove(data / "str3.ini");

    // The build runs the factory generator again, and the program starts again.
    ASSERT_EQ(WriteFactoryFiles(installed.Path(), codec), "");
    ASSERT_EQ(DataDirectory::Seed(installed.Path(), data), "");

    EXPECT_EQ(ReadFileBytes(data / "config0.bin"), savedBytes);
    EXPECT_EQ(ReadFileBytes(data / "str3.ini"), ReadFileBytes(installed / "str3.ini"));
    std::vector<std::string> left;
    for (const auto& entry : std::filesystem::directory_iterator(data)) {
        left.push_back(entry.path().filename().string());
    }
    EXPECT_EQ(left.size(), DataDirectory::SeedFileNames().size() - 1) << "a temporary file was left behind";
}

TEST_F(DataDirectoryTest, AFolderThatCannotBeMadeIsReported)
{
    WriteFileBytes(home / "file", "x");
    EXPECT_NE(DataDirectory::Seed(installed.Path(), home / "file" / "veldrane"), "");
}

} // namespace
} // namespace veldrane
