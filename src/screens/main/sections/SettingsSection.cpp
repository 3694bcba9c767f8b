#include "screens/main/sections/SettingsSection.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>

#include "core/settings/PointerSettingsApplier.h"
#include "core/text/MainWindowTexts.h"
#include "core/text/WindowStateTexts.h"
#include "screens/main/controls/SliderStrip.h"

namespace veldrane {

namespace {

constexpr std::string_view kPictureSuffix = ".png";
constexpr std::string_view kOverSuffix = "-over";

constexpr int kScaleLabelPitch = 21;
constexpr int kScaleLabelGap = 1; // between the strip's bottom and its labels
constexpr int kScaleLabelHeight = 14;

// The note of a section whose pointer setting the desktop lacks: a line inside the section's frame,
// under its controls. The frame grows by the note's height: the picture's last kFrameBottom rows
// (its lower border and corners) move down, and the row above them is repeated in between.
constexpr int kNoteHeight = 20;
constexpr int kNoteGap = 2; // between the controls' last texts and the note
constexpr int kNoteIndent = 8;
constexpr int kSectionWidth = 242;
constexpr int kFrameBottom = 6;

} // namespace

SettingsSection::SettingsSection(const SettingsSectionContext& context, std::string_view title,
                                 std::string_view background, int fallbackHeight)
    : m_context(context), m_frame(title, background, fallbackHeight, context.images)
{}

std::string SettingsSection::OverPictureOf(std::string_view picture)
{
    std::string over(picture);
    if (over.ends_with(kPictureSuffix)) {
        over.insert(over.size() - kPictureSuffix.size(), kOverSuffix);
    } else {
        over += kOverSuffix;
    }
    return over;
}

Point SettingsSection::Within(Point contentOrigin, Point offset)
{
    return {contentOrigin.x + offset.x, contentOrigin.y + offset.y};
}

Rect SettingsSection::Within(Point contentOrigin, Rect area)
{
    return area.Offset(contentOrigin.x, contentOrigin.y);
}

bool SettingsSection::DesktopLacksSetting() const
{
    return m_pointerSetting && !m_context.pointerSettings.DesktopHas(*m_pointerSetting);
}

int SettingsSection::ContentHeight() const
{
    return m_frame.ContentHeight() + (DesktopLacksSetting() ? kNoteHeight : 0);
}

Rect SettingsSection::NoteArea() const
{
    const int top = std::max(0, m_frame.ContentHeight() - kFrameBottom);
    return {kNoteIndent, top + kNoteGap, kSectionWidth - kNoteIndent, top + kNoteHeight};
}

void SettingsSection::Draw(SkinCanvas& canvas, Point contentOrigin)
{
    if (!DesktopLacksSetting()) {
        m_frame.Draw(canvas, contentOrigin);
    } else {
        const std::string_view picture = m_frame.Background();
        const int height = m_frame.ContentHeight();
        const int band = NoteArea().top - kNoteGap;
        if (canvas.DrawImageRows(picture, contentOrigin, 0, band, band)) {
            canvas.DrawImageRows(picture, Within(contentOrigin, Point{0, band}), band - 1, band, kNoteHeight);
            canvas.DrawImageRows(picture, Within(contentOrigin, Point{0, band + kNoteHeight}), band, height,
                                 height - band);
        }
        canvas.DrawText(Within(contentOrigin, NoteArea()), StateTexts().pointerSettingNotTaken, FontRole::Small,
                        TextColour(), TextAlign::Left);
    }
    for (std::size_t control = 0; control < ControlCount(); ++control) {
        const std::string picture = ControlPicture(control);
        if (picture.empty()) {
            continue;
        }
        const Point at = Within(contentOrigin, ControlArea(control).TopLeft());
        if (m_hovered == control && canvas.DrawImage(OverPictureOf(picture), at)) {
            continue;
        }
        canvas.DrawImage(picture, at);
    }
    DrawDetails(canvas, contentOrigin);
}

std::optional<std::size_t> SettingsSection::ControlAt(Point inContent) const
{
    for (std::size_t control = 0; control < ControlCount(); ++control) {
        if (HitArea(control).Contains(inContent)) {
            return control;
        }
    }
    return std::nullopt;
}

bool SettingsSection::Press(Point p, Point contentOrigin)
{
    const Point inContent{p.x - contentOrigin.x, p.y - contentOrigin.y};
    const auto control = ControlAt(inContent);
    m_pressed = control;
    if (!control) {
        return false;
    }
    const Rect area = ControlArea(*control);
    return PressControl(*control, {inContent.x - area.left, inContent.y - area.top});
}

bool SettingsSection::TakesPress(Point p, Point contentOrigin) const
{
    return ControlAt({p.x - contentOrigin.x, p.y - contentOrigin.y}).has_value();
}

bool SettingsSection::Drag(Point p, Point contentOrigin)
{
    if (!m_pressed) {
        return false;
    }
    const Rect area = ControlArea(*m_pressed);
    return DragControl(*m_pressed, {p.x - contentOrigin.x - area.left, p.y - contentOrigin.y - area.top});
}

bool SettingsSection::Release(Point, Point)
{
    m_pressed.reset();
    return false;
}

std::vector<FocusControl> SettingsSection::FocusControls(Point contentOrigin) const
{
    std::vector<FocusControl> controls;
    for (std::size_t control = 0; control < ControlCount(); ++control) {
        FocusControl described = DescribeControl(control);
        described.area = Within(contentOrigin, HitArea(control));
        controls.push_back(std::move(described));
    }
    return controls;
}

bool SettingsSection::Act(std::size_t control, ControlAction action)
{
    return control < ControlCount() && ActOnControl(control, action);
}

FocusControl SettingsSection::DescribeControl(std::size_t control) const
{
    FocusControl described;
    described.name = Title();
    if (const auto slider = SliderOf(control)) {
        described.role = ControlRole::Slider;
        described.name = slider->name;
        described.value = slider->value.empty() ? std::to_string(*slider->field) : slider->value;
        described.number = *slider->field;
        described.minimum = slider->lowest;
        described.maximum = slider->highest;
        described.step = 1;
    }
    return described;
}

bool SettingsSection::ActOnControl(std::size_t control, ControlAction action)
{
    if (const auto slider = SliderOf(control)) {
        constexpr int kPageStep = 3;
        const std::optional<int> wanted =
            SteppedValue(*slider->field, action, kPageStep, slider->lowest, slider->highest);
        if (!wanted) {
            return false;
        }
        const auto position = static_cast<std::uint8_t>(*wanted);
        const bool changed = position != *slider->field;
        *slider->field = position;
        return changed;
    }
    if (action != ControlAction::Press) {
        return false;
    }
    const Rect area = ControlArea(control);
    return PressControl(control, {area.Width() / 2, area.Height() / 2});
}

Rect SettingsSection::Joined(Rect a, Rect b)
{
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right), std::max(a.bottom, b.bottom)};
}

bool SettingsSection::ShowsOverPicture(std::optional<std::size_t> control) const
{
    if (!control) {
        return false;
    }
    const std::string picture = ControlPicture(*control);
    return !picture.empty() && m_context.images.ImageSize(OverPictureOf(picture)).has_value();
}

bool SettingsSection::Hover(Point p, Point contentOrigin)
{
    const auto control = ControlAt({p.x - contentOrigin.x, p.y - contentOrigin.y});
    if (control == m_hovered) {
        return false;
    }
    const bool changed = ShowsOverPicture(m_hovered) || ShowsOverPicture(control);
    m_hovered = control;
    return changed;
}

bool SettingsSection::Unhover()
{
    const bool changed = ShowsOverPicture(m_hovered);
    m_hovered.reset();
    return changed;
}

int SettingsSection::KeptInside(int top, int above, int height, int below) const
{
    // Inside the background picture: the note under it is no room for controls.
    const int lowest = std::max(above, m_frame.ContentHeight() - height - below);
    return std::clamp(top, above, lowest);
}

Rect SettingsSection::ScaleLabelArea(const SliderStrip& kind, Rect strip, std::uint8_t position, int gap, int width,
                                     int height)
{
    // Centred under the knob of its position, to the pixel.
    const int left = strip.left + static_cast<int>(std::lround(kind.KnobCentre(position) - width / 2.0));
    const int top = strip.bottom + gap;
    return {left, top, left + width, top + height};
}

void SettingsSection::DrawScaleLabels(SkinCanvas& canvas, Point contentOrigin, Rect strip) const
{
    // "1" to "10" stand under the knob of positions 1 to 10.
    const auto& labels = Texts().sliderScaleLabels;
    for (std::size_t i = 0; i < labels.size(); ++i) {
        const Rect area = ScaleLabelArea(kStageSliderStrip, strip, static_cast<std::uint8_t>(i + 1), kScaleLabelGap,
                                         kScaleLabelPitch, kScaleLabelHeight);
        canvas.DrawText(Within(contentOrigin, area), labels[i], FontRole::Small, TextColour(), TextAlign::Centre);
    }
}

void SettingsSection::DrawStripValue(SkinCanvas& canvas, Point contentOrigin, Rect strip, std::string_view value) const
{
    const int bottom = strip.top - kScaleLabelGap;
    canvas.DrawText(Within(contentOrigin, Rect{strip.left, bottom - kScaleLabelHeight - 2, strip.right, bottom}), value,
                    FontRole::Text, TextColour(), TextAlign::Right);
}

} // namespace veldrane
