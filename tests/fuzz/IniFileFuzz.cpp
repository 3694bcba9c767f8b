// The INI reader and writer on any bytes, in every form a file can come in (UTF-8 with or
// without its mark, UTF-16LE, a legacy code page): every read stays inside the file, and a write
// either changes exactly what it writes and keeps the file's form (a legacy file follows the code
// page its new text names, or becomes UTF-8 when that cannot hold it), or refuses and leaves the
// file byte for byte as it was.
//
// Input: fallback code page, section choice, key choice, value, then the file's bytes.

#include <algorithm>
#include <regex>
#include <sstream>
#include <vector>

#include "FuzzSupport.h"
#include "adapters/linux/IconvTextCodec.h"
#include "core/ini/IniEncoding.h"
#include "core/ini/IniFile.h"

namespace {

using namespace veldrane;

// Long enough that no value is cut: the check compares whole values.
constexpr std::size_t kWhole = 1 << 20;

std::string Pick(std::vector<std::string> pool, std::initializer_list<const char*> extra, std::uint8_t choice)
{
    pool.insert(pool.end(), extra.begin(), extra.end());
    return pool[choice % pool.size()];
}

// The lines of a text as the INI reader splits them: at CR LF, LF or a lone CR; a line break at
// the very end ends the last line rather than starting an empty one.
std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(std::regex_replace(text, std::regex("\r\n?"), "\n"));
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const fuzz::InputFolder inputFiles;
    static const IconvTextCodec codec;
    fuzz::InputReader input(data, size);
    const auto fallback = static_cast<LegacyCodePage>(input.Byte() % 3);
    const std::uint8_t sectionChoice = input.Byte();
    const std::uint8_t keyChoice = input.Byte();
    const std::string value = input.Text(input.Byte() % 16);
    const std::string original(input.Rest());

    const std::filesystem::path path = fuzz::Folder() / "file.ini";
    fuzz::WriteBytes(path, original);
    IniFile file(path, codec, fallback);
    const IniSnapshot before = file.Read();
    const std::vector<std::string> sections = before.SectionNames();
    for (const std::string& section : sections) {
        before.Section(section);
    }

    const std::string section = Pick(sections, {"Skins", "Setting-CHS", "New"}, sectionChoice);
    const std::string key = Pick(before.KeyNames(section), {"Lan", "Item1", "NewKey"}, keyChoice);
    const IniWriteResult result = file.WriteString(section, key, value);
    const std::string written = fuzz::ReadBytes(path);
    if (result != IniWriteResult::Written) {
        fuzz::Require(written == original, "a refused write changed the file");
        return 0;
    }

    const IniEncoding encoding(codec, fallback);
    const DecodedIniText was = encoding.Decode(original);
    const DecodedIniText now = encoding.Decode(written);
    fuzz::Require(was.exact, "a file that does not decode exactly was rewritten");
    fuzz::Require(now.exact, "the written file does not decode exactly");
    // A legacy file whose new "Lan" names a code page that cannot hold its text becomes UTF-8.
    const bool legacyToUtf8 =
        was.encoding.form == IniFileEncoding::Form::Legacy && now.encoding.form == IniFileEncoding::Form::Utf8;
    fuzz::Require(original.empty() || legacyToUtf8 || now.encoding.form == was.encoding.form,
                  "the write changed the file's form");

    const IniSnapshot after = file.Read();
    std::vector<std::string> expectedSections = sections;
    if (std::none_of(sections.begin(), sections.end(),
                     [&](const std::string& s) { return IniNamesEqual(s, section); })) {
        expectedSections.push_back(section);
    }
    fuzz::Require(after.SectionNames() == expectedSections, "the write changed the sections");
    const std::string got = after.GetString(section, key, "\x01missing", kWhole);
    // A value with blanks or quotes at its ends reads back trimmed or unquoted.
    const auto plain = [](char c) { return c != ' ' && c != '\t' && c != '"' && c != '\''; };
    const bool readsBack = value.empty() || (plain(value.front()) && plain(value.back()));
    fuzz::Require(!readsBack || got == value, "the written value does not read back");

    // Every other line keeps its text: the lines differ only in the one line that holds the
    // value, a new key line, or a new section with its key at the end.
    const std::vector<std::string> old = Lines(was.text);
    const std::vector<std::string> lines = Lines(now.text);
    const std::size_t same = std::mismatch(old.begin(), old.end(), lines.begin(), lines.end()).first - old.begin();
    const std::size_t sameAtEnd =
        std::mismatch(old.rbegin(), old.rend() - same, lines.rbegin(), lines.rend() - same).first - old.rbegin();
    fuzz::Require(old.size() - same - sameAtEnd <= 1 && lines.size() - same - sameAtEnd <= 2,
                  "the write changed lines it was not about");
    return 0;
}
