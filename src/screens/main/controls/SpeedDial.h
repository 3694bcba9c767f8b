#pragma once

#include <cstdint>
#include <optional>

namespace veldrane {

// The half-disc dials of "Mouse Speed" and "Double Click Speed": a 142 x 83 rectangle whose
// centre lies 71 pixels right of and 71 below its top-left corner. A press on the ring 43 to 71
// pixels from the centre, not below it, gives the position 12 - θ ÷ 18 rounded down, with θ the
// angle in degrees from the right-hand horizontal, counter-clockwise: 12 exactly on the right,
// 11 just above it, down to 2 on the left.
inline constexpr int kSpeedDialWidth = 142;
inline constexpr int kSpeedDialHeight = 83;
inline constexpr int kSpeedDialCentre = 71;

// The dial position (mouseSpeed or doubleClickSpeed) of a press (dx, dy) pixels from the dial's
// centre, y growing downwards; nothing below the centre or off the ring.
std::optional<std::uint8_t> SpeedDialPositionAt(int dx, int dy);

// The position a drag that started on the dial points at from (dx, dy): the direction alone
// counts, wherever the pointer is; below the centre counts as the end on that side (2 or 12).
// Nothing on the centre itself or straight below it.
std::optional<std::uint8_t> SpeedDialPositionTowards(int dx, int dy);

} // namespace veldrane
