#pragma once

namespace veldrane {

class DeviceLink;
struct DeviceImage;
struct DeviceNotice;
struct HotplugEvent;
struct ProfileRecord;

// What the main window does around a search that is not the device's business.
class DeviceChangeHooks
{
public:
    virtual ~DeviceChangeHooks() = default;

    // A device notice (14 or 15), handled before this returns, as the listener's notices are.
    virtual void SendDeviceNotice(const DeviceNotice& notice) = 0;
    // The window stays reachable from the tray icon.
    virtual void HideMainWindow() = 0;
    // Loads the current profile and its label file again.
    virtual void ReloadProfile() = 0;
};

// Finding the mouse at start-up and following its arrival and removal. Every matching arrival or
// removal runs a full search; once the mouse is found it is brought into the state the system
// expects: a clear image, its profile number read (0x82) and the mode byte 0xFC sent (0x01). The
// profile is never downloaded here: the mouse keeps its own settings until the user saves.
class DeviceChangeHandler
{
public:
    DeviceChangeHandler(DeviceLink& link, DeviceImage& image, ProfileRecord& current, DeviceChangeHooks& hooks);

    // The search at start-up; returns the connected flag. A missing mouse shows nothing.
    bool ConnectAtStartUp();
    // An arrival or removal of a HID interface; only the mouse's vendor and product ids count.
    void HandleDeviceChange(const HotplugEvent& event);

private:
    void PrepareMouse();

    DeviceLink& m_link;
    DeviceImage& m_image;
    ProfileRecord& m_current;
    DeviceChangeHooks& m_hooks;
};

} // namespace veldrane
