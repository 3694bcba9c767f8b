#include "screens/main/sections/SideLightSection.h"

#include "core/profile/ProfileRecord.h"
#include "core/text/MainWindowTexts.h"

namespace veldrane {

namespace {

constexpr std::string_view kBackground = "/MacroManagementBK.png";
constexpr int kFallbackHeight = 60;
constexpr std::string_view kSelectedPicture = "/Enable.png";
constexpr std::string_view kUnselectedPicture = "/Disable.png";

constexpr std::uint8_t kLightOn = 1;
constexpr std::uint8_t kLightOff = 0;

constexpr Rect kOnBox{30, 14, 40, 23};
constexpr Rect kOffBox{130, 14, 140, 23};
// The texts right of their boxes, centred on them.
constexpr int kTextGap = 4;
constexpr int kTextWidth = 80;
constexpr int kTextHeight = 17;

} // namespace

SideLightSection::SideLightSection(const SettingsSectionContext& context)
    : SettingsSection(context, context.texts.m1M5LightButton, kBackground, kFallbackHeight)
{}

Rect SideLightSection::ControlArea(std::size_t control) const
{
    return control == kOn ? kOnBox : kOffBox;
}

std::string SideLightSection::ControlPicture(std::size_t control) const
{
    const bool on = Record().sideButtonLight == kLightOn;
    return std::string((control == kOn) == on ? kSelectedPicture : kUnselectedPicture);
}

bool SideLightSection::PressControl(std::size_t control, Point)
{
    const std::uint8_t value = control == kOn ? kLightOn : kLightOff;
    const bool changed = Record().sideButtonLight != value;
    Record().sideButtonLight = value;
    return changed;
}

FocusControl SideLightSection::DescribeControl(std::size_t control) const
{
    FocusControl described;
    described.role = ControlRole::RadioButton;
    described.name = control == kOn ? Texts().on : Texts().off;
    described.checked = Record().sideButtonLight == (control == kOn ? kLightOn : kLightOff);
    return described;
}

Rect SideLightSection::TextArea(std::size_t box) const
{
    const Rect area = ControlArea(box);
    const int middle = (area.top + area.bottom) / 2;
    return {area.right + kTextGap, middle - kTextHeight / 2, area.right + kTextGap + kTextWidth,
            middle - kTextHeight / 2 + kTextHeight};
}

Rect SideLightSection::HitArea(std::size_t control) const
{
    return Joined(ControlArea(control), TextArea(control));
}

void SideLightSection::DrawDetails(SkinCanvas& canvas, Point contentOrigin)
{
    for (std::size_t box = 0; box < kBoxCount; ++box) {
        canvas.DrawText(Within(contentOrigin, TextArea(box)), box == kOn ? Texts().on : Texts().off, FontRole::Text,
                        TextColour(), TextAlign::Left);
    }
}

} // namespace veldrane
