#include "MainWindowPictures.h"

#include "SkinCanvas.h"
#include "SkinLayout.h"
#include "SkinPalette.h"
#include "SkinTable.h"

#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>

namespace veldrane {

namespace {

constexpr qreal kTitleButtonRadius = 3;
constexpr qreal kBarButtonRadius = 5;

QColor IconColour(int number)
{
    return Colour(number == kOver ? kIconOver : kIcon);
}

// Thin red brackets on the corners of a panel.
void CornerBrackets(SkinCanvas& canvas, const QRectF& area, qreal arm)
{
    QPainter& painter = canvas.Painter();
    painter.save();
    painter.setPen(QPen(WithAlpha(kAccentBright, 200), 1.5, Qt::SolidLine, Qt::SquareCap));
    const QRectF r = SkinCanvas::Crisp(area).adjusted(1, 1, -1, -1);
    painter.drawPolyline(QPolygonF{r.topLeft() + QPointF(0, arm), r.topLeft(), r.topLeft() + QPointF(arm, 0)});
    painter.drawPolyline(QPolygonF{r.topRight() - QPointF(arm, 0), r.topRight(), r.topRight() + QPointF(0, arm)});
    painter.drawPolyline(QPolygonF{r.bottomLeft() - QPointF(0, arm), r.bottomLeft(), r.bottomLeft() + QPointF(arm, 0)});
    painter.drawPolyline(
        QPolygonF{r.bottomRight() - QPointF(arm, 0), r.bottomRight(), r.bottomRight() - QPointF(0, arm)});
    painter.restore();
}

// The emblem: three swept blades, like a talon, in the title bar and faintly in the left panel.
void Emblem(SkinCanvas& canvas, QPointF centre, qreal size, int alpha)
{
    QPainter& painter = canvas.Painter();
    painter.save();
    painter.translate(centre);
    painter.scale(size / 24.0, size / 24.0);
    painter.setPen(Qt::NoPen);
    for (int blade = 0; blade < 3; ++blade) {
        QPainterPath path;
        const qreal x = -9 + blade * 7;
        path.moveTo(x, 11);
        path.cubicTo(x + 1, 2, x + 4, -6, x + 9, -11);
        path.cubicTo(x + 6, -4, x + 5, 3, x + 5, 11);
        path.closeSubpath();
        QLinearGradient bladeColour(0, -11, 0, 11);
        bladeColour.setColorAt(0.0, WithAlpha(kAccentGlow, alpha));
        bladeColour.setColorAt(1.0, WithAlpha(kAccentDark, alpha));
        painter.setBrush(bladeColour);
        painter.drawPath(path);
    }
    painter.restore();
}

void HeaderRow(SkinCanvas& canvas, bool open, bool over)
{
    QPainter& painter = canvas.Painter();
    const QRectF area = canvas.Bounds();
    QLinearGradient face(area.topLeft(), area.bottomLeft());
    face.setColorAt(0.0, over ? QColor(64, 64, 72) : QColor(44, 44, 50));
    face.setColorAt(1.0, over ? QColor(40, 40, 46) : QColor(28, 28, 32));
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(face);
    painter.drawRoundedRect(area, 3, 3);
    canvas.KeepOutline();
    painter.setPen(QPen(over ? WithAlpha(kAccentGlow, 220) : Colour(kBorderLight), 1.0));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(SkinCanvas::Crisp(area), 3, 3);
    // The red edge on the left lights up while the section is open or hovered.
    painter.setPen(Qt::NoPen);
    painter.setBrush(open || over ? Colour(kAccentBright) : Colour(kAccent));
    painter.drawRoundedRect(QRectF(1, 2, 3, area.height() - 4), 1.5, 1.5);
    if (open) {
        painter.setPen(QPen(WithAlpha(kAccent, 160), 1.0));
        painter.drawLine(QPointF(4, area.height() - 1.5), QPointF(area.width() - 4, area.height() - 1.5));
    }
    painter.restore();
    canvas.KeepOutline();
    canvas.Chevron(QPointF(13, area.height() / 2.0), 7, open ? Qt::DownArrow : Qt::RightArrow,
                   over ? Colour(kIconOver) : Colour(kIcon), 1.6);
}

} // namespace

void PaintMainBackground(SkinCanvas& canvas, int)
{
    QPainter& painter = canvas.Painter();
    const QRectF window = canvas.Bounds();
    canvas.Backdrop(window, 0);

    // Title bar, with the emblem left of the logo area (30, 0, 262, 32) that carries the address.
    QLinearGradient title(QPointF(0, 0), QPointF(0, kTitleBarHeight));
    title.setColorAt(0.0, QColor(0, 0, 0, 40));
    title.setColorAt(1.0, QColor(0, 0, 0, 120));
    painter.fillRect(QRectF(0, 0, window.width(), kTitleBarHeight), title);
    Emblem(canvas, QPointF(16, 16), 22, 255);

    // The stage of the mouse between the panels: a spotlight, its floor and two faint orbits.
    QRadialGradient spot(QPointF(500, 290), 260);
    spot.setColorAt(0.0, QColor(255, 255, 255, 18));
    spot.setColorAt(1.0, QColor(255, 255, 255, 0));
    painter.fillRect(QRectF(kLeftPanel.right, kTitleBarHeight + 1, kRightPanel.left - kLeftPanel.right,
                            kBottomBarTop - kTitleBarHeight - 1),
                     spot);
    QRadialGradient floor(QPointF(500, 505), 170);
    floor.setColorAt(0.0, WithAlpha(kAccent, 70));
    floor.setColorAt(1.0, WithAlpha(kAccent, 0));
    painter.save();
    painter.translate(500, 505);
    painter.scale(1.0, 0.14);
    painter.translate(-500, -505);
    painter.fillRect(QRectF(300, 300, 400, 410), floor);
    painter.restore();
    painter.save();
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(255, 255, 255, 14), 1.0));
    painter.drawEllipse(QPointF(500, 296), 212, 212);
    painter.setPen(QPen(WithAlpha(kAccent, 60), 1.0));
    painter.drawArc(QRectF(500 - 226, 296 - 226, 452, 452), 20 * 16, 50 * 16);
    painter.drawArc(QRectF(500 - 226, 296 - 226, 452, 452), 200 * 16, 50 * 16);
    painter.restore();

    // Left and right panels; the right one holds the scroll groove of the section thumb.
    canvas.Panel(kLeftPanel.ToRectF(), 6);
    canvas.Panel(kRightPanel.ToRectF(), 6);
    CornerBrackets(canvas, kLeftPanel.ToRectF(), 10);
    CornerBrackets(canvas, kRightPanel.ToRectF(), 10);
    Emblem(canvas, QPointF(141, 72), 44, 60);
    canvas.AccentLine(QPointF(40, 98.5), QPointF(242, 98.5));
    canvas.Well(kScrollGroove.ToRectF(), 4);
    canvas.AccentLine(QPointF(0, kTitleBarHeight + 0.5), QPointF(window.width(), kTitleBarHeight + 0.5));

    // The bed of the "Side" and "Top" buttons.
    canvas.Well(kViewButtons.ToRectF().adjusted(-3, -3, 3, 3), 8);

    // Bottom bar with the Config, Reset, Cancel and Save buttons drawn over it.
    QLinearGradient bottom(QPointF(0, kBottomBarTop), QPointF(0, window.height()));
    bottom.setColorAt(0.0, QColor(0, 0, 0, 110));
    bottom.setColorAt(1.0, QColor(0, 0, 0, 60));
    painter.fillRect(QRectF(0, kBottomBarTop, window.width(), window.height() - kBottomBarTop), bottom);
    canvas.AccentLine(QPointF(0, kBottomBarTop + 0.5), QPointF(window.width(), kBottomBarTop + 0.5));

    painter.save();
    painter.setPen(QPen(Colour(kBorderLight), 1.0));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(SkinCanvas::Crisp(window));
    painter.restore();
}

void PaintHelpButton(SkinCanvas& canvas, int number)
{
    const QRectF area = canvas.Bounds();
    canvas.Button(area, kTitleButtonRadius, SkinCanvas::Tone::Steel, number == kOver);
    QPainter& painter = canvas.Painter();
    QPainterPath hook;
    hook.moveTo(5.2, 5.6);
    hook.arcTo(QRectF(5.0, 3.2, 5.0, 4.8), 165, -255);
    hook.lineTo(7.5, 9.0);
    painter.save();
    painter.setPen(QPen(IconColour(number), 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(hook);
    painter.setPen(Qt::NoPen);
    painter.setBrush(IconColour(number));
    painter.drawEllipse(QPointF(7.5, 11.3), 0.95, 0.95);
    painter.restore();
}

void PaintMinimiseButton(SkinCanvas& canvas, int number)
{
    canvas.Button(canvas.Bounds(), kTitleButtonRadius, SkinCanvas::Tone::Steel, number == kOver);
    QPainter& painter = canvas.Painter();
    painter.save();
    painter.setPen(QPen(IconColour(number), 1.6, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(4.5, 10.2), QPointF(10.5, 10.2));
    painter.restore();
}

void PaintCloseButton(SkinCanvas& canvas, int number)
{
    const bool over = number == kOver;
    canvas.Button(canvas.Bounds(), kTitleButtonRadius, over ? SkinCanvas::Tone::Accent : SkinCanvas::Tone::Steel, over);
    canvas.Cross(canvas.Bounds().center(), 5.5, IconColour(number), 1.6);
}

void PaintSteelButton(SkinCanvas& canvas, int number)
{
    canvas.Button(canvas.Bounds(), kBarButtonRadius, SkinCanvas::Tone::Steel, number == kOver);
}

void PaintAccentButton(SkinCanvas& canvas, int number)
{
    canvas.Button(canvas.Bounds(), kBarButtonRadius, SkinCanvas::Tone::Accent, number == kOver);
}

void PaintSectionHeader(SkinCanvas& canvas, int number)
{
    HeaderRow(canvas, false, number == kOver);
}

void PaintSectionHeaderOpen(SkinCanvas& canvas, int number)
{
    HeaderRow(canvas, true, number == kOver);
}

void PaintViewButton(SkinCanvas& canvas, int number)
{
    // 0 normal, 1 over, 2 down: the button of the view that shows sits pressed in the accent red,
    // its face shaded from the top as a pushed-in button is.
    constexpr int kViewDown = 2;
    if (number != kViewDown) {
        canvas.Button(canvas.Bounds(), 6, SkinCanvas::Tone::Steel, number == kOver);
        return;
    }
    const QRectF area = canvas.Bounds();
    canvas.Button(area, 6, SkinCanvas::Tone::Accent, false);
    QPainter& painter = canvas.Painter();
    QLinearGradient shade(area.topLeft(), area.topLeft() + QPointF(0, area.height() / 2));
    shade.setColorAt(0.0, QColor(0, 0, 0, 120));
    shade.setColorAt(1.0, QColor(0, 0, 0, 0));
    QPainterPath face;
    face.addRoundedRect(SkinCanvas::Crisp(area).adjusted(1, 1, -1, -1), 5, 5);
    painter.save();
    painter.setClipPath(face);
    painter.fillRect(area, shade);
    painter.restore();
}

void PaintScrollThumb(SkinCanvas& canvas, int)
{
    QPainter& painter = canvas.Painter();
    const QRectF area = canvas.Bounds();
    QLinearGradient metal(area.topLeft(), area.topRight());
    metal.setColorAt(0.0, QColor(92, 92, 100));
    metal.setColorAt(0.5, QColor(60, 60, 68));
    metal.setColorAt(1.0, QColor(36, 36, 42));
    painter.save();
    painter.setPen(QPen(QColor(8, 8, 10), 1.0));
    painter.setBrush(metal);
    painter.drawRoundedRect(SkinCanvas::Crisp(area), 4, 4);
    painter.setPen(QPen(Colour(kAccentBright), 1.0));
    painter.drawLine(QPointF(area.center().x(), 8), QPointF(area.center().x(), area.height() - 8));
    painter.setPen(QPen(QColor(200, 200, 206, 140), 1.0));
    for (int grip = -1; grip <= 1; ++grip) {
        const qreal y = area.center().y() + grip * 4 + 0.5;
        painter.drawLine(QPointF(2.5, y), QPointF(area.width() - 2.5, y));
    }
    painter.restore();
}

} // namespace veldrane
