#include "AppIcon.h"

#include <QPainter>
#include <QPen>

namespace veldrane {

QImage DrawAppIcon(int size)
{
    // Drawn on a 64-unit grid and scaled, so every size is the same picture.
    constexpr qreal kGrid = 64;
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / kGrid, size / kGrid);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x20, 0x20, 0x20));
    painter.drawRoundedRect(QRectF(2, 2, kGrid - 4, kGrid - 4), 12, 12);
    QPen pen(QColor(0x3f, 0xa9, 0xf5));
    pen.setWidthF(8);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    painter.setPen(pen);
    const QPointF v[] = {{16, 16}, {32, 48}, {48, 16}};
    painter.drawPolyline(v, 3);
    painter.end();
    return image;
}

} // namespace veldrane
