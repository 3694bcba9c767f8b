#include "screens/main/sections/ReportRateSection.h"

#include <string>

#include "core/profile/ProfileRecord.h"
#include "core/settings/ReportRate.h"
#include "core/text/MainWindowTexts.h"
#include "core/text/MessageTexts.h"
#include "core/text/WindowStateTexts.h"
#include "screens/main/controls/ReportRateDial.h"

namespace veldrane {

namespace {

constexpr std::string_view kBackground = "/USBReportRate/BK_USBReportRate.png";
constexpr int kFallbackHeight = 140;
constexpr std::string_view kStatePicture = "/USBReportRate/%dHZ.png";
constexpr Rect kDial = Rect::At({57, 6}, {kReportRateDialSize, kReportRateDialSize});

// The frequencies beside their quadrants: left of the dial right-aligned, right of it left-aligned,
// level with the upper and the lower half of the ring.
constexpr int kLabelGap = 3;
constexpr int kLabelWidth = 48;
constexpr int kLabelHeight = 18;
constexpr int kUpperLabelTop = 20;
constexpr int kLowerLabelTop = 90;
struct FrequencyLabel
{
    int frequency;
    bool left;
    int top;
};
constexpr FrequencyLabel kFrequencyLabels[] = {{125, true, kUpperLabelTop},
                                               {1000, false, kUpperLabelTop},
                                               {250, true, kLowerLabelTop},
                                               {500, false, kLowerLabelTop}};
constexpr std::uint8_t kDimmedAlpha = 150;

// Steps of the dial for Page Up and Page Down, and more than it has for Home and End.
constexpr int kRatePageStep = 2;
constexpr int kBeyondEveryRate = 8;

} // namespace

ReportRateSection::ReportRateSection(const SettingsSectionContext& context)
    : SettingsSection(context, context.texts.usbReportRate, kBackground, kFallbackHeight)
{}

Rect ReportRateSection::ControlArea(std::size_t) const
{
    return kDial;
}

std::string ReportRateSection::ControlPicture(std::size_t) const
{
    const auto frequency = ReportFrequencyOf(Record().reportRate);
    return frequency ? FormatWithErrorCode(kStatePicture, *frequency) : std::string();
}

bool ReportRateSection::PressControl(std::size_t, Point at)
{
    const auto rate = ReportRateAtDialOffset(at.x - kReportRateDialCentre, at.y - kReportRateDialCentre);
    if (!rate) {
        return false;
    }
    const bool changed = Record().reportRate != *rate;
    Record().reportRate = *rate;
    return changed;
}

void ReportRateSection::DrawDetails(SkinCanvas& canvas, Point contentOrigin)
{
    const auto chosen = ReportFrequencyOf(Record().reportRate);
    for (const FrequencyLabel& label : kFrequencyLabels) {
        const int left = label.left ? kDial.left - kLabelGap - kLabelWidth : kDial.right + kLabelGap;
        const Rect area{left, kDial.top + label.top, left + kLabelWidth, kDial.top + label.top + kLabelHeight};
        const bool marked = chosen == label.frequency;
        Colour colour = TextColour();
        if (!marked) {
            colour.a = kDimmedAlpha;
        }
        canvas.DrawText(Within(contentOrigin, area), std::to_string(label.frequency) + std::string(StateTexts().hertz),
                        FontRole::Text, colour, label.left ? TextAlign::Right : TextAlign::Left);
    }
}

FocusControl ReportRateSection::DescribeControl(std::size_t) const
{
    FocusControl described;
    described.role = ControlRole::Slider;
    described.name = Title();
    if (const auto frequency = ReportFrequencyOf(Record().reportRate)) {
        described.value = std::to_string(*frequency) + std::string(StateTexts().hertz);
        described.number = *frequency;
    }
    described.minimum = *ReportFrequencyOf(kRate125Hz);
    described.maximum = *ReportFrequencyOf(kRate1000Hz);
    return described;
}

bool ReportRateSection::ActOnControl(std::size_t, ControlAction action)
{
    int steps = 0;
    switch (action) {
    case ControlAction::Increase:
        steps = 1;
        break;
    case ControlAction::Decrease:
        steps = -1;
        break;
    case ControlAction::IncreaseMore:
        steps = kRatePageStep;
        break;
    case ControlAction::DecreaseMore:
        steps = -kRatePageStep;
        break;
    case ControlAction::ToFirst:
        steps = -kBeyondEveryRate;
        break;
    case ControlAction::ToLast:
        steps = kBeyondEveryRate;
        break;
    default:
        return false;
    }
    const std::uint8_t rate = ReportRateStepped(Record().reportRate, steps);
    const bool changed = rate != Record().reportRate;
    Record().reportRate = rate;
    return changed;
}

bool ReportRateSection::DragControl(std::size_t, Point at)
{
    const auto rate = ReportRateTowards(at.x - kReportRateDialCentre, at.y - kReportRateDialCentre);
    if (!rate) {
        return false;
    }
    const bool changed = Record().reportRate != *rate;
    Record().reportRate = *rate;
    return changed;
}

} // namespace veldrane
