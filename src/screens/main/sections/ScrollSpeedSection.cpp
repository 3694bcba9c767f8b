#include "screens/main/sections/ScrollSpeedSection.h"

#include <algorithm>
#include <string>

#include "core/profile/ProfileRecord.h"
#include "core/settings/ScrollLines.h"
#include "core/text/MainWindowTexts.h"
#include "ports/EditBox.h"

namespace veldrane {

namespace {

constexpr std::string_view kBackground = "/MouseAttribute/BK_ScrollSpeed.png";
constexpr int kFallbackHeight = 80;
constexpr std::string_view kChosenPicture = "/MouseAttribute/ScrollSpeed/Enable.png";
constexpr std::string_view kNotChosenPicture = "/MouseAttribute/ScrollSpeed/Disable.png";
constexpr std::string_view kLinesPicture = "/MouseAttribute/ScrollSpeed/ScrollLines.png";
constexpr std::string_view kUpPicture = "/MouseAttribute/ScrollSpeed/Up.png";
constexpr std::string_view kDownPicture = "/MouseAttribute/ScrollSpeed/Down.png";

constexpr std::uint8_t kScrollByRows = 0;
constexpr std::uint8_t kScrollByScreen = 1;

constexpr Rect kRowsBox{20, 12, 32, 24};
constexpr Rect kOneScreenBox = kRowsBox.Offset(0, 35);
constexpr Rect kLinesField{168, 8, 216, 28};
constexpr int kBoxInset = 2; // the edit box inside the field's frame
constexpr Rect kUpButton{219, 10, 229, 16};
constexpr Rect kDownButton{219, 20, 229, 26};
// The option texts, right of their boxes and centred on them.
constexpr int kTextLeft = 38;
constexpr int kRowsTextRight = kLinesField.left - 2;
constexpr int kOneScreenTextRight = 234;
constexpr int kTextHeight = 17;

Rect TextBeside(Rect box, int right)
{
    const int top = (box.top + box.bottom - kTextHeight) / 2;
    return {kTextLeft, top, right, top + kTextHeight};
}

Rect Intersection(Rect a, Rect b)
{
    Rect both{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
              std::min(a.bottom, b.bottom)};
    return both.IsEmpty() ? Rect{} : both;
}

} // namespace

ScrollSpeedSection::ScrollSpeedSection(const SettingsSectionContext& context, EditBox& lines, Rect panel)
    : SettingsSection(context, context.texts.scrollSpeed, kBackground, kFallbackHeight), m_lines(lines), m_panel(panel)
{
    m_lines.SetEditedHandler([this](std::string_view text) { OnScrollLinesEdited(text); });
    EditsPointerSetting(PointerSetting::WheelScrollLines);
}

Rect ScrollSpeedSection::ControlArea(std::size_t control) const
{
    constexpr Rect kAreas[kControlCount] = {kRowsBox, kOneScreenBox, kUpButton, kDownButton};
    return kAreas[control];
}

Rect ScrollSpeedSection::HitArea(std::size_t control) const
{
    switch (control) {
    case kRows:
        return Joined(kRowsBox, TextBeside(kRowsBox, kRowsTextRight));
    case kOneScreen:
        return Joined(kOneScreenBox, TextBeside(kOneScreenBox, kOneScreenTextRight));
    default:
        return ControlArea(control);
    }
}

std::string ScrollSpeedSection::ControlPicture(std::size_t control) const
{
    const bool oneScreen = Record().scrollOneScreen == kScrollByScreen;
    switch (control) {
    case kRows:
        return std::string(oneScreen ? kNotChosenPicture : kChosenPicture);
    case kOneScreen:
        return std::string(oneScreen ? kChosenPicture : kNotChosenPicture);
    case kUp:
        return std::string(kUpPicture);
    default:
        return std::string(kDownPicture);
    }
}

FocusControl ScrollSpeedSection::DescribeControl(std::size_t control) const
{
    FocusControl described;
    described.name = control == kOneScreen ? Texts().scrollOneScreen : Texts().numberOfRows;
    if (control == kRows || control == kOneScreen) {
        described.role = ControlRole::RadioButton;
        described.checked = Record().scrollOneScreen == (control == kRows ? kScrollByRows : kScrollByScreen);
    } else {
        described.value = std::to_string(Record().scrollLines);
    }
    return described;
}

bool ScrollSpeedSection::PressControl(std::size_t control, Point)
{
    ProfileRecord& record = Record();
    switch (control) {
    case kRows:
    case kOneScreen: {
        const std::uint8_t mode = control == kRows ? kScrollByRows : kScrollByScreen;
        const bool changed = record.scrollOneScreen != mode;
        record.scrollOneScreen = mode;
        return changed;
    }
    default: {
        const std::uint8_t lines = SteppedScrollLines(record.scrollLines, control == kUp ? +1 : -1);
        const bool changed = record.scrollLines != lines;
        record.scrollLines = lines;
        ShowLines(lines);
        return changed;
    }
    }
}

void ScrollSpeedSection::ShowLines(std::uint8_t lines)
{
    if (m_shownLines != lines) {
        m_lines.SetText(std::to_string(lines));
        m_shownLines = lines;
    }
}

void ScrollSpeedSection::OnScrollLinesEdited(std::string_view text)
{
    const auto lines = ScrollLinesOfText(text);
    Record().scrollLines = lines.value_or(kMinScrollLines);
    if (lines) {
        m_shownLines = *lines; // the box shows the user's own digits
    } else {
        m_lines.SetText(std::to_string(kMinScrollLines));
        m_shownLines = kMinScrollLines;
    }
}

void ScrollSpeedSection::DrawDetails(SkinCanvas& canvas, Point contentOrigin)
{
    const MainWindowTexts& texts = Texts();
    canvas.DrawText(Within(contentOrigin, TextBeside(kRowsBox, kRowsTextRight)), texts.numberOfRows, FontRole::Text,
                    TextColour(), TextAlign::Left);
    canvas.DrawText(Within(contentOrigin, TextBeside(kOneScreenBox, kOneScreenTextRight)), texts.scrollOneScreen,
                    FontRole::Text, TextColour(), TextAlign::Left);
    const Rect field = Within(contentOrigin, kLinesField);
    canvas.DrawImage(kLinesPicture, field.TopLeft());

    const ProfileRecord& record = Record();
    const Rect box{field.left + kBoxInset, field.top + kBoxInset, field.right - kBoxInset, field.bottom - kBoxInset};
    ShowLines(record.scrollLines);
    m_lines.SetEnabled(record.scrollOneScreen != kScrollByScreen);
    m_lines.SetTextColour(TextColour());
    m_lines.Show(box, Intersection(box, m_panel));
}

} // namespace veldrane
