#include "adapters/linux/UdevHotplugSource.h"

#include <libudev.h>
#include <poll.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <optional>
#include <string_view>

namespace veldrane {

namespace {

constexpr const char* kSubsystem = "hidraw";
constexpr const char* kParentSubsystem = "hid";
// On the hid device: "bus:vendor:product" in hex, "0003:000004D9:0000A0CB".
constexpr const char* kHidIdProperty = "HID_ID";

std::optional<std::pair<std::uint16_t, std::uint16_t>> IdsOf(udev_device* device)
{
    udev_device* parent = udev_device_get_parent_with_subsystem_devtype(device, kParentSubsystem, nullptr);
    const char* id = parent != nullptr ? udev_device_get_property_value(parent, kHidIdProperty) : nullptr;
    unsigned bus = 0;
    unsigned vendor = 0;
    unsigned product = 0;
    if (id == nullptr || std::sscanf(id, "%x:%x:%x", &bus, &vendor, &product) != 3) {
        return std::nullopt;
    }
    return std::pair{static_cast<std::uint16_t>(vendor), static_cast<std::uint16_t>(product)};
}

} // namespace

UdevHotplugSource::UdevHotplugSource()
{
    m_udev = udev_new();
    if (m_udev == nullptr) {
        return;
    }
    udev_monitor* monitor = udev_monitor_new_from_netlink(m_udev, "udev");
    if (monitor == nullptr || udev_monitor_filter_add_match_subsystem_devtype(monitor, kSubsystem, nullptr) < 0 ||
        udev_monitor_enable_receiving(monitor) < 0) {
        udev_monitor_unref(monitor);
        return;
    }
    m_monitor = monitor;

    // The nodes already there, so that their removal can be told apart.
    udev_enumerate* enumerate = udev_enumerate_new(m_udev);
    if (enumerate != nullptr && udev_enumerate_add_match_subsystem(enumerate, kSubsystem) >= 0 &&
        udev_enumerate_scan_devices(enumerate) >= 0) {
        udev_list_entry* entry = nullptr;
        udev_list_entry_foreach(entry, udev_enumerate_get_list_entry(enumerate))
        {
            udev_device* device = udev_device_new_from_syspath(m_udev, udev_list_entry_get_name(entry));
            if (device == nullptr) {
                continue;
            }
            const char* node = udev_device_get_devnode(device);
            if (const auto ids = IdsOf(device); ids && node != nullptr) {
                m_ids[node] = *ids;
            }
            udev_device_unref(device);
        }
    }
    udev_enumerate_unref(enumerate);
}

UdevHotplugSource::~UdevHotplugSource()
{
    udev_monitor_unref(m_monitor);
    udev_unref(m_udev);
}

std::vector<HotplugEvent> UdevHotplugSource::TakeEvents()
{
    std::vector<HotplugEvent> events;
    if (m_monitor == nullptr) {
        return events;
    }
    // The monitor's socket does not block: this ends when nothing more is waiting.
    while (udev_device* device = udev_monitor_receive_device(m_monitor)) {
        const char* action = udev_device_get_action(device);
        const char* node = udev_device_get_devnode(device);
        if (action != nullptr && node != nullptr) {
            const std::string_view what = action;
            HotplugEvent event;
            event.path = node;
            if (what == "add") {
                event.kind = HotplugEvent::Kind::Arrival;
                if (const auto ids = IdsOf(device)) {
                    m_ids[event.path] = *ids;
                }
            } else if (what == "remove") {
                event.kind = HotplugEvent::Kind::Removal;
            }
            if (what == "add" || what == "remove") {
                if (const auto known = m_ids.find(event.path); known != m_ids.end()) {
                    event.vendorId = known->second.first;
                    event.productId = known->second.second;
                    if (event.kind == HotplugEvent::Kind::Removal) {
                        m_ids.erase(known);
                    }
                }
                events.push_back(event);
            }
        }
        udev_device_unref(device);
    }
    return events;
}

bool UdevHotplugSource::WaitForEvents(std::chrono::milliseconds timeout)
{
    if (m_monitor == nullptr) {
        return false;
    }
    pollfd descriptor{udev_monitor_get_fd(m_monitor), POLLIN, 0};
    const int milliseconds = static_cast<int>(std::clamp<long long>(timeout.count(), 0, INT_MAX));
    return poll(&descriptor, 1, milliseconds) > 0 && (descriptor.revents & POLLIN) != 0;
}

int UdevHotplugSource::PollDescriptor() const
{
    return m_monitor != nullptr ? udev_monitor_get_fd(m_monitor) : -1;
}

} // namespace veldrane
