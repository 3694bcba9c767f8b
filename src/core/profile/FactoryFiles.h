#pragma once

#include <filesystem>
#include <string>

namespace veldrane {

class TextCodec;

// Writes the installed files of a new installation into `directory` from the factory defaults:
// "config.bin" and "config0.bin" to "config5.bin" (flag byte 0 and the factory profile),
// "str.ini" (the list with the one profile selected, the factory labels of all three languages,
// "Skins", "Point") and "str0.ini" to "str5.ini" (the labels, "Skins", "Point"). Existing files
// are replaced. Returns an empty text, or what could not be written.
std::string WriteFactoryFiles(const std::filesystem::path& directory, const TextCodec& codec);

} // namespace veldrane
