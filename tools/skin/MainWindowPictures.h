#pragma once

namespace veldrane {

class SkinCanvas;

// The main window's frame and its buttons. number is kNormal or kOver where a picture has both.
void PaintMainBackground(SkinCanvas& canvas, int number);
void PaintHelpButton(SkinCanvas& canvas, int number);
void PaintMinimiseButton(SkinCanvas& canvas, int number);
void PaintCloseButton(SkinCanvas& canvas, int number);
// The bottom row; their labels are drawn over them in the interface language.
void PaintSteelButton(SkinCanvas& canvas, int number);
void PaintAccentButton(SkinCanvas& canvas, int number);
// Folding header rows of both panels, closed and open.
void PaintSectionHeader(SkinCanvas& canvas, int number);
void PaintSectionHeaderOpen(SkinCanvas& canvas, int number);
void PaintViewButton(SkinCanvas& canvas, int number);
void PaintScrollThumb(SkinCanvas& canvas, int number);

} // namespace veldrane
