#include "adapters/linux/pointer/ChildProgram.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace veldrane {

namespace {

std::optional<int> StatusOf(int status)
{
    if (WIFEXITED(status)) {
        return WEXITSTATUS(status);
    }
    return std::nullopt;
}

// A descriptor that becomes readable when the child ends (Linux 5.3 and later), so that waiting
// for it with a time limit is one poll and never a loop of naps. The child is not reaped yet, so
// its process id cannot have been taken by another process.
int OpenProcessDescriptor(pid_t child)
{
    return static_cast<int>(::syscall(SYS_pidfd_open, child, 0));
}

// Waits until the child behind `descriptor` ends or `deadline` passes; true when it ended.
bool WaitForEnd(int descriptor, std::chrono::steady_clock::time_point deadline)
{
    for (;;) {
        const auto left =
            std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now()).count();
        pollfd watched{descriptor, POLLIN, 0};
        const int ready = ::poll(&watched, 1, static_cast<int>(std::max<decltype(left)>(left, 0)));
        if (ready > 0) {
            return true;
        }
        if (ready == 0 || errno != EINTR) {
            return false;
        }
    }
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
    const int descriptor = OpenProcessDescriptor(child);
    // A kernel without process descriptors offers no bounded wait but naps: there the child is
    // stopped at once and counts as not run.
    const bool ended = descriptor >= 0 && WaitForEnd(descriptor, deadline);
    if (descriptor >= 0) {
        ::close(descriptor);
    }
    if (!ended) {
        ::kill(child, SIGKILL);
    }
    int status = 0;
    pid_t done = 0;
    do {
        done = ::waitpid(child, &status, 0);
    } while (done < 0 && errno == EINTR);
    if (!ended || done != child) {
        return std::nullopt;
    }
    return StatusOf(status);
}

} // namespace veldrane
