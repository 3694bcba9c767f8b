#include "ini/IniFile.h"

#include <string>

#include <gtest/gtest.h>

#include "IniFileFixture.h"
#include "ini/FileError.h"
#include "ini/UnicodeText.h"

namespace veldrane {
namespace {

using test::IniFileFixture;

const std::string kUtf16LeBom = "\xFF\xFE";
const std::string kUtf8Bom = "\xEF\xBB\xBF";

// "左键" and "右键" in GBK, "左鍵" and "右鍵" in Big5.
const std::string kGbkClick = "\xD7\xF3\xBC\xFC";
const std::string kGbkMenu = "\xD3\xD2\xBC\xFC";
const std::string kBig5Click = "\xA5\xAA\xC1\xE4";
const std::string kBig5Menu = "\xA5\x6B\xC1\xE4";

TEST_F(IniFileFixture, Utf16LeFileIsReadAndWrittenBackAsUtf16Le)
{
    Store(kUtf16LeBom + Utf8ToUtf16Le("[Setting-CHS]\r\nItem1=左键\r\n[Skins]\r\nLan=CHS\r\n"));
    EXPECT_EQ(File().GetString("Setting-CHS", "Item1"), "左键");
    EXPECT_EQ(File().WriteString("Setting-CHS", "Item2", "右键"), IniWriteResult::Written);
    EXPECT_EQ(Stored(),
              kUtf16LeBom + Utf8ToUtf16Le("[Setting-CHS]\r\nItem1=左键\r\nItem2=右键\r\n[Skins]\r\nLan=CHS\r\n"));
}

TEST_F(IniFileFixture, Utf8FileWithBomKeepsItsBom)
{
    Store(kUtf8Bom + "[Setting-CHT]\r\nItem1=左鍵\r\n");
    EXPECT_EQ(File().GetString("Setting-CHT", "Item1"), "左鍵");
    EXPECT_EQ(File().WriteString("Setting-CHT", "Item1", "右鍵"), IniWriteResult::Written);
    EXPECT_EQ(Stored(), kUtf8Bom + "[Setting-CHT]\r\nItem1=右鍵\r\n");
}

TEST_F(IniFileFixture, GbkFileWithLanChsIsReadAsChineseAndWrittenBackAsGbk)
{
    Store("[Setting-CHS]\r\nItem1=" + kGbkClick + "\r\n[Skins]\r\nLan=CHS\r\n");
    EXPECT_EQ(File().GetString("Setting-CHS", "Item1"), "左键");
    EXPECT_EQ(File().WriteString("Setting-CHS", "Item2", "右键"), IniWriteResult::Written);
    EXPECT_EQ(Stored(), "[Setting-CHS]\r\nItem1=" + kGbkClick + "\r\nItem2=" + kGbkMenu + "\r\n[Skins]\r\nLan=CHS\r\n");
}

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

TEST_F(IniFileFixture, Big5FileWithLanChtIsReadAsChineseAndWrittenBackAsBig5)
{
    // The second byte of "右" in Big5 is 'k': a trail byte that is ASCII must not confuse the key.
    Store("[Skins]\r\nlan = \"CHT\"\r\n[Setting-CHT]\r\nItem1=" + kBig5Click + "\r\n");
    EXPECT_EQ(File().GetString("Setting-CHT", "Item1"), "左鍵");
    EXPECT_EQ(File().WriteString("Setting-CHT", "Item2", "右鍵"), IniWriteResult::Written);
    EXPECT_EQ(Stored(),
              "[Skins]\r\nlan = \"CHT\"\r\n[Setting-CHT]\r\nItem1=" + kBig5Click + "\r\nItem2=" + kBig5Menu + "\r\n");
    EXPECT_EQ(File().GetString("Setting-CHT", "Item2"), "右鍵");
}

struct FallbackCase
{
    const char* name;
    std::string file;
    LegacyCodePage fallback;
    std::string expected;
};

class IniFileLegacyCodePage : public IniFileFixture, public ::testing::WithParamInterface<FallbackCase>
{
};

TEST_P(IniFileLegacyCodePage, ChosenByLanKeyThenInterfaceLanguage)
{
    Store(GetParam().file);
    EXPECT_EQ(File(GetParam().fallback).GetString("Setting", "Item1"), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Files, IniFileLegacyCodePage,
    ::testing::Values(
        FallbackCase{"NoLanUsesGbkFallback", "[Setting]\r\nItem1=" + kGbkClick + "\r\n", LegacyCodePage::Gbk, "左键"},
        FallbackCase{"NoLanUsesCp1252Fallback", "[Setting]\r\nItem1=Caf\xE9\r\n", LegacyCodePage::Windows1252, "Café"},
        FallbackCase{"LanEnBeatsGbkFallback", "[Skins]\r\nLan=EN\r\n[Setting]\r\nItem1=Caf\xE9\r\n",
                     LegacyCodePage::Gbk, "Café"},
        FallbackCase{"LowerCaseChsIsNotChinese", "[Skins]\r\nLan=chs\r\n[Setting]\r\nItem1=\xD7\xF3\r\n",
                     LegacyCodePage::Gbk, "×ó"},
        FallbackCase{"LanOutsideSkinsDoesNotCount", "[Point]\r\nLan=CHS\r\n[Setting]\r\nItem1=\xD7\xF3\r\n",
                     LegacyCodePage::Windows1252, "×ó"}),
    [](const auto& info) { return info.param.name; });

TEST_F(IniFileFixture, ValueOutsideLegacyCodePageFailsAndLeavesFile)
{
    const std::string gbkFile = "[Skins]\r\nLan=CHS\r\n[Setting-CHS]\r\nItem1=" + kGbkClick + "\r\n";
    Store(gbkFile);
    EXPECT_EQ(File().WriteString("Setting-CHS", "Item2", "한"), IniWriteResult::IoError);
    EXPECT_EQ(Stored(), gbkFile);

    const std::string cp1252File = "[Setting-EN]\r\nItem1=Caf\xE9\r\n";
    Store(cp1252File);
    EXPECT_EQ(File().WriteString("Setting-EN", "Item1", "左键"), IniWriteResult::IoError);
    EXPECT_EQ(Stored(), cp1252File);
}

struct UndecodableCase
{
    const char* name;
    std::string bytes; // Item1 is "Café", Item2 holds bytes that are no text, then "x"
    std::string item2Read;
};

class UndecodableFile : public IniFileFixture, public ::testing::WithParamInterface<UndecodableCase>
{
};

// Such a file is read, its bad bytes as U+FFFD, but never written: the write would turn them
// into U+FFFD for good, in lines it did not touch.
TEST_P(UndecodableFile, IsReadButNeverWritten)
{
    const std::string& damaged = GetParam().bytes;
    Store(damaged);
    EXPECT_EQ(File().GetString("Setting-EN", "Item1"), "Café");
    EXPECT_EQ(File().GetString("Setting-EN", "Item2"), GetParam().item2Read);
    IniFile file = File();
    EXPECT_EQ(file.WriteString("Setting-EN", "Item3", "Menu"), IniWriteResult::IoError);
    EXPECT_EQ(file.LastError(), FileError::UndecodableText);
    EXPECT_FALSE(file.DeleteKey("Setting-EN", "Item2"));
    EXPECT_EQ(Stored(), damaged);
}

std::string Utf16(std::u16string_view text)
{
    std::string bytes = "\xFF\xFE";
    for (const char16_t unit : text) {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>(unit >> 8);
    }
    return bytes;
}

INSTANTIATE_TEST_SUITE_P(
    Encodings, UndecodableFile,
    ::testing::Values(
        // 0x81 is no character in Windows-1252.
        UndecodableCase{"Cp1252", "[Setting-EN]\r\nItem1=Caf\xE9\r\nItem2=\x81x\r\n", "\xEF\xBF\xBDx"},
        UndecodableCase{"Utf8WithBom", "\xEF\xBB\xBF[Setting-EN]\r\nItem1=Café\r\nItem2=\xC3x\r\n", "\xEF\xBF\xBDx"},
        UndecodableCase{"Utf16LoneSurrogate", Utf16(u"[Setting-EN]\r\nItem1=Café\r\nItem2=\xD800x\r\n"),
                        "\xEF\xBF\xBDx"},
        UndecodableCase{"Utf16OddLastByte", Utf16(u"[Setting-EN]\r\nItem1=Café\r\nItem2=x") + "\x41", "x\xEF\xBF\xBD"}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace veldrane
