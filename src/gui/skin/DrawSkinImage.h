#pragma once

#include <QtGlobal>

#include <string_view>

#include "ports/Geometry.h"

class QImage;
class QPainter;

namespace veldrane {

class SkinImageCache;

// Paints a prepared picture at `at` in its own size (in the painter's units: a 2x picture covers
// half its pixels): blended source-over by its per-pixel alpha, so alpha 0 leaves the target as
// it was. Where the picture's pixel ratio is not the target's it is resampled smoothly.
void DrawSkinImage(QPainter& painter, const QImage& picture, Point at);

// The pixel ratio of the surface a painter's pixels go to.
qreal DevicePixelRatioOf(const QPainter& painter);

// Paints a picture of the skin at the scale of the painter's device; false, and nothing painted,
// when it is missing.
bool DrawSkinImage(QPainter& painter, SkinImageCache& images, std::string_view skinRelativePath, Point at);

} // namespace veldrane
