#pragma once

#include <cstddef>
#include <filesystem>
#include <string_view>
#include <system_error>

namespace veldrane {

class IniFile;
class TextCodec;

// How a deletion ended: an empty error when it was done, otherwise why `file` could not be read or
// written; every file is then as it was before.
struct [[nodiscard]] MacroDeletion
{
    std::error_code error;
    std::filesystem::path file;
};

// The buttons of every profile are bound to macros by their number in the macro file, and deleting
// a macro moves each later one down a number. So the macro file loses the section `name` (macro
// `number`) in one recoverable step (ProfileSlotMover's journal) with the profile files of its
// folder: every "config%d.bin" that can be read and whose record changes by
// ButtonAssignment::RemoveMacro (buffers and bindings following their macros, a button bound to
// the deleted one getting its factory function) is rewritten with its flag byte, and the label
// file "str%d.ini" of each profile whose buttons lost their macro gets the factory labels of those
// buttons in every language's section. When any file cannot be written, every file is put back.
[[nodiscard]] MacroDeletion DeleteMacroWithProfiles(IniFile& macroFile, std::string_view name, std::size_t number,
                                                    const TextCodec& codec);

} // namespace veldrane
