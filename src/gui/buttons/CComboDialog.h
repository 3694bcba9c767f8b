#pragma once

#include <optional>

#include "core/buttons/AssignmentDialogs.h"
#include "gui/buttons/SkinnedDialog.h"
#include "screens/buttons/ComboKeyCaptureModel.h"

namespace veldrane {

class MessageSink;

// The combo-key capture dialog: a modifier from its list and two captured keys, returned on OK
// as they stand.
class CComboDialog : public SkinnedDialog
{
public:
    // Opens the model at once: a missing background is reported before the dialog shows.
    CComboDialog(SkinImageCache& images, MessageSink& messages, const KeyNameSource& keyNames, Language language,
                 QWidget* parent = nullptr);

    // Runs the dialog modally: the three names on OK, nothing on Cancel.
    static std::optional<ComboKeyChoice> Run(SkinImageCache& images, MessageSink& messages,
                                             const KeyNameSource& keyNames, Language language, QWidget* parent);

    ComboKeyCaptureModel& Model() { return m_model; }

protected:
    void DrawModel(SkinCanvas& canvas) override { m_model.Draw(canvas); }
    DialogAction PressModel(Point p) override { return m_model.Press(p); }
    bool HoverModel(Point p) override { return m_model.Hover(p); }
    bool KeyModel(std::string_view name) override { return m_model.OnKeyName(name); }

private:
    ComboKeyCaptureModel m_model;
};

} // namespace veldrane
