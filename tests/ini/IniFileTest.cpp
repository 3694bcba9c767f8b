#include "ini/IniFile.h"

#include <climits>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "IniFileFixture.h"
#include "ini/AtomicFile.h"
#include "ini/FileError.h"

namespace veldrane {
namespace {

using test::IniFileFixture;
using namespace std::string_literals;

constexpr std::string_view kLabelFile = "; labels of profile 0\r\n"
                                        "[Setting-EN]\r\n"
                                        "Item1=Click\r\n"
                                        "Item2 = \"Menu\" \r\n"
                                        "\r\n"
                                        "[Skins]\r\n"
                                        "Lan=EN\r\n"
                                        "Path=Default\r\n";

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

INSTANTIATE_TEST_SUITE_P(
    Lookups, IniFileRead,
    ::testing::Values(ReadCase{"SectionAndKeyIgnoreCase", "[Skins]\r\nLan=CHS\r\n", "sKINS", "LAN", "CHS"},
                      ReadCase{"ValueLosesSurroundingBlanks", "[S]\r\nk= \t spaced out \t\r\n", "S", "k", "spaced out"},
                      ReadCase{"DoubleQuotesRemoved", "[S]\r\nk=\"a\"\r\n", "S", "k", "a"},
                      ReadCase{"MismatchedQuotesKept", "[S]\r\nk=\"c'\r\n", "S", "k", "\"c'"},
                      ReadCase{"OnlyOnePairRemoved", "[S]\r\nk=\"\"d\"\"\r\n", "S", "k", "\"d\""},
                      ReadCase{"PresentEmptyValueIsNotDefault", "[S]\r\nk=\r\n", "S", "k", ""},
                      ReadCase{"MissingKeyReadsDefault", "[S]\r\nk=1\r\n", "S", "other", "default"},
                      ReadCase{"FirstDuplicateKeyWins", "[S]\r\nk=first\r\nK=second\r\n", "S", "k", "first"},
                      ReadCase{"KeyOnlyInSecondDuplicateSectionIsMissing", "[S]\r\na=1\r\n[S]\r\nk=2\r\n", "S", "k",
                               "default"},
                      ReadCase{"CommentIsNoKey", "[S]\r\n;k=commented\r\n", "S", ";k", "default"},
                      ReadCase{"LineFeedOnlyFile", "[S]\nk=v\n", "S", "k", "v"},
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

TEST(ParseDecimal, ReadsLikeWtoiAndSaturates)
{
    EXPECT_EQ(ParseDecimal("  42abc"), 42);
    EXPECT_EQ(ParseDecimal("- 5"), 0);
    EXPECT_EQ(ParseDecimal("x"), 0);
    EXPECT_EQ(ParseDecimal("99999999999999999999"), INT_MAX);
    EXPECT_EQ(ParseDecimal("-2147483649"), INT_MIN);
}

TEST_F(IniFileFixture, SectionNamesInFileOrderEachOnce)
{
    Store("k=orphan\r\n[Macro_2]\r\n[ Macro_1 ]\r\n; [NotASection]\r\n[macro_2]\r\n[]\r\n[Unclosed\r\n");
    EXPECT_EQ(File().SectionNames(), (std::vector<std::string>{"Macro_2", "Macro_1", ""}));
}

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

INSTANTIATE_TEST_SUITE_P(
    BadNames, IniFileRefusedWrite,
    ::testing::Values(RefusedCase{"SectionWithLineFeed", "Macro\n[Skins]", "k", "v", IniWriteResult::RefusedName},
                      RefusedCase{"SectionWithOpeningBracket", "a[b", "k", "v", IniWriteResult::RefusedName},
                      RefusedCase{"SectionWithClosingBracket", "Macro]x", "k", "v", IniWriteResult::RefusedName},
                      RefusedCase{"SectionWithNul", std::string("a\0b", 3), "k", "v", IniWriteResult::RefusedName},
                      RefusedCase{"KeyWithEquals", "Skins", "Lan=CHS", "v", IniWriteResult::RefusedName},
                      RefusedCase{"KeyWithBracket", "Skins", "[Point]", "v", IniWriteResult::RefusedName},
                      RefusedCase{"KeyThatWouldBeAComment", "Skins", " ;k", "v", IniWriteResult::RefusedName},
                      RefusedCase{"ValueWithLineFeed", "Skins", "Path", "x\n[Point]", IniWriteResult::RefusedValue},
                      RefusedCase{"ValueWithNul", "Skins", "Path", std::string("x\0y", 3),
                                  IniWriteResult::RefusedValue}),
    [](const auto& info) { return info.param.name; });

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
        std::error_code error;
        EXPECT_FALSE(WriteFileAtomically(m_path, "x", error));
        EXPECT_EQ(error, file.LastError());
        EXPECT_EQ(std::filesystem::status(m_path).type(),
                  fifo ? std::filesystem::file_type::fifo : std::filesystem::file_type::directory);
    }
}

TEST_F(IniFileFixture, LeftoverTemporaryFilesAreRemovedAndNothingElse)
{
    Store(kLabelFile);
    const std::string leftover = std::string(kTemporaryFilePrefix) + "str0.ini.0123abcd";
    test::WriteFileBytes(m_dir / leftover, "[Setting-EN]\r\nItem1=Cl");
    test::WriteFileBytes(m_dir / "str0.ini.tmp-0123abcd", "the user's own");
    std::filesystem::create_directory(m_dir / (std::string(kTemporaryFilePrefix) + "folder"));
    EXPECT_EQ(RemoveLeftoverTemporaryFiles(m_dir.Path()), 1u);
    EXPECT_FALSE(std::filesystem::exists(m_dir / leftover));
    EXPECT_EQ(Stored(), kLabelFile);
    EXPECT_TRUE(std::filesystem::exists(m_dir / "str0.ini.tmp-0123abcd"));
    EXPECT_TRUE(std::filesystem::exists(m_dir / (std::string(kTemporaryFilePrefix) + "folder")));
}

TEST_F(IniFileFixture, WriteIntoReadOnlyDirectoryFailsAndKeepsOldFile)
{
    if (geteuid() == 0) {
        GTEST_SKIP() << "permissions do not stop root from writing";
    }
    Store(kLabelFile);
    std::filesystem::permissions(m_dir.Path(), std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::remove);
    IniFile file = File();
    const IniWriteResult result = file.WriteString("Skins", "Lan", "CHS");
    std::filesystem::permissions(m_dir.Path(), std::filesystem::perms::owner_write, std::filesystem::perm_options::add);
    EXPECT_EQ(result, IniWriteResult::IoError);
    // The error that stopped the write, not one of the clean-up after it.
    EXPECT_EQ(file.LastError(), std::make_error_code(std::errc::permission_denied));
    EXPECT_EQ(Stored(), kLabelFile);
}

// Files the program never wrote. Each is read without harm (what it lacks reads as missing), and a
// write either adds its own section and leaves every byte that was there as it was, or is refused
// with its reason and leaves the file untouched.
struct HostileCase
{
    const char* name;
    std::string bytes;
    std::error_code refusal; // empty: the write goes in
};

class HostileFile : public IniFileFixture, public ::testing::WithParamInterface<HostileCase>
{
};

std::string RandomBytes(std::size_t count)
{
    std::string bytes(1, '\x81'); // no character in Windows-1252, and no byte-order mark
    for (std::uint32_t state = 12345; bytes.size() < count;) {
        state = state * 1103515245u + 12345u;
        bytes += static_cast<char>(state >> 24);
    }
    return bytes;
}

TEST_P(HostileFile, IsReadWithDefaultsAndWrittenWithoutChangingWhatWasThere)
{
    const std::string& bytes = GetParam().bytes;
    Store(bytes);
    const IniSnapshot read = File().Read();
    read.SectionNames();
    read.Section("Setting-EN");
    EXPECT_LE(read.GetString("Setting-EN", "Item1").size(), 4 * (kProfileBufferChars - 1));
    EXPECT_EQ(read.GetString("Point", "MouseSpeed_Y", "none"), "none");

    IniFile file = File();
    const IniWriteResult result = file.WriteString("Point", "MouseSpeed_Y", "7");
    if (GetParam().refusal) {
        EXPECT_EQ(result, IniWriteResult::IoError);
        EXPECT_EQ(file.LastError(), GetParam().refusal);
        EXPECT_EQ(Stored(), bytes);
        return;
    }
    ASSERT_EQ(result, IniWriteResult::Written);
    const std::string ending = bytes.empty() || bytes.ends_with("\r\n") ? "" : "\r\n";
    EXPECT_EQ(Stored(), bytes + ending + "[Point]\r\nMouseSpeed_Y=7\r\n");
    EXPECT_EQ(File().GetString("Point", "MouseSpeed_Y"), "7");
}

std::string Utf16Surrogates()
{
    // "[Setting-EN]", CR LF, "Item1=", a high surrogate without its low half, "x", then a lone low one.
    std::string bytes = "\xFF\xFE";
    for (const char16_t unit : std::u16string(u"[Setting-EN]\r\nItem1=\xD83Dx\xDE00\r\n")) {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>(unit >> 8);
    }
    return bytes;
}

INSTANTIATE_TEST_SUITE_P(
    Corpus, HostileFile,
    ::testing::Values(HostileCase{"Empty", "", {}},
                      HostileCase{"TruncatedInsideACharacter", "[Setting-EN]\r\nItem1=Cli\xE5\xB7", {}},
                      HostileCase{"RandomBytes", RandomBytes(4096), FileError::UndecodableText},
                      HostileCase{"LoneSurrogates", Utf16Surrogates(), FileError::UndecodableText},
                      HostileCase{"MegabyteLine", "[Setting-EN]\r\nItem1=" + std::string(1 << 20, 'x') + "\r\n", {}},
                      HostileCase{"MegabyteHeader", "[" + std::string(1 << 20, 'S') + "]\r\nItem1=Click\r\n", {}},
                      HostileCase{"NamesThatBreakTheStructure",
                                  "[Setting-EN]]\r\n[[Skins]\r\n[unclosed\r\n=no key\r\nItem1==Click=\r\n"
                                  "\t[ Setting-EN ]\t\r\n;[Point]\r\nItem1=\0\r\n"s,
                                  {}},
                      HostileCase{"AbsurdCountsAndValues",
                                  "[Profile]\r\nItemCount=99999999999999999999\r\nItem-1=x\r\nItem4294967296=y\r\n"
                                  "[Macro_1]\r\nMacroLoopTimes=-2147483649\r\nItemCount=-1\r\n",
                                  {}}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace veldrane
