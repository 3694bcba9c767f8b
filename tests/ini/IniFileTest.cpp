#include "ini/IniFile.h"

#include <algorithm>
#include <climits>
#include <string>
#include <unistd.h>

#include <gtest/gtest.h>

#include "IniFileFixture.h"

namespace veldrane {
namespace {

using test::IniFileFixture;

constexpr std::string_view kLabelFile = "; labels of profile 0\r\n"
                                        "[Setting-EN]\r\n"
                                        "Item1=Click\r\n"
                                        "Item2 = \"Menu\" \r\n"
                                        "\r\n"
                                        "[Skins]\r\n"
                                        "Lan=EN\r\n"
                                        "Path=Default\r\n";

// --- reading -----------------------------------------------------------------------------------

struct ReadCase
{
    const char* name;
    std::string file;
    std::string section;
    std::string key;
    std::string expected;
};

class IniFileRead : public IniFileFixture, public ::testing::WithParamInterface<ReadCase>
{
};

TEST_P(IniFileRead, GetString)
{
    Store(GetParam().file);
    EXPECT_EQ(File().GetString(GetParam().section, GetParam().key, "default"), GetParam().expected);
}

// A snapshot answers every lookup as the call does, and so does its whole-section read.
TEST_P(IniFileRead, SnapshotAndItsSectionReadTheSame)
{
    Store(GetParam().file);
    const IniSnapshot snapshot = File().Read();
    EXPECT_EQ(snapshot.GetString(GetParam().section, GetParam().key, "default"), GetParam().expected);
    const std::vector<IniEntry> entries = snapshot.Section(GetParam().section);
    const std::string& key = GetParam().key;
    const auto entry =
        std::find_if(entries.begin(), entries.end(), [&](const IniEntry& e) { return IniNamesEqual(e.key, key); });
    EXPECT_EQ(entry == entries.end() ? "default" : entry->value, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Lookups, IniFileRead,
    ::testing::Values(
        ReadCase{"SectionAndKeyIgnoreCase", "[Skins]\r\nLan=CHS\r\n", "sKINS", "LAN", "CHS"},
        ReadCase{"NamesIgnoreSurroundingBlanks", "  [ Skins ]  \r\n  Lan  =CHS\r\n", " Skins ", "Lan ", "CHS"},
        ReadCase{"ValueLosesSurroundingBlanks", "[S]\r\nk= \t spaced out \t\r\n", "S", "k", "spaced out"},
        ReadCase{"DoubleQuotesRemoved", "[S]\r\nk=\"a\"\r\n", "S", "k", "a"},
        ReadCase{"SingleQuotesRemoved", "[S]\r\nk='b'\r\n", "S", "k", "b"},
        ReadCase{"MismatchedQuotesKept", "[S]\r\nk=\"c'\r\n", "S", "k", "\"c'"},
        ReadCase{"OnlyOnePairRemoved", "[S]\r\nk=\"\"d\"\"\r\n", "S", "k", "\"d\""},
        ReadCase{"BlanksInsideQuotesKept", "[S]\r\nk= \"  e \" \r\n", "S", "k", "  e "},
        ReadCase{"LoneQuoteKept", "[S]\r\nk=\"\r\n", "S", "k", "\""},
        ReadCase{"ValueUpToEndOfLineWithEquals", "[S]\r\nk=a=b\r\n", "S", "k", "a=b"},
        ReadCase{"ItemTextKeepsInnerBlanks", "[M]\r\nItem0=A   Dn\r\n", "M", "Item0", "A   Dn"},
        ReadCase{"PresentEmptyValueIsNotDefault", "[S]\r\nk=\r\n", "S", "k", ""},
        ReadCase{"MissingKeyReadsDefault", "[S]\r\nk=1\r\n", "S", "other", "default"},
        ReadCase{"MissingSectionReadsDefault", "[S]\r\nk=1\r\n", "T", "k", "default"},
        ReadCase{"FirstDuplicateKeyWins", "[S]\r\nk=first\r\nK=second\r\n", "S", "k", "first"},
        ReadCase{"FirstDuplicateSectionWins", "[S]\r\nk=first\r\n[s]\r\nk=second\r\n", "S", "k", "first"},
        ReadCase{"KeyOnlyInSecondDuplicateSectionIsMissing", "[S]\r\na=1\r\n[S]\r\nk=2\r\n", "S", "k", "default"},
        ReadCase{"KeysAboveFirstSectionBelongToNone", "k=orphan\r\n[S]\r\n", "S", "k", "default"},
        ReadCase{"KeysEndAtNextSection", "[S]\r\n[T]\r\nk=t\r\n", "S", "k", "default"},
        ReadCase{"CommentIsNoKey", "[S]\r\n;k=commented\r\n", "S", ";k", "default"},
        ReadCase{"LineFeedOnlyFile", "[S]\nk=v\n", "S", "k", "v"},
        ReadCase{"LoneCarriageReturns", "[S]\rk=v\r", "S", "k", "v"},
        ReadCase{"LastLineWithoutBreak", "[S]\r\nk=v", "S", "k", "v"},
        ReadCase{"NonAsciiNamesCompareExactly", "[宏一]\r\n键=值\r\n", "宏一", "键", "值"}),
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

struct DecimalCase
{
    const char* text;
    int value;
};

class ParseDecimalTable : public ::testing::TestWithParam<DecimalCase>
{
};

TEST_P(ParseDecimalTable, ReadsLikeWtoi)
{
    EXPECT_EQ(ParseDecimal(GetParam().text), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(Texts, ParseDecimalTable,
                         ::testing::Values(DecimalCase{"  42abc", 42}, DecimalCase{"-7", -7}, DecimalCase{"x", 0},
                                           DecimalCase{"", 0}, DecimalCase{"+3", 3}, DecimalCase{"\t 9", 9},
                                           DecimalCase{"- 5", 0}, DecimalCase{"007", 7},
                                           DecimalCase{"2147483647", INT_MAX}, DecimalCase{"2147483648", INT_MAX},
                                           DecimalCase{"99999999999999999999", INT_MAX},
                                           DecimalCase{"-2147483648", INT_MIN}, DecimalCase{"-2147483649", INT_MIN}));

TEST_F(IniFileFixture, GetIntReadsMissingAndTextAsZero)
{
    Store("[Profile]\r\nItemCount= 3 \r\nName=PROFILE 1\r\n");
    EXPECT_EQ(File().GetInt("Profile", "ItemCount"), 3);
    EXPECT_EQ(File().GetInt("Profile", "Name"), 0);
    EXPECT_EQ(File().GetInt("Profile", "Missing"), 0);
}

TEST_F(IniFileFixture, SectionNamesInFileOrderEachOnce)
{
    Store("k=orphan\r\n[Macro_2]\r\n[ Macro_1 ]\r\n; [NotASection]\r\n[macro_2]\r\n[]\r\n[Unclosed\r\n");
    EXPECT_EQ(File().SectionNames(), (std::vector<std::string>{"Macro_2", "Macro_1", ""}));
}

TEST_F(IniFileFixture, KeyNamesOfFirstSectionInFileOrder)
{
    Store("[M]\r\nItemCount=2\r\n;Item9=x\r\nno key here\r\nItem0=a\r\nitemcount=3\r\n[M]\r\nOther=1\r\n");
    EXPECT_EQ(File().KeyNames("m"), (std::vector<std::string>{"ItemCount", "Item0"}));
    EXPECT_TRUE(File().KeyNames("Missing").empty());
}

TEST_F(IniFileFixture, MissingFileListsNothing)
{
    EXPECT_TRUE(File().SectionNames().empty());
}

// --- writing -----------------------------------------------------------------------------------

TEST_F(IniFileFixture, FirstWriteCreatesUtf8FileWithCrLf)
{
    EXPECT_EQ(File().WriteString("Profile", "CurProfileName", "PROFILE 1"), IniWriteResult::Written);
    EXPECT_EQ(File().WriteInt("Profile", "ItemCount", -12), IniWriteResult::Written);
    EXPECT_EQ(Stored(), "[Profile]\r\nCurProfileName=PROFILE 1\r\nItemCount=-12\r\n");
}

TEST_F(IniFileFixture, ExistingKeyIsReplacedInPlaceKeepingItsSpelling)
{
    Store(kLabelFile);
    EXPECT_EQ(File().WriteString("setting-en", "ITEM2", "Universal Scroll"), IniWriteResult::Written);
    EXPECT_EQ(Stored(), "; labels of profile 0\r\n"
                        "[Setting-EN]\r\n"
                        "Item1=Click\r\n"
                        "Item2=Universal Scroll\r\n"
                        "\r\n"
                        "[Skins]\r\n"
                        "Lan=EN\r\n"
                        "Path=Default\r\n");
}

TEST_F(IniFileFixture, NewKeyGoesAfterLastKeyOfItsSection)
{
    Store(kLabelFile);
    EXPECT_EQ(File().WriteString("Setting-EN", "Item3", "IE Forward"), IniWriteResult::Written);
    EXPECT_EQ(Stored(), "; labels of profile 0\r\n"
                        "[Setting-EN]\r\n"
                        "Item1=Click\r\n"
                        "Item2 = \"Menu\" \r\n"
                        "Item3=IE Forward\r\n"
                        "\r\n"
                        "[Skins]\r\n"
                        "Lan=EN\r\n"
                        "Path=Default\r\n");
}

TEST_F(IniFileFixture, NewKeyOfSectionWithoutKeysFollowsItsHeader)
{
    Store("[Point]\r\n; no keys yet\r\n[Skins]\r\n");
    EXPECT_EQ(File().WriteInt("Point", "MouseSpeed_Y", 240), IniWriteResult::Written);
    EXPECT_EQ(Stored(), "[Point]\r\nMouseSpeed_Y=240\r\n; no keys yet\r\n[Skins]\r\n");
}

TEST_F(IniFileFixture, NewSectionGoesAtEndAndOtherLinesSurvive)
{
    Store("; top\n[A]\nk=1\nnot a key\n\n  ; indented comment  \n");
    EXPECT_EQ(File().WriteString("B", "k", "2"), IniWriteResult::Written);
    // Untouched lines keep their text; every line now ends in CR LF.
    EXPECT_EQ(Stored(), "; top\r\n[A]\r\nk=1\r\nnot a key\r\n\r\n  ; indented comment  \r\n[B]\r\nk=2\r\n");
}

TEST_F(IniFileFixture, NamesAreWrittenWithoutSurroundingBlanks)
{
    EXPECT_EQ(File().WriteString(" Macro_1 ", " ItemCount ", " 3"), IniWriteResult::Written);
    EXPECT_EQ(Stored(), "[Macro_1]\r\nItemCount= 3\r\n");
}

TEST_F(IniFileFixture, WriteIntoDuplicateGoesToFirstOne)
{
    Store("[S]\r\nk=1\r\nk=2\r\n[S]\r\nk=3\r\n");
    EXPECT_EQ(File().WriteString("S", "k", "9"), IniWriteResult::Written);
    EXPECT_EQ(Stored(), "[S]\r\nk=9\r\nk=2\r\n[S]\r\nk=3\r\n");
}

TEST_F(IniFileFixture, SavingFirstOfThreeMacrosMovesItToTheEnd)
{
    Store("[Macro_1]\r\nMacroLoopTimes=1\r\n[Macro_2]\r\nMacroLoopTimes=1\r\n[Macro_3]\r\nMacroLoopTimes=1\r\n");
    IniFile file = File();
    EXPECT_TRUE(file.DeleteSection("Macro_1"));
    file.WriteInt("Macro_1", "DelayTimeSelStatus", 1);
    file.WriteInt("Macro_1", "LoopTimeSelStatus", 0);
    file.WriteString("Macro_1", "MacroLoopTimes", "1");
    file.WriteInt("Macro_1", "ItemCount", 1);
    file.WriteString("Macro_1", "Item0", "A   Dn");
    EXPECT_EQ(file.SectionNames(), (std::vector<std::string>{"Macro_2", "Macro_3", "Macro_1"}));
    EXPECT_EQ(Stored(), "[Macro_2]\r\nMacroLoopTimes=1\r\n[Macro_3]\r\nMacroLoopTimes=1\r\n"
                        "[Macro_1]\r\nDelayTimeSelStatus=1\r\nLoopTimeSelStatus=0\r\nMacroLoopTimes=1\r\n"
                        "ItemCount=1\r\nItem0=A   Dn\r\n");
}

TEST_F(IniFileFixture, DeleteKeyRemovesItsLinesFromFirstSection)
{
    Store("[S]\r\nk=1\r\n; kept\r\nK=2\r\nj=3\r\n[S]\r\nk=4\r\n");
    EXPECT_TRUE(File().DeleteKey("s", "k"));
    EXPECT_EQ(Stored(), "[S]\r\n; kept\r\nj=3\r\n[S]\r\nk=4\r\n");
    EXPECT_EQ(File().GetString("S", "k", "gone"), "gone");
}

TEST_F(IniFileFixture, DeleteSectionRemovesEverySectionOfThatName)
{
    Store("; top\r\n[Macro_1]\r\nItemCount=1\r\n\r\n[Macro_2]\r\nItemCount=2\r\n[macro_1]\r\nItemCount=3\r\n");
    EXPECT_TRUE(File().DeleteSection("Macro_1"));
    EXPECT_EQ(Stored(), "; top\r\n[Macro_2]\r\nItemCount=2\r\n");
}

TEST_F(IniFileFixture, DeletingWhatIsMissingChangesNothing)
{
    EXPECT_FALSE(File().DeleteSection("Macro_1"));
    EXPECT_FALSE(File().DeleteKey("Macro_1", "ItemCount"));
    EXPECT_FALSE(File().Exists());

    const std::string lineFeedOnly = "[S]\nk=1\n";
    Store(lineFeedOnly);
    EXPECT_FALSE(File().DeleteSection("T"));
    EXPECT_FALSE(File().DeleteKey("S", "j"));
    EXPECT_FALSE(File().DeleteKey("T", "k"));
    EXPECT_EQ(Stored(), lineFeedOnly);
}

// --- refused input -----------------------------------------------------------------------------

struct RefusedCase
{
    const char* name;
    std::string section;
    std::string key;
    std::string value;
    IniWriteResult result;
};

class IniFileRefusedWrite : public IniFileFixture, public ::testing::WithParamInterface<RefusedCase>
{
};

TEST_P(IniFileRefusedWrite, LeavesFileByteIdentical)
{
    Store(kLabelFile);
    EXPECT_EQ(File().WriteString(GetParam().section, GetParam().key, GetParam().value), GetParam().result);
    EXPECT_EQ(Stored(), kLabelFile);
}

TEST_P(IniFileRefusedWrite, CreatesNoFile)
{
    EXPECT_EQ(File().WriteString(GetParam().section, GetParam().key, GetParam().value), GetParam().result);
    EXPECT_FALSE(File().Exists());
}

INSTANTIATE_TEST_SUITE_P(
    BadNames, IniFileRefusedWrite,
    ::testing::Values(RefusedCase{"SectionWithLineFeed", "Macro\n[Skins]", "k", "v", IniWriteResult::RefusedName},
                      RefusedCase{"SectionWithCarriageReturn", "Macro\r", "k", "v", IniWriteResult::RefusedName},
                      RefusedCase{"SectionWithOpeningBracket", "a[b", "k", "v", IniWriteResult::RefusedName},
                      RefusedCase{"SectionWithClosingBracket", "Macro]x", "k", "v", IniWriteResult::RefusedName},
                      RefusedCase{"SectionWithNul", std::string("a\0b", 3), "k", "v", IniWriteResult::RefusedName},
                      RefusedCase{"KeyWithEquals", "Skins", "Lan=CHS", "v", IniWriteResult::RefusedName},
                      RefusedCase{"KeyWithLineFeed", "Skins", "k\nLan", "v", IniWriteResult::RefusedName},
                      RefusedCase{"KeyWithBracket", "Skins", "[Point]", "v", IniWriteResult::RefusedName},
                      RefusedCase{"KeyThatWouldBeAComment", "Skins", " ;k", "v", IniWriteResult::RefusedName},
                      RefusedCase{"ValueWithLineFeed", "Skins", "Path", "x\n[Point]", IniWriteResult::RefusedValue},
                      RefusedCase{"ValueWithCarriageReturn", "Skins", "Path", "x\ry=1", IniWriteResult::RefusedValue},
                      RefusedCase{"ValueWithNul", "Skins", "Path", std::string("x\0y", 3),
                                  IniWriteResult::RefusedValue}),
    [](const auto& info) { return info.param.name; });

TEST_F(IniFileFixture, AcceptedOddNamesReadBack)
{
    // Only what would change the file's structure is refused.
    IniFile file = File();
    EXPECT_EQ(file.WriteString(";Macro", "Item 0", "'=[x]'"), IniWriteResult::Written);
    EXPECT_EQ(file.GetString(";macro", "item 0"), "=[x]");
}

// --- atomic replacement ------------------------------------------------------------------------

TEST_F(IniFileFixture, WriteLeavesNoTemporaryFileBehind)
{
    Store(kLabelFile);
    EXPECT_EQ(File().WriteString("Skins", "Lan", "CHS"), IniWriteResult::Written);
    std::vector<std::filesystem::path> entries;
    for (const auto& entry : std::filesystem::directory_iterator(m_dir.Path())) {
        entries.push_back(entry.path());
    }
    EXPECT_EQ(entries, std::vector<std::filesystem::path>{m_path});
}

TEST_F(IniFileFixture, WriteIntoMissingDirectoryFailsAndCreatesNothing)
{
    IniFile file(m_dir / "missing" / "str0.ini", m_codec);
    EXPECT_EQ(file.WriteString("Skins", "Lan", "CHS"), IniWriteResult::IoError);
    EXPECT_FALSE(std::filesystem::exists(m_dir / "missing"));
}

TEST_F(IniFileFixture, UnreadableTargetIsNotReplaced)
{
    // A directory where the file should be: it cannot be read, so it must not be overwritten.
    std::filesystem::create_directory(m_path);
    EXPECT_EQ(File().WriteString("Skins", "Lan", "CHS"), IniWriteResult::IoError);
    EXPECT_FALSE(File().DeleteSection("Skins"));
    EXPECT_TRUE(std::filesystem::is_directory(m_path));
    EXPECT_EQ(File().GetString("Skins", "Lan", "EN"), "EN");
}

TEST_F(IniFileFixture, WriteIntoReadOnlyDirectoryFailsAndKeepsOldFile)
{
    if (geteuid() == 0) {
        GTEST_SKIP() << "permissions do not stop root from writing";
    }
    Store(kLabelFile);
    std::filesystem::permissions(m_dir.Path(), std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::remove);
    const IniWriteResult result = File().WriteString("Skins", "Lan", "CHS");
    std::filesystem::permissions(m_dir.Path(), std::filesystem::perms::owner_write, std::filesystem::perm_options::add);
    EXPECT_EQ(result, IniWriteResult::IoError);
    EXPECT_EQ(Stored(), kLabelFile);
}

TEST_F(IniFileFixture, ReplacedFileKeepsItsPermissions)
{
    Store(kLabelFile);
    const auto mode =
        std::filesystem::perms::owner_read | std::filesystem::perms::owner_write | std::filesystem::perms::group_read;
    std::filesystem::permissions(m_path, mode);
    EXPECT_EQ(File().WriteString("Skins", "Lan", "CHS"), IniWriteResult::Written);
    EXPECT_EQ(std::filesystem::status(m_path).permissions(), mode);
}

} // namespace
} // namespace veldrane
