#include "DialogPictures.h"

#include "SkinCanvas.h"
#include "SkinLayout.h"
#include "SkinPalette.h"
#include "SkinTable.h"

#include <QLinearGradient>

namespace veldrane {

namespace {

// The frame all dark dialogs share: brushed backdrop, a darker title band over a red line, a
// thin light rim. The title text and the buttons are drawn over it by the dialog.
void DialogFrame(SkinCanvas& canvas, int titleHeight)
{
    QPainter& painter = canvas.Painter();
    const QRectF area = canvas.Bounds();
    canvas.Backdrop(area, 0);
    QLinearGradient band(QPointF(0, 0), QPointF(0, titleHeight));
    band.setColorAt(0.0, QColor(0, 0, 0, 30));
    band.setColorAt(1.0, QColor(0, 0, 0, 110));
    painter.fillRect(QRectF(0, 0, area.width(), titleHeight), band);
    canvas.AccentLine(QPointF(0, titleHeight + 0.5), QPointF(area.width(), titleHeight + 0.5));
    painter.save();
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Colour(kBorderLight), 1.0));
    painter.drawRect(SkinCanvas::Crisp(area));
    painter.restore();
}

// A faint keyboard key, the ornament of the capture dialogs.
void KeyCap(SkinCanvas& canvas, const QRectF& area, int alpha)
{
    QPainter& painter = canvas.Painter();
    QLinearGradient face(area.topLeft(), area.bottomLeft());
    face.setColorAt(0.0, QColor(70, 70, 78, alpha));
    face.setColorAt(1.0, QColor(24, 24, 28, alpha));
    painter.save();
    painter.setPen(QPen(QColor(0, 0, 0, alpha), 1.0));
    painter.setBrush(face);
    painter.drawRoundedRect(SkinCanvas::Crisp(area), 4, 4);
    painter.setPen(QPen(QColor(255, 255, 255, alpha / 4), 1.0));
    painter.drawRoundedRect(SkinCanvas::Crisp(area).adjusted(3, 2, -3, -5), 3, 3);
    painter.restore();
}

// A field that the dialog fills with a control, with an optional dropdown arrow on its right.
void FieldBed(SkinCanvas& canvas, const PixelRect& field, bool dropdown)
{
    canvas.Well(field.ToRectF().adjusted(-2, -2, 2, 2), 3);
    if (dropdown) {
        canvas.Chevron(QPointF(field.right - 7, (field.top + field.bottom) / 2.0), 7, Qt::DownArrow,
                       Colour(kAccentBright), 1.5);
    }
}

// A soft band behind a row of a dialog, such as a repeat mode with its tick box and text.
void RowBand(SkinCanvas& canvas, const PixelRect& row)
{
    QPainter& painter = canvas.Painter();
    painter.save();
    painter.setPen(QPen(QColor(255, 255, 255, 14), 1.0));
    painter.setBrush(QColor(255, 255, 255, 8));
    painter.drawRoundedRect(SkinCanvas::Crisp(row.ToRectF()), 4, 4);
    painter.restore();
}

void ButtonBand(SkinCanvas& canvas, qreal top)
{
    QPainter& painter = canvas.Painter();
    const QRectF area = canvas.Bounds();
    painter.fillRect(QRectF(1, top, area.width() - 2, area.height() - top - 1), QColor(0, 0, 0, 70));
    painter.save();
    painter.setPen(QPen(QColor(255, 255, 255, 18), 1.0));
    painter.drawLine(QPointF(1, top + 0.5), QPointF(area.width() - 1, top + 0.5));
    painter.restore();
}

} // namespace

void PaintHelpWindow(SkinCanvas& canvas, int)
{
    // The skin's dark panel with its red top edge; the panel's three lines are drawn light on it.
    QPainter& painter = canvas.Painter();
    const QRectF area = canvas.Bounds();
    canvas.Backdrop(area, 0);
    painter.save();
    painter.setPen(QPen(Colour(kBorderLight), 1.0));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(SkinCanvas::Crisp(area));
    painter.fillRect(QRectF(1, 1, area.width() - 2, 2), Colour(kAccent));
    painter.setPen(QPen(QColor(255, 255, 255, 28), 1.0));
    for (const qreal y : {25.5, 49.5}) {
        painter.drawLine(QPointF(10, y), QPointF(area.width() - 10, y));
    }
    painter.restore();
}

void PaintConfigWindow(SkinCanvas& canvas, int)
{
    DialogFrame(canvas, kConfigTitleHeight);
    QPainter& painter = canvas.Painter();
    painter.save();
    painter.setPen(QPen(QColor(255, 255, 255, 14), 1.0));
    painter.setBrush(QColor(0, 0, 0, 60));
    painter.drawRoundedRect(SkinCanvas::Crisp(QRectF(5, kConfigTitleHeight + 5, kConfigWidth - 10,
                                                     kConfigNewTop - kConfigTitleHeight - 10)),
                            4, 4);
    painter.restore();
}

void PaintNewConfigRow(SkinCanvas& canvas, int)
{
    QPainter& painter = canvas.Painter();
    const QRectF area = canvas.Bounds();
    QLinearGradient face(area.topLeft(), area.bottomLeft());
    face.setColorAt(0.0, Colour(kSteelTop));
    face.setColorAt(1.0, Colour(kSteelBottom));
    painter.fillRect(area, face);
    painter.save();
    painter.setPen(QPen(Colour(kBorderLight), 1.0));
    painter.drawLine(QPointF(0, 0.5), QPointF(area.width(), 0.5));
    painter.restore();
    canvas.Plus(QPointF(14, area.height() / 2.0), 8, Colour(kAccentBright), 2.0);
}

void PaintSingleKeyDialog(SkinCanvas& canvas, int)
{
    DialogFrame(canvas, kDialogTitleHeight);
    ButtonBand(canvas, 242);
    // The captured key's name appears on a key cap (control at 74, 129 to 150, 143).
    KeyCap(canvas, QRectF(64, 121, 96, 32), 255);
    for (int row = 0; row < 4; ++row) {
        for (int key = 0; key < 6 - (row == 3 ? 2 : 0); ++key) {
            const qreal indent = row * 6;
            KeyCap(canvas, QRectF(206 + indent + key * 26, 62 + row * 28, 23, 24), 90);
        }
    }
}

void PaintComboKeyDialog(SkinCanvas& canvas, int)
{
    DialogFrame(canvas, kDialogTitleHeight);
    ButtonBand(canvas, 242);
    // The modifier box with its arrow in the click area (50, 70, 132, 84), the two key fields.
    FieldBed(canvas, PixelRect{50, 70, 132, 84}, true);
    FieldBed(canvas, PixelRect{50, 120, 131, 134}, false);
    FieldBed(canvas, PixelRect{50, 170, 131, 184}, false);
    canvas.Plus(QPointF(90.5, 102), 9, Colour(kAccentBright), 2.0);
    canvas.Plus(QPointF(90.5, 152), 9, Colour(kAccentBright), 2.0);
    KeyCap(canvas, QRectF(196, 104, 44, 36), 110);
    KeyCap(canvas, QRectF(262, 104, 36, 36), 110);
    KeyCap(canvas, QRectF(320, 104, 36, 36), 110);
    canvas.Plus(QPointF(251, 122), 8, WithAlpha(kAccentBright, 150), 1.6);
    canvas.Plus(QPointF(309, 122), 8, WithAlpha(kAccentBright, 150), 1.6);
}

void PaintMacroKeyDialog(SkinCanvas& canvas, int)
{
    DialogFrame(canvas, kDialogTitleHeight);
    ButtonBand(canvas, 242);
    // The macro box (42, 128, 151, 144) opens its list below; the three repeat modes on the right.
    FieldBed(canvas, PixelRect{42, 128, 151, 144}, true);
    for (const int top : {70, 120, 170}) {
        RowBand(canvas, PixelRect{214, top, kMacroKeyWidth - 6, top + 32});
    }
    // A looping arrow above the heading, the mark of a macro.
    QPainter& painter = canvas.Painter();
    painter.save();
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(WithAlpha(kAccentBright, 170), 2.2, Qt::SolidLine, Qt::RoundCap));
    painter.drawArc(QRectF(80, 58, 32, 32), 60 * 16, 290 * 16);
    painter.restore();
    canvas.Chevron(QPointF(106, 61), 8, Qt::RightArrow, WithAlpha(kAccentBright, 170), 2.2);
}

void PaintMacroManager(SkinCanvas& canvas, int)
{
    // Title band over the close area (427, 17, 478, 41); the macro list (21, 82, 130, 353) and
    // the event list (153, 82, 262, 353) below their captions; the record group on the right
    // with the record area, the two tick boxes and the loop-count field (298, 333, 379, 345).
    constexpr int kTitleBand = 56;
    DialogFrame(canvas, kTitleBand);
    QPainter& painter = canvas.Painter();
    for (const PixelRect list : {PixelRect{21, 82, 130, 353}, PixelRect{153, 82, 262, 353}}) {
        canvas.Well(list.ToRectF().adjusted(-3, -3, 3, 3), 4);
        canvas.AccentLine(QPointF(list.left, 76.5), QPointF(list.right, 76.5));
    }
    const QRectF group(284, 64, 204, 296);
    canvas.Panel(group, 6);
    canvas.AccentLine(QPointF(group.left() + 8, group.top() + 0.5), QPointF(group.right() - 8, group.top() + 0.5), 1.5);
    painter.save();
    painter.setPen(QPen(QColor(255, 255, 255, 14), 1.0));
    painter.drawLine(QPointF(group.left() + 10, 128.5), QPointF(group.right() - 10, 128.5));
    painter.drawLine(QPointF(group.left() + 10, 300.5), QPointF(group.right() - 10, 300.5));
    painter.restore();
    FieldBed(canvas, PixelRect{298, 333, 379, 345}, false);
    ButtonBand(canvas, 362);
}

void PaintDialogButton(SkinCanvas& canvas, int number)
{
    canvas.Button(canvas.Bounds(), 4, SkinCanvas::Tone::Steel, number == kOver);
}

void PaintRecordButton(SkinCanvas& canvas, int number)
{
    canvas.Button(canvas.Bounds(), 5, SkinCanvas::Tone::Accent, number == kOver);
}

void PaintMacroCloseButton(SkinCanvas& canvas, int number)
{
    const bool over = number == kOver;
    canvas.Button(canvas.Bounds(), 5, over ? SkinCanvas::Tone::Accent : SkinCanvas::Tone::Steel, over);
    canvas.Cross(canvas.Bounds().center(), 8, Colour(over ? kIconOver : kIcon), 1.8);
}

void PaintTickBox(SkinCanvas& canvas, int number)
{
    canvas.TickBox(canvas.Bounds(), number != 0);
}

} // namespace veldrane
