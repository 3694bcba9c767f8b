#include "app/sections/SettingsSections.h"

#include <memory>
#include <string>

#include "app/AppContext.h"
#include "app/MainWindowModel.h"
#include "app/sections/AngleSnapSection.h"
#include "app/sections/CpiSection.h"
#include "app/sections/LightingSection.h"
#include "app/sections/ReportRateSection.h"
#include "app/sections/ScrollSpeedSection.h"
#include "app/sections/SensitivitySection.h"
#include "app/sections/SideLightSection.h"
#include "app/sections/SpeedDialSection.h"
#include "profile/ConfigFiles.h"
#include "profile/ProfileRecord.h"
#include "settings/PointerSettingValues.h"
#include "text/MainWindowTexts.h"
#include "text/WindowStateTexts.h"

namespace veldrane {

void InstallSettingsSections(MainWindowModel& window, AppContext& context, ColourPicker& colours, EditBox& scrollLines)
{
    const SettingsSectionContext sections{
        context.records.Current, context.texts,       WindowStateTextsFor(context.language),
        context.images,          context.files.point, [&window] { return window.TextColour(); },
        context.pointerSettings};
    const MainWindowTexts& texts = context.texts;

    window.SetRightSection(RightPanel::kCpiSetting, std::make_unique<CpiSection>(sections, colours));
    window.SetRightSection(RightPanel::kLighting, std::make_unique<LightingSection>(sections));
    window.SetRightSection(RightPanel::kUsbReportRate, std::make_unique<ReportRateSection>(sections));
    window.SetRightSection(RightPanel::kMouseSpeed,
                           std::make_unique<SpeedDialSection>(
                               sections, texts.mouseSpeed, &ProfileRecord::mouseSpeed, PointerSetting::Speed,
                               [](std::uint8_t position) { return std::to_string(PointerSpeedOf(position)); }));
    window.SetRightSection(RightPanel::kDoubleClickSpeed,
                           std::make_unique<SpeedDialSection>(
                               sections, texts.doubleClickSpeed, &ProfileRecord::doubleClickSpeed,
                               PointerSetting::DoubleClickTime,
                               [unit = std::string(sections.stateTexts.milliseconds)](std::uint8_t position) {
                                   return std::to_string(DoubleClickTimeOf(position)) + unit;
                               }));
    window.SetRightSection(RightPanel::kScrollSpeed,
                           std::make_unique<ScrollSpeedSection>(sections, scrollLines, RightPanel::kViewport));
    window.SetRightSection(RightPanel::kAngleSnap, std::make_unique<AngleSnapSection>(sections));

    window.SetLeftSection(LeftPanel::kXySensitivity, std::make_unique<SensitivitySection>(sections));
    window.SetLeftSection(LeftPanel::kLightButton, std::make_unique<SideLightSection>(sections));
}

} // namespace veldrane
