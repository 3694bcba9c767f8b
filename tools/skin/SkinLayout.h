#pragma once

#include <QPointF>
#include <QRectF>

namespace veldrane {

// Where the default skin expects its pictures to be drawn. Rectangles are left, top, right,
// bottom with the right and bottom edges outside, as the windows' hot areas are given.
struct PixelRect
{
    int left;
    int top;
    int right;
    int bottom;

    constexpr int Width() const { return right - left; }
    constexpr int Height() const { return bottom - top; }
    QRectF ToRectF() const { return QRectF(left, top, Width(), Height()); }
};

// Main window: large enough for the close button (right edge 994) and the bottom row (634).
inline constexpr int kMainWidth = 1000;
inline constexpr int kMainHeight = 640;
inline constexpr int kTitleBarHeight = 32;
inline constexpr int kBottomBarTop = 598;
inline constexpr PixelRect kLeftPanel{12, 40, 270, 598};
inline constexpr PixelRect kRightPanel{726, 30, 998, 598};
inline constexpr PixelRect kScrollGroove{984, 32, 994, 596};
inline constexpr PixelRect kViewButtons{437, 527, 562, 556};

// Both panels hold rows 242 pixels wide: the left menu (20 to 262) and the right one (734 to
// 976). Every section background is drawn at its content origin, the first pixel row under its
// header, and is as wide as a row.
inline constexpr int kSectionWidth = 242;
inline constexpr int kHeaderHeight = 20;

// "CPI Setting" open at the top of the right panel has its content origin at (734, 52), so the
// window's track rectangles (left 775 + 50 (k - 1), top 58, 7 x 170) sit at these offsets.
inline constexpr QPointF kCpiOrigin{734, 52};
inline constexpr int kCpiTrackLeft = 775 - 734;
inline constexpr int kCpiTrackTop = 58 - 52;
inline constexpr int kCpiTrackWidth = 7;
inline constexpr int kCpiTrackHeight = 228 - 58;
inline constexpr int kCpiStagePitch = 50;
inline constexpr int kCpiValueBoxLeft = 22;
inline constexpr int kCpiValueBoxTop = kCpiTrackTop + kCpiTrackHeight + 2;
inline constexpr int kCpiValueBoxWidth = 44;
inline constexpr int kCpiValueBoxHeight = 18;
inline constexpr int kCpiSwitchTop = 251 - 52;
inline constexpr int kCpiSwatchTop = 265 - 52;
inline constexpr int kCpiSectionHeight = 232;

// "USB Report Rate": the 128 x 128 dial square inside its section background.
inline constexpr int kDialSquare = 128;
inline constexpr QPointF kReportDialOrigin{57, 6};
inline constexpr int kReportSectionHeight = 140;

// "Mouse Speed" and "Double Click Speed": the 142 x 83 half-disc dial, centre 71, 71 inside it.
inline constexpr int kSpeedDialWidth = 142;
inline constexpr int kSpeedDialHeight = 83;
inline constexpr qreal kSpeedDialCentre = 71;
inline constexpr QPointF kSpeedDialOrigin{50, 8};
inline constexpr int kSpeedSectionHeight = 110;

// Horizontal sliders: 208 x 9 strips (sensitivity, angle snap) and 128 x 8 strips (lighting).
inline constexpr int kStageStripWidth = 208;
inline constexpr int kStageStripHeight = 9;
inline constexpr int kLightStripWidth = 128;
inline constexpr int kLightStripHeight = 8;
inline constexpr int kStripLeft = 17;
inline constexpr int kSensitivityXTop = 24;
inline constexpr int kSensitivityYTop = kSensitivityXTop + 60;
inline constexpr int kSensitivitySectionHeight = 118;
inline constexpr int kAngleSnapArtWidth = 207;
inline constexpr int kAngleSnapArtHeight = 85;
inline constexpr QPointF kAngleSnapArtOrigin{17, 8};
inline constexpr int kAngleSnapStripTop = 97;
inline constexpr int kAngleSnapSectionHeight = 130;

// "Lighting": rows 29 pixels apart from 20, box at 10, strip from 100 to 228.
inline constexpr int kLightRowTop = 20;
inline constexpr int kLightRowPitch = 29;
inline constexpr int kLightStripLeft = 100;
inline constexpr int kLightingSectionHeight = 110;
inline constexpr int kSideLightSectionHeight = 40;

// "Scroll Speed": two 12 x 12 option boxes 35 pixels apart, the line-count field and its arrows.
inline constexpr QPointF kScrollOptionOrigin{20, 12};
inline constexpr int kScrollOptionPitch = 35;
inline constexpr int kScrollLinesWidth = 48;
inline constexpr int kScrollLinesHeight = 20;
inline constexpr int kScrollSectionHeight = 80;

// "Button Assignment" opens under the left panel's first row; the dropdown box of row r is
// (120, 134 + 20 r, 250, 150 + 20 r) in the window, so its section starts at (20, 130).
inline constexpr QPointF kAssignmentOrigin{20, 130};
inline constexpr int kDropdownWidth = 250 - 120;
inline constexpr int kDropdownHeight = 16;
inline constexpr int kAssignmentRowPitch = 20;
inline constexpr int kFrontRows = 7;
inline constexpr int kSideRows = 5;
inline constexpr int AssignmentSectionHeight(int rows)
{
    return 154 - 130 + rows * kAssignmentRowPitch + 6;
}

// The mouse pictures: both views are one size, centred over the "Side" and "Top" buttons.
inline constexpr int kMouseWidth = 400;
inline constexpr int kMouseHeight = 440;
inline constexpr QPointF kMouseOrigin{300, 76};

inline constexpr int kScrollThumbWidth = 10;
inline constexpr int kScrollThumbHeight = 60;

// Dialogs. The capture dialogs hold OK and Cancel (250 to 372, 250 to 275) and the close area
// (352, 6, 370, 24); the macro key dialog's mode texts reach 390.
inline constexpr int kHelpWidth = 166;
inline constexpr int kHelpHeight = 78;
inline constexpr int kConfigWidth = 263;
inline constexpr int kConfigHeight = 598;
inline constexpr int kConfigTitleHeight = 31;
inline constexpr int kConfigNewTop = 575;
inline constexpr int kCaptureWidth = 384;
inline constexpr int kCaptureHeight = 286;
inline constexpr int kMacroKeyWidth = 400;
inline constexpr int kMacroManagerWidth = 500;
inline constexpr int kMacroManagerHeight = 440;
inline constexpr int kDialogTitleHeight = 30;

} // namespace veldrane
