#pragma once

#include "screens/main/DeviceNoticeTarget.h"
#include "screens/main/MouseConnection.h"

namespace veldrane {

class DeviceLink;
class DeviceNoticeHandler;
struct DeviceImage;

// The mouse of the process: the connected flag of the device link and its profile download.
class DeviceLinkConnection : public MouseConnection
{
public:
    DeviceLinkConnection(DeviceLink& link, DeviceImage& image);

    bool IsConnected() const override;
    bool DownloadProfile(ProfileRecord& record) override;

private:
    DeviceLink& m_link;
    DeviceImage& m_image;
};

// The main window's own notices (notice 15 after a tray click) go straight to the device-notice
// handler: they arise on the GUI thread, where the handler runs.
class DeviceNoticeHandlerTarget : public DeviceNoticeTarget
{
public:
    explicit DeviceNoticeHandlerTarget(DeviceNoticeHandler& handler) : m_handler(handler) {}

    void SendDeviceNotice(const DeviceNotice& notice) override;

private:
    DeviceNoticeHandler& m_handler;
};

} // namespace veldrane
