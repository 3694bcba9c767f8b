#include "adapters/linux/pointer/ChildProgram.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <ctime>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace veldrane {

namespace {

// How often a running child is looked at; its tools finish within a few of these.
constexpr std::chrono::milliseconds kPollInterval{5};

std::optional<int> StatusOf(int status)
{
    if (WIFEXITED(status)) {
        return WEXITSTATUS(status);
    }
    return std::nullopt;
}

} // namespace

std::optional<std::filesystem::path> FindProgram(std::string_view name, std::string_view searchPath)
{
    if (name.empty() || name.find('/') != std::string_view::npos) {
        return std::nullopt;
    }
    std::size_t start = 0;
    while (start <= searchPath.size()) {
        const std::size_t colon = std::min(searchPath.find(':', start), searchPath.size());
        const std::string_view directory = searchPath.substr(start, colon - start);
        if (!directory.empty()) {
            const std::filesystem::path candidate = std::filesystem::path(directory) / name;
            std::error_code error;
            if (std::filesystem::is_regular_file(candidate, error) && ::access(candidate.c_str(), X_OK) == 0) {
                return candidate;
            }
        }
        start = colon + 1;
    }
    return std::nullopt;
}

std::optional<int> RunProgram(const std::filesystem::path& program, const std::vector<std::string>& arguments,
                              std::chrono::milliseconds limit)
{
    std::vector<std::string> words;
    words.reserve(arguments.size() + 1);
    words.push_back(program.string());
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t child = 0;
    const int spawned = posix_spawn(&child, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
        return std::nullopt;
    }

    const auto deadline = std::chrono::steady_clock::now() + limit;
    for (;;) {
        int status = 0;
        const pid_t done = ::waitpid(child, &status, WNOHANG);
        if (done == child) {
            return StatusOf(status);
        }
        if (done < 0 && errno != EINTR) {
            return std::nullopt;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            ::kill(child, SIGKILL);
            ::waitpid(child, &status, 0);
            return std::nullopt;
        }
        const auto pause = std::chrono::duration_cast<std::chrono::nanoseconds>(kPollInterval);
        const timespec interval{0, static_cast<long>(pause.count())};
        ::nanosleep(&interval, nullptr);
    }
}

} // namespace veldrane
