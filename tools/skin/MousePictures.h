#pragma once

namespace veldrane {

class SkinCanvas;

// The mouse from above (Buttons 1 to 7) and from its left side (Buttons 8 to 12). number 0 is
// the plain view; a row number highlights the button shown in that row of the assignment section.
void PaintMouseFront(SkinCanvas& canvas, int number);
void PaintMouseSide(SkinCanvas& canvas, int number);

} // namespace veldrane
