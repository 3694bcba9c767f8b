#pragma once

#include <string_view>

#include "ports/Geometry.h"
#include "ports/SkinCanvas.h"

namespace veldrane {

// The fixed hot areas of the main window, in window pixels (the window is as large as "/main.png").
inline constexpr Rect kLogoArea{30, 0, 262, 32};
inline constexpr Rect kHelpButton{937, 5, 952, 20};
inline constexpr Rect kMinimiseButton{958, 5, 973, 20};
inline constexpr Rect kCloseButton{979, 5, 994, 20};
inline constexpr Rect kConfigButton{18, 604, 90, 634};
inline constexpr Rect kResetButton{798, 604, 855, 634};
inline constexpr Rect kCancelButton{860, 604, 917, 634};
inline constexpr Rect kSaveButton{923, 604, 980, 634};
inline constexpr Rect kTopViewButton{500, 527, 562, 556};
inline constexpr Rect kSideViewButton{437, 527, 499, 556};

// The box the picture of the mouse is centred in, between the two panels: a 400 x 440 picture
// lands at (300, 76), above the view buttons.
inline constexpr Rect kMouseArea{270, 56, 730, 536};

// Under the mouse, either side of the view buttons: whether the mouse is connected (a lamp at the
// right end and the text left of it) and the name of the profile being edited.
inline constexpr Rect kConnectionStateArea{272, 527, 432, 556};
inline constexpr Rect kConnectionLamp{424, 538, 432, 546};
inline constexpr Rect kProfileNameArea{568, 527, 728, 556};

// The ring around the control with the keyboard focus: the skin's bright red, two pixels wide,
// drawn just outside the control.
inline constexpr Colour kFocusRingColour{0xe8, 0x33, 0x2b, 255};
inline constexpr int kFocusRingWidth = 2;

// The size the window takes when "/main.png" is missing, so that every hot area stays reachable.
inline constexpr Size kFallbackWindowSize{1000, 640};

// Pictures of the window's own buttons; "Reset" and "Cancel" share one pair.
inline constexpr std::string_view kMainBackground = "/main.png";
inline constexpr std::string_view kHelpNormal = "/button-help-normal.png";
inline constexpr std::string_view kHelpOver = "/button-help-over.png";
inline constexpr std::string_view kMinimiseNormal = "/button-min-normal.png";
inline constexpr std::string_view kMinimiseOver = "/button-min-over.png";
inline constexpr std::string_view kCloseNormal = "/button-close-normal.png";
inline constexpr std::string_view kCloseOver = "/button-close-over.png";
inline constexpr std::string_view kConfigNormal = "/button-config-normal.png";
inline constexpr std::string_view kConfigOver = "/button-config-over.png";
inline constexpr std::string_view kCancelNormal = "/button-cancel-normal.png";
inline constexpr std::string_view kCancelOver = "/button-cancel-over.png";
inline constexpr std::string_view kSaveNormal = "/button-save-normal.png";
inline constexpr std::string_view kSaveOver = "/button-save-over.png";

// The two views of the mouse.
inline constexpr std::string_view kMouseFrontPicture = "/Mouse/Front/MouseFront.png";
inline constexpr std::string_view kMouseSidePicture = "/Mouse/Side/MouseSide.png";

// The two view buttons share one set of pictures; the button of the view that shows is down.
inline constexpr std::string_view kViewButtonNormal = "/Mouse/ViewButton-normal.png";
inline constexpr std::string_view kViewButtonOver = "/Mouse/ViewButton-over.png";
inline constexpr std::string_view kViewButtonDown = "/Mouse/ViewButton-down.png";

// The header bar of a folding row in either panel (242 x 20), shut and open.
inline constexpr std::string_view kSectionHeaderNormal = "/Menu/Section-normal.png";
inline constexpr std::string_view kSectionHeaderOver = "/Menu/Section-over.png";
inline constexpr std::string_view kOpenSectionHeaderNormal = "/Menu/SectionOpen-normal.png";
inline constexpr std::string_view kOpenSectionHeaderOver = "/Menu/SectionOpen-over.png";

// The thumb of the right panel's scroll bar.
inline constexpr std::string_view kScrollThumbPicture = "/ScrollThumb.png";

} // namespace veldrane
