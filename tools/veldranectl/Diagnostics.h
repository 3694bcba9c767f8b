#pragma once

#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>

#include "ports/ExitStatus.h"
#include "core/profile/ConfigFile.h"

namespace veldrane::ctl {

inline constexpr std::string_view kToolName = "veldranectl";

// Exit statuses of the tool, the same as the configurator's (platform/ExitStatus.h).
inline constexpr int kSuccess = kExitDone;
inline constexpr int kFailed = kExitFailed;                  // a bad file, a mouse that failed, output not written
inline constexpr int kUsage = kExitUsage;                    // a bad command line: nothing was done
inline constexpr int kMouseNotPermitted = kExitNoPermission; // connected, but its nodes may not be opened
inline constexpr int kMouseAbsent = kExitNoMouse;

// Starts an error line: "veldranectl: SUBJECT: ".
std::ostream& Error(std::ostream& err, std::string_view subject);

// Why a file could not be read, in the words the window uses ("Not a regular file").
std::string FileReason(int errorCode);

// `name` as a command reads it: a relative name inside the data directory when --data-dir gave
// one (the folder as the configurator takes it, seeded as it seeds it), otherwise as it stands.
std::string InDataDirectory(const std::string& name, const std::optional<std::string>& dataDir);

// The profile file at `path`; nothing, after one error line naming the file and what is wrong,
// when it is missing, unreadable or not 1825 bytes.
std::optional<ConfigFileContents> ReadProfileFile(const std::string& path, std::ostream& err);

} // namespace veldrane::ctl
