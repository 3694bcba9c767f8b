#include "adapters/XvfbServer.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <utility>

#include "adapters/linux/pointer/ChildProgram.h"

extern char** environ;

namespace veldrane::test {

namespace {

constexpr int kStartTimeoutMs = 15000;
constexpr int kDisplayFd = 3;

std::string SearchPath()
{
    const char* path = std::getenv("PATH");
    return path != nullptr ? path : "";
}

} // namespace

bool XvfbServer::Installed()
{
    return FindProgram("Xvfb", SearchPath()).has_value();
}

XvfbServer::XvfbServer(std::string screen)
{
    const auto program = FindProgram("Xvfb", SearchPath());
    int pipeEnds[2];
    if (!program || ::pipe2(pipeEnds, O_CLOEXEC) != 0) {
        return;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], kDisplayFd);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    std::string words[] = {program->string(), "-displayfd", std::to_string(kDisplayFd), "-nolisten", "tcp", "-noreset",
                           "-screen",         "0",          std::move(screen)};
    char* argv[std::size(words) + 1] = {};
    std::ranges::transform(words, argv, [](std::string& word) { return word.data(); });
    if (posix_spawn(&m_pid, program->c_str(), &actions, nullptr, argv, environ) != 0) {
        m_pid = -1;
    }
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipeEnds[1]);
    // Xvfb writes the number, then its line break, once it accepts connections.
    std::string number;
    pollfd ready{pipeEnds[0], POLLIN, 0};
    std::array<char, 16> chunk{};
    ssize_t got = 0;
    while (m_pid > 0 && !number.ends_with('\n') && ::poll(&ready, 1, kStartTimeoutMs) == 1 &&
           (got = ::read(pipeEnds[0], chunk.data(), chunk.size())) > 0) {
        number.append(chunk.data(), static_cast<std::size_t>(got));
    }
    ::close(pipeEnds[0]);
    if (number.size() > 1 && number.ends_with('\n')) {
        m_display = ":" + number.substr(0, number.size() - 1);
    }
}

XvfbServer::~XvfbServer()
{
    if (m_pid > 0) {
        ::kill(m_pid, SIGTERM);
        int status = 0;
        ::waitpid(m_pid, &status, 0);
    }
}

} // namespace veldrane::test
