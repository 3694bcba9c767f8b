#include "gui/skin/ElidedTextTips.h"

#include <QHelpEvent>
#include <QToolTip>
#include <QWidget>

#include <algorithm>

namespace veldrane {

void ElidedTextTips::Painted(QRect area, const std::vector<QtSkinCanvas::ElidedText>& elided)
{
    std::erase_if(m_texts, [&](const QtSkinCanvas::ElidedText& text) { return area.intersects(text.area); });
    m_texts.insert(m_texts.end(), elided.begin(), elided.end());
}

bool ElidedTextTips::Show(QWidget& widget, const QHelpEvent& event) const
{
    const auto found = std::find_if(m_texts.begin(), m_texts.end(), [&](const QtSkinCanvas::ElidedText& text) {
        return text.area.contains(event.pos());
    });
    if (found == m_texts.end()) {
        QToolTip::hideText();
        return false;
    }
    QToolTip::showText(event.globalPos(), found->text, &widget, found->area);
    return true;
}

} // namespace veldrane
