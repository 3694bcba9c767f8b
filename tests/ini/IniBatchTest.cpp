#include "ini/IniFile.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "IniFileFixture.h"
#include "support/FileAccessCounter.h"

namespace veldrane {
namespace {

using test::FileAccessCounter;
using test::IniFileFixture;

constexpr std::string_view kMacroFile = "; macros\n"
                                        "[Macro_0]\n"
                                        "MacroLoopTimes=1\n"
                                        "Item0=A   Dn\n"
                                        "Item1=A   Up\n"
                                        "\n"
                                        "[Macro_1]\n"
                                        "MacroLoopTimes=2\n"
                                        "[Macro_2]\n"
                                        "MacroLoopTimes=3\n";

TEST_F(IniFileFixture, BatchAppliesItsEditsInOrderAndReplacesTheFileOnce)
{
    Store(kMacroFile);
    IniBatch batch;
    batch.WriteString("macro_0", "ITEM1", "B   Up"); // in place, keeping the key's spelling
    batch.WriteInt("Macro_0", "ItemCount", 2);       // after the section's last key
    batch.DeleteKey("Macro_0", "Item0");
    batch.DeleteSection("Macro_1");
    batch.WriteString("Macro_1", "MacroLoopTimes", "7"); // the section comes back at the end
    batch.WriteString("Macro_3", "Item0", "C   Dn");
    batch.DeleteKey("Macro_3", "Item0"); // what the batch wrote, it can take back
    batch.DeleteKey("Macro_2", "Missing");
    FileAccessCounter access(m_path);
    EXPECT_EQ(File().Apply(batch), IniWriteResult::Written);
    EXPECT_EQ(access.Opens(), 1);
    EXPECT_EQ(access.Replacements(), 1);
    EXPECT_EQ(Stored(), "; macros\r\n"
                        "[Macro_0]\r\n"
                        "MacroLoopTimes=1\r\n"
                        "Item1=B   Up\r\n"
                        "ItemCount=2\r\n"
                        "\r\n"
                        "[Macro_2]\r\n"
                        "MacroLoopTimes=3\r\n"
                        "[Macro_1]\r\n"
                        "MacroLoopTimes=7\r\n"
                        "[Macro_3]\r\n");
}

TEST_F(IniFileFixture, BatchThatChangesNothingWritesNothing)
{
    IniBatch deletes;
    deletes.DeleteSection("Macro_9");
    deletes.DeleteKey("Macro_0", "Item7");
    EXPECT_EQ(File().Apply(IniBatch()), IniWriteResult::Written);
    EXPECT_EQ(File().Apply(deletes), IniWriteResult::Written);
    EXPECT_FALSE(File().Exists());

    Store(kMacroFile);
    FileAccessCounter access(m_path);
    EXPECT_EQ(File().Apply(deletes), IniWriteResult::Written);
    EXPECT_EQ(access.Replacements(), 0);
    EXPECT_EQ(Stored(), kMacroFile); // even its line feeds stay
}

struct RefusedBatchCase
{
    const char* name;
    std::size_t position; // of the bad write among three good ones
    std::string section;
    std::string key;
    std::string value;
    IniWriteResult result;
};

class IniFileRefusedBatch : public IniFileFixture, public ::testing::WithParamInterface<RefusedBatchCase>
{
protected:
    IniBatch Batch() const
    {
        IniBatch batch;
        for (std::size_t i = 0; i < 4; ++i) {
            if (i == GetParam().position) {
                batch.WriteString(GetParam().section, GetParam().key, GetParam().value);
            } else {
                batch.DeleteSection("Macro_0");
                batch.WriteString("Macro_1", "Item" + std::to_string(i), "A   Dn");
            }
        }
        return batch;
    }
};

TEST_P(IniFileRefusedBatch, LeavesFileByteIdenticalAndUnwritten)
{
    Store(kMacroFile);
    FileAccessCounter access(m_path);
    EXPECT_EQ(File().Apply(Batch()), GetParam().result);
    EXPECT_EQ(File().Update([&](const IniSnapshot&) { return Batch(); }), GetParam().result);
    EXPECT_EQ(access.Replacements(), 0);
    EXPECT_EQ(Stored(), kMacroFile);
}

INSTANTIATE_TEST_SUITE_P(BadEdits, IniFileRefusedBatch,
                         ::testing::Values(RefusedBatchCase{"FirstSectionWithLineFeed", 0, "Macro\n[Skins]", "k", "v",
                                                            IniWriteResult::RefusedName},
                                           RefusedBatchCase{"MiddleKeyThatWouldBeAComment", 2, "Macro_1", ";Item0", "v",
                                                            IniWriteResult::RefusedName},
                                           RefusedBatchCase{"LastValueWithLineBreak", 3, "Macro_1", "Item9",
                                                            "A   Dn\r\n[Evil]", IniWriteResult::RefusedValue}),
                         [](const auto& info) { return info.param.name; });

TEST_F(IniFileFixture, BatchWithACharacterTheLegacyCodePageLacksWritesNothing)
{
    // A Windows-1252 file: "Café" in one byte per character. Chinese text has no place in it.
    const std::string legacy = "[Skins]\r\nLan=EN\r\nName=Caf\xE9\r\n";
    Store(legacy);
    IniBatch batch;
    batch.WriteString("Skins", "Path", "Default");
    batch.WriteString("Setting-EN", "Item1", "左键");
    batch.DeleteKey("Skins", "Lan");
    EXPECT_EQ(File().Apply(batch), IniWriteResult::IoError);
    EXPECT_EQ(Stored(), legacy);
}

TEST_F(IniFileFixture, UpdatePlansFromTheLinesItEditsWithOneReadAndOneWrite)
{
    Store("[Old]\r\na=1\r\n; note\r\nb=\"2\"\r\n[Keep]\r\nc=3\r\n");
    FileAccessCounter access(m_path);
    const IniWriteResult result = File().Update([](const IniSnapshot& file) {
        IniBatch batch;
        for (const IniEntry& entry : file.Section("old")) {
            batch.WriteString("New", entry.key, entry.value + "0");
        }
        batch.DeleteSection("Old");
        return batch;
    });
    EXPECT_EQ(result, IniWriteResult::Written);
    EXPECT_EQ(access.Opens(), 1);
    EXPECT_EQ(access.Replacements(), 1);
    EXPECT_EQ(Stored(), "[Keep]\r\nc=3\r\n[New]\r\na=10\r\nb=20\r\n");
}

} // namespace
} // namespace veldrane
