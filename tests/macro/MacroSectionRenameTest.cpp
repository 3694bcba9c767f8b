#include "macro/MacroSectionRename.h"

#include <string>

#include <gtest/gtest.h>

#include "ini/IniFile.h"
#include "macro/MacroFile.h"
#include "platform/linux/IconvTextCodec.h"
#include "support/FileAccessCounter.h"
#include "support/TempDir.h"

namespace veldrane {
namespace {

constexpr std::string_view kThreeMacros = "[First]\r\nMacroLoopTimes=1\r\nItemCount=1\r\nItem0=A   Dn\r\n"
                                          "[Second]\r\nDelayTimeSelStatus=1\r\nMacroLoopTimes=7\r\n"
                                          "[Third]\r\nMacroLoopTimes=2\r\nItem0=B   Up\r\n";

class MacroSectionRenameTest : public testing::Test
{
protected:
    void SetUp() override { test::WriteFileBytes(m_file.Path(), kThreeMacros); }
    std::string Text() const { return test::ReadFileBytes(m_file.Path()); }

    test::TempDir m_dir;
    IconvTextCodec m_codec;
    IniFile m_file{m_dir / kMacroFileName, m_codec};
};

// One replacement of the file: a kill between many of them left the macros rotated or cut.
TEST_F(MacroSectionRenameTest, KeepsTheSectionAndEveryLaterOneWhereTheyStandInOneWrite)
{
    test::FileAccessCounter access(m_file.Path());
    ASSERT_TRUE(RenameMacroSection(m_file, "Second", "Renamed"));
    EXPECT_EQ(access.Replacements(), 1);
    EXPECT_EQ(Text(), "[First]\r\nMacroLoopTimes=1\r\nItemCount=1\r\nItem0=A   Dn\r\n"
                      "[Renamed]\r\nDelayTimeSelStatus=1\r\nMacroLoopTimes=7\r\n"
                      "[Third]\r\nMacroLoopTimes=2\r\nItem0=B   Up\r\n");
}

TEST_F(MacroSectionRenameTest, RefusesWithoutTouchingTheFile)
{
    EXPECT_FALSE(RenameMacroSection(m_file, "Second", "third"));
    EXPECT_FALSE(RenameMacroSection(m_file, "Second", "a]b"));
    EXPECT_FALSE(RenameMacroSection(m_file, "Second", "  "));
    EXPECT_FALSE(RenameMacroSection(m_file, "Missing", "Other"));
    EXPECT_EQ(Text(), kThreeMacros);
}

} // namespace
} // namespace veldrane
