#pragma once

#include <filesystem>
#include <system_error>
#include <type_traits>

namespace veldrane {

// Why the program itself refused a file, beside the system's own errors (std::generic_category).
// The values lie beyond every errno so that the code a message shows is never mistaken for one.
enum class FileError
{
    NotRegularFile = 1001,   // a directory, a FIFO, a device: never opened, never replaced
    UndecodableText = 1002,  // bytes that are no text in the file's encoding: rewriting would lose them
    UnencodableText = 1003,  // a text that the file's legacy code page cannot hold
    WrongProfileSize = 1004, // a profile file that is not 1825 bytes long
    DamagedJournal = 1005,   // a journal of an interrupted step that cannot be read whole
    FileMissing = 1006,      // a profile file that the installation always has is not there
    LabelBreaksLine = 1007,  // a label with a line break, which would break the label file's lines
};

const std::error_category& FileErrorCategory();

// Why a standard stream could not open or read a file, which the stream itself does not keep: the
// system's error number when the failed call set one (clear errno before it), else an I/O error.
std::error_code StreamError();

inline std::error_code make_error_code(FileError error)
{
    return {static_cast<int>(error), FileErrorCategory()};
}

// What became of an operation on one file: no error when it was done; otherwise why not (the
// system's errno in std::generic_category, or a FileError) and the file it concerns, so that the
// screen that asked for it can name both in the user's message.
struct [[nodiscard]] FileOutcome
{
    std::error_code error;
    std::filesystem::path file;

    bool Done() const { return !error; }
};

} // namespace veldrane

template <> struct std::is_error_code_enum<veldrane::FileError> : std::true_type
{
};
