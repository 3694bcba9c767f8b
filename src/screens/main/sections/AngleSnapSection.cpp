#include "screens/main/sections/AngleSnapSection.h"

#include <string>

#include "core/profile/ConfigFiles.h"
#include "core/profile/ProfileRecord.h"
#include "core/text/MainWindowTexts.h"
#include "core/text/MessageTexts.h"
#include "core/text/WindowStateTexts.h"
#include "screens/main/controls/SliderStrip.h"

namespace veldrane {

namespace {

constexpr std::string_view kBackground = "/AngleSnap/BK_AngleSnap.png";
constexpr int kFallbackHeight = 130;
constexpr std::string_view kKnobPicture = "/StageSlider/%d.png";
constexpr std::string_view kIllustrationPicture = "/AngleSnap/%d.png";

constexpr int kStripLeft = 17;
constexpr int kIllustrationHeight = 85;
constexpr int kIllustrationGap = 4; // between the illustration and the strip
constexpr int kLabelsHeight = 15;
constexpr int kValueInset = 4;
constexpr int kValueHeight = 16;

} // namespace

AngleSnapSection::AngleSnapSection(const SettingsSectionContext& context)
    : SettingsSection(context, context.texts.angleSnap, kBackground, kFallbackHeight)
{}

Rect AngleSnapSection::ControlArea(std::size_t) const
{
    const int top = KeptInside(Positions().sensitivity_Y, kIllustrationHeight + kIllustrationGap,
                               kStageSliderStrip.height, kLabelsHeight);
    return Rect::At({kStripLeft, top}, {kStageSliderStrip.width, kStageSliderStrip.height});
}

std::string AngleSnapSection::ControlPicture(std::size_t) const
{
    return FormatWithErrorCode(kKnobPicture, Record().angleSnap);
}

bool AngleSnapSection::PressControl(std::size_t, Point at)
{
    const std::uint8_t position = kStageSliderStrip.PositionAt(at.x);
    const bool changed = Record().angleSnap != position;
    Record().angleSnap = position;
    return changed;
}

bool AngleSnapSection::DragControl(std::size_t control, Point at)
{
    return PressControl(control, at);
}

std::optional<SettingsSection::PositionSlider> AngleSnapSection::SliderOf(std::size_t) const
{
    constexpr int kLastPosition = 11;
    const std::uint8_t position = Record().angleSnap;
    return PositionSlider{&Record().angleSnap, 1, kLastPosition, std::string(Title()),
                          AngleSnapIsOff(position) ? std::string(StateTexts().angleSnapOff) : std::string()};
}

void AngleSnapSection::DrawDetails(SkinCanvas& canvas, Point contentOrigin)
{
    const Rect strip = ControlArea(0);
    const Point illustration{strip.left, strip.top - kIllustrationGap - kIllustrationHeight};
    canvas.DrawImage(FormatWithErrorCode(kIllustrationPicture, Record().angleSnap),
                     Within(contentOrigin, illustration));
    DrawScaleLabels(canvas, contentOrigin, strip);
    // The position in the illustration's upper right corner, where its curve leaves room.
    const std::uint8_t position = Record().angleSnap;
    const Rect value{strip.left, illustration.y + kValueInset, strip.right - kValueInset,
                     illustration.y + kValueInset + kValueHeight};
    canvas.DrawText(Within(contentOrigin, value),
                    AngleSnapIsOff(position) ? std::string(StateTexts().angleSnapOff) : std::to_string(position),
                    FontRole::Text, TextColour(), TextAlign::Right);
}

} // namespace veldrane
