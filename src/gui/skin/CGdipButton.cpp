#include "gui/skin/CGdipButton.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

#include "gui/skin/DrawSkinImage.h"
#include "gui/skin/SkinImageCache.h"

namespace veldrane {
namespace {

// Applies a colour transform to the straight (not premultiplied) colours of a picture and
// prepares the result for painting again.
template <typename Transform> QImage Rendered(const QImage& picture, Transform transform)
{
    if (picture.isNull()) {
        return {};
    }
    QImage straight = picture.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < straight.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(straight.scanLine(y));
        for (int x = 0; x < straight.width(); ++x) {
            line[x] = transform(line[x]);
        }
    }
    return SkinImageCache::Premultiplied(straight);
}

int Channel(double value)
{
    return std::clamp(static_cast<int>(std::lround(value)), 0, 255);
}

} // namespace

CGdipButton::CGdipButton(QWidget* parent) : QWidget(parent)
{
    setMouseTracking(true);
    setAttribute(Qt::WA_Hover);
}

QImage CGdipButton::HotRendering(const QImage& picture)
{
    return Rendered(picture, [](QRgb pixel) {
        auto hot = [](int channel) { return Channel(channel * 1.05 + 0.05 * 255); };
        return qRgba(hot(qRed(pixel)), hot(qGreen(pixel)), hot(qBlue(pixel)), qAlpha(pixel));
    });
}

QImage CGdipButton::GreyedRendering(const QImage& picture)
{
    return Rendered(picture, [](QRgb pixel) {
        int grey = Channel(0.30 * qRed(pixel) + 0.59 * qGreen(pixel) + 0.11 * qBlue(pixel));
        return qRgba(grey, grey, grey, qAlpha(pixel));
    });
}

void CGdipButton::SetPicture(const QImage& picture)
{
    m_normal = picture;
    m_hotImage = HotRendering(picture);
    m_greyed = GreyedRendering(picture);
    update();
}

void CGdipButton::SetDisabled(bool disabled)
{
    m_disabled = disabled;
    update();
}

void CGdipButton::paintEvent(QPaintEvent*)
{
    const QImage& shown = m_disabled ? m_greyed : m_pressed ? m_normal : m_hot ? m_hotImage : m_normal;
    if (shown.isNull()) {
        return;
    }
    QPainter painter(this);
    DrawSkinImage(painter, shown, {0, 0});
}

Point CGdipButton::InParent(const QMouseEvent& event) const
{
    const QPoint p = mapToParent(event.position().toPoint());
    return {p.x(), p.y()};
}

void CGdipButton::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || m_disabled) {
        return;
    }
    m_pressed = true;
    update();
    if (onPress) {
        onPress(InParent(*event));
    }
}

void CGdipButton::mouseDoubleClickEvent(QMouseEvent* event)
{
    mousePressEvent(event); // a double click counts as a press
}

void CGdipButton::mouseMoveEvent(QMouseEvent* event)
{
    if (m_pressed && (event->buttons() & Qt::LeftButton) && onDrag) {
        onDrag(InParent(*event));
    }
}

void CGdipButton::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !m_pressed) {
        return;
    }
    m_pressed = false;
    update();
    if (onRelease) {
        onRelease();
    }
}

void CGdipButton::enterEvent(QEnterEvent*)
{
    m_hot = true;
    update();
}

void CGdipButton::leaveEvent(QEvent*)
{
    // Leaving gives the thumb its normal picture back, as the other hover pictures do.
    m_hot = false;
    update();
}

} // namespace veldrane
