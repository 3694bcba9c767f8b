#pragma once

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace veldrane {

// The first executable file called `name` in the directories of a PATH-style list; nullopt when
// there is none.
std::optional<std::filesystem::path> FindProgram(std::string_view name, std::string_view searchPath);

// Runs the program with the arguments (no shell is involved, so nothing in them is interpreted),
// its output going nowhere, and waits for it at most `limit`, asleep until it ends or the limit
// passes; a program still running then is killed. The exit status, or nullopt when it could not be
// started, was killed or died of a signal.
std::optional<int> RunProgram(const std::filesystem::path& program, const std::vector<std::string>& arguments,
                              std::chrono::milliseconds limit);

} // namespace veldrane
