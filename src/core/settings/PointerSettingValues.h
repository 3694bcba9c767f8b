#pragma once

#include <cstdint>

#include "ports/PointerSettingsBackend.h"

namespace veldrane {

struct ProfileRecord;

// The values a profile's pointer fields stand for on the system. Any byte of a loaded record is
// accepted and run through the same formulas; the system reports what it cannot take.

// Pointer speed of a "Mouse Speed" dial position: 1 for position 1, otherwise position x 2 - 2,
// at most kMaxPointerSpeed. Position 12 works out at 22, which no system takes, so the fastest
// position sends 20; the record keeps its 12.
int PointerSpeedOf(std::uint8_t mouseSpeed);

// Double-click time in ms of a "Double Click Speed" dial position: 900 - (position - 1) x 70, so
// 900 for position 1 down to 130 for 12 (below 1 for positions from 14 on).
int DoubleClickTimeOf(std::uint8_t doubleClickSpeed);

// kWheelScrollOneScreen when scrollOneScreen is not 0, otherwise scrollLines.
std::uint32_t WheelScrollLinesOf(const ProfileRecord& record);

// {6, 10, 1} when pointerPrecision is 1, {0, 0, 0} for any other value.
MouseAcceleration MouseAccelerationOf(std::uint8_t pointerPrecision);

} // namespace veldrane
