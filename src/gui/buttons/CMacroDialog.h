#pragma once

#include <QFont>
#include <QRect>
#include <QString>

#include <array>
#include <optional>

#include "core/buttons/AssignmentDialogs.h"
#include "gui/buttons/SkinnedDialog.h"
#include "screens/macro/MacroKeyBindingModel.h"

namespace veldrane {

class IniFile;
class MessageSink;

// The macro key dialog: the macro dropdown, the three repeat modes, OK and Cancel.
class CMacroDialog : public SkinnedDialog
{
public:
    // Opens the model at once: a missing background is reported before the dialog shows.
    CMacroDialog(SkinImageCache& images, MessageSink& messages, const IniFile& macroFile, Language language,
                 QWidget* parent = nullptr);

    // Runs the dialog modally: the binding on OK with a macro picked; nothing on Cancel or
    // without a pick.
    static std::optional<MacroBindingChoice> Run(SkinImageCache& images, MessageSink& messages,
                                                 const IniFile& macroFile, Language language, QWidget* parent);

    MacroKeyBindingModel& Model() { return m_model; }

    static constexpr std::size_t kModes = MacroKeyBindingModel::kRepeatModeCount;
    static constexpr int kModeTextFlags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap;
    // Where a mode's text is drawn, and the font the model chose for all three.
    static QRect ModeTextBox(std::size_t mode);
    QFont ModeFont() const;
    std::array<QString, kModes> ModeTexts() const;

protected:
    bool event(QEvent* event) override;
    void DrawModel(SkinCanvas& canvas) override { m_model.Draw(canvas); }
    DialogAction PressModel(Point p) override { return m_model.Press(p); }
    bool HoverModel(Point p) override { return m_model.Hover(p); }
    bool WheelModel(int delta) override { return m_model.Wheel(delta); }
    // The mode texts, word-wrapped beside their boxes.
    void PaintExtras(QPainter& painter) override;

private:
    MacroKeyBindingModel m_model;
};

} // namespace veldrane
