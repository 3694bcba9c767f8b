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

bool DeviceChangeHandler::ConnectAtStartUp()
{
    if (!FindMouse(m_link)) {
        m_link.SetConnected(false);
        return false;
    }
    m_link.SetConnected(true);
    PrepareMouse();
    return true;
}

void DeviceChangeHandler::HandleDeviceChange(const HotplugEvent& event)
{
    if (event.vendorId != kMouseVendorId || event.productId != kMouseProductId) {
        return;
    }
    if (event.kind == HotplugEvent::Kind::Removal) {
        if (!m_link.IsConnected() || FindMouse(m_link)) {
            // Told already; or another interface of the mouse went away, or a second mouse is there.
            return;
        }
        m_link.SetConnected(false);
        m_hooks.SendDeviceNotice({kNoticeMouseNotDetected, 0});
        return;
    }

    if (m_link.IsConnected() || !MouseInterfacesPresent(m_link.Backend())) {
        return; // a further interface of a mouse that is here, or one of a mouse still arriving
    }
    if (!FindMouse(m_link)) {
        m_link.SetConnected(false);
        m_hooks.SendDeviceNotice({kNoticeMouseNotDetected, 0});
        return;
    }
    m_hooks.SendDeviceNotice({kNoticeMouseDetected, 0});
    const bool edited = m_records.Current != m_records.Backup;
    PrepareMouse();
    if (!edited) {
        m_hooks.ReloadProfile();
    }
}

void DeviceChangeHandler::PrepareMouse()
{
    m_image.Clear();
    ReadCurrentProfile(m_link, m_image);
    m_records.Current.deviceProfile = m_image.bytes[kImageProfileNumber];
    m_image.bytes[kImageModeByte] = kModeByteValue;
    SendModeByte(m_link, m_image);
}

} // namespace veldrane
