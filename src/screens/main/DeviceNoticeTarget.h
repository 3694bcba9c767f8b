#pragma once

namespace veldrane {

struct DeviceNotice;

// Where the main window sends its own device notices (notice 15 after a tray click while the
// mouse is absent): handled before the call returns, like the listener's notices.
class DeviceNoticeTarget
{
public:
    virtual ~DeviceNoticeTarget() = default;

    virtual void SendDeviceNotice(const DeviceNotice& notice) = 0;
};

} // namespace veldrane
