#pragma once

namespace veldrane {

class SkinCanvas;

// Section backgrounds and the state pictures of the settings controls.
void PaintCpiSection(SkinCanvas& canvas, int number);
void PaintCpiValueBox(SkinCanvas& canvas, int number);
// number: the stage's value ÷ 2, 0 to 82.
void PaintCpiTrack(SkinCanvas& canvas, int number);
// number: 1 lit (enabled, selected), 0 dark.
void PaintSwitchLamp(SkinCanvas& canvas, int number);
void PaintReportRateSection(SkinCanvas& canvas, int number);
// number: the report frequency in Hz, 125, 250, 500 or 1000.
void PaintReportRateDial(SkinCanvas& canvas, int number);
void PaintSensitivitySection(SkinCanvas& canvas, int number);
// number: slider position 1 to 11.
void PaintStageSlider(SkinCanvas& canvas, int number);
void PaintAngleSnapSection(SkinCanvas& canvas, int number);
void PaintAngleSnapIllustration(SkinCanvas& canvas, int number);
void PaintLightingSection(SkinCanvas& canvas, int number);
// number: light level 1 to 6.
void PaintLightingSlider(SkinCanvas& canvas, int number);
void PaintSideLightSection(SkinCanvas& canvas, int number);
void PaintSpeedSection(SkinCanvas& canvas, int number);
// number: dial position 1 to 12.
void PaintSpeedDial(SkinCanvas& canvas, int number);
void PaintScrollSection(SkinCanvas& canvas, int number);
void PaintScrollOption(SkinCanvas& canvas, int number);
void PaintScrollLinesField(SkinCanvas& canvas, int number);
// number: 0 up, 1 down.
void PaintScrollStep(SkinCanvas& canvas, int number);
// number: the rows of the view, 7 (front) or 5 (side).
void PaintAssignmentSection(SkinCanvas& canvas, int number);
void PaintDropdownBox(SkinCanvas& canvas, int number);

} // namespace veldrane
