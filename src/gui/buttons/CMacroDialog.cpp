#include "gui/buttons/CMacroDialog.h"

#include "gui/skin/SkinImageCache.h"
#include <QPainter>
#include <QString>

namespace veldrane {

CMacroDialog::CMacroDialog(SkinImageCache& images, MessageSink& messages, const IniFile& macroFile, Language language,
                           QWidget* parent)
    : SkinnedDialog(images, language, nullptr, parent), m_model(macroFile, language)
{
    m_model.Open(images, messages);
    SizeTo(m_model.WindowSize());
}

std::optional<MacroBindingChoice> CMacroDialog::Run(SkinImageCache& images, MessageSink& messages,
                                                    const IniFile& macroFile, Language language, QWidget* parent)
{
    CMacroDialog dialog(images, messages, macroFile, language, parent);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.m_model.Result();
}

void CMacroDialog::PaintExtras(QPainter& painter)
{
    painter.setFont(Fonts().FontFor(FontRole::Dialog));
    painter.setPen(Qt::white);
    for (std::size_t mode = 0; mode < MacroKeyBindingModel::kRepeatModeCount; ++mode) {
        const Rect area = MacroKeyBindingModel::kModeTexts[mode];
        const std::string_view text = m_model.RepeatModeText(mode);
        painter.drawText(QRect(area.left, area.top, area.Width(), area.Height()),
                         Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap,
                         QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    }
}

} // namespace veldrane
