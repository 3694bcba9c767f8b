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

} // namespace veldrane
