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

TEST_F(IniFileFixture, SnapshotReadsTheFileOnceAndKeepsWhatItRead)
{
    Store("[Macro_0]\r\nItemCount=1\r\nItem0=A   Dn\r\n[Macro_1]\r\nItemCount=2\r\n");
    FileAccessCounter access(m_path);
    const IniSnapshot snapshot = File().Read();
    Store("[Other]\r\nItemCount=9\r\n");
    EXPECT_EQ(snapshot.SectionNames(), (std::vector<std::string>{"Macro_0", "Macro_1"}));
    EXPECT_EQ(snapshot.KeyNames("macro_0"), (std::vector<std::string>{"ItemCount", "Item0"}));
    EXPECT_EQ(snapshot.GetInt("Macro_1", "ItemCount"), 2);
    EXPECT_EQ(snapshot.GetString("Macro_0", "Item0"), "A   Dn");
    EXPECT_EQ(snapshot.GetString("Other", "ItemCount", "none  "), "none");
    // One open to read it, one by Store to overwrite it; the queries never went back to the disk.
    EXPECT_EQ(access.Opens(), 2);
}

TEST_F(IniFileFixture, SectionListsEachKeyOnceInFileOrderWithItsFirstValue)
{
    Store("k=orphan\r\n"
          "[ Macro_0 ]\r\n"
          "  DelayTimeSelStatus = 1 \r\n"
          "; Item0=commented\r\n"
          "MacroLoopTimes=\"300\"\r\n"
          "not a key\r\n"
          "ITEM0='A   Dn'\r\n"
          "item0=B   Dn\r\n"
          "Empty=\r\n"
          "[macro_0]\r\n"
          "Item1=second section\r\n"
          "[Macro_1]\r\n"
          "Item0=C   Dn\r\n");
    EXPECT_EQ(File().Read().Section("MACRO_0"),
              (std::vector<IniEntry>{
                  {"DelayTimeSelStatus", "1"}, {"MacroLoopTimes", "300"}, {"ITEM0", "A   Dn"}, {"Empty", ""}}));
    EXPECT_TRUE(File().Read().Section("Macro_2").empty());
}

TEST(IniNamesEqual, IgnoresAsciiCaseAndSurroundingBlanksOnly)
{
    EXPECT_TRUE(IniNamesEqual(" Item0\t", "ITEM0"));
    EXPECT_FALSE(IniNamesEqual("Item 0", "Item0"));
    EXPECT_FALSE(IniNamesEqual("Item", "Item0"));
    EXPECT_FALSE(IniNamesEqual("É", "é"));
    EXPECT_FALSE(IniNamesEqual("[", "{"));
}

} // namespace
} // namespace veldrane
