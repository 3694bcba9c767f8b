#include "SkinCanvas.h"

#include "SkinPalette.h"

#include <QLinearGradient>
#include <QRadialGradient>

#include <algorithm>
#include <random>

namespace veldrane {

namespace {

// Streaks come from a fixed seed so that every build writes the same bytes.
constexpr unsigned kStreakSeed = 0x5eed;
constexpr int kGlowSteps = 6;
// Buttons this high carry a red line along their lower edge; the tiny title-bar buttons do not.
constexpr qreal kUnderlinedButtonHeight = 20;

QLinearGradient Vertical(const QRectF& area, QRgb top, QRgb bottom)
{
    QLinearGradient gradient(area.topLeft(), area.bottomLeft());
    gradient.setColorAt(0.0, Colour(top));
    gradient.setColorAt(1.0, Colour(bottom));
    return gradient;
}

} // namespace

SkinCanvas::SkinCanvas(QSize size, int scale) : m_image(size * scale, QImage::Format_ARGB32_Premultiplied)
{
    // The painter takes the image's pixel ratio as its scale, so the painters never see it.
    m_image.setDevicePixelRatio(scale);
    m_image.fill(Qt::transparent);
    m_painter.begin(&m_image);
    m_painter.setRenderHint(QPainter::Antialiasing);
}

QRectF SkinCanvas::Bounds() const
{
    return QRectF(QPointF(0, 0), m_image.deviceIndependentSize());
}

QImage SkinCanvas::Finish()
{
    m_painter.end();
    QImage finished = m_image.convertToFormat(QImage::Format_ARGB32);
    finished.setDevicePixelRatio(1.0);
    return finished;
}

void SkinCanvas::KeepOutline()
{
    m_painter.setCompositionMode(QPainter::CompositionMode_SourceAtop);
}

QRectF SkinCanvas::Crisp(const QRectF& area)
{
    return area.adjusted(0.5, 0.5, -0.5, -0.5);
}

void SkinCanvas::Backdrop(const QRectF& area, qreal radius)
{
    QPainterPath shape;
    shape.addRoundedRect(area, radius, radius);
    m_painter.save();
    m_painter.setClipPath(shape);
    m_painter.fillRect(area, Vertical(area, kBackdropTop, kBackdropBottom));

    std::minstd_rand streaks(kStreakSeed);
    std::uniform_real_distribution<qreal> along(area.left() - 40, area.right());
    std::uniform_real_distribution<qreal> length(20, 160);
    std::uniform_int_distribution<int> light(0, 1);
    std::uniform_int_distribution<int> strength(2, 6);
    for (int y = static_cast<int>(area.top()); y < static_cast<int>(area.bottom()); ++y) {
        for (int streak = 0; streak < 1 + static_cast<int>(area.width()) / 200; ++streak) {
            const qreal start = along(streaks);
            const QColor colour =
                light(streaks) ? QColor(255, 255, 255, strength(streaks)) : QColor(0, 0, 0, strength(streaks) * 3);
            m_painter.setPen(QPen(colour, 1.0));
            m_painter.drawLine(QPointF(start, y + 0.5), QPointF(start + length(streaks), y + 0.5));
        }
    }
    m_painter.restore();
}

void SkinCanvas::Panel(const QRectF& area, qreal radius)
{
    m_painter.save();
    m_painter.setPen(Qt::NoPen);
    m_painter.setBrush(Colour(kShadow));
    m_painter.drawRoundedRect(area.adjusted(0, 1, 0, 1), radius, radius);
    m_painter.setBrush(Vertical(area, kPanelTop, kPanelBottom));
    m_painter.setPen(QPen(Colour(kBorderLight), 1.0));
    m_painter.drawRoundedRect(Crisp(area), radius, radius);
    m_painter.restore();
}

void SkinCanvas::Well(const QRectF& area, qreal radius)
{
    m_painter.save();
    m_painter.setPen(QPen(WithAlpha(0xffffffff, 22), 1.0));
    m_painter.setBrush(Colour(kWell));
    m_painter.drawRoundedRect(Crisp(area), radius, radius);
    QPainterPath inner;
    inner.addRoundedRect(Crisp(area), radius, radius);
    m_painter.setClipPath(inner);
    m_painter.setPen(QPen(Colour(kWellEdge), 2.0));
    m_painter.drawLine(area.topLeft() + QPointF(0, 1), area.topRight() + QPointF(0, 1));
    m_painter.restore();
}

void SkinCanvas::Button(const QRectF& area, qreal radius, Tone tone, bool over)
{
    QRgb top = over ? kSteelOverTop : kSteelTop;
    QRgb bottom = over ? kSteelOverBottom : kSteelBottom;
    if (tone == Tone::Accent) {
        top = over ? kAccentBright : kAccent;
        bottom = over ? kAccent : kAccentDark;
    }
    m_painter.save();
    m_painter.setPen(Qt::NoPen);
    m_painter.setBrush(Vertical(area, top, bottom));
    m_painter.drawRoundedRect(area, radius, radius);
    KeepOutline();
    m_painter.setPen(QPen(over ? WithAlpha(kAccentGlow, 230) : Colour(kBorderLight), 1.0));
    m_painter.setBrush(Qt::NoBrush);
    m_painter.drawRoundedRect(Crisp(area), radius, radius);

    // A sheen over the upper half and, when hovered, a red light rising from the lower edge.
    QPainterPath face;
    face.addRoundedRect(Crisp(area).adjusted(1, 1, -1, -1), radius - 1, radius - 1);
    m_painter.setClipPath(face);
    QLinearGradient sheen(area.topLeft(), area.bottomLeft());
    sheen.setColorAt(0.0, QColor(255, 255, 255, over ? 60 : 34));
    sheen.setColorAt(0.5, QColor(255, 255, 255, 0));
    m_painter.fillRect(area, sheen);
    if (over) {
        QRadialGradient light(QPointF(area.center().x(), area.bottom()), area.width() * 0.6);
        light.setColorAt(0.0, WithAlpha(kAccentGlow, 120));
        light.setColorAt(1.0, WithAlpha(kAccentGlow, 0));
        m_painter.fillRect(area, light);
    } else if (tone == Tone::Steel && area.height() >= kUnderlinedButtonHeight) {
        m_painter.setPen(QPen(WithAlpha(kAccent, 200), 1.0));
        m_painter.drawLine(QPointF(area.left() + radius, area.bottom() - 1.5),
                           QPointF(area.right() - radius, area.bottom() - 1.5));
    }
    m_painter.restore();
}

void SkinCanvas::AccentLine(QPointF from, QPointF to, qreal width)
{
    QLinearGradient along(from, to);
    along.setColorAt(0.0, WithAlpha(kAccent, 0));
    along.setColorAt(0.15, Colour(kAccentBright));
    along.setColorAt(0.85, Colour(kAccentBright));
    along.setColorAt(1.0, WithAlpha(kAccent, 0));
    QLinearGradient halo(from, to);
    halo.setColorAt(0.0, WithAlpha(kAccent, 0));
    halo.setColorAt(0.5, WithAlpha(kAccent, 70));
    halo.setColorAt(1.0, WithAlpha(kAccent, 0));
    m_painter.save();
    m_painter.setPen(QPen(QBrush(halo), width + 4.0, Qt::SolidLine, Qt::FlatCap));
    m_painter.drawLine(from, to);
    m_painter.setPen(QPen(QBrush(along), width, Qt::SolidLine, Qt::FlatCap));
    m_painter.drawLine(from, to);
    m_painter.restore();
}

void SkinCanvas::Glow(const QPainterPath& shape, const QColor& colour, qreal spread)
{
    m_painter.save();
    m_painter.setBrush(Qt::NoBrush);
    for (int step = kGlowSteps; step >= 1; --step) {
        QColor halo = colour;
        halo.setAlphaF(colour.alphaF() * 0.35 / step);
        m_painter.setPen(QPen(halo, spread * step / kGlowSteps * 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        m_painter.drawPath(shape);
    }
    m_painter.restore();
}

void SkinCanvas::Knob(QPointF centre, qreal radius)
{
    m_painter.save();
    QRadialGradient metal(centre - QPointF(radius * 0.4, radius * 0.5), radius * 1.6);
    metal.setColorAt(0.0, QColor(240, 240, 244));
    metal.setColorAt(0.6, QColor(150, 150, 158));
    metal.setColorAt(1.0, QColor(70, 70, 78));
    m_painter.setPen(QPen(QColor(10, 10, 12), 0.8));
    m_painter.setBrush(metal);
    m_painter.drawEllipse(centre, radius - 0.4, radius - 0.4);
    m_painter.setPen(Qt::NoPen);
    m_painter.setBrush(Colour(kAccentBright));
    m_painter.drawEllipse(centre, radius * 0.32, radius * 0.32);
    m_painter.restore();
}

void SkinCanvas::Chevron(QPointF centre, qreal size, Qt::ArrowType direction, const QColor& colour, qreal width)
{
    const qreal h = size / 2.0;
    const qreal q = size / 4.0;
    QPolygonF points;
    switch (direction) {
    case Qt::UpArrow:
        points << centre + QPointF(-h, q) << centre + QPointF(0, -q) << centre + QPointF(h, q);
        break;
    case Qt::DownArrow:
        points << centre + QPointF(-h, -q) << centre + QPointF(0, q) << centre + QPointF(h, -q);
        break;
    case Qt::LeftArrow:
        points << centre + QPointF(q, -h) << centre + QPointF(-q, 0) << centre + QPointF(q, h);
        break;
    default:
        points << centre + QPointF(-q, -h) << centre + QPointF(q, 0) << centre + QPointF(-q, h);
        break;
    }
    m_painter.save();
    m_painter.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    m_painter.setBrush(Qt::NoBrush);
    m_painter.drawPolyline(points);
    m_painter.restore();
}

void SkinCanvas::Cross(QPointF centre, qreal size, const QColor& colour, qreal width)
{
    const qreal h = size / 2.0;
    m_painter.save();
    m_painter.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap));
    m_painter.drawLine(centre + QPointF(-h, -h), centre + QPointF(h, h));
    m_painter.drawLine(centre + QPointF(-h, h), centre + QPointF(h, -h));
    m_painter.restore();
}

void SkinCanvas::Plus(QPointF centre, qreal size, const QColor& colour, qreal width)
{
    const qreal h = size / 2.0;
    m_painter.save();
    m_painter.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap));
    m_painter.drawLine(centre + QPointF(-h, 0), centre + QPointF(h, 0));
    m_painter.drawLine(centre + QPointF(0, -h), centre + QPointF(0, h));
    m_painter.restore();
}

void SkinCanvas::TickBox(const QRectF& area, bool ticked)
{
    m_painter.save();
    m_painter.setPen(Qt::NoPen);
    m_painter.setBrush(Vertical(area, ticked ? kAccentDark : kWell, ticked ? 0xff2a0000 : kPanelBottom));
    m_painter.drawRoundedRect(area, 2, 2);
    KeepOutline();
    m_painter.setPen(QPen(ticked ? Colour(kAccentGlow) : QColor(120, 120, 128), 1.0));
    m_painter.setBrush(Qt::NoBrush);
    m_painter.drawRoundedRect(Crisp(area), 2, 2);
    if (ticked) {
        const qreal w = area.width();
        const qreal h = area.height();
        QPolygonF check;
        check << area.topLeft() + QPointF(w * 0.22, h * 0.52) << area.topLeft() + QPointF(w * 0.42, h * 0.72)
              << area.topLeft() + QPointF(w * 0.78, h * 0.28);
        m_painter.setPen(
            QPen(QColor(255, 235, 230), std::max<qreal>(1.5, w / 7.0), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        m_painter.drawPolyline(check);
    }
    m_painter.restore();
}

void SkinCanvas::Lamp(const QRectF& area, bool lit)
{
    m_painter.save();
    m_painter.setRenderHint(QPainter::Antialiasing, false);
    m_painter.fillRect(area, Colour(lit ? kAccentDark : kWellEdge));
    m_painter.setPen(lit ? Colour(kAccentGlow) : QColor(96, 96, 104));
    m_painter.setBrush(Qt::NoBrush);
    m_painter.drawRect(area.adjusted(0, 0, -1, -1));
    if (lit) {
        m_painter.setRenderHint(QPainter::Antialiasing, true);
        QRadialGradient core(area.center(), area.width() / 2.0);
        core.setColorAt(0.0, QColor(255, 210, 200));
        core.setColorAt(0.45, Colour(kAccentBright));
        core.setColorAt(1.0, WithAlpha(kAccent, 0));
        m_painter.fillRect(area.adjusted(1, 1, -1, -1), core);
    }
    m_painter.restore();
}

void SkinCanvas::SliderStrip(const std::vector<qreal>& positionCentres, qreal knobCentre)
{
    const QRectF area = Bounds();
    const qreal middle = area.height() / 2.0;
    const qreal radius = area.height() / 2.0;
    m_painter.save();
    m_painter.fillRect(area, Colour(kPanelBottom));
    const QRectF slot(0, middle - 1.5, area.width(), 3);
    m_painter.fillRect(slot, Colour(kWell));
    QLinearGradient fill(QPointF(0, 0), QPointF(area.width(), 0));
    fill.setColorAt(0.0, Colour(kAccentDark));
    fill.setColorAt(1.0, Colour(kAccentBright));
    m_painter.fillRect(QRectF(0, middle - 1.5, knobCentre, 3), fill);
    m_painter.setPen(Qt::NoPen);
    for (const qreal centre : positionCentres) {
        m_painter.setBrush(centre <= knobCentre ? QColor(255, 140, 120) : QColor(90, 90, 98));
        m_painter.drawEllipse(QPointF(centre, middle), 1.0, 1.0);
    }
    m_painter.restore();
    Knob(QPointF(knobCentre, middle), radius);
}

} // namespace veldrane
