#include "screens/main/sections/SensitivitySection.h"

#include <string>

#include "core/profile/ConfigFiles.h"
#include "core/profile/ProfileRecord.h"
#include "core/text/MainWindowTexts.h"
#include "core/text/MessageTexts.h"
#include "screens/main/controls/SliderStrip.h"

namespace veldrane {

namespace {

constexpr std::string_view kBackground = "/XYSensitivity/BK_XYSensSetting.png";
constexpr int kFallbackHeight = 150;
constexpr std::string_view kKnobPicture = "/StageSlider/%d.png";

constexpr int kStripLeft = 17;
constexpr int kCaptionHeight = 16;
constexpr int kCaptionGap = 2;
constexpr int kCaptionWidth = 200;
constexpr int kLabelsHeight = 15;

} // namespace

SensitivitySection::SensitivitySection(const SettingsSectionContext& context)
    : SettingsSection(context, context.texts.xySensitivitySetting, kBackground, kFallbackHeight)
{}

std::uint8_t& SensitivitySection::Field(std::size_t strip) const
{
    return strip == kX ? Record().sensitivityX : Record().sensitivityY;
}

Rect SensitivitySection::ControlArea(std::size_t control) const
{
    const int stored = control == kX ? Positions().sensitivityX_Y : Positions().sensitivityY_Y;
    const int top = KeptInside(stored, kCaptionHeight + kCaptionGap, kStageSliderStrip.height, kLabelsHeight);
    return Rect::At({kStripLeft, top}, {kStageSliderStrip.width, kStageSliderStrip.height});
}

std::string SensitivitySection::ControlPicture(std::size_t control) const
{
    return FormatWithErrorCode(kKnobPicture, Field(control));
}

bool SensitivitySection::PressControl(std::size_t control, Point at)
{
    const std::uint8_t position = kStageSliderStrip.PositionAt(at.x);
    const bool changed = Field(control) != position;
    Field(control) = position;
    return changed;
}

std::optional<SettingsSection::PositionSlider> SensitivitySection::SliderOf(std::size_t control) const
{
    constexpr int kLastPosition = 11;
    return PositionSlider{
        &Field(control), 1, kLastPosition, std::string(control == kX ? Texts().xAxis : Texts().yAxis), {}};
}

void SensitivitySection::DrawDetails(SkinCanvas& canvas, Point contentOrigin)
{
    for (std::size_t strip = 0; strip < kStripCount; ++strip) {
        const Rect area = ControlArea(strip);
        const int captionBottom = area.top - kCaptionGap;
        canvas.DrawText(Within(contentOrigin, Rect{area.left, captionBottom - kCaptionHeight, area.left + kCaptionWidth,
                                                   captionBottom}),
                        strip == kX ? Texts().xAxis : Texts().yAxis, FontRole::Text, TextColour(), TextAlign::Left);
        DrawScaleLabels(canvas, contentOrigin, area);
        DrawStripValue(canvas, contentOrigin, area, std::to_string(Field(strip)));
    }
}

} // namespace veldrane
