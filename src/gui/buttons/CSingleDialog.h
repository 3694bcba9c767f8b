#pragma once

#include <optional>
#include <string>

#include "gui/buttons/SkinnedDialog.h"
#include "screens/buttons/SingleKeyCaptureModel.h"

namespace veldrane {

class MessageSink;

// The single-key capture dialog: shows the name of the last key event and returns it on OK.
// A press anywhere but on OK, Cancel and close moves the window.
class CSingleDialog : public SkinnedDialog
{
public:
    // Opens the model at once: a missing background is reported before the dialog shows.
    CSingleDialog(SkinImageCache& images, MessageSink& messages, const KeyNameSource& keyNames, Language language,
                  QWidget* parent = nullptr);

    // Runs the dialog modally: the key name on OK (possibly empty), nothing on Cancel.
    static std::optional<std::string> Run(SkinImageCache& images, MessageSink& messages, const KeyNameSource& keyNames,
                                          Language language, QWidget* parent);

    SingleKeyCaptureModel& Model() { return m_model; }

protected:
    void DrawModel(SkinCanvas& canvas) override { m_model.Draw(canvas); }
    DialogAction PressModel(Point p) override { return m_model.Press(p); }
    bool HoverModel(Point p) override { return m_model.Hover(p); }
    bool KeyModel(std::string_view name) override { return m_model.OnKeyName(name); }

private:
    SingleKeyCaptureModel m_model;
};

} // namespace veldrane
