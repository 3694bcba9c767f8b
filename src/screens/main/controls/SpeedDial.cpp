#include "screens/main/controls/SpeedDial.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "screens/main/controls/DialRing.h"

namespace veldrane {

namespace {

constexpr DialRing kRing{43, 71};
constexpr double kDegreesPerRadian = 57.295780490442965;
constexpr double kDegreesPerPosition = 18.0;
constexpr double kRightEndPosition = 12.0;
constexpr double kStraightUp = 90.0;

// θ in degrees from the right-hand horizontal, counter-clockwise, for a point not below the
// centre. Left of the centre the angle is measured from the vertical and 90 added; on the left
// horizontal that is 180, without dividing by the zero height.
double AngleOf(int dx, int dy)
{
    const double across = std::abs(dx);
    const double up = std::abs(dy);
    if (dx > 0) {
        return std::atan(up / across) * kDegreesPerRadian;
    }
    if (dx < 0) {
        return dy == 0 ? 2 * kStraightUp : kStraightUp + std::atan(across / up) * kDegreesPerRadian;
    }
    return kStraightUp;
}

} // namespace

std::optional<std::uint8_t> SpeedDialPositionAt(int dx, int dy)
{
    if (dy > 0 || !kRing.Contains(dx, dy)) {
        return std::nullopt;
    }
    return SpeedDialPositionTowards(dx, dy);
}

std::optional<std::uint8_t> SpeedDialPositionTowards(int dx, int dy)
{
    if (dx == 0 && dy >= 0) {
        return std::nullopt;
    }
    return static_cast<std::uint8_t>(
        std::floor(kRightEndPosition - AngleOf(dx, std::min(dy, 0)) / kDegreesPerPosition));
}

} // namespace veldrane
