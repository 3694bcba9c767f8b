#include "screens/main/controls/DialRing.h"

namespace veldrane {

bool DialRing::Contains(int dx, int dy) const
{
    // Squares of whole pixels: the same ring as comparing the square root, without rounding.
    const long long squared = static_cast<long long>(dx) * dx + static_cast<long long>(dy) * dy;
    return squared >= static_cast<long long>(inner) * inner && squared <= static_cast<long long>(outer) * outer;
}

} // namespace veldrane
