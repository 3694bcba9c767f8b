#include "gui/skin/DrawSkinImage.h"

#include <QImage>
#include <QPainter>

#include "gui/skin/SkinImageCache.h"

namespace veldrane {

void DrawSkinImage(QPainter& painter, const QImage& picture, Point at)
{
    const QPainter::CompositionMode previous = painter.compositionMode();
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter.drawImage(QPoint(at.x, at.y), picture);
    painter.setCompositionMode(previous);
}

bool DrawSkinImage(QPainter& painter, SkinImageCache& images, std::string_view skinRelativePath, Point at)
{
    const QImage* picture = images.Find(skinRelativePath);
    if (!picture) {
        return false;
    }
    DrawSkinImage(painter, *picture, at);
    return true;
}

} // namespace veldrane
