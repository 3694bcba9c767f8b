#pragma once

#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>

#include "core/profile/ConfigFile.h"

namespace veldrane::ctl {

inline constexpr std::string_view kToolName = "veldranectl";

// Exit statuses of the tool.
inline constexpr int kSuccess = 0;
inline constexpr int kBadArgument = 1; // a bad file or argument, or output that could not be written
inline constexpr int kMouseAbsent = 2;
inline constexpr int kMouseNotPermitted = 3; // connected, but its device nodes may not be opened

// Starts an error line: "veldranectl: SUBJECT: ".
std::ostream& Error(std::ostream& err, std::string_view subject);

// The profile file at `path`; nothing, after one error line naming the file and what is wrong,
// when it is missing, unreadable or not 1825 bytes.
std::optional<ConfigFileContents> ReadProfileFile(const std::string& path, std::ostream& err);

} // namespace veldrane::ctl
