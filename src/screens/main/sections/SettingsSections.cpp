#include "screens/main/sections/SettingsSections.h"

#include <memory>
#include <string>

#include "core/profile/ConfigFiles.h"
#include "core/profile/ProfileRecord.h"
#include "core/settings/PointerSettingValues.h"
#include "core/text/ControlCaptionTexts.h"
#include "core/text/MainWindowTexts.h"
#include "core/text/WindowStateTexts.h"
#include "screens/main/AppContext.h"
#include "screens/main/MainWindowModel.h"
#include "screens/main/sections/AngleSnapSection.h"
#include "screens/main/sections/CpiSection.h"
#include "screens/main/sections/LightingSection.h"
#include "screens/main/sections/ReportRateSection.h"
#include "screens/main/sections/ScrollSpeedSection.h"
#include "screens/main/sections/SensitivitySection.h"
#include "screens/main/sections/SideLightSection.h"
#include "screens/main/sections/SpeedDialSection.h"

namespace veldrane {

void InstallSettingsSections(MainWindowModel& window, AppContext& context, ColourPicker& colours, EditBox& scrollLines)
{
    const SettingsSectionContext sections{context.records.Current,
                                          context.texts,
                                          WindowStateTextsFor(context.language),
                                          context.images,
                                          context.files.Point(),
                                          [&window] { return window.TextColour(); },
                                          context.pointerSettings,
                                          ControlCaptionTextsFor(context.language)};
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
