#include "core/settings/CpiStage.h"

#include <algorithm>

namespace veldrane {

namespace {

// A press d pixels above the track's bottom edge, less the 3 pixels of the track's foot, gives
// d + 2; anything in the foot gives the lowest value.
constexpr int kTrackFoot = 3;
constexpr int kValueOverFoot = 2;

} // namespace

std::uint8_t CpiValueAtTrackRow(int row)
{
    const int aboveFoot = kCpiTrackHeight - row - kTrackFoot;
    if (aboveFoot < 0) {
        return 1;
    }
    return static_cast<std::uint8_t>(std::min(aboveFoot + kValueOverFoot, int{kMaxCpiValue}));
}

int CpiTrackPictureOf(std::uint8_t cpiValue)
{
    return cpiValue / 2;
}

int DisplayedCpiOf(std::uint8_t cpiValue)
{
    return cpiValue * kCpiUnit;
}

std::uint8_t ToggledStageSwitch(std::uint8_t cpiEnabled)
{
    return cpiEnabled == 0 ? 1 : 0;
}

} // namespace veldrane
