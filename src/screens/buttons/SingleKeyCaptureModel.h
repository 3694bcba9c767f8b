#pragma once

#include <string>
#include <string_view>

#include "core/text/Language.h"
#include "ports/Geometry.h"
#include "screens/common/DialogBackground.h"
#include "screens/common/DialogButtons.h"

namespace veldrane {

class MessageSink;
class SkinCanvas;
class SkinImageSizes;
struct CaptureDialogTexts;

// The model of CSingleDialog, which captures one key for "Single Key". Every keyboard event that
// reaches the dialog, press, auto-repeat and release alike, shows its key's name; the name of the
// last event is the one returned. Nothing is carried over from an earlier opening. OK takes only a
// key the mouse can send (one with a code in the key table); for any other, or none, it shows
// why and the dialog stays open.
class SingleKeyCaptureModel
{
public:
    static constexpr std::string_view kBackground = "/single-key.png";
    // The title bar, left of the close area.
    static constexpr Rect kCaption{12, 0, 344, 30};
    static constexpr Rect kPrompt{34, 103, 180, 123};
    static constexpr Rect kKeyName{74, 129, 150, 143};

    explicit SingleKeyCaptureModel(Language language);

    // Looks up the background picture. Without it the dialog shows "error", captures nothing and
    // can only be closed.
    void Open(SkinImageSizes& sizes, MessageSink& messages);
    Size WindowSize() const { return m_background.WindowSize(); }
    bool Capturing() const { return m_background.Loaded(); }

    // A keyboard event's key name; true when the dialog shows it.
    bool OnKeyName(std::string_view name);
    // OK, Cancel and close end the dialog; a press anywhere else moves the window.
    DialogAction Press(Point p);
    bool Hover(Point p) { return m_buttons.Hover(p); }

    const std::string& KeyName() const { return m_keyName; }
    void Draw(SkinCanvas& canvas) const;

private:
    const CaptureDialogTexts& m_texts;
    std::string_view m_warningTitle; // the caption of the refusal
    DialogBackground m_background;
    DialogButtons m_buttons;
    std::string m_keyName;
    MessageSink* m_messages = nullptr;
};

} // namespace veldrane
