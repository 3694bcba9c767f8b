#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

namespace veldrane {

// A HID interface that appeared or went away, with its path and the ids of its device.
struct HotplugEvent
{
    enum class Kind
    {
        Arrival,
        Removal,
    };

    Kind kind = Kind::Arrival;
    std::string path;
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;

    friend bool operator==(const HotplugEvent&, const HotplugEvent&) = default;
};

// Arrival and removal of HID interfaces, collected for the GUI thread.
class HotplugSource
{
public:
    virtual ~HotplugSource() = default;

    // The events since the last call, oldest first; never waits.
    virtual std::vector<HotplugEvent> TakeEvents() = 0;
    // Waits at most `timeout` until TakeEvents has something; true when it has.
    virtual bool WaitForEvents(std::chrono::milliseconds timeout) = 0;
    // A file descriptor that is readable while events wait, for an event loop to watch; -1 where
    // the source has none.
    virtual int PollDescriptor() const = 0;
};

} // namespace veldrane
