#include "ini/IniFile.h"

#include <climits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "IniFileFixture.h"
#include "support/FileAccessCounter.h"

namespace veldrane {
namespace {

using test::FileAccessCounter;
using test::IniFileFixture;
using test::Utf16File;
using namespace test::encoded;

struct ReadCase
{
    const char* name;
    std::string file;
    std::string section;
    std::string key;
    std::string expected;
    LegacyCodePage fallback = LegacyCodePage::Windows1252; // the interface language's, for a file without "Lan"
};

class IniFileRead : public IniFileFixture, public ::testing::WithParamInterface<ReadCase>
{
};

TEST_P(IniFileRead, GetString)
{
    Store(GetParam().file);
    EXPECT_EQ(File(GetParam().fallback).GetString(GetParam().section, GetParam().key, "default"), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Lookups, IniFileRead,
    ::testing::Values(
        ReadCase{"SectionAndKeyIgnoreCase", "[Skins]\r\nLan=CHS\r\n", "sKINS", "LAN", "CHS"},
        ReadCase{"ValueLosesSurroundingBlanks", "[S]\r\nk= \t spaced out \t\r\n", "S", "k", "spaced out"},
        ReadCase{"DoubleQuotesRemoved", "[S]\r\nk=\"a\"\r\n", "S", "k", "a"},
        ReadCase{"MismatchedQuotesKept", "[S]\r\nk=\"c'\r\n", "S", "k", "\"c'"},
        ReadCase{"OnlyOnePairRemoved", "[S]\r\nk=\"\"d\"\"\r\n", "S", "k", "\"d\""},
        ReadCase{"PresentEmptyValueIsNotDefault", "[S]\r\nk=\r\n", "S", "k", ""},
        ReadCase{"MissingKeyReadsDefault", "[S]\r\nk=1\r\n", "S", "other", "default"},
        ReadCase{"FirstDuplicateKeyWins", "[S]\r\nk=first\r\nK=second\r\n", "S", "k", "first"},
        ReadCase{"KeyOnlyInSecondDuplicateSectionIsMissing", "[S]\r\na=1\r\n[S]\r\nk=2\r\n", "S", "k", "default"},
        ReadCase{"LineFeedOnlyFile", "[S]\nk=v\n", "S", "k", "v"},
        ReadCase{"NonAsciiNamesCompareExactly", "[宏一]\r\n键=值\r\n", "宏一", "键", "值"},
        ReadCase{"MegabyteLine", "[S]\r\nk=" + std::string(1 << 20, 'x'), "S", "k",
                 std::string(kProfileBufferChars - 1, 'x')},
        // The encoding: a byte-order mark, else the code page that "Lan" names, else the
        // interface language's; bytes that are no text read as U+FFFD.
        ReadCase{"Utf16Le", Utf16File(u"[S]\r\nk=左键\r\n"), "S", "k", "左键"},
        ReadCase{"Utf16LoneSurrogates", Utf16File(u"[S]\r\nk=\xD83Dx\xDE00\r\n"), "S", "k",
                 "\xEF\xBF\xBDx\xEF\xBF\xBD"},
        ReadCase{"Utf16OddLastByte", Utf16File(u"[S]\r\nk=x") + "\x41", "S", "k", "x\xEF\xBF\xBD"},
        ReadCase{"Utf8WithBom", kUtf8Bom + "[S]\r\nk=左鍵\xC3x\r\n", "S", "k", "左鍵\xEF\xBF\xBDx"},
        ReadCase{"LanChsIsGbk", "[S]\r\nk=" + kGbkClick + "\r\n[Skins]\r\nLan=CHS\r\n", "S", "k", "左键"},
        // The second byte of "右" in Big5 is 'k': a trail byte that is ASCII must not confuse the key.
        ReadCase{"LanChtIsBig5", "[Skins]\r\nlan = \"CHT\"\r\n[S]\r\nk=" + kBig5Menu, "S", "k", "右鍵"},
        ReadCase{"NoLanUsesGbkFallback", "[S]\r\nk=" + kGbkClick, "S", "k", "左键", LegacyCodePage::Gbk},
        ReadCase{"NoLanUsesCp1252Fallback", "[S]\r\nk=Caf\xE9\x81", "S", "k", "Caf\xC3\xA9\xEF\xBF\xBD"},
        ReadCase{"LanEnBeatsGbkFallback", "[Skins]\r\nLan=EN\r\n[S]\r\nk=Caf\xE9", "S", "k", "Café",
                 LegacyCodePage::Gbk},
        ReadCase{"LowerCaseChsIsNotChinese", "[Skins]\r\nLan=chs\r\n[S]\r\nk=\xD7\xF3", "S", "k", "×ó",
                 LegacyCodePage::Gbk},
        ReadCase{"LanOutsideSkinsDoesNotCount", "[Point]\r\nLan=CHS\r\n[S]\r\nk=\xD7\xF3", "S", "k", "×ó"}),
    [](const auto& info) { return info.param.name; });

TEST_F(IniFileFixture, MissingFileReadsDefaultWithoutTrailingBlanks)
{
    EXPECT_EQ(File().GetString("Skins", "Lan", "EN  "), "EN");
    EXPECT_EQ(File().GetString("Skins", "Lan"), "");
    EXPECT_FALSE(File().Exists());
}

TEST_F(IniFileFixture, ReadOfBufferSizeReturnsOneCharacterLess)
{
    Store("[S]\r\nlong=" + std::string(2000, 'x') + "\r\nshort=左键abc\r\n");
    EXPECT_EQ(File().GetString("S", "long"), std::string(kProfileBufferChars - 1, 'x'));
    EXPECT_EQ(File().GetString("S", "long", {}, 1024).size(), 1023u);
    EXPECT_EQ(File().GetString("S", "short", {}, 4), "左键a");
    EXPECT_EQ(File().GetString("S", "short", {}, 2), "左");
    EXPECT_EQ(File().GetString("S", "short", {}, 1), "");
    EXPECT_EQ(File().GetString("S", "short", {}, 0), "");
    EXPECT_EQ(File().GetString("S", "missing", "左键", 2), "左");
}

TEST(ParseDecimal, ReadsLikeWtoiAndSaturates)
{
    EXPECT_EQ(ParseDecimal("  42abc"), 42);
    EXPECT_EQ(ParseDecimal("- 5"), 0);
    EXPECT_EQ(ParseDecimal("x"), 0);
    EXPECT_EQ(ParseDecimal("99999999999999999999"), INT_MAX);
    EXPECT_EQ(ParseDecimal("-2147483649"), INT_MIN);
}

TEST_F(IniFileFixture, SnapshotReadsTheFileOnceAndKeepsWhatItRead)
{
    Store("k=orphan\r\n[ Macro_0 ]\r\n  DelayTimeSelStatus = 1 \r\n; Item0=commented\r\nMacroLoopTimes=\"300\"\r\n"
          "not a key\r\nITEM0='A   Dn'\r\nitem0=B   Dn\r\nEmpty=\r\n; [NotASection]\r\n"
          "[macro_0]\r\nItem1=second section\r\n[Macro_1]\r\nItemCount=2\r\n[]\r\n[Unclosed\r\n");
    FileAccessCounter access(m_path);
    const IniSnapshot snapshot = File().Read();
    Store("[Other]\r\nItemCount=9\r\n");
    // Each section and key once, in file order, with its first value.
    EXPECT_EQ(snapshot.SectionNames(), (std::vector<std::string>{"Macro_0", "Macro_1", ""}));
    EXPECT_EQ(snapshot.Section("MACRO_0"),
              (std::vector<IniEntry>{
                  {"DelayTimeSelStatus", "1"}, {"MacroLoopTimes", "300"}, {"ITEM0", "A   Dn"}, {"Empty", ""}}));
    EXPECT_EQ(snapshot.KeyNames("macro_0"),
              (std::vector<std::string>{"DelayTimeSelStatus", "MacroLoopTimes", "ITEM0", "Empty"}));
    EXPECT_TRUE(snapshot.Section("Macro_2").empty());
    EXPECT_EQ(snapshot.GetInt("Macro_1", "ItemCount"), 2);
    EXPECT_EQ(snapshot.GetString("Other", "ItemCount", "none  "), "none");
    // One open to read it, one by Store to overwrite it; the queries never went back to the disk.
    EXPECT_EQ(access.Opens(), 2);
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
