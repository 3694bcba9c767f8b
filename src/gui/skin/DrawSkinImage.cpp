#include "gui/skin/DrawSkinImage.h"

#include <QImage>
#include <QPaintEngine>
#include <QPainter>

#include "gui/skin/SkinImageCache.h"

namespace veldrane {

void DrawSkinImage(QPainter& painter, const QImage& picture, Point at)
{
    const QPainter::CompositionMode previous = painter.compositionMode();
    const bool smooth = painter.testRenderHint(QPainter::SmoothPixmapTransform);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    if (picture.devicePixelRatio() != DevicePixelRatioOf(painter)) {
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
    }
    painter.drawImage(QPoint(at.x, at.y), picture);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, smooth);
    painter.setCompositionMode(previous);
}

qreal DevicePixelRatioOf(const QPainter& painter)
{
    // A widget's painter reaches the pixels through its backing store, or through the image a
    // widget is rendered into: the ratio is that of the surface that takes the pixels.
    if (const QPaintEngine* engine = painter.paintEngine(); engine && engine->paintDevice()) {
        return engine->paintDevice()->devicePixelRatioF();
    }
    return painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
}

bool DrawSkinImage(QPainter& painter, SkinImageCache& images, std::string_view skinRelativePath, Point at)
{
    const QImage* picture = images.Find(skinRelativePath, DevicePixelRatioOf(painter));
    if (!picture) {
        return false;
    }
    DrawSkinImage(painter, *picture, at);
    return true;
}

} // namespace veldrane
