#pragma once

#include <sys/inotify.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <stdexcept>
#include <string>

namespace veldrane::test {

// Counts, through inotify on its directory, how often one file is opened and how often another
// file is renamed over it, so that a test sees an operation read a file once and replace it once.
// The kernel queues each event inside the call that causes it, so the counts are complete the
// moment the operation returns: nothing waits.
class FileAccessCounter
{
public:
    explicit FileAccessCounter(const std::filesystem::path& file)
        : m_name(file.filename().string()), m_fd(inotify_init1(IN_NONBLOCK | IN_CLOEXEC))
    {
        // Closes are watched only to keep two opens apart: inotify merges an event into an identical
        // one still unread at the end of its queue.
        const std::uint32_t events = IN_OPEN | IN_CLOSE | IN_MOVED_TO;
        if (m_fd < 0 || inotify_add_watch(m_fd, file.parent_path().c_str(), events) < 0) {
            throw std::runtime_error(std::string("inotify: ") + std::strerror(errno));
        }
    }
    ~FileAccessCounter() { close(m_fd); }
    FileAccessCounter(const FileAccessCounter&) = delete;
    FileAccessCounter& operator=(const FileAccessCounter&) = delete;

    // Since construction, up to now.
    int Opens()
    {
        Drain();
        return m_opens;
    }
    int Replacements()
    {
        Drain();
        return m_replacements;
    }

private:
    void Drain()
    {
        alignas(inotify_event) char buffer[4096];
        for (;;) {
            const ssize_t length = read(m_fd, buffer, sizeof buffer);
            if (length <= 0) {
                return; // EAGAIN: the queue is empty
            }
            for (ssize_t offset = 0; offset < length;) {
                const auto* event = reinterpret_cast<const inotify_event*>(buffer + offset);
                if (event->len > 0 && m_name == event->name) {
                    m_opens += (event->mask & IN_OPEN) != 0 ? 1 : 0;
                    m_replacements += (event->mask & IN_MOVED_TO) != 0 ? 1 : 0;
                }
                offset += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
            }
        }
    }

    std::string m_name;
    int m_fd;
    int m_opens = 0;
    int m_replacements = 0;
};

} // namespace veldrane::test
