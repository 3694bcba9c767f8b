#include "gui/buttons/CMacroDialog.h"

#include "gui/skin/SkinImageCache.h"
#include <QFontMetrics>
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
    // A mode's text is longer than the two lines its area holds in the dialog's font: it takes the
    // height up to the next mode's area, centred on its box, and a smaller size if even that is
    // not enough, so that no word is cut off.
    constexpr int kExtraHeight = 8;
    constexpr int kSmallestPixelSize = 9;
    painter.setPen(Qt::white);
    for (std::size_t mode = 0; mode < MacroKeyBindingModel::kRepeatModeCount; ++mode) {
        const Rect area = MacroKeyBindingModel::kModeTexts[mode];
        const QRect box(area.left, area.top - kExtraHeight, area.Width(), area.Height() + 2 * kExtraHeight);
        const std::string_view utf8 = m_model.RepeatModeText(mode);
        const QString text = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
        constexpr int kFlags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap;
        QFont font = Fonts().FontFor(FontRole::Dialog);
        while (font.pixelSize() > kSmallestPixelSize &&
               QFontMetrics(font).boundingRect(box, kFlags, text).height() > box.height()) {
            font.setPixelSize(font.pixelSize() - 1);
        }
        painter.setFont(font);
        painter.drawText(box, kFlags, text);
    }
}

} // namespace veldrane
