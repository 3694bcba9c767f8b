#pragma once

#include <QRect>
#include <QString>

#include <vector>

#include "gui/skin/QtSkinCanvas.h"

class QHelpEvent;
class QWidget;

namespace veldrane {

// The tooltips of a painted window: every text that its last paint cut to fit shows whole while
// the pointer rests on its area.
class ElidedTextTips
{
public:
    // After a paint of `area`: the texts cut there replace those that lay in it before.
    void Painted(QRect area, const std::vector<QtSkinCanvas::ElidedText>& elided);
    // Answers a tooltip event of `widget`; false when no cut text lies under the pointer.
    bool Show(QWidget& widget, const QHelpEvent& event) const;

private:
    std::vector<QtSkinCanvas::ElidedText> m_texts;
};

} // namespace veldrane
