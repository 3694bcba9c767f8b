#pragma once

namespace veldrane {

// The exit statuses of both programs, the configurator and veldranectl, so that a script reads
// them alike.
inline constexpr int kExitDone = 0;
inline constexpr int kExitFailed = 1;       // the operation failed (a file, the mouse, the output)
inline constexpr int kExitUsage = 2;        // a bad command line: nothing was done
inline constexpr int kExitNoPermission = 3; // the mouse is there, but this user may not open it
inline constexpr int kExitNoMouse = 4;      // the mouse is needed and absent

} // namespace veldrane
