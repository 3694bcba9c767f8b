#pragma once

#include <cstdint>
#include <optional>

namespace veldrane {

// The "USB Report Rate" dial: a 128 x 128 square whose ring (35 to 64 pixels from the centre)
// chooses by quadrant: upper right 1000 Hz, upper left 125 Hz, lower left 250 Hz, lower right
// 500 Hz (core/settings/ReportRate.h).
inline constexpr int kReportRateDialSize = 128;
inline constexpr int kReportRateDialCentre = kReportRateDialSize / 2;

// The reportRate of a press (dx, dy) pixels from the dial's centre, y growing downwards; nothing
// off the ring or exactly on the horizontal or vertical line through the centre.
std::optional<std::uint8_t> ReportRateAtDialOffset(int dx, int dy);

// The reportRate a drag that started on the dial points at from (dx, dy): the quadrant alone
// counts, wherever the pointer is; nothing on the two lines through the centre.
std::optional<std::uint8_t> ReportRateTowards(int dx, int dy);

} // namespace veldrane
