#pragma once

#include <string_view>

#include "ports/Geometry.h"
#include "ports/SkinCanvas.h"

namespace veldrane {

// The macro manager's surface in dialog pixels (the dialog is as large as its background).

// Areas that act on a left press.
inline constexpr Rect kMacroOkArea{298, 394, 352, 422};
inline constexpr Rect kMacroCancelArea{354, 394, 408, 422};
inline constexpr Rect kMacroCloseArea{427, 17, 478, 41};
inline constexpr Rect kMacroRecordArea{295, 87, 384, 111};
inline constexpr Rect kMacroDelayBox{370, 144, 384, 158};
inline constexpr Rect kMacroLoopBox{296, 314, 310, 328};
inline constexpr Rect kMacroNewArea{17, 367, 75, 392};
inline constexpr Rect kMacroDeleteArea{77, 367, 135, 392};

// The controls over the surface.
inline constexpr Rect kMacroListRect{21, 82, 130, 353};
inline constexpr Rect kEventListRect{153, 82, 262, 353};
inline constexpr Rect kLoopFieldRect{298, 333, 379, 345};

// Where the texts stand that are not on a picture of their own.
inline constexpr Rect kMacroTitleRect{20, 17, 420, 41};
inline constexpr Rect kSelectMacroRect{21, 60, 130, 76};
inline constexpr Rect kKeyPressSequenceRect{146, 60, 269, 76};
inline constexpr Rect kRecordOptionRect{296, 66, 480, 84};
inline constexpr Rect kRecordDelaysRect{292, 162, 484, 196}; // two lines under the delay box
inline constexpr Rect kLoopTimesRect{316, 312, 480, 330};
// While a recording runs, how to stop it, word-wrapped under the delay box's text.
inline constexpr Rect kRecordingHintRect{292, 204, 484, 248};

// The size the dialog takes when its background is missing, so that OK and Cancel stay reachable.
inline constexpr Size kMacroManagerFallbackSize{500, 440};

// Pictures, relative to the skin directory.
inline constexpr std::string_view kMacroManagerBackground = "/MacroManagement/MacroManagement.png";
inline constexpr std::string_view kMacroOkCancelNormal = "/MacroManagement/button-cancel-normal.png";
inline constexpr std::string_view kMacroOkCancelOver = "/MacroManagement/button-cancel-over.png";
inline constexpr std::string_view kMacroNewDeleteNormal = "/MacroManagement/button-new-normal.png";
inline constexpr std::string_view kMacroNewDeleteOver = "/MacroManagement/button-new-over.png";
inline constexpr std::string_view kMacroCloseNormal = "/macro-button-close-normal.png";
inline constexpr std::string_view kMacroCloseOver = "/macro-button-close-over.png";
inline constexpr std::string_view kMacroRecordPicture = "/MacroManagement/Record-normal.png";
inline constexpr std::string_view kMacroBoxUnticked = "/MacroManagement/Pane.png";
inline constexpr std::string_view kMacroBoxTicked = "/MacroManagement/PaneMakingTick.png";

// The lists are drawn transparent over the wells of the background picture, the loop-count field
// on the dark brush; both in the skin's text colour.
inline constexpr Colour kLoopFieldBrush{34, 24, 21, 255};

// The wheel scrolls the event list by this many lines per notch.
inline constexpr int kEventListWheelLines = 3;

// The command ids of the event list's menu "MacroList", in menu order.
enum class EventListCommand
{
    DeleteLine = 32772,
    InsertLeftButton = 32784,
    InsertMiddleButton = 32785,
    InsertRightButton = 32786,
    InsertDelay = 32794,
};

} // namespace veldrane
