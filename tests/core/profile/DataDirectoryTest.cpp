// The user's data directory: seeded from the installed factory files, never overwritten, so that
// a rebuild (which writes the factory files again) leaves the user's profiles alone.

#include "core/profile/DataDirectory.h"

#include <gtest/gtest.h>

#include "core/profile/FactoryDefaults.h"
#include "core/profile/InstalledProfiles.h"

namespace veldrane {
namespace {

using test::ReadFileBytes;
using test::WriteFileBytes;

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

} // namespace
} // namespace veldrane
