#include "screens/macro/MacroKeyBindingModel.h"

#include <string>
#include <vector>

#include "core/macro/MacroFile.h"
#include "core/profile/ProfileRecord.h"
#include "core/text/MacroKeyDialogTexts.h"
#include "core/text/MessageTexts.h"
#include "ports/SkinCanvas.h"
#include "ports/TextMeasure.h"
#include "screens/common/ButtonPicture.h"

namespace veldrane {
namespace {

// Large enough for the OK, Cancel and close areas and the mode texts without the background.
constexpr Size kBareSize{400, 286};
constexpr Colour kText{255, 255, 255};
constexpr Colour kFieldBackground{0x28, 0x28, 0x28};
constexpr ListColours kDropdownColours{.text = kText, .background = kFieldBackground};

} // namespace

MacroKeyBindingModel::MacroKeyBindingModel(const IniFile& macroFile, Language language)
    : m_macroFile(macroFile), m_texts(MacroKeyDialogTextsFor(language)),
      m_background(kBackground, kMacroKeyDialogImageFailed, kBareSize)
{}

void MacroKeyBindingModel::Open(SkinImageSizes& sizes, MessageSink& messages)
{
    m_dropdown.reset();
    m_chosenMacro.reset();
    m_chosenName.clear();
    m_repeatMode = 0;
    m_wheel.Reset();
    m_background.Open(sizes, messages);
}

bool MacroKeyBindingModel::Escape()
{
    const bool open = m_dropdown.has_value();
    m_dropdown.reset();
    return open;
}

DialogAction MacroKeyBindingModel::Press(Point p)
{
    if (m_dropdown) {
        if (kDropdown.Contains(p)) {
            if (const auto row = m_dropdown->RowAt(p)) {
                m_chosenMacro = row;
                m_chosenName = m_dropdown->Entry(*row);
                m_dropdown.reset();
            }
            return DialogAction::None;
        }
        if (kMacroBox.Contains(p)) {
            m_dropdown.reset();
            return DialogAction::None;
        }
        // A press elsewhere shuts the dropdown first and then does what it does there.
        m_dropdown.reset();
    } else if (kMacroBox.Contains(p)) {
        OpenDropdown();
        return DialogAction::None;
    }
    for (std::size_t mode = 0; mode < kRepeatModeCount; ++mode) {
        if (kModeBoxes[mode].Contains(p)) {
            m_repeatMode = static_cast<std::uint8_t>(mode);
            return DialogAction::None;
        }
    }
    return DialogButtons::ActionAt(p);
}

void MacroKeyBindingModel::OpenDropdown()
{
    std::vector<std::string> names = ListMacroNames(m_macroFile);
    if (names.size() > kMacroCount) {
        names.resize(kMacroCount);
    }
    m_dropdown.emplace(kDropdown, kDropdownRowHeight, std::move(names));
    m_wheel.Reset();
}

bool MacroKeyBindingModel::Hover(Point p)
{
    bool changed = m_buttons.Hover(p);
    if (m_dropdown) {
        changed = m_dropdown->HighlightAt(p) || changed;
    }
    return changed;
}

bool MacroKeyBindingModel::Wheel(int delta)
{
    if (!m_dropdown) {
        return false;
    }
    const int notches = m_wheel.Add(delta);
    return notches != 0 && m_dropdown->ScrollBy(-notches * kLinesPerNotch);
}

std::string_view MacroKeyBindingModel::RepeatModeText(std::size_t mode) const
{
    return mode < kRepeatModeCount ? m_texts.repeatModes[mode] : std::string_view{};
}

int MacroKeyBindingModel::ModeTextPixelSize(const TextMeasure& measure) const
{
    const auto fitsAll = [&](int pixelSize) {
        for (std::size_t mode = 0; mode < kRepeatModeCount; ++mode) {
            const Rect area = kModeTexts[mode];
            const Size needed = measure.WrappedSize(RepeatModeText(mode), FontRole::Dialog, pixelSize, area.Width());
            if (needed.width > area.Width() || needed.height > area.Height()) {
                return false;
            }
        }
        return true;
    };
    int pixelSize = measure.PixelSize(FontRole::Dialog);
    while (pixelSize > kSmallestModePixelSize && !fitsAll(pixelSize)) {
        --pixelSize;
    }
    return pixelSize;
}

std::optional<MacroBindingChoice> MacroKeyBindingModel::Result() const
{
    if (!m_chosenMacro || *m_chosenMacro >= kMacroCount) {
        return std::nullopt;
    }
    return MacroBindingChoice{static_cast<std::uint8_t>(*m_chosenMacro), m_repeatMode, m_chosenName};
}

void MacroKeyBindingModel::Draw(SkinCanvas& canvas) const
{
    m_background.Draw(canvas);
    canvas.DrawText(kCaption, m_texts.caption, FontRole::Dialog, kText, TextAlign::Left);
    canvas.DrawText(kHeading, m_texts.heading, FontRole::Dialog, kText, TextAlign::Centre);
    if (m_background.Loaded()) {
        canvas.FillRect(kNameField, kFieldBackground);
        canvas.DrawText(kNameField, m_chosenName, FontRole::Dialog, kText, TextAlign::Left);
    }
    for (std::size_t mode = 0; mode < kRepeatModeCount; ++mode) {
        DrawButtonPicture(canvas, mode == m_repeatMode ? kTicked : kUnticked, kModeBoxes[mode],
                          mode == m_repeatMode ? kTickMark : std::string_view{});
    }
    m_buttons.Draw(canvas, m_texts.ok, m_texts.cancel, FontRole::Dialog);
    if (m_dropdown) {
        m_dropdown->Draw(canvas, FontRole::Dialog, kDropdownColours);
    }
}

} // namespace veldrane
