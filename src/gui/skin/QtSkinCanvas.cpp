#include "gui/skin/QtSkinCanvas.h"

#include <QColor>
#include <QFontMetrics>
#include <QPainter>
#include <QString>

#include <algorithm>

#include "gui/skin/DrawSkinImage.h"
#include "gui/skin/FontBook.h"
#include "gui/skin/SkinImageCache.h"
#include "gui/skin/TextFitting.h"

namespace veldrane {
namespace {

QRect ToQRect(Rect rect)
{
    return QRect(rect.left, rect.top, rect.Width(), rect.Height());
}

QColor ToQColor(Colour colour)
{
    return QColor(colour.r, colour.g, colour.b, colour.a);
}

Qt::Alignment ToAlignment(TextAlign align)
{
    switch (align) {
    case TextAlign::Centre:
    case TextAlign::CentreElided:
        return Qt::AlignHCenter | Qt::AlignVCenter;
    case TextAlign::Right:
        return Qt::AlignRight | Qt::AlignVCenter;
    case TextAlign::Left:
    case TextAlign::LeftElided:
        break;
    }
    return Qt::AlignLeft | Qt::AlignVCenter;
}

} // namespace

QtSkinCanvas::QtSkinCanvas(QPainter& painter, SkinImageCache& images, const FontBook& fonts, QRect area)
    : m_painter(painter), m_images(images), m_fonts(fonts), m_area(area), m_clip(area)
{
    m_painter.setClipRect(m_area);
}

std::optional<Size> QtSkinCanvas::ImageSize(std::string_view skinRelativePath)
{
    return m_images.ImageSize(skinRelativePath);
}

bool QtSkinCanvas::DrawImage(std::string_view skinRelativePath, Point at)
{
    const QImage* picture = m_images.Find(skinRelativePath, DevicePixelRatioOf(m_painter));
    if (!picture) {
        return false;
    }
    if (QRectF(QPointF(at.x, at.y), picture->deviceIndependentSize()).toAlignedRect().intersects(m_clip)) {
        DrawSkinImage(m_painter, *picture, at);
    }
    return true;
}

bool QtSkinCanvas::DrawImageRows(std::string_view skinRelativePath, Point at, int fromRow, int toRow, int height)
{
    const QImage* picture = m_images.Find(skinRelativePath, DevicePixelRatioOf(m_painter));
    if (!picture) {
        return false;
    }
    const qreal ratio = picture->devicePixelRatio();
    const qreal width = picture->deviceIndependentSize().width();
    const QRectF target(at.x, at.y, width, height);
    if (toRow > fromRow && height > 0 && target.toAlignedRect().intersects(m_clip)) {
        const QRectF source(0, fromRow * ratio, picture->width(), (toRow - fromRow) * ratio);
        const QPainter::CompositionMode previous = m_painter.compositionMode();
        m_painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
        m_painter.drawImage(target, *picture, source);
        m_painter.setCompositionMode(previous);
    }
    return true;
}

void QtSkinCanvas::DrawText(Rect area, std::string_view utf8, FontRole font, Colour colour, TextAlign align)
{
    const QRect target = ToQRect(area);
    if (!target.intersects(m_clip) || utf8.empty()) {
        return;
    }
    const QString text = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
    const FittedText fitted = FitText(m_fonts.FontFor(font), text, target.width(),
                                      align == TextAlign::CentreElided || align == TextAlign::LeftElided);
    if (fitted.elided) {
        m_elided.push_back({target, text});
    }
    m_painter.setFont(fitted.font);
    m_painter.setPen(ToQColor(colour));
    m_painter.drawText(target, static_cast<int>(ToAlignment(align) | Qt::TextSingleLine), fitted.text);
}

void QtSkinCanvas::FillRect(Rect area, Colour colour)
{
    m_painter.fillRect(ToQRect(area), ToQColor(colour));
}

void QtSkinCanvas::SetClip(std::optional<Rect> clip)
{
    m_clip = clip ? m_area.intersected(ToQRect(*clip)) : m_area;
    m_painter.setClipRect(m_clip);
}

} // namespace veldrane
