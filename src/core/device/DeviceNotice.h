#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace veldrane {

// A device notice for the main window: from the mouse's notification reports, or the system's
// own notices that the mouse was or was not found.
//
//   code 1, 2, 3  value: CPI stage 1 to 6 the mouse switched to
//   code 9        value: macro key the mouse switched to (not 0)
//   code 14       the mouse was found (value 0)
//   code 15       the mouse was not found (value 0)
struct DeviceNotice
{
    std::uint8_t code = 0;
    std::uint8_t value = 0;

    friend bool operator==(const DeviceNotice&, const DeviceNotice&) = default;
};

inline constexpr std::uint8_t kNoticeCpiStageFirst = 1;
inline constexpr std::uint8_t kNoticeCpiStageLast = 3;
inline constexpr std::uint8_t kNoticeMacroKey = 9;
inline constexpr std::uint8_t kNoticeMouseDetected = 14;
inline constexpr std::uint8_t kNoticeMouseNotDetected = 15;

// Notification report (input report of the notification interface):
//
//   0   report id 0x06
//   1   0x07
//   2   notice code
//   3   notice value
//   4-  not used
inline constexpr std::uint8_t kNotificationReportId = 0x06;
inline constexpr std::uint8_t kNotificationMarker = 0x07;
inline constexpr std::size_t kNotificationMarkerOffset = 1;
inline constexpr std::size_t kNotificationCodeOffset = 2;
inline constexpr std::size_t kNotificationValueOffset = 3;
inline constexpr std::size_t kNotificationMinimumLength = 4;

// The notice in the bytes of one read, or nothing for a report that does not start 06 07 or is
// too short to carry a code and a value.
std::optional<DeviceNotice> ParseNotificationReport(std::span<const std::uint8_t> report);

// Where the listener hands its notices: to the GUI thread, returning only once the notice has
// been handled there (or the hand-over has been closed).
class NoticeSink
{
public:
    virtual ~NoticeSink() = default;

    virtual void DeliverNotice(DeviceNotice notice) = 0;
};

} // namespace veldrane
