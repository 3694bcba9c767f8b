#pragma once

#include <cstdint>

#include "core/device/DeviceError.h"

namespace veldrane {

class DeviceLink;
class HidBackend;
struct HidInterfaceInfo;

// The mouse and the two of its HID interfaces that the system uses.
inline constexpr std::uint16_t kMouseVendorId = 0x04D9;
inline constexpr std::uint16_t kMouseProductId = 0xA0CB;
// Commands and data blocks travel here; its feature report must be exactly 9 bytes.
inline constexpr std::uint16_t kCommandUsagePage = 0xFF00;
inline constexpr std::uint16_t kCommandUsage = 0xFF00;
// The mouse's own reports of button switches arrive here.
inline constexpr std::uint16_t kNotificationUsagePage = 0xFF01;
inline constexpr std::uint16_t kNotificationUsage = 0x0001;

enum class MouseInterfaceRole
{
    NotTheMouse,
    Command,
    Notification,
    Other, // another interface of the mouse, or one whose report lengths do not fit
};

// What an enumerated interface is to the search. A command interface whose input reports would
// not fit the receive buffer is not taken.
MouseInterfaceRole ClassifyInterface(const HidInterfaceInfo& info);

// Walks every HID interface and opens the mouse's notification and command interfaces, in
// whatever order they come; an interface that cannot be opened is passed over. Puts into `link`
// exactly what this search opened (closing what it held before), sets the connected flag when
// the command interface is open, and only then wakes the listener. Fails with NoMouse when no
// command interface was opened; it never clears the connected flag (its callers do).
DeviceOutcome FindMouse(DeviceLink& link);

// Whether the mouse is there with both interfaces the system uses, openable or not. When it is
// plugged in, its interfaces appear one by one.
bool MouseInterfacesPresent(HidBackend& backend);

} // namespace veldrane
