#pragma once

#include "core/device/DeviceError.h"

namespace veldrane {

class DeviceLink;
struct DeviceImage;
struct DeviceNotice;
struct HotplugEvent;
struct ProfileRecords;

// What the main window does around a search that is not the device's business.
class DeviceChangeHooks
{
public:
    virtual ~DeviceChangeHooks() = default;

    // A device notice (14 or 15), handled before this returns, as the listener's notices are.
    virtual void SendDeviceNotice(const DeviceNotice& notice) = 0;
    // Loads the current profile and its label file again.
    virtual void ReloadProfile() = 0;
};

// Finding the mouse at start-up and following its arrival and removal. One plug-in is one
// arrival, however many interfaces it brings and in whatever order: the mouse arrives once its
// command and notification interfaces are both there, and leaves (with one warning) when a
// removal leaves its command interface gone. On arrival it is brought into the state the system
// expects: a clear image, its profile number read (0x82) and the mode byte 0xFC sent (0x01); the
// profile is loaded again from its files unless the user has unsaved edits, which are kept. The
// profile is never downloaded here: the mouse keeps its own settings until the user saves.
class DeviceChangeHandler
{
public:
    DeviceChangeHandler(DeviceLink& link, DeviceImage& image, ProfileRecords& records, DeviceChangeHooks& hooks);

    // The search at start-up; NoMouse when the connected flag stays clear. A missing mouse shows
    // nothing. A mouse that was found but not prepared stays connected; the outcome names the
    // exchange that failed.
    DeviceOutcome ConnectAtStartUp();
    // An arrival or removal of a HID interface; only the mouse's vendor and product ids count.
    // Fails when an arriving mouse could not be opened or prepared (the user is told of the
    // former by notice 15).
    DeviceOutcome HandleDeviceChange(const HotplugEvent& event);

private:
    // 0x82 and 0x01: a profile number the mouse did not give leaves the record's as it was.
    DeviceOutcome PrepareMouse();

    DeviceLink& m_link;
    DeviceImage& m_image;
    ProfileRecords& m_records;
    DeviceChangeHooks& m_hooks;
};

} // namespace veldrane
