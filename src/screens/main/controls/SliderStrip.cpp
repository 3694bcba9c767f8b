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
    const int lastPosition = (width - 1 - firstWidth) / stepWidth + 2;
    const int lastStart = firstWidth + (lastPosition - 2) * stepWidth;
    const double first = std::max(firstWidth / 2.0, radius);
    const double last = std::min((lastStart + width) / 2.0, width - radius);
    const int steps = std::clamp<int>(position, 1, lastPosition) - 1;
    return first + (last - first) * steps / (lastPosition - 1);
}

} // namespace veldrane
