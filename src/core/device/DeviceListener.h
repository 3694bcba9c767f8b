#pragma once

#include <atomic>
#include <cstddef>
#include <thread>

namespace veldrane {

class DeviceLink;
class NoticeSink;

// The listener's receive buffer; a longer notification report is read only this far.
inline constexpr std::size_t kListenerBufferSize = 40;

// The listener thread: waits for the mouse's notification reports and hands each one, as a
// device notice, to the GUI thread, waiting until it has been handled. It only reads the
// notification interface and never touches the command interface.
//
// While the mouse is absent it waits for a search to open the notification interface; a read
// that fails (the mouse went away) waits for the next search; a report that arrives after the
// connected flag was cleared is dropped. It never wakes on a timer: a read waits until a report
// comes or the link wakes it (a new search, a stop).
class DeviceListener
{
public:
    DeviceListener(DeviceLink& link, NoticeSink& sink);
    ~DeviceListener();
    DeviceListener(const DeviceListener&) = delete;
    DeviceListener& operator=(const DeviceListener&) = delete;

    void Start();
    // Ends the thread at once, also while it waits for a report. A hand-over in progress must be
    // released first (the sink closed), since the thread waits in it.
    void Stop();

private:
    void Run();

    DeviceLink& m_link;
    NoticeSink& m_sink;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

} // namespace veldrane
