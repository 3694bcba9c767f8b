#include "screens/main/DeviceLinkConnection.h"

#include "core/device/DeviceLink.h"
#include "core/device/DeviceNotice.h"
#include "core/device/DeviceNoticeHandler.h"
#include "core/device/ProfileDownload.h"

namespace veldrane {

DeviceLinkConnection::DeviceLinkConnection(DeviceLink& link, DeviceImage& image) : m_link(link), m_image(image) {}

bool DeviceLinkConnection::IsConnected() const
{
    return m_link.IsConnected();
}

bool DeviceLinkConnection::DownloadProfile(ProfileRecord& record)
{
    return WriteProfileToMouse(m_link, m_image, record).Taken();
}

void DeviceNoticeHandlerTarget::SendDeviceNotice(const DeviceNotice& notice)
{
    m_handler.HandleDeviceNotice(notice);
}

} // namespace veldrane
