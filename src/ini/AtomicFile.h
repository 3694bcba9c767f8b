#pragma once

#include <filesystem>
#include <string_view>

namespace veldrane {

// Replaces the file at `path` with `bytes` so that a crash or a full disk never leaves half a
// file: the bytes go to a temporary file beside it ("<name>.tmp-<random>"), which is flushed,
// checked and then renamed over the target. The new file keeps the old one's permissions. On
// failure the temporary file is removed, the target is as it was, and the result is false.
bool WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes);

// Removes the temporary files that a write killed before its rename left in `directory`
// ("<name>.tmp-" and eight hex digits); run at start-up, before any file there is written.
void RemoveLeftoverTemporaryFiles(const std::filesystem::path& directory);

} // namespace veldrane
