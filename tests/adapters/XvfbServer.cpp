#include "adapters/XvfbServer.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string_view>
#include <utility>
#include <vector>

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
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    std::vector<std::string> words{program->string(), "-displayfd", std::to_string(kDisplayFd),
                                   "-nolisten",       "tcp",        "-noreset",
                                   "-screen",         "0",          std::move(screen)};
    std::vector<char*> argv;
    for (std::string& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);
    const int spawned = posix_spawn(&m_pid, program->c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipeEnds[1]);
    if (spawned != 0) {
        m_pid = -1;
        ::close(pipeEnds[0]);
        return;
    }

    std::string number;
    pollfd ready{pipeEnds[0], POLLIN, 0};
    while (number.find('\n') == std::string::npos && ::poll(&ready, 1, kStartTimeoutMs) == 1) {
        char buffer[16];
        const ssize_t got = ::read(pipeEnds[0], buffer, sizeof buffer);
        if (got <= 0) {
            break;
        }
        number.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(pipeEnds[0]);
    const auto end = number.find('\n');
    if (end != std::string::npos && end > 0) {
        m_display = ":" + number.substr(0, end);
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
