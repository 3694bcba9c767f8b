#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "ports/HotplugSource.h"

struct udev;
struct udev_monitor;

namespace veldrane {

// Arrival and removal of hidraw nodes, from a libudev monitor. Each event carries the node
// ("/dev/hidrawN", the path the HID backend lists) and the vendor and product id of its device.
// A removed node's device is gone by the time the event comes, so the ids of every node seen
// (present at start or arrived since) are kept.
class UdevHotplugSource : public HotplugSource
{
public:
    UdevHotplugSource();
    ~UdevHotplugSource() override;
    UdevHotplugSource(const UdevHotplugSource&) = delete;
    UdevHotplugSource& operator=(const UdevHotplugSource&) = delete;

    // False when udev could not be reached; the source then never has events.
    bool IsWorking() const { return m_monitor != nullptr; }

    std::vector<HotplugEvent> TakeEvents() override;
    bool WaitForEvents(std::chrono::milliseconds timeout) override;
    int PollDescriptor() const override;

private:
    using Ids = std::pair<std::uint16_t, std::uint16_t>;

    struct udev* m_udev = nullptr;
    struct udev_monitor* m_monitor = nullptr;
    std::map<std::string, Ids> m_ids;
};

} // namespace veldrane
