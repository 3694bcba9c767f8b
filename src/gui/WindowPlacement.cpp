#include "gui/WindowPlacement.h"

#include <algorithm>
#include <cmath>

namespace veldrane {

QPoint PlaceWithin(const QRect& available, const QSize& window)
{
    auto along = [](int start, int room, int length) { return start + std::max(0, (room - length) / 2); };
    return {along(available.left(), available.width(), window.width()),
            along(available.top(), available.height(), window.height())};
}

qreal FitScale(const QSize& available, const QSize& window)
{
    if (window.isEmpty() || available.isEmpty()) {
        return 1.0;
    }
    const qreal fit = std::min(static_cast<qreal>(available.width()) / window.width(),
                               static_cast<qreal>(available.height()) / window.height());
    return fit >= 1.0 ? 1.0 : std::floor(fit * 100.0) / 100.0;
}

} // namespace veldrane
