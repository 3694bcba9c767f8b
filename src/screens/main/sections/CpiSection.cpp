#include "screens/main/sections/CpiSection.h"

#include <algorithm>
#include <string>

#include "core/profile/ProfileRecord.h"
#include "core/settings/CpiStage.h"
#include "core/text/ControlCaptionTexts.h"
#include "core/text/MainWindowTexts.h"
#include "core/text/MessageTexts.h"
#include "ports/ColourPicker.h"

namespace veldrane {

namespace {

constexpr std::string_view kBackground = "/DPISetting/BK_DPISetting.png";
constexpr int kFallbackHeight = 240;
constexpr std::string_view kTrackPicture = "/DPISetting/DPIStage/%d.png";
constexpr std::string_view kValueBoxPicture = "/DPISetting/BK-DPIValue.png";
constexpr std::string_view kEnabledPicture = "/Enable.png";
constexpr std::string_view kDisabledPicture = "/Disable.png";

// Content pixels; stage k (0 to 3) lies kStagePitch x k further right.
constexpr int kStagePitch = 50;
constexpr Rect kTrack{41, 6, 48, 6 + kCpiTrackHeight};
constexpr Rect kValueBox{22, 178, 66, 196};
constexpr Rect kSwitch{38, 199, 48, 208};
constexpr Rect kSwatch{38, 213, 48, 223};

constexpr std::size_t kStages = kShownCpiStages;
constexpr std::size_t kColourBytes = 3;

// The lowest value a track sets, and how far Page Up and Page Down move it.
constexpr int kLowestCpiValue = 1;
constexpr int kCpiPageStep = 10;

Rect OfStage(Rect area, std::size_t stage)
{
    return area.Offset(kStagePitch * static_cast<int>(stage), 0);
}

} // namespace

CpiSection::CpiSection(const SettingsSectionContext& context, ColourPicker& colours)
    : SettingsSection(context, context.texts.cpiSetting, kBackground, kFallbackHeight), m_colours(colours)
{}

// Controls are numbered part by part: the four tracks, the four switches, the four swatches.
std::size_t CpiSection::ControlCount() const
{
    return kPartCount * kStages;
}

Rect CpiSection::ControlArea(std::size_t control) const
{
    constexpr Rect kParts[kPartCount] = {kTrack, kSwitch, kSwatch};
    return OfStage(kParts[control / kStages], control % kStages);
}

std::string CpiSection::ControlPicture(std::size_t control) const
{
    const std::size_t stage = control % kStages;
    switch (control / kStages) {
    case kTracks:
        return FormatWithErrorCode(kTrackPicture, CpiTrackPictureOf(Record().cpiValue[stage]));
    case kSwitches:
        return std::string(Record().cpiEnabled[stage] != 0 ? kEnabledPicture : kDisabledPicture);
    default:
        return {}; // the swatch is painted in the stage's colour
    }
}

bool CpiSection::PressControl(std::size_t control, Point at)
{
    const std::size_t stage = control % kStages;
    ProfileRecord& record = Record();
    switch (control / kStages) {
    case kTracks: {
        const std::uint8_t value = CpiValueAtTrackRow(at.y);
        const bool changed = record.cpiValue[stage] != value;
        record.cpiValue[stage] = value;
        return changed;
    }
    case kSwitches:
        record.cpiEnabled[stage] = ToggledStageSwitch(record.cpiEnabled[stage]);
        return true;
    default: {
        const auto colour = m_colours.PickColour();
        if (!colour) {
            return false;
        }
        record.cpiColor[kColourBytes * stage] = colour->r;
        record.cpiColor[kColourBytes * stage + 1] = colour->g;
        record.cpiColor[kColourBytes * stage + 2] = colour->b;
        return true;
    }
    }
}

bool CpiSection::DragControl(std::size_t control, Point at)
{
    // Above the track the value stays at its top, below it at its foot.
    return control / kStages == kTracks && PressControl(control, at);
}

FocusControl CpiSection::DescribeControl(std::size_t control) const
{
    const std::size_t stage = control % kStages;
    const int number = static_cast<int>(stage) + 1;
    FocusControl described;
    switch (control / kStages) {
    case kTracks:
        described.role = ControlRole::Slider;
        described.name = NumberedCaption(Captions().cpiStage, number);
        described.value = std::to_string(DisplayedCpiOf(Record().cpiValue[stage])) + std::string(Captions().cpiUnit);
        described.number = DisplayedCpiOf(Record().cpiValue[stage]);
        described.minimum = DisplayedCpiOf(kLowestCpiValue);
        described.maximum = DisplayedCpiOf(kMaxCpiValue);
        described.step = kCpiUnit;
        break;
    case kSwitches:
        described.role = ControlRole::CheckBox;
        described.name = NumberedCaption(Captions().cpiStageSwitch, number);
        described.checked = Record().cpiEnabled[stage] != 0;
        break;
    default:
        described.name = NumberedCaption(Captions().cpiStageColour, number);
        break;
    }
    return described;
}

bool CpiSection::ActOnControl(std::size_t control, ControlAction action)
{
    if (control / kStages != kTracks) {
        return SettingsSection::ActOnControl(control, action);
    }
    std::uint8_t& value = Record().cpiValue[control % kStages];
    const std::optional<int> wanted = SteppedValue(value, action, kCpiPageStep, kLowestCpiValue, kMaxCpiValue);
    if (!wanted) {
        return false;
    }
    const auto stepped = static_cast<std::uint8_t>(*wanted);
    const bool changed = stepped != value;
    value = stepped;
    return changed;
}

void CpiSection::DrawDetails(SkinCanvas& canvas, Point contentOrigin)
{
    const ProfileRecord& record = Record();
    for (std::size_t stage = 0; stage < kStages; ++stage) {
        const Rect box = Within(contentOrigin, OfStage(kValueBox, stage));
        canvas.DrawImage(kValueBoxPicture, box.TopLeft());
        canvas.DrawText(box, std::to_string(DisplayedCpiOf(record.cpiValue[stage])), FontRole::Text, TextColour(),
                        TextAlign::Centre);
        const std::size_t red = kColourBytes * stage;
        canvas.FillRect(Within(contentOrigin, OfStage(kSwatch, stage)),
                        Colour{record.cpiColor[red], record.cpiColor[red + 1], record.cpiColor[red + 2], 255});
    }
}

} // namespace veldrane
