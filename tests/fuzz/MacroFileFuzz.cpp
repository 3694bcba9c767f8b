// The macro file "record.ini" as any bytes: its macros are listed, read and encoded for the mouse
// without a read outside the file or a buffer, and each macro saved back where it stands reads
// back as it was, with every macro keeping its number.

#include <vector>

#include "FuzzSupport.h"
#include "adapters/linux/IconvTextCodec.h"
#include "core/ini/IniFile.h"
#include "core/macro/MacroEncoder.h"
#include "core/macro/MacroFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace veldrane;
    const fuzz::InputFolder inputFiles;
    static const IconvTextCodec codec;
    fuzz::InputReader input(data, size);
    const auto fallback = static_cast<LegacyCodePage>(input.Byte() % 3);
    const std::string original(input.Rest());
    const std::filesystem::path path = fuzz::Folder() / kMacroFileName;
    fuzz::WriteBytes(path, original);

    IniFile file(path, codec, fallback);
    const std::vector<std::string> names = ListMacroNames(file);
    std::vector<MacroRecord> macros;
    for (const std::string& name : names) {
        macros.push_back(LoadMacro(file, name));
        EncodeMacro(macros.back());
    }
    RebuildMacroData(file, names.size());

    for (const MacroRecord& macro : macros) {
        const std::string bytesBefore = fuzz::ReadBytes(path);
        if (SaveMacro(file, macro) != MacroSaveResult::Saved) {
            fuzz::Require(fuzz::ReadBytes(path) == bytesBefore, "a refused macro save changed the file");
            continue;
        }
        fuzz::Require(LoadMacro(file, macro.name) == macro, "a saved macro reads back differently");
        fuzz::Require(ListMacroNames(file) == names, "a save moved or renamed macros");
    }
    return 0;
}
