#include "adapters/linux/HidrawReader.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>

namespace veldrane {

std::unique_ptr<HidrawReader> HidrawReader::Open(const std::string& path, bool numberedReports)
{
    const int node = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (node < 0) {
        return nullptr;
    }
    const int wake = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    if (wake < 0) {
        ::close(node);
        return nullptr;
    }
    return std::unique_ptr<HidrawReader>(new HidrawReader(node, wake, numberedReports));
}

HidrawReader::HidrawReader(int node, int wake, bool numberedReports)
    : m_node(node), m_wake(wake), m_numbered(numberedReports)
{}

HidrawReader::~HidrawReader()
{
    ::close(m_node);
    ::close(m_wake);
}

HidReadResult HidrawReader::ReadInput(std::span<std::uint8_t> report, std::chrono::milliseconds timeout)
{
    return Read(report, static_cast<int>(std::clamp<long long>(timeout.count(), 0, INT_MAX)));
}

HidReadResult HidrawReader::WaitInput(std::span<std::uint8_t> report)
{
    return Read(report, -1);
}

void HidrawReader::Wake()
{
    const std::uint64_t one = 1;
    [[maybe_unused]] const ssize_t written = ::write(m_wake, &one, sizeof one);
}

HidReadResult HidrawReader::Read(std::span<std::uint8_t> report, int timeoutMs)
{
    if (report.empty()) {
        return {};
    }
    pollfd waits[2] = {{m_node, POLLIN, 0}, {m_wake, POLLIN, 0}};
    int ready = 0;
    do {
        ready = ::poll(waits, 2, timeoutMs);
    } while (ready < 0 && errno == EINTR);
    if (ready < 0) {
        return {0, true};
    }
    if ((waits[1].revents & POLLIN) != 0) {
        std::uint64_t count = 0;
        [[maybe_unused]] const ssize_t taken = ::read(m_wake, &count, sizeof count);
        return {};
    }
    if ((waits[0].revents & (POLLERR | POLLHUP | POLLNVAL)) != 0) {
        return {0, true}; // the node is gone
    }
    if ((waits[0].revents & POLLIN) == 0) {
        return {}; // the time-out passed
    }
    // Without numbered reports hidraw delivers the data alone; the 0 in front is ours.
    const std::size_t offset = m_numbered ? 0 : 1;
    if (!m_numbered) {
        report[0] = 0;
    }
    const ssize_t read = ::read(m_node, report.data() + offset, report.size() - offset);
    if (read < 0) {
        return {0, errno != EAGAIN && errno != EINTR};
    }
    return {std::min(report.size(), static_cast<std::size_t>(read) + offset), false};
}

} // namespace veldrane
