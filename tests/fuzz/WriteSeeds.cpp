// Writes the seed inputs of the fuzz targets into the folder given as its argument, one folder
// per target, from the program's own files: the factory INI and profile files in each form a
// file can come in, the simulated mouse's report descriptors, a macro file, and a device
// conversation in which the mouse answers like itself.

#include "FuzzSupport.h"
#include "adapters/linux/IconvTextCodec.h"
#include "core/ini/IniEncoding.h"
#include "core/ini/IniFile.h"
#include "core/macro/MacroFile.h"
#include "core/profile/FactoryFiles.h"
#include "core/profile/ProfileFileNames.h"
#include "sim/SimulatedMouse.h"

namespace {

using namespace veldrane;
namespace fs = std::filesystem;

void Seed(const fs::path& folder, const std::string& name, std::string_view prefix, std::string_view bytes)
{
    fs::create_directories(folder);
    fuzz::WriteBytes(folder / name, std::string(prefix) + std::string(bytes));
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    const fs::path out = argv[1];
    const IconvTextCodec codec;
    const fs::path factory = out / "factory";
    fs::create_directories(factory);
    if (const std::string failure = WriteFactoryFiles(factory, codec); !failure.empty()) {
        std::fprintf(stderr, "%s\n", failure.c_str());
        return 1;
    }

    // INI files: as written, with a UTF-8 mark, in UTF-16LE, and in the legacy code pages.
    const IniEncoding encoding(codec, LegacyCodePage::Windows1252);
    const std::string list = fuzz::ReadBytes(factory / kListName);
    const std::string_view choices("\x00\x00\x01\x04", 4); // code page, section, key, value length
    Seed(out / "ini", "str.ini", choices, list);
    Seed(out / "ini", "str0.ini", choices, fuzz::ReadBytes(factory / ProfileLabelName(0)));
    const std::pair<const char*, IniFileEncoding> forms[] = {
        {"utf8-bom.ini", {IniFileEncoding::Form::Utf8WithBom, LegacyCodePage::Windows1252}},
        {"utf16.ini", {IniFileEncoding::Form::Utf16LeWithBom, LegacyCodePage::Windows1252}},
        {"gbk.ini", {IniFileEncoding::Form::Legacy, LegacyCodePage::Gbk}},
        {"big5.ini", {IniFileEncoding::Form::Legacy, LegacyCodePage::Big5}}};
    for (const auto& [name, form] : forms) {
        if (const auto bytes = encoding.Encode(encoding.Decode(list).text, form)) {
            Seed(out / "ini", name, choices, *bytes);
        }
    }

    for (const SimulatedInterface interface :
         {SimulatedInterface::Pointer, SimulatedInterface::Command, SimulatedInterface::Notification}) {
        const auto descriptor = SimulatedMouse::ReportDescriptor(interface);
        Seed(out / "descriptor", SimulatedMouse::PathOf(interface).substr(4), {},
             std::string_view(reinterpret_cast<const char*>(descriptor.data()), descriptor.size()));
    }

    // A profile: English, the length that loads, the factory profile and its labels.
    Seed(out / "profile", "profile0", std::string_view("\x00\x00\x00", 3),
         fuzz::ReadBytes(factory / ProfileConfigName(0)) + fuzz::ReadBytes(factory / ProfileLabelName(0)));

    // A save writes only into a macro file that exists, as the manager's first New creates it.
    const fs::path macros = factory / kMacroFileName;
    fuzz::WriteBytes(macros, "");
    IniFile macroFile(macros, codec);
    using Item = MacroItem;
    const MacroRecord seedMacros[] = {
        {"Macro_1", 1, 0, "1", {Item::Press("A"), Item::Delay(120), Item::Release("A")}},
        {"Macro_2", 0, 1, "3", {Item::Press("Ctrl"), Item::Press("C"), Item::Release("C"), Item::Release("Ctrl")}}};
    for (const MacroRecord& macro : seedMacros) {
        if (SaveMacro(macroFile, macro) != MacroSaveResult::Saved) {
            std::fprintf(stderr, "cannot write the macro seed %s\n", macros.c_str());
            return 1;
        }
    }
    Seed(out / "macro", "record.ini", std::string_view("\x00", 1), fuzz::ReadBytes(macros));

    // The profile list: the position to select, a typed name of no pieces, the factory list.
    Seed(out / "profilelist", "str.ini", std::string_view("\x00\x00", 2), list);

    // A journal of a move cut off after the journal was written: two profiles' files, one that
    // did not exist, and the list.
    std::string journal("\x00\x04", 2);
    for (const std::string_view name : {"\x00", "\x01", "\x03", "\x02"}) {
        journal += std::string(name) + (name == "\x03" ? std::string("\x00", 1) : std::string("\x80\x08old file"));
    }
    journal += std::string("\x00", 1);
    Seed(out / "journal", "cut-off", {}, journal);

    // Both command lines: one operand asked for, then "--seconds 2 --json FILE" and "--data-dir D --simulate".
    Seed(out / "commandlines", "listen", std::string_view("\x01\x00", 2),
         std::string_view("--seconds\0002\000--json\000profile.bin", 30));
    Seed(out / "commandlines", "program", std::string_view("\x00\x01", 2),
         std::string_view("--data-dir\x00/tmp/d\x00--simulate", 28));

    // The search finds a command and a notification interface with the mouse's lengths, every
    // report is taken, and the answers are whole 9-byte feature reports and 65-byte chunks.
    std::string device("\x02\x01\x00\x00\x00\x00\x00\x00\x00\x00\x01\x01", 12);
    for (int answer = 0; answer < 64; ++answer) {
        device += std::string("\x01\x01\x11", 3) + std::string(9, '\x80') + std::string("\x50\x41", 2) +
                  std::string(65, static_cast<char>(answer));
    }
    device += std::string("\x30\x08\x06\x07\x01\x02\x00\x00\x00\x00\x08", 11);
    Seed(out / "device", "conversation", {}, device);

    fs::remove_all(factory);
    return 0;
}
