#pragma once

#include <string_view>

#include "ports/Geometry.h"

class QImage;
class QPainter;

namespace veldrane {

class SkinImageCache;

// Paints a prepared picture at `at` in its own size: blended source-over by its per-pixel alpha,
// so alpha 0 leaves the target as it was.
void DrawSkinImage(QPainter& painter, const QImage& picture, Point at);

// Paints a picture of the skin; false, and nothing painted, when it is missing.
bool DrawSkinImage(QPainter& painter, SkinImageCache& images, std::string_view skinRelativePath, Point at);

} // namespace veldrane
