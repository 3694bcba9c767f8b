#include "screens/buttons/ComboKeyCaptureModel.h"

#include <string>
#include <tuple>
#include <vector>

#include "core/buttons/KeyTables.h"
#include "core/text/CaptureDialogTexts.h"
#include "core/text/MessageTexts.h"
#include "ports/MessageSink.h"
#include "ports/SkinCanvas.h"

namespace veldrane {
namespace {

// Large enough for the OK, Cancel and close areas when the background is missing.
constexpr Size kBareSize{384, 286};
// Fields, the modifier box and the list are white on dark grey.
constexpr Colour kFieldText{255, 255, 255};
constexpr Colour kDisabledText{109, 109, 109};
constexpr Colour kFieldBackground{0x28, 0x28, 0x28};
constexpr Colour kFocusFrame{250, 250, 250};
// The name the keyboard gives Escape: it closes the open modifier list.
constexpr std::string_view kEscapeKeyName = "Esc";
constexpr ListColours kModifierListColours{.text = kFieldText, .background = kFieldBackground};

void DrawFrame(SkinCanvas& canvas, Rect area, Colour colour)
{
    canvas.FillRect({area.left - 1, area.top - 1, area.right + 1, area.top}, colour);
    canvas.FillRect({area.left - 1, area.bottom, area.right + 1, area.bottom + 1}, colour);
    canvas.FillRect({area.left - 1, area.top, area.left, area.bottom}, colour);
    canvas.FillRect({area.right, area.top, area.right + 1, area.bottom}, colour);
}

} // namespace

ComboKeyCaptureModel::ComboKeyCaptureModel(Language language)
    : m_texts(CaptureDialogTextsFor(language)), m_warningTitle(MessageCaptionsFor(language).warning),
      m_background(kBackground, kComboDialogImageFailed, kBareSize)
{}

void ComboKeyCaptureModel::Open(SkinImageSizes& sizes, MessageSink& messages)
{
    m_choice = {};
    m_modifierList.reset();
    m_messages = &messages;
    m_background.Open(sizes, messages);
    // The user can type the first key straight away.
    m_focus = Capturing() ? Field::Key1 : Field::None;
}

bool ComboKeyCaptureModel::OnKeyName(std::string_view name)
{
    if (m_modifierList && name == kEscapeKeyName) {
        CloseModifierList(); // and the key goes into no field: the focus stays with the dialog
        return true;
    }
    if (!Capturing() || !KeyFieldsEnabled()) {
        return false;
    }
    switch (m_focus) {
    case Field::Key1:
        m_choice.key1Name = std::string(name);
        return true;
    case Field::Key2:
        m_choice.key2Name = std::string(name);
        return true;
    case Field::None:
        break;
    }
    return false;
}

DialogAction ComboKeyCaptureModel::Accept()
{
    bool sendable = ModifierBitFromName(m_choice.modifierName) != 0;
    for (const std::string* name : {&m_choice.key1Name, &m_choice.key2Name}) {
        if (name->empty()) {
            continue;
        }
        if (KeyCodeFromName(*name, KeyTableInstance::Button) == 0) {
            sendable = false;
            break;
        }
        sendable = true;
    }
    if (sendable) {
        return DialogAction::Accept;
    }
    if (m_messages != nullptr) {
        m_messages->ShowMessage(m_texts.unsendable, m_warningTitle);
    }
    return DialogAction::None;
}

DialogAction ComboKeyCaptureModel::Press(Point p)
{
    const DialogAction action = PressArea(p);
    return action == DialogAction::Accept ? Accept() : action;
}

DialogAction ComboKeyCaptureModel::PressArea(Point p)
{
    if (!Capturing()) {
        return DialogButtons::ActionAt(p);
    }
    if (m_modifierList) {
        if (m_modifierList->Area().Contains(p)) {
            if (const auto row = m_modifierList->RowAt(p)) {
                m_choice.modifierName = m_modifierList->Entry(*row);
                CloseModifierList();
            }
            return DialogAction::None;
        }
        // Any press outside the list closes it; a press on the box only does that.
        CloseModifierList();
        if (kModifierClickArea.Contains(p)) {
            return DialogAction::None;
        }
        // The key fields were disabled when the press came, so it does not focus them.
        return DialogButtons::ActionAt(p);
    }
    if (kModifierClickArea.Contains(p)) {
        OpenModifierList();
        return DialogAction::None;
    }
    if (kKey1Field.Contains(p)) {
        m_focus = Field::Key1;
        return DialogAction::None;
    }
    if (kKey2Field.Contains(p)) {
        m_focus = Field::Key2;
        return DialogAction::None;
    }
    return DialogButtons::ActionAt(p);
}

bool ComboKeyCaptureModel::Hover(Point p)
{
    bool changed = m_buttons.Hover(p);
    if (m_modifierList) {
        changed = m_modifierList->HighlightAt(p) || changed;
    }
    return changed;
}

void ComboKeyCaptureModel::OpenModifierList()
{
    std::vector<std::string> names;
    for (std::string_view name : ModifierNames()) {
        names.emplace_back(name);
    }
    m_modifierList.emplace(kModifierList, kModifierRowHeight, std::move(names));
    // Keystrokes are ignored while the list is open: the dialog itself takes the focus.
    m_focus = Field::None;
}

void ComboKeyCaptureModel::Draw(SkinCanvas& canvas) const
{
    m_background.Draw(canvas);
    if (Capturing()) {
        canvas.DrawText(kCaption, m_texts.comboCaption, FontRole::Dialog, kFieldText, TextAlign::Left);
        canvas.FillRect(kModifierBox, kFieldBackground);
        canvas.DrawText(kModifierBox, m_choice.modifierName, FontRole::Dialog, kFieldText, TextAlign::Left);
        const Colour keyText = KeyFieldsEnabled() ? kFieldText : kDisabledText;
        for (const auto& [field, area, name] :
             {std::tuple{Field::Key1, kKey1Field, &m_choice.key1Name}, {Field::Key2, kKey2Field, &m_choice.key2Name}}) {
            canvas.FillRect(area, kFieldBackground);
            canvas.DrawText(area, *name, FontRole::Dialog, keyText, TextAlign::Centre);
            if (m_focus == field) {
                DrawFrame(canvas, area, kFocusFrame);
            }
        }
        if (m_modifierList) {
            m_modifierList->Draw(canvas, FontRole::Dialog, kModifierListColours);
        }
    }
    m_buttons.Draw(canvas, m_texts.comboOk, m_texts.cancel, FontRole::Dialog);
}

} // namespace veldrane
