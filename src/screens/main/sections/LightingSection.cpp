#include "screens/main/sections/LightingSection.h"

#include <algorithm>
#include <array>

#include "core/profile/ProfileRecord.h"
#include "core/text/MainWindowTexts.h"
#include "core/text/MessageTexts.h"
#include "screens/main/controls/SliderStrip.h"

namespace veldrane {

namespace {

constexpr std::string_view kBackground = "/Lighting/BK_Lighting.png";
constexpr int kFallbackHeight = 115;
constexpr std::string_view kKnobPicture = "/Lighting/%d.png";
constexpr std::string_view kSelectedPicture = "/Enable.png";
constexpr std::string_view kUnselectedPicture = "/Disable.png";

constexpr std::size_t kModes = 3;
constexpr int kFirstRowTop = 20;
constexpr int kRowPitch = 29;
constexpr Rect kBox{10, 0, 20, 9}; // rows relative to their top
constexpr int kStripLeft = 100;
// The mode's name, right of its box and centred on it.
constexpr Rect kName{24, -4, 98, 13};
// The five labels of positions 1 to 5, 5 pixels under the strip, each centred under its knob; the
// first may reach left of the strip, under the mode's name.
constexpr std::size_t kLabelCount = 5;
constexpr int kLabelGap = 5;
// The labels stand as far apart as the knobs; each keeps a pixel from the next, narrowed
// where it would need them.
constexpr int kLabelSpace = 1;
constexpr int kLabelHeight = 13;
constexpr std::uint8_t kDimmedAlpha = 150;

int LabelWidth()
{
    return static_cast<int>(kLightLevelStrip.KnobCentre(2) - kLightLevelStrip.KnobCentre(1)) - kLabelSpace;
}

int RowTop(std::size_t mode)
{
    return kFirstRowTop + kRowPitch * static_cast<int>(mode);
}

} // namespace

LightingSection::LightingSection(const SettingsSectionContext& context)
    : SettingsSection(context, context.texts.lighting, kBackground, kFallbackHeight)
{}

// Controls: the three boxes, then the three strips.
std::size_t LightingSection::ControlCount() const
{
    return kPartCount * kModes;
}

Rect LightingSection::ControlArea(std::size_t control) const
{
    const std::size_t mode = control % kModes;
    if (control / kModes == kBoxes) {
        return kBox.Offset(0, RowTop(mode));
    }
    return Rect::At({kStripLeft, RowTop(mode)}, {kLightLevelStrip.width, kLightLevelStrip.height});
}

std::string LightingSection::ControlPicture(std::size_t control) const
{
    const std::size_t mode = control % kModes;
    const ProfileRecord& record = Record();
    if (control / kModes == kStrips) {
        return FormatWithErrorCode(kKnobPicture, record.lightLevel[mode]);
    }
    if (record.lightMode < 1 || record.lightMode > kModes) {
        return {};
    }
    return std::string(record.lightMode == mode + 1 ? kSelectedPicture : kUnselectedPicture);
}

bool LightingSection::PressControl(std::size_t control, Point at)
{
    const std::size_t mode = control % kModes;
    ProfileRecord& record = Record();
    if (control / kModes == kBoxes) {
        const auto selected = static_cast<std::uint8_t>(mode + 1);
        const bool changed = record.lightMode != selected;
        record.lightMode = selected;
        return changed;
    }
    const std::uint8_t level = kLightLevelStrip.PositionAt(at.x);
    const bool changed = record.lightLevel[mode] != level;
    record.lightLevel[mode] = level;
    return changed;
}

std::string_view LightingSection::ModeName(std::size_t mode) const
{
    const std::array<std::string_view, kModes> names{Texts().singleColor, Texts().pulsating, Texts().multiColor};
    return names[mode];
}

FocusControl LightingSection::DescribeControl(std::size_t control) const
{
    if (control / kModes != kBoxes) {
        return SettingsSection::DescribeControl(control);
    }
    FocusControl described;
    described.role = ControlRole::RadioButton;
    described.name = ModeName(control % kModes);
    described.checked = Record().lightMode == control % kModes + 1;
    return described;
}

std::optional<SettingsSection::PositionSlider> LightingSection::SliderOf(std::size_t control) const
{
    if (control / kModes != kStrips) {
        return std::nullopt;
    }
    constexpr int kLastLevel = 6;
    const std::size_t mode = control % kModes;
    return PositionSlider{&Record().lightLevel[mode], 1, kLastLevel, std::string(ModeName(mode)), {}};
}

Rect LightingSection::HitArea(std::size_t control) const
{
    const Rect area = ControlArea(control);
    if (control / kModes != kBoxes) {
        return area;
    }
    return Joined(area, kName.Offset(0, RowTop(control % kModes)));
}

bool LightingSection::DragControl(std::size_t control, Point at)
{
    return control / kModes == kStrips && PressControl(control, at);
}

void LightingSection::DrawDetails(SkinCanvas& canvas, Point contentOrigin)
{
    const MainWindowTexts& texts = Texts();
    const std::array<std::string_view, kModes> names{texts.singleColor, texts.pulsating, texts.multiColor};
    for (std::size_t mode = 0; mode < kModes; ++mode) {
        const int top = RowTop(mode);
        canvas.DrawText(Within(contentOrigin, kName.Offset(0, top)), names[mode], FontRole::Text, TextColour(),
                        TextAlign::Left);
        // The label the knob stands at is lit, the others dimmed; the sixth position, right of the
        // last label, lights that label.
        const std::size_t level = Record().lightLevel[mode];
        const std::size_t marked = std::min(level, kLabelCount);
        const Rect strip = ControlArea(kStrips * kModes + mode);
        for (std::size_t i = 0; i < kLabelCount; ++i) {
            const Rect area = ScaleLabelArea(kLightLevelStrip, strip, static_cast<std::uint8_t>(i + 1), kLabelGap,
                                             LabelWidth(), kLabelHeight);
            Colour colour = TextColour();
            if (i + 1 != marked) {
                colour.a = kDimmedAlpha;
            }
            canvas.DrawText(Within(contentOrigin, area), texts.lightLevelLabels[mode][i], FontRole::Small, colour,
                            TextAlign::Centre);
        }
    }
}

} // namespace veldrane
