#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

namespace veldrane {

// Where a window of this size goes on a screen: centred in the screen's available area (the
// part no panel or dock covers), its top-left corner kept inside that area when the window is
// larger, so its title bar and close button can always be reached.
QPoint PlaceWithin(const QRect& available, const QSize& window);

// The factor by which a window must shrink to fit an available area of this size: 1 where it
// fits, otherwise the smaller of the two sides' ratios, rounded down to a hundredth so that the
// rounding of the scaled window never makes it a pixel too large.
qreal FitScale(const QSize& available, const QSize& window);

} // namespace veldrane
