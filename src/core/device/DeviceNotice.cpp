#include "core/device/DeviceNotice.h"

namespace veldrane {

std::optional<DeviceNotice> ParseNotificationReport(std::span<const std::uint8_t> report)
{
    if (report.size() < kNotificationMinimumLength || report[0] != kNotificationReportId ||
        report[kNotificationMarkerOffset] != kNotificationMarker) {
        return std::nullopt;
    }
    return DeviceNotice{report[kNotificationCodeOffset], report[kNotificationValueOffset]};
}

} // namespace veldrane
