#include "core/device/DeviceLink.h"

#include <utility>

#include "ports/HidBackend.h"

namespace veldrane {

DeviceLink::DeviceLink(HidBackend& backend, Sleeper& sleeper) : m_backend(backend), m_sleeper(sleeper) {}

DeviceLink::~DeviceLink() = default;

void DeviceLink::SetCommandInterface(std::unique_ptr<HidDevice> device, CommandReportLengths lengths)
{
    m_command = std::move(device);
    m_commandLengths = m_command ? lengths : CommandReportLengths{};
}

void DeviceLink::SetListenerInterface(std::shared_ptr<HidDevice> device, std::uint16_t inputLength)
{
    std::shared_ptr<HidDevice> replaced;
    {
        const std::lock_guard lock(m_mutex);
        replaced = std::exchange(m_listener.device, std::move(device));
        m_listener.inputLength = m_listener.device ? inputLength : 0;
        ++m_listener.generation;
    }
    // A listener still waiting on the old interface turns to the new one.
    if (replaced) {
        replaced->Wake();
    }
    m_listenerWake.notify_all();
}

bool DeviceLink::IsConnected() const
{
    const std::lock_guard lock(m_mutex);
    return m_connected;
}

void DeviceLink::SetConnected(bool connected)
{
    std::shared_ptr<HidDevice> reading;
    {
        const std::lock_guard lock(m_mutex);
        m_connected = connected;
        if (!connected) {
            reading = m_listener.device;
        }
    }
    // A read that waits while the mouse is gone has nothing to wait for.
    if (reading) {
        reading->Wake();
    }
    m_listenerWake.notify_all();
}

std::optional<ListenerInterface> DeviceLink::WaitForListenerInterface(std::uint64_t failedGeneration,
                                                                      const std::atomic<bool>& stop)
{
    std::unique_lock lock(m_mutex);
    const auto ready = [&] {
        return stop.load() || (m_connected && m_listener.device && m_listener.generation != failedGeneration);
    };
    if (!ready()) {
        m_listenerWaiting = true;
        m_listenerWaits.notify_all();
        m_listenerWake.wait(lock, ready);
        m_listenerWaiting = false;
    }
    if (stop.load()) {
        return std::nullopt;
    }
    return m_listener;
}

void DeviceLink::WakeListener()
{
    std::shared_ptr<HidDevice> reading;
    {
        // Taking the lock orders the caller's change of `stop` before the listener's next look at it.
        const std::lock_guard lock(m_mutex);
        reading = m_listener.device;
    }
    if (reading) {
        reading->Wake();
    }
    m_listenerWake.notify_all();
}

bool DeviceLink::WaitUntilListenerWaits(std::chrono::milliseconds timeout) const
{
    std::unique_lock lock(m_mutex);
    return m_listenerWaits.wait_for(lock, timeout, [&] { return m_listenerWaiting; });
}

} // namespace veldrane
