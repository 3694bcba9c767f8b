#include "screens/buttons/SingleKeyCaptureModel.h"

#include "core/buttons/KeyTables.h"
#include "core/text/CaptureDialogTexts.h"
#include "core/text/MessageTexts.h"
#include "ports/MessageSink.h"
#include "ports/SkinCanvas.h"

namespace veldrane {
namespace {

// Large enough for the OK, Cancel and close areas when the background is missing.
constexpr Size kBareSize{384, 286};
constexpr Colour kPromptText{255, 255, 255};
// The key name is shown in the skin's field colours, light on the dark grey of the combo
// dialog's fields, with a light edge that marks it as the field the key goes into.
constexpr Colour kKeyNameText{255, 255, 255};
constexpr Colour kKeyNameBackground{0x28, 0x28, 0x28};
constexpr Colour kKeyNameEdge{120, 120, 128};

} // namespace

SingleKeyCaptureModel::SingleKeyCaptureModel(Language language)
    : m_texts(CaptureDialogTextsFor(language)), m_warningTitle(MessageCaptionsFor(language).warning),
      m_background(kBackground, kSingleKeyDialogImageFailed, kBareSize)
{}

void SingleKeyCaptureModel::Open(SkinImageSizes& sizes, MessageSink& messages)
{
    m_keyName.clear();
    m_messages = &messages;
    m_background.Open(sizes, messages);
}

bool SingleKeyCaptureModel::OnKeyName(std::string_view name)
{
    if (!Capturing()) {
        return false;
    }
    m_keyName = std::string(name);
    return true;
}

DialogAction SingleKeyCaptureModel::Press(Point p)
{
    const DialogAction action = DialogButtons::ActionAt(p);
    if (action == DialogAction::Accept && KeyCodeFromName(m_keyName, KeyTableInstance::Button) == 0) {
        if (m_messages != nullptr) {
            m_messages->ShowMessage(m_texts.unsendable, m_warningTitle);
        }
        return DialogAction::None;
    }
    return action == DialogAction::None ? DialogAction::StartMove : action;
}

void SingleKeyCaptureModel::Draw(SkinCanvas& canvas) const
{
    m_background.Draw(canvas);
    if (Capturing()) {
        canvas.DrawText(kCaption, m_texts.singleCaption, FontRole::SingleDialog, kPromptText, TextAlign::Left);
        canvas.DrawText(kPrompt, m_texts.singlePrompt, FontRole::SingleDialog, kPromptText, TextAlign::Left);
        canvas.FillRect({kKeyName.left - 1, kKeyName.top - 1, kKeyName.right + 1, kKeyName.bottom + 1}, kKeyNameEdge);
        canvas.FillRect(kKeyName, kKeyNameBackground);
        canvas.DrawText(kKeyName, m_keyName, FontRole::SingleDialog, kKeyNameText, TextAlign::Centre);
    }
    m_buttons.Draw(canvas, m_texts.singleOk, m_texts.cancel, FontRole::SingleDialog);
}

} // namespace veldrane
