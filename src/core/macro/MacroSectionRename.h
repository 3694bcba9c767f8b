#pragma once

#include <string_view>

namespace veldrane {

class IniFile;

// Whether two macro names name the same section of the macro file, whose section names compare
// without regard to ASCII case.
bool SameMacroName(std::string_view a, std::string_view b);

// Renames a macro's section where it stands, so that its macro number and those of the macros
// after it stay as they are; keys and values keep their order and read back unchanged. False,
// and nothing changed, when the file or the section is missing or another section already has
// the new name; false also when a write failed.
[[nodiscard]] bool RenameMacroSection(IniFile& macroFile, std::string_view from, std::string_view to);

} // namespace veldrane
