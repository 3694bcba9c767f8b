#include "SkinTable.h"

#include "DialogPictures.h"
#include "MainWindowPictures.h"
#include "MousePictures.h"
#include "SettingsPictures.h"
#include "SkinLayout.h"

#include <cstdio>

namespace veldrane {

namespace {

constexpr int kLit = 1;
constexpr int kDark = 0;
constexpr int kUp = 0;
constexpr int kDown = 1;
// The view button of the view that shows.
constexpr int kViewButtonDown = 2;

struct PictureSize
{
    int width;
    int height;
};

// A button picture is as large as its hot area.
constexpr PictureSize HotArea(int left, int top, int right, int bottom)
{
    return {right - left, bottom - top};
}

constexpr SkinPictureRow Single(std::string_view path, PictureSize size, SkinPainter paint, int number = 0)
{
    return {path, size.width, size.height, paint, number, number};
}

constexpr SkinPictureRow Family(std::string_view path, int first, int last, PictureSize size, SkinPainter paint)
{
    return {path, size.width, size.height, paint, first, last};
}

// A row of control pictures that light up under the pointer.
constexpr SkinPictureRow Lit(SkinPictureRow row)
{
    row.lit = true;
    return row;
}

constexpr PictureSize kSection(int height)
{
    return {kSectionWidth, height};
}

} // namespace

const std::vector<SkinPictureRow>& SkinTable()
{
    static const std::vector<SkinPictureRow> rows = {
        // Main window: background, title-bar buttons, bottom row.
        Single("/main.png", {kMainWidth, kMainHeight}, PaintMainBackground),
        Single("/button-help-normal.png", HotArea(937, 5, 952, 20), PaintHelpButton, kNormal),
        Single("/button-help-over.png", HotArea(937, 5, 952, 20), PaintHelpButton, kOver),
        Single("/button-min-normal.png", HotArea(958, 5, 973, 20), PaintMinimiseButton, kNormal),
        Single("/button-min-over.png", HotArea(958, 5, 973, 20), PaintMinimiseButton, kOver),
        Single("/button-close-normal.png", HotArea(979, 5, 994, 20), PaintCloseButton, kNormal),
        Single("/button-close-over.png", HotArea(979, 5, 994, 20), PaintCloseButton, kOver),
        Single("/button-config-normal.png", HotArea(18, 604, 90, 634), PaintSteelButton, kNormal),
        Single("/button-config-over.png", HotArea(18, 604, 90, 634), PaintSteelButton, kOver),
        Single("/button-cancel-normal.png", HotArea(860, 604, 917, 634), PaintSteelButton, kNormal),
        Single("/button-cancel-over.png", HotArea(860, 604, 917, 634), PaintSteelButton, kOver),
        Single("/button-save-normal.png", HotArea(923, 604, 980, 634), PaintAccentButton, kNormal),
        Single("/button-save-over.png", HotArea(923, 604, 980, 634), PaintAccentButton, kOver),
        // Folding section headers of both panels, the view buttons and the panel's scroll thumb.
        Single("/Menu/Section-normal.png", HotArea(734, 32, 976, 52), PaintSectionHeader, kNormal),
        Single("/Menu/Section-over.png", HotArea(734, 32, 976, 52), PaintSectionHeader, kOver),
        Single("/Menu/SectionOpen-normal.png", HotArea(734, 32, 976, 52), PaintSectionHeaderOpen, kNormal),
        Single("/Menu/SectionOpen-over.png", HotArea(734, 32, 976, 52), PaintSectionHeaderOpen, kOver),
        Single("/Mouse/ViewButton-normal.png", HotArea(500, 527, 562, 556), PaintViewButton, kNormal),
        Single("/Mouse/ViewButton-over.png", HotArea(500, 527, 562, 556), PaintViewButton, kOver),
        Single("/Mouse/ViewButton-down.png", HotArea(500, 527, 562, 556), PaintViewButton, kViewButtonDown),
        Single("/ScrollThumb.png", {kScrollThumbWidth, kScrollThumbHeight}, PaintScrollThumb),

        // The mouse: plain views and one picture per assignment row with that row's button lit.
        Single("/Mouse/Front/MouseFront.png", {kMouseWidth, kMouseHeight}, PaintMouseFront, 0),
        Family("/Mouse/Front/F-%d-over.png", 1, kFrontRows, {kMouseWidth, kMouseHeight}, PaintMouseFront),
        Single("/Mouse/Side/MouseSide.png", {kMouseWidth, kMouseHeight}, PaintMouseSide, 0),
        Family("/Mouse/Side/S-%d-over.png", 1, kSideRows, {kMouseWidth, kMouseHeight}, PaintMouseSide),

        // Button assignment.
        Single("/ButtonAssignment/BK_ButtonAssignment.png", kSection(AssignmentSectionHeight(kFrontRows)),
               PaintAssignmentSection, kFrontRows),
        Single("/ButtonAssignment/BK_ButtonAssignment-Side.png", kSection(AssignmentSectionHeight(kSideRows)),
               PaintAssignmentSection, kSideRows),
        Single("/ButtonAssignment/DropdownBox-normal.png", HotArea(120, 154, 250, 170), PaintDropdownBox, kNormal),
        Single("/ButtonAssignment/DropdownBox-over.png", HotArea(120, 154, 250, 170), PaintDropdownBox, kOver),
        Single("/ButtonAssignment/DropdownBox-leave.png", HotArea(120, 154, 250, 170), PaintDropdownBox, kNormal),

        // CPI stages: one track picture per value ÷ 2, 0 (50 CPI) to 82 (8200 CPI).
        Single("/DPISetting/BK_DPISetting.png", kSection(kCpiSectionHeight), PaintCpiSection),
        Single("/DPISetting/BK-DPIValue.png", {kCpiValueBoxWidth, kCpiValueBoxHeight}, PaintCpiValueBox),
        Lit(Family("/DPISetting/DPIStage/%d.png", 0, 82, HotArea(775, 58, 782, 228), PaintCpiTrack)),
        Lit(Single("/Enable.png", HotArea(772, 251, 782, 260), PaintSwitchLamp, kLit)),
        Lit(Single("/Disable.png", HotArea(772, 251, 782, 260), PaintSwitchLamp, kDark)),

        // Report rate: the dial's background and its four states.
        Single("/USBReportRate/BK_USBReportRate.png", kSection(kReportSectionHeight), PaintReportRateSection),
        Lit(Single("/USBReportRate/125HZ.png", {kDialSquare, kDialSquare}, PaintReportRateDial, 125)),
        Lit(Single("/USBReportRate/250HZ.png", {kDialSquare, kDialSquare}, PaintReportRateDial, 250)),
        Lit(Single("/USBReportRate/500HZ.png", {kDialSquare, kDialSquare}, PaintReportRateDial, 500)),
        Lit(Single("/USBReportRate/1000HZ.png", {kDialSquare, kDialSquare}, PaintReportRateDial, 1000)),

        // Sensitivity and angle snap: 208 x 9 strips with the knob at positions 1 to 11.
        Single("/XYSensitivity/BK_XYSensSetting.png", kSection(kSensitivitySectionHeight), PaintSensitivitySection),
        Lit(Family("/StageSlider/%d.png", 1, 11, {kStageStripWidth, kStageStripHeight}, PaintStageSlider)),
        Single("/AngleSnap/BK_AngleSnap.png", kSection(kAngleSnapSectionHeight), PaintAngleSnapSection),
        Family("/AngleSnap/%d.png", 1, 11, {kAngleSnapArtWidth, kAngleSnapArtHeight}, PaintAngleSnapIllustration),

        // Lighting: 128 x 8 strips with the knob at levels 1 to 6, and the side-button light.
        Single("/Lighting/BK_Lighting.png", kSection(kLightingSectionHeight), PaintLightingSection),
        Lit(Family("/Lighting/%d.png", 1, 6, {kLightStripWidth, kLightStripHeight}, PaintLightingSlider)),
        Single("/MacroManagementBK.png", kSection(kSideLightSectionHeight), PaintSideLightSection),

        // Pointer settings: the half-disc dials at positions 1 to 12 and the scroll section.
        Single("/MouseAttribute/BK_MouseAttribute.png", kSection(kSpeedSectionHeight), PaintSpeedSection),
        Lit(Family("/MouseAttribute/Speed/%d.png", 1, 12, {kSpeedDialWidth, kSpeedDialHeight}, PaintSpeedDial)),
        Single("/MouseAttribute/BK_ScrollSpeed.png", kSection(kScrollSectionHeight), PaintScrollSection),
        Lit(Single("/MouseAttribute/ScrollSpeed/Enable.png", {12, 12}, PaintScrollOption, kLit)),
        Lit(Single("/MouseAttribute/ScrollSpeed/Disable.png", {12, 12}, PaintScrollOption, kDark)),
        Single("/MouseAttribute/ScrollSpeed/ScrollLines.png", {kScrollLinesWidth, kScrollLinesHeight},
               PaintScrollLinesField),
        Lit(Single("/MouseAttribute/ScrollSpeed/Up.png", {10, 6}, PaintScrollStep, kUp)),
        Lit(Single("/MouseAttribute/ScrollSpeed/Down.png", {10, 6}, PaintScrollStep, kDown)),

        // Help panel and profile manager.
        Single("/Help/HelpWindow.png", {kHelpWidth, kHelpHeight}, PaintHelpWindow),
        Single("/Config/Config.png", {kConfigWidth, kConfigHeight}, PaintConfigWindow),
        Single("/Config/New-Config.png", {kConfigWidth, kConfigHeight - kConfigNewTop}, PaintNewConfigRow),

        // Capture dialogs and the macro key dialog; their OK and Cancel use the New button.
        Single("/single-key.png", {kCaptureWidth, kCaptureHeight}, PaintSingleKeyDialog),
        Single("/combo-key.png", {kCaptureWidth, kCaptureHeight}, PaintComboKeyDialog),
        Single("/macro-key.png", {kMacroKeyWidth, kCaptureHeight}, PaintMacroKeyDialog),
        Single("/Pane.png", HotArea(220, 78, 236, 94), PaintTickBox, kDark),
        Single("/PaneMakingTick.png", HotArea(220, 78, 236, 94), PaintTickBox, kLit),

        // Macro manager.
        Single("/MacroManagement/MacroManagement.png", {kMacroManagerWidth, kMacroManagerHeight}, PaintMacroManager),
        Single("/MacroManagement/button-new-normal.png", HotArea(17, 367, 75, 392), PaintDialogButton, kNormal),
        Single("/MacroManagement/button-new-over.png", HotArea(17, 367, 75, 392), PaintDialogButton, kOver),
        Single("/MacroManagement/button-cancel-normal.png", HotArea(298, 394, 352, 422), PaintDialogButton, kNormal),
        Single("/MacroManagement/button-cancel-over.png", HotArea(298, 394, 352, 422), PaintDialogButton, kOver),
        Single("/MacroManagement/Record-normal.png", HotArea(295, 87, 384, 111), PaintRecordButton, kNormal),
        Single("/MacroManagement/Record-over.png", HotArea(295, 87, 384, 111), PaintRecordButton, kOver),
        Single("/MacroManagement/Pane.png", HotArea(370, 144, 384, 158), PaintTickBox, kDark),
        Single("/MacroManagement/PaneMakingTick.png", HotArea(370, 144, 384, 158), PaintTickBox, kLit),
        Single("/macro-button-close-normal.png", HotArea(427, 17, 478, 41), PaintMacroCloseButton, kNormal),
        Single("/macro-button-close-over.png", HotArea(427, 17, 478, 41), PaintMacroCloseButton, kOver),
    };
    return rows;
}

std::vector<SkinPicture> ExpandSkinTable(const std::vector<SkinPictureRow>& rows)
{
    std::vector<SkinPicture> pictures;
    for (const SkinPictureRow& row : rows) {
        const std::string pattern(row.path);
        const bool family = pattern.find("%d") != std::string::npos;
        for (int number = row.first; number <= row.last; ++number) {
            std::string path = pattern;
            if (family) {
                char digits[16];
                std::snprintf(digits, sizeof digits, "%d", number);
                path.replace(pattern.find("%d"), 2, digits);
            }
            pictures.push_back({path, QSize(row.width, row.height), row.paint, number});
            if (row.lit) {
                path.insert(path.size() - std::string_view(".png").size(), "-over");
                pictures.push_back({path, QSize(row.width, row.height), row.paint, number, true});
            }
        }
    }
    return pictures;
}

} // namespace veldrane
