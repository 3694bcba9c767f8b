#pragma once

namespace veldrane {

class SkinCanvas;

// Backgrounds and buttons of the help panel, the profile manager and the modal dialogs.
void PaintHelpWindow(SkinCanvas& canvas, int number);
void PaintConfigWindow(SkinCanvas& canvas, int number);
void PaintNewConfigRow(SkinCanvas& canvas, int number);
void PaintSingleKeyDialog(SkinCanvas& canvas, int number);
void PaintComboKeyDialog(SkinCanvas& canvas, int number);
void PaintMacroKeyDialog(SkinCanvas& canvas, int number);
void PaintMacroManager(SkinCanvas& canvas, int number);
// OK, Cancel, New and Delete; their texts are drawn over them. number is kNormal or kOver.
void PaintDialogButton(SkinCanvas& canvas, int number);
void PaintRecordButton(SkinCanvas& canvas, int number);
void PaintMacroCloseButton(SkinCanvas& canvas, int number);
// number: 1 ticked, 0 empty.
void PaintTickBox(SkinCanvas& canvas, int number);

} // namespace veldrane
