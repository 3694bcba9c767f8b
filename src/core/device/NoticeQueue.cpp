#include "core/device/NoticeQueue.h"

namespace veldrane {

void NoticeQueue::DeliverNotice(DeviceNotice notice)
{
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [&] { return m_closed || (!m_pending && m_handled == m_delivered); });
    if (m_closed) {
        return;
    }
    m_pending = notice;
    const std::uint64_t ticket = ++m_delivered;
    m_changed.notify_all();
    m_changed.wait(lock, [&] { return m_closed || m_handled >= ticket; });
}

bool NoticeQueue::HandleNext(const std::function<void(const DeviceNotice&)>& handler, std::chrono::milliseconds timeout)
{
    std::unique_lock lock(m_mutex);
    if (!m_changed.wait_for(lock, timeout, [&] { return m_closed || m_pending.has_value(); }) || !m_pending) {
        return false;
    }
    const DeviceNotice notice = *m_pending;
    m_pending.reset();
    lock.unlock();
    handler(notice);
    lock.lock();
    ++m_handled;
    m_changed.notify_all();
    return true;
}

void NoticeQueue::Close()
{
    {
        const std::lock_guard lock(m_mutex);
        m_closed = true;
        m_pending.reset();
    }
    m_changed.notify_all();
}

} // namespace veldrane
