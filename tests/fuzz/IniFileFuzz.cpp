// The INI reader and writer on any bytes, in every form a file can come in (UTF-8 with or
// without its mark, UTF-16LE, a legacy code page): every read stays inside the file, and a write
// either changes exactly what it writes and keeps the file's form, or refuses and leaves the file
// byte for byte as it was.
//
// Input: fallback code page, section choice, key choice, value, then the file's bytes.

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "ini/IniEncoding.h"
#include "ini/IniFile.h"
#include "platform/linux/IconvTextCodec.h"

namespace {

using namespace veldrane;

// Long enough that no value is cut: the check compares whole values.
constexpr std::size_t kWhole = 1 << 20;

std::string Pick(const std::vector<std::string>& found, std::initializer_list<const char*> extra, std::uint8_t choice)
{
    std::vector<std::string> pool = found;
    pool.insert(pool.end(), extra.begin(), extra.end());
    return pool[choice % pool.size()];
}

bool ReadsBackAsWritten(std::string_view value)
{
    const auto plain = [](char c) { return c != ' ' && c != '\t' && c != '"' && c != '\''; };
    return value.empty() || (plain(value.front()) && plain(value.back()));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
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
    if (!original.empty()) {
        fuzz::Require(now.encoding.form == was.encoding.form, "the write changed the file's form");
    }

    const IniSnapshot after = file.Read();
    std::vector<std::string> expectedSections = sections;
    if (std::none_of(sections.begin(), sections.end(),
                     [&](const std::string& s) { return IniNamesEqual(s, section); })) {
        expectedSections.push_back(section);
    }
    fuzz::Require(after.SectionNames() == expectedSections, "the write changed the sections");
    for (const std::string& name : expectedSections) {
        const bool target = IniNamesEqual(name, section);
        std::vector<std::string> keys = before.KeyNames(name);
        if (target &&
            std::none_of(keys.begin(), keys.end(), [&](const std::string& k) { return IniNamesEqual(k, key); })) {
            keys.push_back(key);
        }
        fuzz::Require(after.KeyNames(name) == keys, "the write changed the keys of a section");
        for (const std::string& each : keys) {
            const std::string got = after.GetString(name, each, "\x01missing", kWhole);
            if (target && IniNamesEqual(each, key)) {
                fuzz::Require(!ReadsBackAsWritten(value) || got == value, "the written value does not read back");
            } else {
                fuzz::Require(got == before.GetString(name, each, "\x01missing", kWhole),
                              "the write changed another value");
            }
        }
    }
    return 0;
}
