#include "MousePictures.h"

#include "SkinCanvas.h"
#include "SkinPalette.h"

#include <QLinearGradient>
#include <QRadialGradient>

#include <vector>

namespace veldrane {

namespace {

constexpr qreal kSideDrop = 78;

// One button of a view: the shape it covers and the row of the assignment section that shows it.
struct MouseButton
{
    int row;
    QPainterPath shape;
};

QPainterPath RoundedRect(const QRectF& area, qreal radius)
{
    QPainterPath path;
    path.addRoundedRect(area, radius, radius);
    return path;
}

// The shell of the mouse: dark satin with a soft light from the upper left.
void PaintShell(SkinCanvas& canvas, const QPainterPath& body, QPointF light)
{
    QPainter& painter = canvas.Painter();
    QRadialGradient satin(light, body.boundingRect().height() * 0.8);
    satin.setColorAt(0.0, QColor(62, 62, 70));
    satin.setColorAt(0.55, QColor(30, 30, 35));
    satin.setColorAt(1.0, QColor(14, 14, 16));
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(satin);
    painter.drawPath(body);
    painter.restore();
}

// A button of the mouse, lit red when its row is the selected one. Light stays inside the
// shell, so that every picture of a view covers exactly the same pixels.
void PaintButton(SkinCanvas& canvas, const QPainterPath& body, const QPainterPath& shape, bool lit)
{
    QPainter& painter = canvas.Painter();
    const QRectF box = shape.boundingRect();
    QLinearGradient face(box.topLeft(), box.bottomRight());
    if (lit) {
        face.setColorAt(0.0, Colour(kAccentGlow));
        face.setColorAt(0.6, Colour(kAccentBright));
        face.setColorAt(1.0, Colour(kAccent));
    } else {
        face.setColorAt(0.0, QColor(58, 58, 66));
        face.setColorAt(1.0, QColor(26, 26, 30));
    }
    painter.save();
    painter.setClipPath(body);
    if (lit) {
        canvas.Glow(shape, Colour(kAccentGlow), 10);
    }
    painter.setPen(QPen(lit ? QColor(255, 200, 190) : QColor(8, 8, 10), lit ? 1.2 : 1.0));
    painter.setBrush(face);
    painter.drawPath(shape);
    painter.restore();
}

void PaintRim(SkinCanvas& canvas, const QPainterPath& body)
{
    QPainter& painter = canvas.Painter();
    painter.save();
    painter.setBrush(Qt::NoBrush);
    painter.setClipPath(body);
    painter.setPen(QPen(QColor(255, 255, 255, 46), 2.0));
    painter.drawPath(body);
    painter.restore();
}

void PaintShadow(SkinCanvas& canvas, QPointF centre, qreal rx, qreal ry)
{
    QPainter& painter = canvas.Painter();
    QRadialGradient shadow(QPointF(0, 0), 1.0);
    shadow.setColorAt(0.0, QColor(0, 0, 0, 150));
    shadow.setColorAt(1.0, QColor(0, 0, 0, 0));
    painter.save();
    painter.translate(centre);
    painter.scale(rx, ry);
    painter.setPen(Qt::NoPen);
    painter.setBrush(shadow);
    painter.drawEllipse(QPointF(0, 0), 1.0, 1.0);
    painter.restore();
}

// Ridges across the wheel, lighter on a lit wheel.
void PaintRidges(SkinCanvas& canvas, const QRectF& wheel, bool lit, bool vertical)
{
    QPainter& painter = canvas.Painter();
    painter.save();
    painter.setPen(QPen(lit ? QColor(255, 220, 210, 150) : QColor(0, 0, 0, 150), 1.0));
    if (vertical) {
        for (qreal y = wheel.top() + 5; y < wheel.bottom() - 4; y += 4) {
            painter.drawLine(QPointF(wheel.left() + 3, y + 0.5), QPointF(wheel.right() - 3, y + 0.5));
        }
    } else {
        for (qreal x = wheel.left() + 5; x < wheel.right() - 4; x += 4) {
            painter.drawLine(QPointF(x + 0.5, wheel.top() + 3), QPointF(x + 0.5, wheel.bottom() - 3));
        }
    }
    painter.restore();
}

QPainterPath FrontBody()
{
    QPainterPath body;
    body.moveTo(200, 30);
    body.cubicTo(252, 30, 292, 50, 302, 112);
    body.cubicTo(312, 172, 296, 222, 302, 282);
    body.cubicTo(308, 352, 290, 424, 200, 426);
    body.cubicTo(110, 424, 92, 352, 98, 282);
    body.cubicTo(104, 222, 88, 172, 98, 112);
    body.cubicTo(108, 50, 148, 30, 200, 30);
    body.closeSubpath();
    return body;
}

QPainterPath SideBody()
{
    QPainterPath body;
    body.moveTo(50, 322);
    body.cubicTo(30, 306, 32, 264, 60, 240);
    body.cubicTo(104, 202, 172, 162, 252, 160);
    body.cubicTo(322, 158, 372, 202, 374, 264);
    body.cubicTo(376, 302, 362, 320, 342, 322);
    body.lineTo(336, 332);
    body.lineTo(64, 332);
    body.closeSubpath();
    return body;
}

} // namespace

void PaintMouseFront(SkinCanvas& canvas, int number)
{
    const QPainterPath body = FrontBody();
    QPainterPath frontZone;
    frontZone.moveTo(80, 0);
    frontZone.lineTo(320, 0);
    frontZone.lineTo(320, 206);
    frontZone.quadTo(200, 168, 80, 206);
    frontZone.closeSubpath();
    QPainterPath leftHalf;
    leftHalf.addRect(QRectF(0, 0, 197, 440));
    QPainterPath rightHalf;
    rightHalf.addRect(QRectF(203, 0, 197, 440));
    const QRectF groove(168, 58, 64, 86);
    const QRectF wheel(189, 66, 22, 70);

    // Rows 1 to 7 of the front view: left and right button, wheel, wheel tilt left and right,
    // and the two buttons behind the wheel.
    const std::vector<MouseButton> buttons = {
        {1, body.intersected(frontZone).intersected(leftHalf)},
        {2, body.intersected(frontZone).intersected(rightHalf)},
        {3, RoundedRect(wheel, 10)},
        {4, RoundedRect(QRectF(172, 84, 14, 34), 5)},
        {5, RoundedRect(QRectF(214, 84, 14, 34), 5)},
        {6, RoundedRect(QRectF(186, 152, 28, 15), 5)},
        {7, RoundedRect(QRectF(186, 171, 28, 15), 5)},
    };

    PaintShadow(canvas, QPointF(204, 240), 150, 212);
    PaintShell(canvas, body, QPointF(160, 150));
    for (const MouseButton& button : buttons) {
        if (button.row == 3) {
            canvas.Well(groove, 14);
        }
        PaintButton(canvas, body, button.shape, button.row == number);
    }
    PaintRidges(canvas, wheel, number == 3, true);
    const auto ornament = [number](int row) { return row == number ? QColor(255, 240, 236) : QColor(150, 150, 158); };
    canvas.Chevron(QPointF(179, 101), 8, Qt::LeftArrow, ornament(4), 1.5);
    canvas.Chevron(QPointF(221, 101), 8, Qt::RightArrow, ornament(5), 1.5);
    canvas.Plus(QPointF(200, 159.5), 6, ornament(6), 1.4);
    QPainter& painter = canvas.Painter();
    painter.save();
    painter.setPen(QPen(ornament(7), 1.4, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(197, 178.5), QPointF(203, 178.5));
    painter.restore();

    // The lit emblem on the palm and the light strips down both flanks.
    QPainterPath emblem;
    emblem.moveTo(176, 292);
    emblem.lineTo(200, 318);
    emblem.lineTo(224, 292);
    emblem.lineTo(224, 304);
    emblem.lineTo(200, 330);
    emblem.lineTo(176, 304);
    emblem.closeSubpath();
    painter.save();
    painter.setClipPath(body);
    canvas.Glow(emblem, Colour(kAccentBright), 8);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Colour(kAccentBright));
    painter.drawPath(emblem);
    painter.setPen(QPen(QColor(255, 255, 255, 18), 1.0));
    for (int vent = 0; vent < 4; ++vent) {
        const qreal y = 352 + vent * 10 + 0.5;
        painter.drawLine(QPointF(176 + vent * 3, y), QPointF(224 - vent * 3, y));
    }
    painter.restore();
    canvas.AccentLine(QPointF(110, 230), QPointF(118, 380), 1.5);
    canvas.AccentLine(QPointF(290, 230), QPointF(282, 380), 1.5);
    PaintRim(canvas, body);
}

void PaintMouseSide(SkinCanvas& canvas, int number)
{
    // The side view stands on the same floor as the top view.
    canvas.Painter().translate(0, kSideDrop);
    QPainterPath body = SideBody();
    const QRectF wheel(100, 186, 36, 26);
    body = body.united(RoundedRect(wheel, 12));

    // Rows 1 to 5 of the side view are the five thumb buttons, Buttons 8 to 12: three in the
    // upper row from front to back, two below.
    const std::vector<MouseButton> buttons = {
        {1, RoundedRect(QRectF(118, 220, 38, 22), 7)}, {2, RoundedRect(QRectF(160, 216, 38, 22), 7)},
        {3, RoundedRect(QRectF(202, 214, 38, 22), 7)}, {4, RoundedRect(QRectF(139, 248, 38, 22), 7)},
        {5, RoundedRect(QRectF(181, 245, 38, 22), 7)},
    };

    PaintShadow(canvas, QPointF(206, 334), 184, 22);
    PaintShell(canvas, body, QPointF(200, 170));
    QPainter& painter = canvas.Painter();
    painter.save();
    painter.setClipPath(body);
    // The wheel, the seam of the main button, the grip and the base plate.
    painter.setPen(QPen(QColor(6, 6, 8), 1.0));
    QLinearGradient rubber(wheel.topLeft(), wheel.bottomLeft());
    rubber.setColorAt(0.0, QColor(70, 70, 78));
    rubber.setColorAt(1.0, QColor(20, 20, 24));
    painter.setBrush(rubber);
    painter.drawRoundedRect(wheel, 12, 12);
    painter.restore();
    PaintRidges(canvas, wheel.adjusted(4, 0, -4, -10), false, false);
    painter.save();
    painter.setClipPath(body);
    painter.setBrush(Qt::NoBrush);
    QPainterPath seam;
    seam.moveTo(56, 246);
    seam.quadTo(150, 196, 262, 186);
    seam.lineTo(266, 196);
    painter.setPen(QPen(QColor(0, 0, 0, 200), 1.5));
    painter.drawPath(seam);
    painter.setPen(QPen(QColor(255, 255, 255, 30), 1.0));
    painter.drawPath(seam.translated(0, 1.5));
    painter.setPen(QPen(QColor(255, 255, 255, 12), 1.0));
    for (int line = 0; line < 18; ++line) {
        const qreal x = 236 + line * 6;
        painter.drawLine(QPointF(x, 300), QPointF(x + 18, 262));
    }
    painter.fillRect(QRectF(40, 322, 340, 12), QColor(8, 8, 10));
    painter.restore();
    canvas.Well(QRectF(110, 208, 138, 68), 16);
    for (const MouseButton& button : buttons) {
        PaintButton(canvas, body, button.shape, button.row == number);
    }
    canvas.AccentLine(QPointF(64, 316.5), QPointF(346, 316.5), 1.5);
    PaintRim(canvas, body);
}

} // namespace veldrane
