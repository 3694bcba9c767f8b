#include "screens/main/sections/SpeedDialSection.h"

#include <string>

#include "core/profile/ConfigFiles.h"
#include "core/profile/ProfileRecord.h"
#include "core/text/MainWindowTexts.h"
#include "core/text/MessageTexts.h"
#include "screens/main/controls/SpeedDial.h"

namespace veldrane {

namespace {

constexpr std::string_view kBackground = "/MouseAttribute/BK_MouseAttribute.png";
constexpr int kFallbackHeight = 110;
constexpr std::string_view kDialPicture = "/MouseAttribute/Speed/%d.png";

constexpr int kDialLeft = 50;
// The ends of the half disc: the middle of the ring (43 to 71 from the centre) on either side.
constexpr int kEndFromCentre = 57;
constexpr int kEndLabelWidth = 60;
constexpr int kEndLabelGap = 1; // under the dial's foot
constexpr int kEndLabelHeight = 16;
// The value between "Slow" and "Fast", clear of the needle.
constexpr int kValueWidth = 2 * kEndFromCentre - kEndLabelWidth;

} // namespace

SpeedDialSection::SpeedDialSection(const SettingsSectionContext& context, std::string_view title,
                                   std::uint8_t ProfileRecord::*field, PointerSetting setting,
                                   std::function<std::string(std::uint8_t)> valueText)
    : SettingsSection(context, title, kBackground, kFallbackHeight), m_field(field), m_valueText(std::move(valueText))
{
    EditsPointerSetting(setting);
}

Rect SpeedDialSection::ControlArea(std::size_t) const
{
    const int top = KeptInside(Positions().mouseSpeed_Y, 0, kSpeedDialHeight, kEndLabelGap + kEndLabelHeight);
    return Rect::At({kDialLeft, top}, {kSpeedDialWidth, kSpeedDialHeight});
}

std::string SpeedDialSection::ControlPicture(std::size_t) const
{
    return FormatWithErrorCode(kDialPicture, Record().*m_field);
}

bool SpeedDialSection::PressControl(std::size_t, Point at)
{
    const auto position = SpeedDialPositionAt(at.x - kSpeedDialCentre, at.y - kSpeedDialCentre);
    if (!position) {
        return false;
    }
    const bool changed = Record().*m_field != *position;
    Record().*m_field = *position;
    return changed;
}

bool SpeedDialSection::DragControl(std::size_t, Point at)
{
    const auto position = SpeedDialPositionTowards(at.x - kSpeedDialCentre, at.y - kSpeedDialCentre);
    if (!position) {
        return false;
    }
    const bool changed = Record().*m_field != *position;
    Record().*m_field = *position;
    return changed;
}

std::optional<SettingsSection::PositionSlider> SpeedDialSection::SliderOf(std::size_t) const
{
    // The dial's ends: 2 on the left-hand horizontal, 12 on the right-hand one.
    constexpr int kFirstPosition = 2;
    constexpr int kLastPosition = 12;
    std::uint8_t& field = Record().*m_field;
    return PositionSlider{&field, kFirstPosition, kLastPosition, std::string(Title()), m_valueText(field)};
}

void SpeedDialSection::DrawDetails(SkinCanvas& canvas, Point contentOrigin)
{
    const Rect dial = ControlArea(0);
    const int centre = dial.left + kSpeedDialCentre;
    const int top = dial.bottom + kEndLabelGap;
    auto under = [&](int x) {
        return Within(contentOrigin, Rect{x - kEndLabelWidth / 2, top, x + kEndLabelWidth / 2, top + kEndLabelHeight});
    };
    canvas.DrawText(under(centre - kEndFromCentre), Texts().slow, FontRole::Text, TextColour(), TextAlign::Centre);
    canvas.DrawText(under(centre + kEndFromCentre), Texts().fast, FontRole::Text, TextColour(), TextAlign::Centre);
    canvas.DrawText(
        Within(contentOrigin, Rect{centre - kValueWidth / 2, top, centre + kValueWidth / 2, top + kEndLabelHeight}),
        m_valueText(Record().*m_field), FontRole::Text, TextColour(), TextAlign::Centre);
}

} // namespace veldrane
