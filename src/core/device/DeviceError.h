#pragma once

#include <cstdint>
#include <system_error>
#include <type_traits>

namespace veldrane {

// Why an exchange with the mouse failed. The values lie beyond every errno and every FileError.
enum class DeviceError
{
    NoMouse = 2001,        // no command interface of the mouse was there to be opened
    ReportNotTaken = 2002, // the system did not take a written report: the mouse is gone or refused it
    NoAnswer = 2003,       // a read command got no answer
    ShortBlock = 2004,     // a block read brought less than a whole block, or announced another length
    WrongAnswer = 2005,    // an answer that cannot be right: a profile number the mouse does not have
};

const std::error_category& DeviceErrorCategory();

inline std::error_code make_error_code(DeviceError error)
{
    return {static_cast<int>(error), DeviceErrorCategory()};
}

// What became of an exchange with the mouse: no error when it took every report (and, for a read,
// answered in full); otherwise why not and the command whose exchange failed (0 for the search).
struct [[nodiscard]] DeviceOutcome
{
    std::error_code error;
    std::uint8_t command = 0;

    bool Done() const { return !error; }
};

} // namespace veldrane

template <> struct std::is_error_code_enum<veldrane::DeviceError> : std::true_type
{
};
