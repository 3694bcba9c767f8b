#include "core/macro/MacroFile.h"

#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "core/macro/MacroSectionRename.h"
#include "core/macro/MacroTestSupport.h"
#include "support/FileAccessCounter.h"

namespace veldrane {
namespace {

using namespace test;

// Macro k: one press of A looped k + 1 times.
const std::string kTail = Section("Macro_1", 0, 1, 2, {"A   Dn"}) + Section("Macro_2", 0, 1, 3, {"A   Dn"});
const std::string kOnePressMacros = Section("Macro_0", 0, 1, 1, {"A   Dn"}) + kTail;

TEST_F(MacroFileTest, SaveRewritesTheSectionWhereItStandsAndLoadsItBack)
{
    Write(kOnePressMacros);
    const MacroRecord record = Macro(1, 0, "5", {"B   Dn", "20 ms", "B   Up"}, "Macro_0");
    ASSERT_EQ(SaveMacro(m_file, record), MacroSaveResult::Saved);
    EXPECT_EQ(Text(), "[Macro_0]\r\nDelayTimeSelStatus=1\r\nLoopTimeSelStatus=0\r\nMacroLoopTimes=5\r\nItemCount=3\r\n"
                      "Item0=B   Dn\r\nItem1=20 ms\r\nItem2=B   Up\r\n" +
                          kTail);
    EXPECT_EQ(LoadMacro(m_file, "Macro_0"), record);

    // A shorter macro leaves none of its old item keys behind.
    ASSERT_EQ(SaveMacro(m_file, Macro(1, 0, "5", {"C   Up"}, "Macro_0")), MacroSaveResult::Saved);
    EXPECT_EQ(Text(), Section("Macro_0", 1, 0, 5, {"C   Up"}) + kTail);
    EXPECT_EQ(BufferOf(RebuildMacroData(m_file, 3), 0), BufferHex("00 01 80 06"));
}

TEST_F(MacroFileTest, SaveRefusesBadNamesAndTextsBeforeWritingAnything)
{
    EXPECT_EQ(SaveMacro(m_file, Macro(1, 0, "1", {"A   Dn"})), MacroSaveResult::NoFile);
    EXPECT_FALSE(m_file.Exists());
    Write(kOnePressMacros);
    for (const char* name : {"", "   ", "Bad]Name", "[Bad", "Line\nBreak"}) {
        EXPECT_EQ(SaveMacro(m_file, Macro(1, 0, "1", {"A   Dn"}, name)), MacroSaveResult::RefusedName) << name;
        EXPECT_EQ(WriteLoopTimes(m_file, name, 1), IniWriteResult::RefusedName) << name;
    }
    EXPECT_EQ(SaveMacro(m_file, Macro(1, 0, "1", {"A   Dn", "B\r\nItem9=x"})), MacroSaveResult::RefusedValue);
    EXPECT_EQ(SaveMacro(m_file, Macro(1, 0, "1\n[Evil]", {"A   Dn"})), MacroSaveResult::RefusedValue);
    EXPECT_EQ(Text(), kOnePressMacros);
}

// A delete of a section that is not there changes nothing; the manager's test deletes one that is.
TEST_F(MacroFileTest, WriteLoopTimesAndDeleteKeepTheOtherSectionsInOrder)
{
    ASSERT_EQ(WriteLoopTimes(m_file, "Macro_0", 1), IniWriteResult::Written);
    ASSERT_EQ(WriteLoopTimes(m_file, "Macro_1", 1), IniWriteResult::Written);
    ASSERT_EQ(WriteLoopTimes(m_file, "Macro_0", 65535), IniWriteResult::Written);
    EXPECT_FALSE(DeleteMacroSection(m_file, "Macro_2"));
    EXPECT_EQ(Text(), "[Macro_0]\r\nMacroLoopTimes=65535\r\n[Macro_1]\r\nMacroLoopTimes=1\r\n");
}

// A hand-edited "ItemCount" of two thousand million used to read that many keys.
TEST_F(MacroFileTest, LoadReadsAHandWrittenFileNoFurtherThanTheLastItemKey)
{
    Write("; written by hand\n[ Macro_0 ]\r\n  DelayTimeSelStatus = 1 \r\nLoopTimeSelStatus=  1\n"
          "MacroLoopTimes = \"300\"\r\nitemcount=4\r\nItem0 = A   Dn\r\nItem1=\"1550 ms\"\n"
          "Item2=   A   Up   \r\nITEM3='Num Lock   Dn'\r\n"
          "[Huge]\r\nItemCount=2000000000\r\nItem0=A   Dn\r\nItem1=A   Up\r\n"
          "[Far]\r\nItemCount=2000000000\r\nItem1999999999=A   Dn\r\n"
          "[Gap]\r\nItemCount=3\r\nItem0=A   Dn\r\nItem2=A   Up\r\nItem7=B   Dn\r\n"
          "[NoItems]\r\nLoopTimeSelStatus=1\r\nMacroLoopTimes=7\r\nItemCount=5\r\n");
    EXPECT_EQ(ListMacroNames(m_file), (std::vector<std::string>{"Macro_0", "Huge", "Far", "Gap", "NoItems"}));
    EXPECT_EQ(LoadMacro(m_file, "Macro_0"),
              Macro(1, 1, "300", {"A   Dn", "1550 ms", "A   Up", "Num Lock   Dn"}, "Macro_0"));
    // With recorded delays a key line after an event is no wait: the release waits nothing.
    EXPECT_EQ(BufferOf(RebuildMacroData(m_file, 1), 0), BufferHex("01 2C 32 04 0F 03 80 04 00 53"));
    EXPECT_EQ(LoadMacro(m_file, "Huge").items, Macro(0, 0, "", {"A   Dn", "A   Up"}).items);
    EXPECT_EQ(LoadMacro(m_file, "Far").items.size(), 1u);
    EXPECT_EQ(LoadMacro(m_file, "Gap").items, Macro(0, 0, "", {"A   Dn", "", "A   Up"}).items);
    EXPECT_EQ(test::HexBytes(EncodeMacro(LoadMacro(m_file, "NoItems"))), BufferHex("00 07"));
}

constexpr std::string_view kThreeMacros = "[First]\r\nMacroLoopTimes=1\r\nItemCount=1\r\nItem0=A   Dn\r\n"
                                          "[Second]\r\nDelayTimeSelStatus=1\r\nMacroLoopTimes=7\r\n"
                                          "[Third]\r\nMacroLoopTimes=2\r\nItem0=B   Up\r\n";

// One replacement of the file: a kill between many of them left the macros rotated or cut.
TEST_F(MacroFileTest, RenameKeepsTheSectionAndEveryLaterOneWhereTheyStandInOneWrite)
{
    Write(kThreeMacros);
    EXPECT_FALSE(RenameMacroSection(m_file, "Second", "third"));
    EXPECT_FALSE(RenameMacroSection(m_file, "Second", "a]b"));
    EXPECT_FALSE(RenameMacroSection(m_file, "Missing", "Other"));
    EXPECT_EQ(Text(), kThreeMacros);

    test::FileAccessCounter access(m_file.Path());
    ASSERT_TRUE(RenameMacroSection(m_file, "Second", "Renamed"));
    EXPECT_EQ(access.Replacements(), 1);
    std::string renamed(kThreeMacros);
    EXPECT_EQ(Text(), renamed.replace(renamed.find("Second"), 6, "Renamed"));
}

// A save is one read and one atomic replacement, so a crash leaves the old section or the new
// one, never half of it.
TEST_F(MacroFileTest, EveryOperationReadsOnceAndWritesAtMostOnce)
{
    const std::tuple<const char*, std::function<void()>, int, int> cases[] = {
        {"rebuild", [&] { RebuildMacroData(m_file, 3); }, 1, 0},
        {"save", [&] { EXPECT_EQ(SaveMacro(m_file, Macro(1, 1, "3", {"A   Dn"}, "Macro_1")), MacroSaveResult::Saved); },
         1, 1},
        {"refused save",
         [&] { EXPECT_EQ(SaveMacro(m_file, Macro(1, 0, "1", {"B\nI=x"})), MacroSaveResult::RefusedValue); }, 0, 0},
        {"delete", [&] { EXPECT_TRUE(DeleteMacroSection(m_file, "Macro_1")); }, 1, 1}};
    for (const auto& [name, operation, opens, replacements] : cases) {
        Write(kOnePressMacros);
        test::FileAccessCounter access(m_file.Path());
        operation();
        EXPECT_EQ(access.Opens(), opens) << name;
        EXPECT_EQ(access.Replacements(), replacements) << name;
    }
}

} // namespace
} // namespace veldrane
