#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "adapters/linux/IconvTextCodec.h"
#include "core/ini/IniFile.h"
#include "core/profile/ConfigFile.h"
#include "core/profile/ConfigFiles.h"
#include "core/profile/FactoryFiles.h"
#include "core/profile/ProfileFileNames.h"
#include "support/PatternedRecord.h"
#include "support/RecordingMessageSink.h"
#include "support/TempDir.h"

namespace veldrane::test {

// Every file of a folder with its bytes.
using FolderState = std::map<std::string, std::string>;

inline FolderState ReadFolder(const std::filesystem::path& folder)
{
    FolderState state;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (entry.is_regular_file()) {
            state[entry.path().filename().string()] = ReadFileBytes(entry.path());
        }
    }
    return state;
}

// The factory files into the folder `to`: they are written once and copied for each test, as
// writing them key by key is slow.
inline void CopyFactoryFiles(const std::filesystem::path& to)
{
    static const TempDir installed;
    static const std::string failure = WriteFactoryFiles(installed.Path(), IconvTextCodec());
    EXPECT_EQ(failure, "");
    std::filesystem::copy(installed.Path(), to, std::filesystem::copy_options::recursive);
}

// A fresh installation in a temporary directory (the factory files), in which each profile can
// be given settings and labels of its own.
class InstalledProfiles : public ::testing::Test
{
protected:
    InstalledProfiles() { CopyFactoryFiles(dir.Path()); }

    // Profile file `index` gets the settings of seed `seed` (flag 1) and "Item1" = `label`.
    void GiveSlot(std::size_t index, std::uint8_t seed, std::string_view label)
    {
        ASSERT_FALSE(ConfigFile::Write(dir / ProfileConfigName(index), 1, Patterned(seed)));
        ASSERT_EQ(LabelFile(index).WriteString("Setting-EN", "Item1", label), IniWriteResult::Written);
    }

    // Section "Profile" of "str.ini" replaced by these names.
    void StoreList(const std::vector<std::string>& names, std::string_view current)
    {
        IniFile list(dir / "str.ini", codec);
        ASSERT_TRUE(list.DeleteSection("Profile"));
        ASSERT_EQ(list.WriteString("Profile", "CurProfileName", current), IniWriteResult::Written);
        ASSERT_EQ(list.WriteInt("Profile", "ItemCount", static_cast<int>(names.size())), IniWriteResult::Written);
        for (std::size_t i = 0; i < names.size(); ++i) {
            ASSERT_EQ(list.WriteString("Profile", ProfileItemKey(i), names[i]), IniWriteResult::Written);
        }
    }

    // The names of profile files 0 to 2 are A, B and C, each with its own settings (seeds 10,
    // 11, 12) and labels ("label A" ...); B is selected.
    void InstallThree()
    {
        for (std::uint8_t i = 0; i < 3; ++i) {
            GiveSlot(i, 10 + i, "label " + std::string(1, static_cast<char>('A' + i)));
        }
        StoreList({"A", "B", "C"}, "B");
    }

    IniFile LabelFile(std::size_t index) { return IniFile(dir / ProfileLabelName(index), codec); }
    std::string LabelOf(std::size_t index) { return LabelFile(index).GetString("Setting-EN", "Item1"); }
    std::optional<ProfileRecord> SettingsOf(std::size_t index)
    {
        const ConfigFileReadResult read = ConfigFile::Read(dir / ProfileConfigName(index));
        return read.status == ConfigFileStatus::Read ? std::optional(read.contents.record) : std::nullopt;
    }

    TempDir dir;
    IconvTextCodec codec;
    RecordingMessageSink messages;
    ConfigFiles files{dir.Path(), codec};
};

} // namespace veldrane::test
