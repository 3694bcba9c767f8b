#include "gui/buttons/CMacroDialog.h"

#include <QKeyEvent>
#include <QPainter>
#include <QString>

#include "gui/skin/QtTextMeasure.h"
#include "gui/skin/SkinImageCache.h"

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

bool CMacroDialog::event(QEvent* event)
{
    // The dialog captures no key; Escape closes its dropdown list.
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        if (m_model.Escape()) {
            update();
        }
        event->accept();
        return true;
    }
    return SkinnedDialog::event(event);
}

QRect CMacroDialog::ModeTextBox(std::size_t mode)
{
    // The skin draws a panel behind each mode's text: the text stays inside it.
    const Rect area = MacroKeyBindingModel::kModeTexts[mode];
    return QRect(area.left, area.top, area.Width(), area.Height());
}

QFont CMacroDialog::ModeFont() const
{
    QFont font = Fonts().FontFor(FontRole::Dialog);
    font.setPixelSize(m_model.ModeTextPixelSize(QtTextMeasure(Fonts())));
    return font;
}

std::array<QString, CMacroDialog::kModes> CMacroDialog::ModeTexts() const
{
    std::array<QString, kModes> texts;
    for (std::size_t mode = 0; mode < kModes; ++mode) {
        const std::string_view utf8 = m_model.RepeatModeText(mode);
        texts[mode] = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
    }
    return texts;
}

void CMacroDialog::PaintExtras(QPainter& painter)
{
    const std::array<QString, kModes> texts = ModeTexts();
    painter.setPen(Qt::white);
    painter.setFont(ModeFont());
    for (std::size_t mode = 0; mode < kModes; ++mode) {
        painter.drawText(ModeTextBox(mode), kModeTextFlags, texts[mode]);
    }
}

} // namespace veldrane
