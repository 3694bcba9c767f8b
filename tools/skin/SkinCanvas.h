#pragma once

#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPointF>
#include <QRectF>
#include <QSize>

#include <vector>

namespace veldrane {

// The surface of one skin picture with the small drawing pieces that the pictures share: the
// brushed backdrop, panels and wells, buttons, accent lines and glows, knobs, arrows and boxes.
// A picture starts fully transparent; whatever a painter leaves untouched stays see-through.
// Painters draw in the picture's own units whatever the scale: at scale 2 the surface has twice
// the pixels in both sides and every line, curve and gradient is drawn again at that density.
class SkinCanvas
{
public:
    enum class Tone
    {
        Steel,
        Accent
    };

    SkinCanvas(QSize size, int scale);
    SkinCanvas(const SkinCanvas&) = delete;
    SkinCanvas& operator=(const SkinCanvas&) = delete;

    QPainter& Painter() { return m_painter; }
    // The picture's area in its own units (the size at scale 1).
    QRectF Bounds() const;
    // Ends the drawing and hands over the picture; the canvas is finished afterwards.
    QImage Finish();
    // From here on drawing changes only colours: the outline painted so far (every pixel's
    // alpha) stays, so all states of a control cover exactly the same pixels.
    void KeepOutline();

    // Near-black brushed metal: a vertical gradient with fine horizontal streaks.
    void Backdrop(const QRectF& area, qreal radius);
    // A slightly raised dark surface with a thin light rim.
    void Panel(const QRectF& area, qreal radius);
    // A recessed slot or field: dark inside, shadow above, a faint light edge below.
    void Well(const QRectF& area, qreal radius);
    // A rounded push button; the over state is clearly brighter and has a red rim.
    void Button(const QRectF& area, qreal radius, Tone tone, bool over);
    // A thin red line with a soft glow that fades out towards both ends.
    void AccentLine(QPointF from, QPointF to, qreal width = 1.0);
    // A soft halo around a shape, made of widening, fading strokes.
    void Glow(const QPainterPath& shape, const QColor& colour, qreal spread);
    // A round steel knob with a red centre.
    void Knob(QPointF centre, qreal radius);
    void Chevron(QPointF centre, qreal size, Qt::ArrowType direction, const QColor& colour, qreal width);
    void Cross(QPointF centre, qreal size, const QColor& colour, qreal width);
    void Plus(QPointF centre, qreal size, const QColor& colour, qreal width);
    // A square tick box, ticked with a red check mark.
    void TickBox(const QRectF& area, bool ticked);
    // A small switch lamp: lit red or dark.
    void Lamp(const QRectF& area, bool lit);
    // A horizontal slider strip that covers its whole picture: slot, red fill up to the knob,
    // one dot per position and the knob at knobCentre.
    void SliderStrip(const std::vector<qreal>& positionCentres, qreal knobCentre);

    // The rectangle of pixel-aligned 1-pixel lines inside area.
    static QRectF Crisp(const QRectF& area);

private:
    QImage m_image;
    QPainter m_painter;
};

} // namespace veldrane
