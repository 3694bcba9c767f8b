#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>

#include "core/device/DeviceNotice.h"

namespace veldrane {

// A blocking hand-over of device notices from the listener thread to the thread that owns the
// mouse: DeliverNotice returns only once that thread has handled the notice, so the listener
// starts no new read while the handler talks to the mouse. The GUI uses its toolkit's blocking
// queued call instead; the command-line tool and the tests use this.
class NoticeQueue : public NoticeSink
{
public:
    // Listener thread. Returns at once, without the notice handled, once the queue is closed.
    void DeliverNotice(DeviceNotice notice) override;

    // Owner thread: waits at most `timeout` for a notice, runs `handler` on it here and releases
    // the listener. True when a notice was handled.
    bool HandleNext(const std::function<void(const DeviceNotice&)>& handler, std::chrono::milliseconds timeout);

    // Releases a waiting listener and refuses every later notice, so that the listener can stop.
    void Close();

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::optional<DeviceNotice> m_pending;
    std::uint64_t m_delivered = 0;
    std::uint64_t m_handled = 0;
    bool m_closed = false;
};

} // namespace veldrane
