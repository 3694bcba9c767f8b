#include "app/sections/ReportRateSection.h"

#include "profile/ProfileRecord.h"
#include "settings/ReportRateDial.h"
#include "text/MainWindowTexts.h"
#include "text/MessageTexts.h"

namespace veldrane {

namespace {

constexpr std::string_view kBackground = "/USBReportRate/BK_USBReportRate.png";
constexpr int kFallbackHeight = 140;
constexpr std::string_view kStatePicture = "/USBReportRate/%dHZ.png";
constexpr Rect kDial = Rect::At({57, 6}, {kReportRateDialSize, kReportRateDialSize});

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
