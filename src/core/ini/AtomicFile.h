#pragma once

#include <filesystem>
#include <string_view>
#include <system_error>

namespace veldrane {

// Every temporary file of the program begins with this name, so that the ones a crash left
// behind can be told from the user's own files.
inline constexpr std::string_view kTemporaryFilePrefix = ".veldrane-tmp-";

// Replaces the file at `path` with `bytes` so that a crash or a full disk never leaves half a
// file: the bytes go to a temporary file created beside it under a fresh name (it must not exist
// before), reach the disk, and only then is it renamed over the target; the directory entry is
// flushed after the rename. The new file keeps the old one's permissions. A target that is there
// but is no regular file (a directory, a FIFO) is refused untouched. On failure the temporary
// file is removed, the target is as it was, and the error says what made the write fail.
[[nodiscard]] std::error_code WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes);

// A file that the program cannot use and must not lose is moved aside, beside itself, as
// "NAME.broken-YYYYMMDD-HHMMSS" (local time; "-2", "-3", ... added when that name is taken), so
// that nothing replaces it and the user can still look at it. The new path, or an empty one with
// `error` set when the rename failed.
inline constexpr std::string_view kBrokenFileInfix = ".broken-";
std::filesystem::path MoveAside(const std::filesystem::path& path, std::error_code& error);

// Removes the temporary files that writes in `directory` left behind when the program was killed
// in the middle of one; run at start, before anything is read there. How many were removed.
std::size_t RemoveLeftoverTemporaryFiles(const std::filesystem::path& directory);

} // namespace veldrane
