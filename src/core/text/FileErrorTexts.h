#pragma once

#include <filesystem>
#include <string>

#include "core/text/Language.h"

namespace veldrane {

// Why a file could not be read or written, in words, in the interface language: `errorCode` is
// an errno or a FileError value (ini/FileError.h). Codes the program has no words of its own for
// are given in the system's words.
std::string FileErrorReason(int errorCode, Language language);

// The message of a file that could not be read or written, titled kFileOpenErrorTitle: the
// system's "Error Code is: %d \n" with the code, then a line with the file and the reason.
std::string FileFailureMessage(const std::filesystem::path& file, int errorCode, Language language);

} // namespace veldrane
