#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace veldrane {

// One HID top-level collection as the search sees it. The report lengths are those the Windows
// HID capabilities give: the longest report of each kind plus one byte for the report id, 0 when
// the collection has no report of that kind.
struct HidInterfaceInfo
{
    std::string path;
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
    std::uint16_t version = 0;
    std::uint16_t usagePage = 0;
    std::uint16_t usage = 0;
    std::uint16_t inputReportLength = 0;
    std::uint16_t outputReportLength = 0;
    std::uint16_t featureReportLength = 0;

    friend bool operator==(const HidInterfaceInfo&, const HidInterfaceInfo&) = default;
};

// Commands: feature reports, output and input reports, from the GUI thread. Reading: input
// reports only, from the listener thread.
enum class HidOpenMode
{
    Commands,
    Reading,
};

// The outcome of one input-report read: `length` bytes arrived, or none arrived within the
// time-out (length 0), or the interface is gone or broken (`failed`).
struct [[nodiscard]] HidReadResult
{
    std::size_t length = 0;
    bool failed = false;
};

// One open interface. Every report starts with its report id in byte 0 (0 on an interface
// without numbered reports), whatever the platform does with it. One thread at a time uses an
// open interface; two open interfaces may be used from two threads at once.
class HidDevice
{
public:
    virtual ~HidDevice() = default;

    virtual bool SetFeature(std::span<const std::uint8_t> report) = 0;
    // Byte 0 of `report` names the report to fetch; the answer replaces the buffer.
    virtual bool GetFeature(std::span<std::uint8_t> report) = 0;
    virtual bool WriteOutput(std::span<const std::uint8_t> report) = 0;
    // Waits at most `timeout` for one input report; never writes more than `report` holds.
    virtual HidReadResult ReadInput(std::span<std::uint8_t> report, std::chrono::milliseconds timeout) = 0;

    // Waits without a time-out for one input report, or until Wake ends the wait with nothing
    // read (length 0). The thread sleeps meanwhile: this is how the listener waits for the mouse.
    virtual HidReadResult WaitInput(std::span<std::uint8_t> report) = 0;
    // From any thread: ends the WaitInput in progress, or else the next one, at once.
    virtual void Wake() = 0;
};

// The HID interfaces of the machine. Enumerate and Open are called from the GUI thread.
class HidBackend
{
public:
    virtual ~HidBackend() = default;

    virtual std::vector<HidInterfaceInfo> Enumerate() = 0;
    // Nothing when the interface cannot be opened (gone, or not accessible to the user).
    virtual std::unique_ptr<HidDevice> Open(const std::string& path, HidOpenMode mode) = 0;
};

} // namespace veldrane
