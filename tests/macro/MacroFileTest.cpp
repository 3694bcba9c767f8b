#include "macro/MacroFile.h"

#include <cstdio>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "macro/MacroEncoder.h"
#include "macro/MacroTestSupport.h"
#include "platform/linux/IconvTextCodec.h"
#include "support/FileAccessCounter.h"
#include "support/TempDir.h"

namespace veldrane {
namespace {

using test::BufferHex;
using test::HexBytes;
using test::Macro;

// The section a save writes for a macro of one press of A looped `loops` times.
std::string OnePressSection(const std::string& name, int loops)
{
    return "[" + name + "]\r\nDelayTimeSelStatus=0\r\nLoopTimeSelStatus=1\r\nMacroLoopTimes=" + std::to_string(loops) +
           "\r\nItemCount=1\r\nItem0=A   Dn\r\n";
}

std::string BufferHexOf(const MacroData& data, std::size_t n)
{
    return HexBytes(std::span(data).subspan(n * kMacroBufferSize, kMacroBufferSize));
}

class MacroFileTest : public testing::Test
{
protected:
    std::string Text() const { return test::ReadFileBytes(m_file.Path()); }
    void Write(std::string_view text) { test::WriteFileBytes(m_file.Path(), text); }

    // Sections named by `names`, macro k a press of A looped k + 1 times.
    void WriteOnePressMacros(const std::vector<std::string>& names)
    {
        std::string text;
        for (std::size_t k = 0; k < names.size(); ++k) {
            text += OnePressSection(names[k], static_cast<int>(k + 1));
        }
        Write(text);
    }

    test::TempDir m_dir;
    IconvTextCodec m_codec;
    IniFile m_file{m_dir / kMacroFileName, m_codec};
};

constexpr std::string_view kMacro1Saved =
    "[Macro_1]\r\nDelayTimeSelStatus=1\r\nLoopTimeSelStatus=0\r\nMacroLoopTimes=1\r\n"
    "ItemCount=3\r\nItem0=A   Dn\r\nItem1=120 ms\r\nItem2=A   Up\r\n";

TEST_F(MacroFileTest, SaveWritesEveryKeyInOrderAndLoadsItBack)
{
    Write("");
    const MacroRecord record = Macro(1, 0, "1", {"A   Dn", "120 ms", "A   Up"}, "Macro_1");
    ASSERT_EQ(SaveMacro(m_file, record), MacroSaveResult::Saved);
    EXPECT_EQ(Text(), kMacro1Saved);
    EXPECT_EQ(LoadMacro(m_file, "Macro_1"), record);
}

TEST_F(MacroFileTest, SaveRewritesTheSectionWhereItStands)
{
    WriteOnePressMacros({"Macro_0", "Macro_1", "Macro_2"});
    ASSERT_EQ(SaveMacro(m_file, Macro(1, 0, "5", {"B   Dn", "20 ms", "B   Up"}, "Macro_0")), MacroSaveResult::Saved);
    const std::string tail = OnePressSection("Macro_1", 2) + OnePressSection("Macro_2", 3);
    EXPECT_EQ(Text(), "[Macro_0]\r\nDelayTimeSelStatus=1\r\nLoopTimeSelStatus=0\r\nMacroLoopTimes=5\r\nItemCount=3\r\n"
                      "Item0=B   Dn\r\nItem1=20 ms\r\nItem2=B   Up\r\n" +
                          tail);

    ASSERT_EQ(SaveMacro(m_file, Macro(1, 0, "5", {"C   Up"}, "Macro_0")), MacroSaveResult::Saved);
    EXPECT_EQ(Text(), "[Macro_0]\r\nDelayTimeSelStatus=1\r\nLoopTimeSelStatus=0\r\nMacroLoopTimes=5\r\nItemCount=1\r\n"
                      "Item0=C   Up\r\n" +
                          tail);
    EXPECT_EQ(ListMacroNames(m_file), (std::vector<std::string>{"Macro_0", "Macro_1", "Macro_2"}));
    EXPECT_EQ(BufferHexOf(RebuildMacroData(m_file, 3), 0), BufferHex("00 01 80 06"));
}

TEST_F(MacroFileTest, SaveWritesNothingWithoutFileAndEmptiesAMacroWithoutItems)
{
    EXPECT_EQ(SaveMacro(m_file, Macro(1, 0, "1", {"A   Dn"})), MacroSaveResult::NoFile);
    EXPECT_FALSE(m_file.Exists());

    Write("[Macro_0]\r\nMacroLoopTimes=1\r\nItemCount=2\r\nItem0=A   Dn\r\nItem1=A   Up\r\n[Macro_1]\r\n");
    EXPECT_EQ(SaveMacro(m_file, Macro(1, 1, "4", {})), MacroSaveResult::Saved);
    EXPECT_EQ(Text(), "[Macro_0]\r\nDelayTimeSelStatus=1\r\nLoopTimeSelStatus=1\r\nMacroLoopTimes=4\r\nItemCount=0\r\n"
                      "[Macro_1]\r\n");
    EXPECT_EQ(BufferHexOf(RebuildMacroData(m_file, 2), 0), BufferHex(""));
}

TEST_F(MacroFileTest, SaveRefusesBadNamesAndTextsBeforeWritingAnything)
{
    WriteOnePressMacros({"Macro_0"});
    const std::string before = Text();
    for (const char* name : {"", "   ", "Bad]Name", "[Bad", "Line\nBreak"}) {
        EXPECT_EQ(SaveMacro(m_file, Macro(1, 0, "1", {"A   Dn"}, name)), MacroSaveResult::RefusedName) << name;
        EXPECT_EQ(WriteLoopTimes(m_file, name, 1), IniWriteResult::RefusedName) << name;
    }
    EXPECT_EQ(SaveMacro(m_file, Macro(1, 0, "1", {"A   Dn", "B\r\nItem9=x"})), MacroSaveResult::RefusedValue);
    EXPECT_EQ(SaveMacro(m_file, Macro(1, 0, "1\n[Evil]", {"A   Dn"})), MacroSaveResult::RefusedValue);
    EXPECT_EQ(Text(), before);
}

TEST_F(MacroFileTest, WriteLoopTimesCreatesFileAndSectionThenReplacesInPlace)
{
    ASSERT_EQ(WriteLoopTimes(m_file, "Macro_0", 1), IniWriteResult::Written);
    ASSERT_EQ(WriteLoopTimes(m_file, "Macro_1", 1), IniWriteResult::Written);
    EXPECT_EQ(Text(), "[Macro_0]\r\nMacroLoopTimes=1\r\n[Macro_1]\r\nMacroLoopTimes=1\r\n");
    ASSERT_EQ(WriteLoopTimes(m_file, "Macro_0", 65535), IniWriteResult::Written);
    EXPECT_EQ(Text(), "[Macro_0]\r\nMacroLoopTimes=65535\r\n[Macro_1]\r\nMacroLoopTimes=1\r\n");
}

TEST_F(MacroFileTest, DeleteMacroSectionMovesLaterMacrosDown)
{
    WriteOnePressMacros({"Macro_0", "Macro_1", "Macro_2"});
    EXPECT_TRUE(DeleteMacroSection(m_file, "Macro_1"));
    EXPECT_EQ(Text(), OnePressSection("Macro_0", 1) + OnePressSection("Macro_2", 3));
    EXPECT_FALSE(DeleteMacroSection(m_file, "Macro_1"));

    const MacroData data = RebuildMacroData(m_file, 2);
    EXPECT_EQ(BufferHexOf(data, 0), BufferHex("00 01 05 04"));
    EXPECT_EQ(BufferHexOf(data, 1), BufferHex("00 03 05 04"));
    EXPECT_EQ(BufferHexOf(data, 2), BufferHex(""));
}

TEST_F(MacroFileTest, LoadReadsAHandWrittenFile)
{
    Write("; written by hand\n[ Macro_0 ]\r\n  DelayTimeSelStatus = 1 \r\nLoopTimeSelStatus=  1\n"
          "MacroLoopTimes = \"300\"\r\nitemcount=4\r\nItem0 = A   Dn\r\nItem1=\"1550 ms\"\n"
          "Item2=   A   Up   \r\nITEM3='Num Lock   Dn'\r\n");
    EXPECT_EQ(ListMacroNames(m_file), std::vector<std::string>{"Macro_0"});
    EXPECT_EQ(LoadMacro(m_file, "Macro_0"),
              Macro(1, 1, "300", {"A   Dn", "1550 ms", "A   Up", "Num Lock   Dn"}, "Macro_0"));
    // With recorded delays a key line after an event is no wait: the release waits nothing.
    EXPECT_EQ(BufferHexOf(RebuildMacroData(m_file, 1), 0), BufferHex("01 2C 32 04 0F 03 80 04 00 53"));
}

TEST_F(MacroFileTest, LoadReadsNoFurtherThanTheLastItemKey)
{
    Write("[Huge]\r\nItemCount=2000000000\r\nItem0=A   Dn\r\nItem1=A   Up\r\n"
          "[Far]\r\nItemCount=2000000000\r\nItem1999999999=A   Dn\r\n"
          "[Gap]\r\nItemCount=3\r\nItem0=A   Dn\r\nItem2=A   Up\r\nItem7=B   Dn\r\n"
          "[NoItems]\r\nLoopTimeSelStatus=1\r\nMacroLoopTimes=7\r\nItemCount=5\r\n");
    EXPECT_EQ(LoadMacro(m_file, "Huge").items, Macro(0, 0, "", {"A   Dn", "A   Up"}).items);
    EXPECT_EQ(LoadMacro(m_file, "Far").items.size(), 1u);
    EXPECT_EQ(LoadMacro(m_file, "Gap").items, Macro(0, 0, "", {"A   Dn", "", "A   Up"}).items);
    // A count without items still makes a macro with items: loop bytes, no entries.
    EXPECT_EQ(HexBytes(EncodeMacro(LoadMacro(m_file, "NoItems"))), BufferHex("00 07"));
}

TEST_F(MacroFileTest, RebuildEncodesOnlyTheFirstTwelveSections)
{
    std::vector<std::string> names;
    for (int k = 0; k < 13; ++k) {
        names.push_back("Macro_" + std::to_string(k));
    }
    WriteOnePressMacros(names);
    EXPECT_EQ(ListMacroNames(m_file), names);
    const MacroData data = RebuildMacroData(m_file, 12);
    for (std::size_t k = 0; k < kMacroCount; ++k) {
        char loop[8];
        std::snprintf(loop, sizeof loop, "00 %02zX", k + 1);
        EXPECT_EQ(BufferHexOf(data, k), BufferHex(std::string(loop) + " 05 04")) << "buffer " << k;
    }
}

TEST_F(MacroFileTest, TwelveMacrosWithLongNamesAreAllListedAndEncoded)
{
    std::vector<std::string> names;
    for (int k = 0; k < 12; ++k) {
        names.push_back("A_macro_with_a_name" + std::to_string(10 + k)); // 21 characters each
    }
    names.back() = "A_macro_name_of_forty_characters_4567890";
    WriteOnePressMacros(names);
    EXPECT_EQ(ListMacroNames(m_file), names);
    EXPECT_EQ(BufferHexOf(RebuildMacroData(m_file, names.size()), 11), BufferHex("00 0C 05 04"));
}

// The longest recording: 127 lines, each press or release of A followed by its wait.
MacroRecord FullMacro(const std::string& name)
{
    MacroRecord record = Macro(1, 1, "3", {}, name);
    for (long i = 0; i < 127; ++i) {
        record.items.push_back(i % 2 == 1   ? MacroItem::Delay(10 * i)
                               : i % 4 == 0 ? MacroItem::Press("A")
                                            : MacroItem::Release("A"));
    }
    return record;
}

// How often each operation opens the macro file and replaces it: a save is one read and one
// atomic replacement, so a crash leaves the old section or the new one, never half of it.
struct AccessCase
{
    const char* name;
    std::function<void(IniFile&)> operation;
    int opens;
    int replacements;
};

class MacroFileAccess : public MacroFileTest, public testing::WithParamInterface<AccessCase>
{
};

TEST_P(MacroFileAccess, ReadsOnceAndWritesAtMostOnce)
{
    WriteOnePressMacros({"Macro_0", "Macro_1", "Macro_2"});
    test::FileAccessCounter access(m_file.Path());
    GetParam().operation(m_file);
    EXPECT_EQ(access.Opens(), GetParam().opens);
    EXPECT_EQ(access.Replacements(), GetParam().replacements);
}

INSTANTIATE_TEST_SUITE_P(
    Operations, MacroFileAccess,
    testing::Values(AccessCase{"RebuildMacroData", [](IniFile& file) { RebuildMacroData(file, 3); }, 1, 0},
                    AccessCase{"ListMacroNames", [](IniFile& file) { ListMacroNames(file); }, 1, 0},
                    AccessCase{"LoadMacro", [](IniFile& file) { LoadMacro(file, "Macro_1"); }, 1, 0},
                    AccessCase{"SaveMacroInPlace", [](IniFile& file) { SaveMacro(file, FullMacro("Macro_1")); }, 1, 1},
                    AccessCase{"SaveMacroOfANewMacro", [](IniFile& file) { SaveMacro(file, FullMacro("Macro_3")); }, 1,
                               1},
                    AccessCase{"SaveMacroRefusedText",
                               [](IniFile& file) {
                                   SaveMacro(file, Macro(1, 0, "1", {"A   Dn", "B\nItem9=x"}, "Macro_1"));
                               },
                               0, 0},
                    AccessCase{"WriteLoopTimes", [](IniFile& file) { WriteLoopTimes(file, "Macro_1", 9); }, 1, 1},
                    AccessCase{"DeleteMacroSection", [](IniFile& file) { DeleteMacroSection(file, "Macro_1"); }, 1, 1}),
    [](const auto& info) { return info.param.name; });

} // namespace
} // namespace veldrane
