#pragma once

#include "ports/PointerSettingsBackend.h"

namespace veldrane {

// Whether a speed lies on the Windows scale that the adapters map.
constexpr bool IsPointerSpeed(int speed)
{
    return speed >= kMinPointerSpeed && speed <= kMaxPointerSpeed;
}

// The Windows speed scale laid linearly onto libinput's acceleration speed, which GNOME, Plasma
// and the X server's libinput driver all use: 1 -> -1 (slowest), 20 -> +1 (fastest); the
// Windows default 10 comes out just below libinput's default 0.
constexpr double LibinputAccelSpeed(int speed)
{
    return static_cast<double>(speed - kMinPointerSpeed) / (kMaxPointerSpeed - kMinPointerSpeed) * 2.0 - 1.0;
}

} // namespace veldrane
