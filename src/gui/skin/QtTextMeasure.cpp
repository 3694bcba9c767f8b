#include "gui/skin/QtTextMeasure.h"

#include <QFontMetrics>
#include <QString>

#include "gui/skin/FontBook.h"

namespace veldrane {

int QtTextMeasure::PixelSize(FontRole font) const
{
    return m_fonts.FontFor(font).pixelSize();
}

Size QtTextMeasure::WrappedSize(std::string_view utf8, FontRole font, int pixelSize, int width) const
{
    QFont sized = m_fonts.FontFor(font);
    sized.setPixelSize(pixelSize);
    const QString text = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
    const QRect needed = QFontMetrics(sized).boundingRect(0, 0, width, 0, Qt::AlignLeft | Qt::TextWordWrap, text);
    return {needed.width(), needed.height()};
}

} // namespace veldrane
