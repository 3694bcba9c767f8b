#include "device/DeviceChangeHandler.h"

#include "device/CommandSet.h"
#include "device/DeviceImage.h"
#include "device/DeviceLink.h"
#include "device/DeviceNotice.h"
#include "device/MouseSearch.h"
#include "platform/HotplugSource.h"
#include "profile/ProfileRecord.h"

namespace veldrane {

DeviceChangeHandler::DeviceChangeHandler(DeviceLink& link, DeviceImage& image, ProfileRecord& current,
                                         DeviceChangeHooks& hooks)
    : m_link(link), m_image(image), m_current(current), m_hooks(hooks)
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
    const bool found = FindMouse(m_link);
    if (event.kind == HotplugEvent::Kind::Removal) {
        if (found) {
            // Another interface of the mouse went away, or a second mouse is there.
            m_link.SetConnected(true);
            return;
        }
        m_hooks.SendDeviceNotice({kNoticeMouseNotDetected, 0});
        m_link.SetConnected(false);
        return;
    }

    if (!found) {
        // The mouse's interfaces arrive one by one; until the command interface is there, the
        // search fails.
        m_hooks.SendDeviceNotice({kNoticeMouseNotDetected, 0});
        m_hooks.HideMainWindow();
        m_link.SetConnected(false);
        return;
    }
    m_hooks.SendDeviceNotice({kNoticeMouseDetected, 0});
    m_link.SetConnected(true);
    PrepareMouse();
    m_hooks.ReloadProfile();
}

void DeviceChangeHandler::PrepareMouse()
{
    m_image.Clear();
    ReadCurrentProfile(m_link, m_image);
    m_current.deviceProfile = m_image.bytes[kImageProfileNumber];
    m_image.bytes[kImageModeByte] = kModeByteValue;
    SendModeByte(m_link, m_image);
}

} // namespace veldrane
