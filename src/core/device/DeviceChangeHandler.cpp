#include "core/device/DeviceChangeHandler.h"

#include "core/device/CommandSet.h"
#include "core/device/DeviceImage.h"
#include "core/device/DeviceLink.h"
#include "core/device/DeviceNotice.h"
#include "core/device/MouseSearch.h"
#include "core/profile/ProfileRecord.h"
#include "ports/HotplugSource.h"

namespace veldrane {

DeviceChangeHandler::DeviceChangeHandler(DeviceLink& link, DeviceImage& image, ProfileRecords& records,
                                         DeviceChangeHooks& hooks)
    : m_link(link), m_image(image), m_records(records), m_hooks(hooks)
{}

DeviceOutcome DeviceChangeHandler::ConnectAtStartUp()
{
    if (DeviceOutcome found = FindMouse(m_link); !found.Done()) {
        m_link.SetConnected(false);
        return found;
    }
    return PrepareMouse();
}

DeviceOutcome DeviceChangeHandler::HandleDeviceChange(const HotplugEvent& event)
{
    if (event.vendorId != kMouseVendorId || event.productId != kMouseProductId) {
        return {};
    }
    if (event.kind == HotplugEvent::Kind::Removal) {
        if (!m_link.IsConnected() || FindMouse(m_link).Done()) {
            // Told already; or another interface of the mouse went away, or a second mouse is there.
            return {};
        }
        m_link.SetConnected(false);
        m_hooks.SendDeviceNotice({kNoticeMouseNotDetected, 0});
        return {};
    }

    if (m_link.IsConnected() || !MouseInterfacesPresent(m_link.Backend())) {
        return {}; // a further interface of a mouse that is here, or one of a mouse still arriving
    }
    if (DeviceOutcome found = FindMouse(m_link); !found.Done()) {
        m_link.SetConnected(false);
        m_hooks.SendDeviceNotice({kNoticeMouseNotDetected, 0});
        return found;
    }
    m_hooks.SendDeviceNotice({kNoticeMouseDetected, 0});
    const bool edited = m_records.Current != m_records.Backup;
    const DeviceOutcome prepared = PrepareMouse();
    if (!edited) {
        m_hooks.ReloadProfile();
    }
    return prepared;
}

DeviceOutcome DeviceChangeHandler::PrepareMouse()
{
    m_image.Clear();
    const DeviceOutcome read = ReadCurrentProfile(m_link, m_image);
    if (read.Done()) {
        m_records.Current.deviceProfile = m_image.bytes[kImageProfileNumber];
    }
    // The mode byte goes out all the same: a mouse that lost one answer may take it.
    m_image.bytes[kImageModeByte] = kModeByteValue;
    const DeviceOutcome sent = SendModeByte(m_link, m_image);
    return read.Done() ? sent : read;
}

} // namespace veldrane
