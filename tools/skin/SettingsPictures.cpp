#include "SettingsPictures.h"

#include "SkinCanvas.h"
#include "SkinLayout.h"
#include "SkinPalette.h"
#include "SkinTable.h"

#include <QLinearGradient>
#include <QRadialGradient>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace veldrane {

namespace {

constexpr int kLastCpiRow = kCpiTrackHeight - 1;
constexpr int kSpeedSegments = 10;
constexpr qreal kSpeedSegmentDegrees = 18;
constexpr int kSpeedFirstPosition = 1;
constexpr int kSpeedLastPosition = 12;

// The background every section starts from, as wide as the header above it.
void SectionPanel(SkinCanvas& canvas)
{
    QPainter& painter = canvas.Painter();
    const QRectF area = canvas.Bounds();
    canvas.Panel(area, 4);
    QLinearGradient underHeader(area.topLeft(), area.topLeft() + QPointF(0, 8));
    underHeader.setColorAt(0.0, QColor(0, 0, 0, 90));
    underHeader.setColorAt(1.0, QColor(0, 0, 0, 0));
    painter.fillRect(QRectF(1, 1, area.width() - 2, 8), underHeader);
}

// A faint recessed band, where a control's picture or a row of the section sits.
void Bed(SkinCanvas& canvas, const QRectF& area, qreal radius)
{
    QPainter& painter = canvas.Painter();
    painter.save();
    painter.setPen(QPen(QColor(255, 255, 255, 16), 1.0));
    painter.setBrush(QColor(0, 0, 0, 70));
    painter.drawRoundedRect(SkinCanvas::Crisp(area), radius, radius);
    painter.restore();
}

QColor Lit(bool lit)
{
    return lit ? Colour(kAccentBright) : QColor(48, 48, 55);
}

// A ring segment between two radii from startDegrees, counter-clockwise over spanDegrees.
QPainterPath RingSegment(QPointF centre, qreal inner, qreal outer, qreal startDegrees, qreal spanDegrees)
{
    QPainterPath segment;
    const QRectF outerBox(centre - QPointF(outer, outer), QSizeF(2 * outer, 2 * outer));
    const QRectF innerBox(centre - QPointF(inner, inner), QSizeF(2 * inner, 2 * inner));
    segment.arcMoveTo(outerBox, startDegrees);
    segment.arcTo(outerBox, startDegrees, spanDegrees);
    segment.arcTo(innerBox, startDegrees + spanDegrees, -spanDegrees);
    segment.closeSubpath();
    return segment;
}

void PaintSegment(SkinCanvas& canvas, const QPainterPath& segment, bool lit)
{
    QPainter& painter = canvas.Painter();
    painter.save();
    if (lit) {
        canvas.Glow(segment, Colour(kAccentGlow), 5);
    }
    painter.setPen(QPen(lit ? QColor(255, 170, 150) : QColor(70, 70, 78), 1.0));
    painter.setBrush(Lit(lit));
    painter.drawPath(segment);
    painter.restore();
}

QPointF Polar(QPointF centre, qreal radius, qreal degrees)
{
    const qreal radians = degrees * std::numbers::pi / 180.0;
    return centre + QPointF(radius * std::cos(radians), -radius * std::sin(radians));
}

// The centre of each slider position's hot range, kept far enough from the ends for the knob.
std::vector<qreal> PositionCentres(int positions, int firstWidth, int stepWidth, int stripWidth, qreal knobRadius)
{
    // Evenly spaced from the first position's middle to the last's, each a knob's radius from
    // the ends at least, as the main window centres the scale numbers under them.
    const qreal first = std::max<qreal>(firstWidth / 2.0, knobRadius);
    const qreal lastStart = firstWidth + (positions - 2) * stepWidth;
    const qreal last = std::min<qreal>((lastStart + stripWidth) / 2.0, stripWidth - knobRadius);
    std::vector<qreal> centres;
    for (int position = 1; position <= positions; ++position) {
        centres.push_back(first + (last - first) * (position - 1) / (positions - 1));
    }
    return centres;
}

// The half disc of a speed dial: the upper half of a circle round its centre on a base plate.
QPainterPath SpeedDialShape()
{
    QPainterPath shape;
    shape.moveTo(0, kSpeedDialCentre);
    shape.arcTo(QRectF(0, 0, 2 * kSpeedDialCentre, 2 * kSpeedDialCentre), 180, -180);
    shape.lineTo(kSpeedDialWidth, kSpeedDialHeight - 4);
    shape.quadTo(kSpeedDialWidth, kSpeedDialHeight, kSpeedDialWidth - 4, kSpeedDialHeight);
    shape.lineTo(4, kSpeedDialHeight);
    shape.quadTo(0, kSpeedDialHeight, 0, kSpeedDialHeight - 4);
    shape.closeSubpath();
    return shape;
}

// The needle angle of a dial position, measured like the press: 0 on the right-hand horizontal,
// counter-clockwise. Positions 2 to 11 point into the middle of the 18-degree step that a press
// turns into that position; 1 lies flat to the left and 12 flat to the right.
qreal SpeedNeedleDegrees(int position)
{
    if (position <= kSpeedFirstPosition) {
        return 180;
    }
    if (position >= kSpeedLastPosition) {
        return 0;
    }
    return 180 - kSpeedSegmentDegrees * (position - 1) + kSpeedSegmentDegrees / 2;
}

} // namespace

void PaintCpiSection(SkinCanvas& canvas, int)
{
    SectionPanel(canvas);
    QPainter& painter = canvas.Painter();
    for (int stage = 0; stage < 4; ++stage) {
        const qreal trackLeft = kCpiTrackLeft + stage * kCpiStagePitch;
        Bed(canvas, QRectF(trackLeft + kCpiTrackWidth / 2.0 - 23, 2, 46, kCpiSectionHeight - 4), 5);
        // A scale beside each track: one tick every 1000 CPI, where a press sets that value.
        painter.save();
        for (int value = 0; value <= 160; value += 20) {
            const qreal y = kCpiTrackTop + kLastCpiRow - value + 0.5;
            const bool major = value % 40 == 0;
            painter.setPen(QPen(major ? QColor(170, 170, 178, 150) : QColor(120, 120, 128, 110), 1.0));
            painter.drawLine(QPointF(trackLeft - (major ? 7 : 5), y), QPointF(trackLeft - 2, y));
            painter.drawLine(QPointF(trackLeft + kCpiTrackWidth + 2, y),
                             QPointF(trackLeft + kCpiTrackWidth + (major ? 7 : 5), y));
        }
        painter.restore();
        const qreal boxLeft = trackLeft - 3;
        Bed(canvas, QRectF(boxLeft - 1, kCpiSwitchTop - 1, 12, 11), 1);
        Bed(canvas, QRectF(boxLeft - 1, kCpiSwatchTop - 1, 12, 12), 1);
    }
}

void PaintCpiValueBox(SkinCanvas& canvas, int)
{
    const QRectF area = canvas.Bounds();
    canvas.Well(area, 3);
    canvas.AccentLine(QPointF(3, area.height() - 1.5), QPointF(area.width() - 3, area.height() - 1.5));
}

void PaintCpiTrack(SkinCanvas& canvas, int number)
{
    // The press maths put value v at row 169 - v of the track, so the picture of value ÷ 2 = n
    // fills rows 169 - 2n to 169 and caps the fill with a light line.
    QPainter& painter = canvas.Painter();
    const QRectF area = canvas.Bounds();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.fillRect(area, Colour(kWellEdge));
    painter.fillRect(QRectF(1, 0, area.width() - 2, area.height()), Colour(kWell));
    painter.fillRect(QRectF(area.width() - 1, 0, 1, area.height()), QColor(44, 44, 50));
    const int top = std::clamp(kLastCpiRow - 2 * number, 0, kLastCpiRow);
    QLinearGradient fill(QPointF(0, area.height()), QPointF(0, 0));
    fill.setColorAt(0.0, Colour(kAccent));
    fill.setColorAt(1.0, Colour(kAccentBright));
    painter.fillRect(QRectF(1, top, area.width() - 2, kCpiTrackHeight - top), fill);
    painter.fillRect(QRectF(1, top, area.width() - 2, 1), QColor(255, 170, 150));
}

void PaintSwitchLamp(SkinCanvas& canvas, int number)
{
    canvas.Lamp(canvas.Bounds(), number != 0);
}

void PaintReportRateSection(SkinCanvas& canvas, int)
{
    SectionPanel(canvas);
    QPainter& painter = canvas.Painter();
    const QPointF centre = kReportDialOrigin + QPointF(kDialSquare / 2.0, kDialSquare / 2.0);
    QRadialGradient well(centre, kDialSquare / 2.0 + 6);
    well.setColorAt(0.8, QColor(0, 0, 0, 120));
    well.setColorAt(1.0, QColor(0, 0, 0, 0));
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(well);
    painter.drawEllipse(centre, kDialSquare / 2.0 + 6, kDialSquare / 2.0 + 6);
    // Marks at the middle of each quadrant, just outside the dial.
    painter.setPen(QPen(QColor(150, 150, 158, 160), 1.5, Qt::SolidLine, Qt::RoundCap));
    for (const qreal degrees : {45.0, 135.0, 225.0, 315.0}) {
        painter.drawLine(Polar(centre, 67, degrees), Polar(centre, 71, degrees));
    }
    painter.restore();
}

void PaintReportRateDial(SkinCanvas& canvas, int number)
{
    // A press on the ring chooses by quadrant: upper right 1000 Hz, upper left 125, lower left
    // 250, lower right 500. Each state lights its own quadrant and as many bars as its rank.
    struct Quadrant
    {
        int frequency;
        qreal startDegrees;
    };
    constexpr Quadrant kQuadrants[] = {{1000, 0}, {125, 90}, {250, 180}, {500, 270}};
    constexpr int kFrequencies[] = {125, 250, 500, 1000};
    constexpr qreal kGapDegrees = 4;
    QPainter& painter = canvas.Painter();
    const qreal half = kDialSquare / 2.0;
    const QPointF centre(half, half);
    QRadialGradient face(centre - QPointF(14, 18), kDialSquare);
    face.setColorAt(0.0, QColor(40, 40, 46));
    face.setColorAt(1.0, QColor(10, 10, 12));
    painter.save();
    painter.setPen(QPen(QColor(255, 255, 255, 40), 1.0));
    painter.setBrush(face);
    painter.drawEllipse(centre, half - 0.5, half - 0.5);
    painter.restore();
    canvas.KeepOutline();
    for (const Quadrant& quadrant : kQuadrants) {
        PaintSegment(canvas, RingSegment(centre, 38, 61, quadrant.startDegrees + kGapDegrees, 90 - 2 * kGapDegrees),
                     quadrant.frequency == number);
    }
    painter.save();
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(255, 255, 255, 24), 1.0));
    painter.drawEllipse(centre, 31, 31);
    painter.setPen(Qt::NoPen);
    for (int rank = 0; rank < 4; ++rank) {
        const bool lit = kFrequencies[rank] <= number;
        const qreal height = 6 + rank * 4;
        painter.setBrush(Lit(lit));
        painter.drawRoundedRect(QRectF(half - 14 + rank * 8, half + 9 - height, 5, height), 1, 1);
    }
    painter.restore();
}

void PaintSensitivitySection(SkinCanvas& canvas, int)
{
    SectionPanel(canvas);
    for (const int top : {kSensitivityXTop, kSensitivityYTop}) {
        Bed(canvas, QRectF(kStripLeft - 2, top - 2, kStageStripWidth + 4, kStageStripHeight + 4), 3);
    }
    canvas.AccentLine(QPointF(20, (kSensitivityXTop + kSensitivityYTop) / 2.0 + 12.5),
                      QPointF(kSectionWidth - 20, (kSensitivityXTop + kSensitivityYTop) / 2.0 + 12.5));
}

void PaintStageSlider(SkinCanvas& canvas, int number)
{
    // Position 1 is the strip's first 9 pixels, 2 to 10 take 21 pixels each, 11 the last 10.
    const std::vector<qreal> centres = PositionCentres(11, 9, 21, kStageStripWidth, kStageStripHeight / 2.0);
    canvas.SliderStrip(centres, centres[std::clamp(number, 1, 11) - 1]);
}

void PaintAngleSnapSection(SkinCanvas& canvas, int)
{
    SectionPanel(canvas);
    Bed(canvas, QRectF(kAngleSnapArtOrigin, QSizeF(kAngleSnapArtWidth, kAngleSnapArtHeight)).adjusted(-2, -2, 2, 2), 4);
    Bed(canvas, QRectF(kStripLeft - 2, kAngleSnapStripTop - 2, kStageStripWidth + 4, kStageStripHeight + 4), 3);
}

void PaintAngleSnapIllustration(SkinCanvas& canvas, int number)
{
    // A hand's wavering stroke and what the mouse makes of it: positions 1 and 11 leave it as it
    // is (snapping off), 2 to 10 pull it ever closer to the straight line.
    QPainter& painter = canvas.Painter();
    const QRectF area = canvas.Bounds();
    canvas.Well(area, 3);
    painter.save();
    painter.setPen(QPen(QColor(255, 255, 255, 10), 1.0));
    for (qreal x = 16.5; x < area.width(); x += 16) {
        painter.drawLine(QPointF(x, 2), QPointF(x, area.height() - 2));
    }
    for (qreal y = 10.5; y < area.height(); y += 16) {
        painter.drawLine(QPointF(2, y), QPointF(area.width() - 2, y));
    }
    const qreal baseline = 44;
    painter.setPen(QPen(QColor(160, 160, 170, 120), 1.0, Qt::DashLine));
    painter.drawLine(QPointF(12, baseline + 0.5), QPointF(area.width() - 12, baseline + 0.5));
    painter.restore();

    const bool off = number <= 1 || number >= 11;
    const qreal strength = off ? 0.0 : (number - 1) / 9.0;
    QPainterPath raw;
    QPainterPath snapped;
    for (qreal x = 14; x <= area.width() - 14; x += 1) {
        const qreal wobble = 9 * std::sin(x / 11.0) + 5 * std::sin(x / 5.3 + 1.0);
        const QPointF rawPoint(x, baseline + wobble);
        const QPointF snappedPoint(x, baseline + wobble * (1.0 - strength));
        if (x == 14) {
            raw.moveTo(rawPoint);
            snapped.moveTo(snappedPoint);
        } else {
            raw.lineTo(rawPoint);
            snapped.lineTo(snappedPoint);
        }
    }
    painter.save();
    painter.setBrush(Qt::NoBrush);
    if (!off) {
        painter.setPen(QPen(QColor(150, 150, 160, 90), 1.2));
        painter.drawPath(raw);
    }
    canvas.Glow(snapped, Colour(kAccentBright), 4);
    painter.setPen(QPen(Colour(kAccentBright), 1.8, Qt::SolidLine, Qt::RoundCap));
    painter.drawPath(snapped);

    // Strength bars in the lower right; "off" shows a crossed ring instead.
    painter.setPen(Qt::NoPen);
    for (int bar = 0; bar < 9; ++bar) {
        painter.setBrush(Lit(!off && bar < number - 1));
        painter.drawRoundedRect(QRectF(area.width() - 78 + bar * 7, area.height() - 14, 4, 8), 1, 1);
    }
    if (off) {
        const QPointF mark(area.width() - 92, area.height() - 10);
        painter.setPen(QPen(QColor(170, 170, 178), 1.4));
        painter.drawEllipse(mark, 5, 5);
        painter.drawLine(mark + QPointF(-3.5, 3.5), mark + QPointF(3.5, -3.5));
    }
    painter.restore();
}

void PaintLightingSection(SkinCanvas& canvas, int)
{
    SectionPanel(canvas);
    for (int row = 0; row < 3; ++row) {
        const qreal top = kLightRowTop + row * kLightRowPitch;
        Bed(canvas, QRectF(kLightStripLeft - 2, top - 2, kLightStripWidth + 4, kLightStripHeight + 4), 3);
        if (row > 0) {
            QPainter& painter = canvas.Painter();
            painter.save();
            painter.setPen(QPen(QColor(255, 255, 255, 14), 1.0));
            painter.drawLine(QPointF(8, top - 6.5), QPointF(kSectionWidth - 8, top - 6.5));
            painter.restore();
        }
    }
}

void PaintLightingSlider(SkinCanvas& canvas, int number)
{
    // Level 1 is the strip's first 4 pixels, 2 to 5 take 30 pixels each, 6 the last 4.
    const std::vector<qreal> centres = PositionCentres(6, 4, 30, kLightStripWidth, kLightStripHeight / 2.0);
    canvas.SliderStrip(centres, centres[std::clamp(number, 1, 6) - 1]);
}

void PaintSideLightSection(SkinCanvas& canvas, int)
{
    SectionPanel(canvas);
    canvas.AccentLine(QPointF(20, kSideLightSectionHeight - 6.5),
                      QPointF(kSectionWidth - 20, kSideLightSectionHeight - 6.5));
}

void PaintSpeedSection(SkinCanvas& canvas, int)
{
    SectionPanel(canvas);
    QPainter& painter = canvas.Painter();
    painter.save();
    painter.translate(kSpeedDialOrigin);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0, 110));
    painter.drawPath(SpeedDialShape().translated(0, 2));
    painter.restore();
}

void PaintSpeedDial(SkinCanvas& canvas, int number)
{
    // A press at angle θ gives position 12 - θ ÷ 18 (rounded down), so positions 2 to 11 each
    // own one 18-degree segment from the left end; a position lights its segment and those left
    // of it, and the needle points into its segment.
    QPainter& painter = canvas.Painter();
    const QPointF centre(kSpeedDialCentre, kSpeedDialCentre);
    const QPainterPath shape = SpeedDialShape();
    QRadialGradient face(centre - QPointF(10, 30), 110);
    face.setColorAt(0.0, QColor(40, 40, 46));
    face.setColorAt(1.0, QColor(10, 10, 12));
    painter.save();
    painter.setPen(QPen(QColor(255, 255, 255, 40), 1.0));
    painter.setBrush(face);
    painter.drawPath(shape);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0, 90));
    painter.drawRect(QRectF(1, kSpeedDialCentre + 1, kSpeedDialWidth - 2, kSpeedDialHeight - kSpeedDialCentre - 2));
    painter.restore();
    canvas.KeepOutline();

    const int litSegments = std::clamp(number - 1, 0, kSpeedSegments);
    for (int segment = 0; segment < kSpeedSegments; ++segment) {
        const qreal start = 180 - kSpeedSegmentDegrees * (segment + 1);
        PaintSegment(canvas, RingSegment(centre, 46, 67, start + 1.2, kSpeedSegmentDegrees - 2.4),
                     segment < litSegments);
    }
    const qreal needle = SpeedNeedleDegrees(number);
    painter.save();
    QPainterPath line;
    line.moveTo(centre);
    line.lineTo(Polar(centre, 41, needle));
    canvas.Glow(line, Colour(kAccentGlow), 4);
    painter.setPen(QPen(QColor(255, 200, 190), 2.4, Qt::SolidLine, Qt::RoundCap));
    painter.drawPath(line);
    painter.restore();
    canvas.Knob(centre, 7);
}

void PaintScrollSection(SkinCanvas& canvas, int)
{
    SectionPanel(canvas);
    for (int row = 0; row < 2; ++row) {
        const qreal top = kScrollOptionOrigin.y() + row * kScrollOptionPitch;
        Bed(canvas, QRectF(8, top - 5, kSectionWidth - 16, 22), 4);
    }
}

void PaintScrollOption(SkinCanvas& canvas, int number)
{
    QPainter& painter = canvas.Painter();
    const QPointF centre = canvas.Bounds().center();
    painter.save();
    painter.setPen(QPen(number != 0 ? Colour(kAccentGlow) : QColor(120, 120, 128), 1.0));
    painter.setBrush(Colour(kWell));
    painter.drawEllipse(centre, 5.5, 5.5);
    if (number != 0) {
        QRadialGradient dot(centre, 4);
        dot.setColorAt(0.0, QColor(255, 210, 200));
        dot.setColorAt(0.6, Colour(kAccentBright));
        dot.setColorAt(1.0, Colour(kAccent));
        painter.setPen(Qt::NoPen);
        painter.setBrush(dot);
        painter.drawEllipse(centre, 3.2, 3.2);
    }
    painter.restore();
}

void PaintScrollLinesField(SkinCanvas& canvas, int)
{
    canvas.Well(canvas.Bounds(), 3);
}

void PaintScrollStep(SkinCanvas& canvas, int number)
{
    QPainter& painter = canvas.Painter();
    const QRectF area = canvas.Bounds();
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(46, 46, 52));
    painter.drawRoundedRect(area, 1.5, 1.5);
    painter.setBrush(QColor(210, 210, 216));
    const bool up = number == 0;
    QPolygonF arrow;
    arrow << QPointF(2.5, up ? 4.8 : 1.2) << QPointF(7.5, up ? 4.8 : 1.2) << QPointF(5, up ? 1.2 : 4.8);
    painter.drawPolygon(arrow);
    painter.restore();
}

void PaintAssignmentSection(SkinCanvas& canvas, int number)
{
    SectionPanel(canvas);
    QPainter& painter = canvas.Painter();
    const qreal firstRow = 154 - kAssignmentOrigin.y();
    for (int row = 0; row < number; ++row) {
        const qreal top = firstRow + row * kAssignmentRowPitch;
        if (row % 2 == 0) {
            painter.fillRect(QRectF(4, top - 2, kSectionWidth - 8, kAssignmentRowPitch), QColor(255, 255, 255, 7));
        }
        painter.fillRect(QRectF(4, top + 3, 2, kDropdownHeight - 6), WithAlpha(kAccentBright, 180));
    }
}

void PaintDropdownBox(SkinCanvas& canvas, int number)
{
    const bool over = number == kOver;
    QPainter& painter = canvas.Painter();
    const QRectF area = canvas.Bounds();
    QLinearGradient face(area.topLeft(), area.bottomLeft());
    face.setColorAt(0.0, over ? QColor(66, 66, 76) : QColor(42, 42, 48));
    face.setColorAt(1.0, over ? QColor(40, 40, 46) : QColor(22, 22, 26));
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(face);
    painter.drawRoundedRect(area, 3, 3);
    canvas.KeepOutline();
    painter.setPen(QPen(over ? WithAlpha(kAccentGlow, 230) : QColor(255, 255, 255, 50), 1.0));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(SkinCanvas::Crisp(area), 3, 3);
    painter.setPen(QPen(QColor(0, 0, 0, 160), 1.0));
    painter.drawLine(QPointF(area.width() - 16.5, 3), QPointF(area.width() - 16.5, area.height() - 3));
    painter.restore();
    canvas.KeepOutline();
    canvas.Chevron(QPointF(area.width() - 8, area.height() / 2.0), 6, Qt::DownArrow,
                   over ? Colour(kIconOver) : Colour(kAccentBright), 1.5);
}

} // namespace veldrane
