#include "gui/skin/TextFitting.h"

#include <QFontMetrics>

#include <algorithm>

namespace veldrane {
namespace {

constexpr int kNarrowestStretch = 70;

} // namespace

FittedText FitText(const QFont& face, const QString& text, int width, bool elide)
{
    FittedText fitted{face, text, false};
    // The stretch does not scale every face in proportion (a condensed face may be chosen), so
    // the width is measured again after each step.
    int stretch = QFont::Unstretched;
    for (int advance = QFontMetrics(fitted.font).horizontalAdvance(text);
         advance > width && stretch > kNarrowestStretch; advance = QFontMetrics(fitted.font).horizontalAdvance(text)) {
        stretch = std::max(kNarrowestStretch, std::min(stretch - 1, stretch * width / advance));
        fitted.font.setStretch(stretch);
    }
    if (elide) {
        const QFontMetrics metrics(fitted.font);
        if (metrics.horizontalAdvance(text) > width) {
            fitted.text = metrics.elidedText(text, Qt::ElideRight, width);
            fitted.elided = true;
        }
    }
    return fitted;
}

} // namespace veldrane
