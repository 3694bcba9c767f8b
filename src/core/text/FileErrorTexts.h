#pragma once

#include <filesystem>
#include <string>
#include <system_error>

#include "core/text/Language.h"

namespace veldrane {

// Why a file could not be read or written, in words, in the interface language: `errorCode` is
// an errno or a FileError value (ini/FileError.h). Codes the program has no words of its own for
// are given in the system's words.
std::string FileErrorReason(int errorCode, Language language);

// The message of a file that could not be read or written, titled kFileOpenErrorTitle: the
// system's "Error Code is: %d \n" with the code, then a line with the file and the reason.
std::string FileFailureMessage(const std::filesystem::path& file, int errorCode, Language language);

// The message of a profile file that a load could not read, so that the factory settings stand
// in for it: the text, then a line with the file and the reason (`error`: generic or FileError).
std::string UnreadableProfileMessage(const std::filesystem::path& file, const std::error_code& error,
                                     Language language);

// The message of a cut-off change of the profile files that the start could not finish: a damaged
// journal kept aside under `keptAside` (which the message names), or else the file failure of
// `journal`, which stays for another try.
std::string JournalRecoveryMessage(const std::filesystem::path& journal, const std::error_code& error,
                                   const std::filesystem::path& keptAside, Language language);

} // namespace veldrane
