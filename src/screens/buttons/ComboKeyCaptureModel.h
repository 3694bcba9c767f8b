#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "core/buttons/AssignmentDialogs.h"
#include "core/text/Language.h"
#include "ports/Geometry.h"
#include "screens/common/DialogBackground.h"
#include "screens/common/DialogButtons.h"
#include "screens/common/PaintedList.h"

namespace veldrane {

class MessageSink;
class SkinCanvas;
class SkinImageSizes;
struct CaptureDialogTexts;

// The model of CComboDialog, which builds a "Combo Key": one modifier picked from a list of the
// eight modifier names, and two keys captured into two key fields. A keyboard event's name goes
// into the key field that has the focus, and nowhere while neither has it or while the modifier
// list is open (the fields are disabled then). OK returns the names as they stand, empty ones
// included, but only when the mouse can send them: a typed key without a code in the key table,
// or nothing chosen at all, is refused with a message and the dialog stays open.
class ComboKeyCaptureModel
{
public:
    enum class Field
    {
        None, // the dialog itself has the focus
        Key1,
        Key2
    };

    static constexpr std::string_view kBackground = "/combo-key.png";
    // The title bar, left of the close area: what to do in the dialog.
    static constexpr Rect kCaption{12, 0, 344, 30};
    static constexpr Rect kModifierBox{50, 70, 116, 84};
    static constexpr Rect kModifierClickArea{50, 70, 132, 84};
    static constexpr Rect kModifierList{50, 87, 132, 227};
    static constexpr int kModifierRowHeight = 17;
    static constexpr Rect kKey1Field{50, 120, 131, 134};
    static constexpr Rect kKey2Field{50, 170, 131, 184};

    explicit ComboKeyCaptureModel(Language language);

    // Looks up the background picture. Without it the dialog shows "error", has no fields and no
    // capture, and can only be closed.
    void Open(SkinImageSizes& sizes, MessageSink& messages);
    Size WindowSize() const { return m_background.WindowSize(); }
    bool Capturing() const { return m_background.Loaded(); }

    // A keyboard event's key name; true when a field took it.
    bool OnKeyName(std::string_view name);
    DialogAction Press(Point p);
    bool Hover(Point p);

    Field Focus() const { return m_focus; }
    bool KeyFieldsEnabled() const { return !m_modifierList.has_value(); }
    const std::optional<PaintedList>& ModifierList() const { return m_modifierList; }
    ComboKeyChoice Result() const { return m_choice; }

    void Draw(SkinCanvas& canvas) const;

private:
    void OpenModifierList();
    void CloseModifierList() { m_modifierList.reset(); }
    // OK, or None after the refusal's message.
    DialogAction Accept();
    DialogAction PressArea(Point p);

    const CaptureDialogTexts& m_texts;
    std::string_view m_warningTitle; // the caption of the refusal
    DialogBackground m_background;
    DialogButtons m_buttons;
    ComboKeyChoice m_choice;
    std::optional<PaintedList> m_modifierList;
    Field m_focus = Field::None;
    MessageSink* m_messages = nullptr;
};

} // namespace veldrane
