// The label and macro files: reads, snapshots and batches of edits through the real code pages, and
// the Unicode conversions beneath them.

#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <system_error>
#include <vector>

#include "adapters/linux/IconvTextCodec.h"
#include "core/ini/AtomicFile.h"
#include "core/ini/FileError.h"
#include "core/ini/IniFile.h"
#include "core/ini/UnicodeText.h"
#include "support/FileAccessCounter.h"
#include "support/Parameterised.h"
#include "support/TempDir.h"

namespace veldrane {
namespace {

using test::Parameterised;

using test::FileAccessCounter;
using namespace std::string_literals;

// One label file in a fresh directory, read and written through the real code pages.
class IniFileFixture : public ::testing::Test
{
protected:
    IniFile File(LegacyCodePage fallback = LegacyCodePage::Windows1252) const { return {m_path, m_codec, fallback}; }
    void Store(std::string_view bytes) const { test::WriteFileBytes(m_path, bytes); }
    std::string Stored() const { return test::ReadFileBytes(m_path); }

    test::TempDir m_dir;
    std::filesystem::path m_path = m_dir / "str0.ini";
    IconvTextCodec m_codec;
};

// A UTF-16 LE file of `text`, byte-order mark first; lone surrogates stay as they are.
std::string Utf16File(std::u16string_view text)
{
    std::string bytes = "\xFF\xFE";
    for (const char16_t unit : text) {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>(unit >> 8);
    }
    return bytes;
}

// Chinese texts in the legacy code pages: "左键" and "右键" in GBK, "左鍵" and "右鍵" in Big5.
const std::string kUtf8Bom = "\xEF\xBB\xBF";
const std::string kGbkClick = "\xD7\xF3\xBC\xFC";
const std::string kGbkMenu = "\xD3\xD2\xBC\xFC";
const std::string kBig5Click = "\xA5\xAA\xC1\xE4";
const std::string kBig5Menu = "\xA5\x6B\xC1\xE4";

struct ReadCase
{
    const char* name;
    std::string file;
    std::string section;
    std::string key;
    std::string expected;
    LegacyCodePage fallback = LegacyCodePage::Windows1252; // the interface language's, for a file without "Lan"
};

using IniFileRead = Parameterised<IniFileFixture, ReadCase>;

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
    // The default buffer's cut is the MegabyteLine lookup's.
    Store("[S]\r\nshort=左键abc\r\n");
    EXPECT_EQ(File().GetString("S", "short", {}, 4), "左键a");
    EXPECT_EQ(File().GetString("S", "short", {}, 1), "");
    EXPECT_EQ(File().GetString("S", "missing", "左键", 2), "左");
}

TEST(ParseDecimal, ReadsLikeWtoiAndSaturates)
{
    EXPECT_EQ(ParseDecimal("  42abc"), 42);
    EXPECT_EQ(ParseDecimal("- 5"), 0);
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

const std::string kReplacement = "\xEF\xBF\xBD";

TEST(UnicodeText, Utf16LeBothWaysWithSurrogatePairsAndBrokenUnits)
{
    EXPECT_EQ(Utf16LeToUtf8(std::string("\x3D\xD8\x00\xDE", 4)), "\xF0\x9F\x98\x80");
    EXPECT_EQ(Utf16LeToUtf8(std::string("\x3D\xD8\x41\x00", 4)), kReplacement + "A");
    EXPECT_EQ(Utf8ToUtf16Le("左\xF0\x9F\x98\x80"), std::string("\xE6\x5D\x3D\xD8\x00\xDE", 6));
    EXPECT_EQ(Utf8ToUtf16Le("a\xC3"), std::string("a\0\xFD\xFF", 4));
}

TEST(UnicodeText, RefusesGbkOverlongSurrogatesAndCutSequencesReplacingEachOnce)
{
    EXPECT_TRUE(IsValidUtf8("左键\xF0\x9F\x98\x80"));
    for (const char* bad : {"\xD7\xF3\xBC\xFC", "\xE0\x80\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xE5\xB7"}) {
        EXPECT_FALSE(IsValidUtf8(bad)) << bad;
    }
    // The cut-off three-byte sequence E5 B7 is one replacement, not two, and one character.
    EXPECT_EQ(SanitiseUtf8(std::string("a\xE5\xB7") + "b\xFF"), "a" + kReplacement + "b" + kReplacement);
    EXPECT_EQ(Utf8Prefix(std::string("\xE5\xB7") + "b", 1), "\xE5\xB7");
}

const std::string kMacroFile = "; macros\n[Macro_0]\nMacroLoopTimes=1\nItem0=A   Dn\nItem1 = \"A   Up\" \n\n"
                               "[Macro_1]\nMacroLoopTimes=2\n[Macro_2]\nMacroLoopTimes=3\n";

const std::string kCp1252File = "[Setting-EN]\r\nItem1=Caf\xE9\r\n";
const std::string kUndecodableCp1252 = kCp1252File + "Item2=\x81x\r\n"; // 0x81: no character in Windows-1252
const std::string kMegabyteHeader = "[" + std::string(1 << 20, 'S') + "]\r\nItem1=Click\r\n";
const std::string kBrokenNames = "[Setting-EN]]\r\n[[Skins]\r\n[unclosed\r\n=no key\r\nItem1==Click=\r\n"
                                 "\t[ Setting-EN ]\t\r\n;[Point]\r\nItem1=\0\r\n"s;

struct EditCase
{
    const char* name;
    std::string before; // empty: there is no file
    std::function<void(IniBatch&)> edit;
    IniWriteResult result;
    std::string after{};     // empty: the file is as it was before
    std::error_code error{}; // the reason of an IoError
};

using IniFileEdit = Parameterised<IniFileFixture, EditCase>;

// A changed file is read once and replaced once, by a temporary file beside it that is gone
// afterwards; untouched lines keep their text, and every line ends in CR LF. A refused batch, or
// one that changes nothing, leaves every byte as it was.
TEST_P(IniFileEdit, WritesExactlyTheseBytes)
{
    const EditCase& edit = GetParam();
    if (!edit.before.empty()) {
        Store(edit.before);
    }
    IniBatch batch;
    edit.edit(batch);
    FileAccessCounter access(m_path);
    IniFile file = File();
    EXPECT_EQ(file.Apply(batch), edit.result);
    EXPECT_EQ(file.LastError(), edit.error);
    // A refused name or value is refused before the file is read.
    const bool refused = edit.result == IniWriteResult::RefusedName || edit.result == IniWriteResult::RefusedValue;
    EXPECT_EQ(access.Opens(), edit.before.empty() || refused ? 0 : 1);
    EXPECT_EQ(access.Replacements(), edit.after.empty() ? 0 : 1);
    const std::string expected = edit.after.empty() ? edit.before : edit.after;
    EXPECT_EQ(File().Exists(), !expected.empty());
    if (!expected.empty()) {
        EXPECT_EQ(Stored(), expected);
    }
    const auto entries = std::distance(std::filesystem::directory_iterator(m_dir.Path()), {});
    EXPECT_EQ(entries, expected.empty() ? 0 : 1);
}

std::function<void(IniBatch&)> Write(std::string section, std::string key, std::string value)
{
    return [=](IniBatch& batch) { batch.WriteString(section, key, value); };
}

// A bad name or value between two good edits, which must refuse the whole batch.
std::function<void(IniBatch&)> Between(std::string section, std::string key, std::string value)
{
    return [=](IniBatch& batch) {
        batch.DeleteSection("Macro_0");
        batch.WriteString(section, key, value);
        batch.WriteString("Macro_1", "Item0", "A   Dn");
    };
}

const auto kWriteSpeed = Write("Point", "MouseSpeed_Y", "7");
const std::string kSpeed = "[Point]\r\nMouseSpeed_Y=7\r\n";
const std::string kGbkFile = "[Setting-CHS]\r\nItem1=" + kGbkClick + "\r\n[Skins]\r\nLan=CHS\r\n";
const std::string kBig5File = "[Skins]\r\nlan = \"CHT\"\r\n[Setting-CHT]\r\nItem1=" + kBig5Click + "\r\n";

constexpr auto kWritten = IniWriteResult::Written;
constexpr auto kIoError = IniWriteResult::IoError;
constexpr auto kRefusedName = IniWriteResult::RefusedName;
constexpr auto kRefusedValue = IniWriteResult::RefusedValue;

void WriteProfileNameAndCount(IniBatch& batch)
{
    batch.WriteString("Profile", "CurProfileName", "PROFILE 1");
    batch.WriteInt("Profile", "ItemCount", -12);
}

void EditMacros(IniBatch& batch)
{
    batch.WriteString("macro_0", "ITEM1", "B   Up"); // in place, keeping the key's spelling
    batch.WriteInt("Macro_0", "ItemCount", 2);       // after the section's last key
    batch.DeleteKey("Macro_0", "Item0");
    batch.DeleteSection("Macro_1");
    batch.WriteString("Macro_1", "MacroLoopTimes", "7"); // the section comes back at the end
    batch.WriteString("Macro_3", "Item0", "C   Dn");
    batch.DeleteKey("Macro_3", "Item0"); // what the batch wrote, it can take back
    batch.DeleteKey("Macro_2", "Missing");
}

void WriteHangulAmongGoodEdits(IniBatch& batch)
{
    batch.WriteString("Skins", "Path", "Default");
    batch.WriteString("Setting-CHS", "Item2", "한");
    batch.DeleteKey("Setting-CHS", "Item1");
}

INSTANTIATE_TEST_SUITE_P(
    Edits, IniFileEdit,
    testing::Values(
        EditCase{"FirstWriteCreatesUtf8", "", WriteProfileNameAndCount, kWritten,
                 "[Profile]\r\nCurProfileName=PROFILE 1\r\nItemCount=-12\r\n"},
        EditCase{"BatchInOrder", kMacroFile, EditMacros, kWritten,
                 "; macros\r\n[Macro_0]\r\nMacroLoopTimes=1\r\nItem1=B   Up\r\nItemCount=2\r\n\r\n"
                 "[Macro_2]\r\nMacroLoopTimes=3\r\n[Macro_1]\r\nMacroLoopTimes=7\r\n[Macro_3]\r\n"},
        EditCase{"NewKeyOfSectionWithoutKeysFollowsItsHeader", "[Point]\r\n; no keys yet\r\n[Skins]\r\n", kWriteSpeed,
                 kWritten, "[Point]\r\nMouseSpeed_Y=7\r\n; no keys yet\r\n[Skins]\r\n"},
        EditCase{"NewSectionAtTheEnd", "; top\n[A]\nk=1\nnot a key\n\n  ; indented comment  \n", kWriteSpeed, kWritten,
                 "; top\r\n[A]\r\nk=1\r\nnot a key\r\n\r\n  ; indented comment  \r\n" + kSpeed},
        EditCase{
            "DeleteKeyTakesEveryLineOfItFromTheFirstSection", "[S]\r\nk=1\r\n; kept\r\nK=2\r\nj=3\r\n[S]\r\nk=4\r\n",
            [](IniBatch& batch) { batch.DeleteKey("s", "k"); }, kWritten, "[S]\r\n; kept\r\nj=3\r\n[S]\r\nk=4\r\n"},
        EditCase{"DeleteSectionTakesEverySectionOfThatName",
                 "; top\r\n[Macro_1]\r\nk=1\r\n\r\n[Macro_2]\r\nk=2\r\n[macro_1]\r\nk=3\r\n",
                 [](IniBatch& batch) { batch.DeleteSection("Macro_1"); }, kWritten, "; top\r\n[Macro_2]\r\nk=2\r\n"},
        // Deleting what is not there changes nothing, and nothing is written: not even line ends.
        EditCase{"NothingToDeleteWritesNothing", kMacroFile,
                 [](IniBatch& batch) { batch.DeleteKey("Macro_0", "Item7"); }, kWritten},
        EditCase{"NothingToDeleteCreatesNoFile", "", [](IniBatch& batch) { batch.DeleteSection("Macro_9"); }, kWritten},
        EditCase{"SectionWithLineFeed", kMacroFile, Between("Macro\n[Skins]", "k", "v"), kRefusedName},
        EditCase{"SectionWithBrackets", kMacroFile, Between("a[b]c", "k", "v"), kRefusedName},
        EditCase{"KeyWithEquals", kMacroFile, Between("Skins", "Lan=CHS", "v"), kRefusedName},
        EditCase{"KeyThatWouldBeAComment", kMacroFile, Between("Skins", " ;k", "v"), kRefusedName},
        EditCase{"ValueWithLineBreak", kMacroFile, Between("Skins", "Path", "x\r\n[Point]"), kRefusedValue},
        EditCase{"ValueWithNul", kMacroFile, Between("Skins", "Path", std::string("x\0y", 3)), kRefusedValue},
        // A file is written back in the encoding it was read in.
        EditCase{"Utf16Le", Utf16File(u"[S]\r\nItem1=左键\r\n"), Write("S", "Item2", "右键"), kWritten,
                 Utf16File(u"[S]\r\nItem1=左键\r\nItem2=右键\r\n")},
        EditCase{"Utf8KeepsItsBom", kUtf8Bom + "[Point]\r\nItem1=左鍵\r\n", kWriteSpeed, kWritten,
                 kUtf8Bom + "[Point]\r\nItem1=左鍵\r\nMouseSpeed_Y=7\r\n"},
        EditCase{"GbkWithLanChs", kGbkFile, Write("Setting-CHS", "Item2", "右键"), kWritten,
                 "[Setting-CHS]\r\nItem1=" + kGbkClick + "\r\nItem2=" + kGbkMenu + "\r\n[Skins]\r\nLan=CHS\r\n"},
        // The second byte of "右" in Big5 is 'k': a trail byte that is ASCII must not confuse the key.
        EditCase{"Big5WithLanCht", kBig5File, Write("Setting-CHT", "Item2", "右鍵"), kWritten,
                 kBig5File + "Item2=" + kBig5Menu + "\r\n"},
        // A character the file's legacy code page lacks fails the whole batch.
        EditCase{"HangulInGbk", kGbkFile, WriteHangulAmongGoodEdits, kIoError, "", FileError::UnencodableText},
        EditCase{"ChineseInCp1252", kCp1252File, Write("Setting-EN", "Item2", "左键"), kIoError, "",
                 FileError::UnencodableText},
        // Bytes that are no text are never written: the write would turn them into U+FFFD for good,
        // in lines it did not touch.
        EditCase{"UndecodableCp1252", kUndecodableCp1252, kWriteSpeed, kIoError, "", FileError::UndecodableText},
        EditCase{"UndecodableUtf8WithBom", kUtf8Bom + "[S]\r\nk=\xC3x\r\n", kWriteSpeed, kIoError, "",
                 FileError::UndecodableText},
        EditCase{"Utf16LoneSurrogate", Utf16File(u"[S]\r\nk=\xD83Dx\xDE00\r\n"), kWriteSpeed, kIoError, "",
                 FileError::UndecodableText},
        EditCase{"Utf16OddLastByte", Utf16File(u"[S]\r\nk=x") + "\x41", kWriteSpeed, kIoError, "",
                 FileError::UndecodableText},
        // Files the program never wrote: its own section goes at the end, and what was there stays.
        EditCase{"TruncatedInsideACharacter", "[S]\r\nk=Cli\xE5\xB7", kWriteSpeed, kWritten,
                 "[S]\r\nk=Cli\xE5\xB7\r\n" + kSpeed},
        EditCase{"MegabyteHeader", kMegabyteHeader, kWriteSpeed, kWritten, kMegabyteHeader + kSpeed},
        EditCase{"NamesThatBreakTheStructure", kBrokenNames, kWriteSpeed, kWritten, kBrokenNames + kSpeed}),
    [](const auto& info) { return info.param.name; });

// Switching the interface language rewrites "Lan", which names the code page of the next read:
// the file follows it, or becomes UTF-8 when the new code page cannot hold its text.
TEST_F(IniFileFixture, ChangingLanKeepsEveryTextReadable)
{
    Store("[Skins]\r\nLan=EN\r\n[Setting-EN]\r\nItem1=Caf\xE9\r\n");
    EXPECT_EQ(File().WriteString("Skins", "Lan", "CHS"), IniWriteResult::Written);
    EXPECT_EQ(Stored(), "[Skins]\r\nLan=CHS\r\n[Setting-EN]\r\nItem1=Caf\xA8\xA6\r\n");
    EXPECT_EQ(File().GetString("Setting-EN", "Item1"), "Café");

    Store("[Skins]\r\nLan=CHS\r\n[Setting-CHS]\r\nItem1=" + kGbkClick + "\r\n");
    EXPECT_EQ(File().WriteString("Skins", "Lan", ""), IniWriteResult::Written);
    EXPECT_EQ(Stored(), "[Skins]\r\nLan=\r\n[Setting-CHS]\r\nItem1=左键\r\n");
    EXPECT_EQ(File().GetString("Setting-CHS", "Item1"), "左键");

    // Writing over the one byte that was no UTF-8 must not make "Ã®" read as "î".
    Store("[S]\r\nA=\xC3\xAE\r\nB=\xC5\r\n");
    EXPECT_EQ(File().WriteString("S", "B", "x"), IniWriteResult::Written);
    EXPECT_EQ(File().GetString("S", "A"), "Ã®");
}

// What is no regular file cannot be read, so it must not be replaced either; a FIFO is not even
// opened, since opening it would wait for a writer.
TEST_F(IniFileFixture, TargetThatIsNoRegularFileIsRefusedUntouched)
{
    for (const bool fifo : {false, true}) {
        std::filesystem::remove(m_path);
        if (fifo) {
            ASSERT_EQ(mkfifo(m_path.c_str(), 0600), 0);
        } else {
            std::filesystem::create_directory(m_path);
        }
        IniFile file = File();
        EXPECT_EQ(file.GetString("Skins", "Lan", "EN"), "EN");
        EXPECT_EQ(file.WriteString("Skins", "Lan", "CHS"), IniWriteResult::IoError);
        EXPECT_EQ(file.LastError(),
                  fifo ? std::error_code(FileError::NotRegularFile) : std::make_error_code(std::errc::is_a_directory));
        EXPECT_FALSE(file.DeleteSection("Skins"));
        EXPECT_EQ(WriteFileAtomically(m_path, "x"), file.LastError());
        EXPECT_EQ(std::filesystem::status(m_path).type(),
                  fifo ? std::filesystem::file_type::fifo : std::filesystem::file_type::directory);
    }
}

TEST_F(IniFileFixture, LeftoverTemporaryFilesAreRemovedAndNothingElse)
{
    Store(kMacroFile);
    const std::string leftover = std::string(kTemporaryFilePrefix) + "str0.ini.0123abcd";
    const std::string folder = std::string(kTemporaryFilePrefix) + "folder";
    test::WriteFileBytes(m_dir / leftover, "[Macro_0]\r\nItem1=A");
    test::WriteFileBytes(m_dir / "str0.ini.tmp-0123abcd", "the user's own");
    std::filesystem::create_directory(m_dir / folder);
    EXPECT_EQ(RemoveLeftoverTemporaryFiles(m_dir.Path()), 1u);
    EXPECT_FALSE(std::filesystem::exists(m_dir / leftover));
    EXPECT_EQ(Stored(), kMacroFile);
    EXPECT_TRUE(std::filesystem::exists(m_dir / "str0.ini.tmp-0123abcd"));
    EXPECT_TRUE(std::filesystem::exists(m_dir / folder));
}

} // namespace
} // namespace veldrane
