#include "screens/main/controls/SliderStrip.h"

#include <algorithm>

namespace veldrane {

std::uint8_t SliderStrip::PositionAt(int offset) const
{
    const int pastFirst = std::clamp(offset, 0, width - 1) - firstWidth;
    if (pastFirst < 0) {
        return 1;
    }
    return static_cast<std::uint8_t>(pastFirst / stepWidth + 2);
}

double SliderStrip::KnobCentre(std::uint8_t position) const
{
    const double radius = height / 2.0;
    if (position <= 1) {
        return std::max(firstWidth / 2.0, radius);
    }
    const int lastPosition = (width - 1 - firstWidth) / stepWidth + 2;
    if (position >= lastPosition) {
        const int lastStart = firstWidth + (lastPosition - 2) * stepWidth;
        return std::min((lastStart + width) / 2.0, width - radius);
    }
    return firstWidth + (position - 2) * stepWidth + stepWidth / 2.0;
}

} // namespace veldrane
