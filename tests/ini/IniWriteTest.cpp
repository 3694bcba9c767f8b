#include "ini/IniFile.h"

#include <functional>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "IniFileFixture.h"
#include "ini/AtomicFile.h"
#include "ini/FileError.h"
#include "support/FileAccessCounter.h"

namespace veldrane {
namespace {

using test::FileAccessCounter;
using test::IniFileFixture;
using test::Utf16File;
using namespace test::encoded;
using namespace std::string_literals;

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

class IniFileEdit : public IniFileFixture, public ::testing::WithParamInterface<EditCase>
{
};

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
        EditCase{"SectionWithNul", kMacroFile, Between(std::string("a\0b", 3), "k", "v"), kRefusedName},
        EditCase{"KeyWithEquals", kMacroFile, Between("Skins", "Lan=CHS", "v"), kRefusedName},
        EditCase{"KeyWithBracket", kMacroFile, Between("Skins", "[Point]", "v"), kRefusedName},
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
        std::error_code error;
        EXPECT_FALSE(WriteFileAtomically(m_path, "x", error));
        EXPECT_EQ(error, file.LastError());
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

TEST_F(IniFileFixture, WriteIntoReadOnlyDirectoryFailsAndKeepsOldFile)
{
    if (geteuid() == 0) {
        GTEST_SKIP() << "permissions do not stop root from writing";
    }
    Store(kMacroFile);
    std::filesystem::permissions(m_dir.Path(), std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::remove);
    IniFile file = File();
    const IniWriteResult result = file.WriteString("Macro_0", "Item0", "B   Dn");
    std::filesystem::permissions(m_dir.Path(), std::filesystem::perms::owner_write, std::filesystem::perm_options::add);
    EXPECT_EQ(result, IniWriteResult::IoError);
    // The error that stopped the write, not one of the clean-up after it.
    EXPECT_EQ(file.LastError(), std::make_error_code(std::errc::permission_denied));
    EXPECT_EQ(Stored(), kMacroFile);
}

} // namespace
} // namespace veldrane
