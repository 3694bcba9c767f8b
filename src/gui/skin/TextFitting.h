#pragma once

#include <QFont>
#include <QString>

namespace veldrane {

// How a text is shown in an area of a given width: the stand-in faces are wider than the
// Windows faces the layout was made for, so a text that would run out of its area is first
// narrowed (down to 70 % of its width); a text that is still too wide is either left as it is
// or, where the area allows it, cut and ended with "…".
struct FittedText
{
    QFont font;
    QString text;
    bool elided = false;
};

FittedText FitText(const QFont& face, const QString& text, int width, bool elide);

} // namespace veldrane
