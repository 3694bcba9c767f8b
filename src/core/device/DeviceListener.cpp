#include "core/device/DeviceListener.h"

#include <algorithm>
#include <array>
#include <span>

#include "core/device/DeviceLink.h"
#include "core/device/DeviceNotice.h"
#include "ports/HidBackend.h"

namespace veldrane {

DeviceListener::DeviceListener(DeviceLink& link, NoticeSink& sink) : m_link(link), m_sink(sink) {}

DeviceListener::~DeviceListener()
{
    Stop();
}

void DeviceListener::Start()
{
    if (!m_thread.joinable()) {
        m_stop = false;
        m_thread = std::thread([this] { Run(); });
    }
}

void DeviceListener::Stop()
{
    if (!m_thread.joinable()) {
        return;
    }
    m_stop = true;
    m_link.WakeListener();
    m_thread.join();
}

void DeviceListener::Run()
{
    std::array<std::uint8_t, kListenerBufferSize> buffer{};
    std::uint64_t failedGeneration = 0;
    while (const auto listener = m_link.WaitForListenerInterface(failedGeneration, m_stop)) {
        const std::size_t length = std::min<std::size_t>(listener->inputLength, buffer.size());
        buffer.fill(0);
        const HidReadResult read = listener->device->WaitInput(std::span(buffer).first(length));
        if (read.failed) {
            // The interface is gone; only the next search can give a new one.
            failedGeneration = listener->generation;
            continue;
        }
        if (read.length == 0 || !m_link.IsConnected()) {
            continue;
        }
        const auto notice = ParseNotificationReport(std::span(buffer).first(std::min(read.length, length)));
        if (notice && !m_stop) {
            m_sink.DeliverNotice(*notice);
        }
    }
}

} // namespace veldrane
