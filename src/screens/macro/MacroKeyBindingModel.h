#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/buttons/AssignmentDialogs.h"
#include "core/text/Language.h"
#include "ports/Geometry.h"
#include "ports/WheelNotches.h"
#include "screens/common/DialogBackground.h"
#include "screens/common/DialogButtons.h"
#include "screens/common/PaintedList.h"

namespace veldrane {

class IniFile;
class MessageSink;
class SkinCanvas;
class SkinImageSizes;
class TextMeasure;
struct MacroKeyDialogTexts;

// The model of CMacroDialog, which binds a button to a macro for "Macro Key": a dropdown of the
// macro names and three repeat modes. The dropdown reads the macro file each time it opens, so a
// macro made in the macro manager meanwhile is offered. Only the first twelve macros are offered:
// the mouse has twelve macro slots and a button bound to a thirteenth would play nothing.
//
// OK binds only a macro that was picked; without a pick (an empty or missing macro file
// included) it binds nothing and the button keeps what it had.
class MacroKeyBindingModel
{
public:
    static constexpr std::string_view kBackground = "/macro-key.png";
    static constexpr std::string_view kTicked = "/PaneMakingTick.png";
    static constexpr std::string_view kUnticked = "/Pane.png";
    static constexpr std::size_t kRepeatModeCount = 3;

    static constexpr Rect kMacroBox{42, 128, 151, 144};
    static constexpr Rect kDropdown{42, 146, 151, 286};
    static constexpr Rect kNameField{42, 128, 136, 144};
    // The heading is centred over the macro box, 30 pixels wider on each side, 16 pixels high.
    static constexpr Rect kCaption{12, 0, 300, 30}; // in the title bar, left of the close button
    static constexpr Rect kHeading{kMacroBox.left - 30, kMacroBox.top - 16, kMacroBox.right + 30, kMacroBox.top};
    static constexpr std::array<Rect, kRepeatModeCount> kModeBoxes{
        {{220, 78, 236, 94}, {220, 128, 236, 144}, {220, 178, 236, 194}}};
    // Each mode's text beside its box, word-wrapped and centred vertically. The canvas draws one
    // line only, so the dialog's window draws these itself from RepeatModeText, in the pixel size
    // of ModeTextPixelSize.
    static constexpr std::array<Rect, kRepeatModeCount> kModeTexts{
        {{237, 70, 390, 102}, {237, 120, 390, 152}, {237, 170, 390, 202}}};
    static constexpr int kSmallestModePixelSize = 9;
    static constexpr int kDropdownRowHeight = 16;
    // One notch of the wheel scrolls three lines.
    static constexpr int kLinesPerNotch = 3;

    MacroKeyBindingModel(const IniFile& macroFile, Language language);

    // A fresh opening: nothing picked, mode 0 ticked, the dropdown shut. Without the background
    // picture the dialog shows "error" and has no name field.
    void Open(SkinImageSizes& sizes, MessageSink& messages);
    Size WindowSize() const { return m_background.WindowSize(); }

    DialogAction Press(Point p);
    // Escape: closes the open dropdown (true); the dialog itself stays.
    bool Escape();
    bool Hover(Point p);
    // A turn of the wheel while the dropdown is open; positive deltas scroll up. True when the
    // dropdown scrolled.
    bool Wheel(int delta);

    const std::optional<PaintedList>& Dropdown() const { return m_dropdown; }
    std::optional<std::size_t> ChosenMacro() const { return m_chosenMacro; }
    const std::string& ChosenName() const { return m_chosenName; }
    std::uint8_t RepeatMode() const { return m_repeatMode; }
    std::string_view RepeatModeText(std::size_t mode) const;
    // The one size of the three mode texts: the dialog font's own, or the largest smaller one at
    // which every text fits its area; kSmallestModePixelSize when none does.
    int ModeTextPixelSize(const TextMeasure& measure) const;

    // What OK binds: the picked macro with the ticked mode; nothing without a pick.
    std::optional<MacroBindingChoice> Result() const;

    void Draw(SkinCanvas& canvas) const;

private:
    void OpenDropdown();

    const IniFile& m_macroFile;
    const MacroKeyDialogTexts& m_texts;
    DialogBackground m_background;
    DialogButtons m_buttons;
    std::optional<PaintedList> m_dropdown;
    std::optional<std::size_t> m_chosenMacro;
    std::string m_chosenName;
    std::uint8_t m_repeatMode = 0;
    WheelNotches m_wheel;
};

} // namespace veldrane
