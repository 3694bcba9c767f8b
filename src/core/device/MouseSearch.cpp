#include "core/device/MouseSearch.h"

#include <memory>

#include "core/device/DeviceLink.h"
#include "core/device/HidTransport.h"
#include "ports/HidBackend.h"

namespace veldrane {

MouseInterfaceRole ClassifyInterface(const HidInterfaceInfo& info)
{
    if (info.vendorId != kMouseVendorId || info.productId != kMouseProductId) {
        return MouseInterfaceRole::NotTheMouse;
    }
    if (info.usagePage == kNotificationUsagePage && info.usage == kNotificationUsage && info.inputReportLength != 0) {
        return MouseInterfaceRole::Notification;
    }
    if (info.usagePage == kCommandUsagePage && info.usage == kCommandUsage &&
        info.featureReportLength == kCommandFeatureReportLength && info.inputReportLength <= kReceiveBufferSize) {
        return MouseInterfaceRole::Command;
    }
    return MouseInterfaceRole::Other;
}

DeviceOutcome FindMouse(DeviceLink& link)
{
    HidBackend& backend = link.Backend();
    std::unique_ptr<HidDevice> command;
    CommandReportLengths commandLengths;
    std::shared_ptr<HidDevice> listener;
    std::uint16_t listenerInputLength = 0;

    for (const HidInterfaceInfo& info : backend.Enumerate()) {
        switch (ClassifyInterface(info)) {
        case MouseInterfaceRole::Notification:
            if (!listener) {
                listener = backend.Open(info.path, HidOpenMode::Reading);
                listenerInputLength = info.inputReportLength;
            }
            break;
        case MouseInterfaceRole::Command:
            if (!command) {
                command = backend.Open(info.path, HidOpenMode::Commands);
                commandLengths = {info.featureReportLength, info.inputReportLength, info.outputReportLength};
            }
            break;
        case MouseInterfaceRole::NotTheMouse:
        case MouseInterfaceRole::Other:
            break;
        }
        if (command && listener) {
            break;
        }
    }

    const bool found = command != nullptr;
    link.SetListenerInterface(std::move(listener), listenerInputLength);
    link.SetCommandInterface(std::move(command), commandLengths);
    if (!found) {
        return {DeviceError::NoMouse};
    }
    link.SetConnected(true);
    return {};
}

bool MouseInterfacesPresent(HidBackend& backend)
{
    bool command = false;
    bool notification = false;
    for (const HidInterfaceInfo& info : backend.Enumerate()) {
        const MouseInterfaceRole role = ClassifyInterface(info);
        command = command || role == MouseInterfaceRole::Command;
        notification = notification || role == MouseInterfaceRole::Notification;
    }
    return command && notification;
}

} // namespace veldrane
