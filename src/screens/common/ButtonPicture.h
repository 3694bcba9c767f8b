#pragma once

#include <string_view>

#include "ports/Geometry.h"
#include "ports/SkinCanvas.h"

namespace veldrane {

// Paints a button's picture at the top-left corner of its area. Where the skin lacks the picture
// the area is drawn plain, with `mark` (a close button's "×") in the skin's light grey on it, so
// that a place that takes clicks is never unseen; a button that carries its own text passes no mark.
void DrawButtonPicture(SkinCanvas& canvas, std::string_view picture, Rect area, std::string_view mark = {});

// The marks of a close button and of a ticked box without their pictures.
inline constexpr std::string_view kCloseMark = "×";
inline constexpr std::string_view kTickMark = "x";

} // namespace veldrane
