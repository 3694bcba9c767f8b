#include "settings/SliderStrip.h"

namespace veldrane {

std::uint8_t SliderStrip::PositionAt(int offset) const
{
    const int pastFirst = offset - firstWidth;
    if (pastFirst < 0) {
        return 1;
    }
    return static_cast<std::uint8_t>(pastFirst / stepWidth + 2);
}

} // namespace veldrane
