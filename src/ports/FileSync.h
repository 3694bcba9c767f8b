#pragma once

#include <filesystem>
#include <string_view>
#include <system_error>

namespace veldrane {

// The two things about files that the standard library cannot do: create a file only if nothing
// is at its path yet, and have written data and a rename reach the disk. The core's atomic write
// is built on them; each system has its own source file for them.

// Creates `path`, which must not exist (not even as a dangling link), writes `bytes` into it and
// flushes them to the disk before closing it. Returns the error of the step that failed; a file
// that was created stays behind for the caller to remove.
std::error_code CreateFileExclusively(const std::filesystem::path& path, std::string_view bytes);

// Flushes the directory's entries (a rename into it) to the disk.
std::error_code SyncDirectory(const std::filesystem::path& directory);

} // namespace veldrane
