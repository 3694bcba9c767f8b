#pragma once

#include <QDialog>
#include <QPoint>

#include <string_view>

#include "core/text/Language.h"
#include "gui/skin/FontBook.h"
#include "ports/Geometry.h"
#include "screens/common/DialogButtons.h"

class QPainter;

namespace veldrane {

class KeyNameSource;
class SkinCanvas;
class SkinImageCache;

// The window of a small skinned dialog (CSingleDialog, CComboDialog, CMacroDialog): frameless,
// modal, painted by its model. Presses, moves, the wheel and the keyboard go to the model; a
// press the model answers with Accept or Reject ends the dialog, StartMove moves the window.
//
// Every keyboard event of the dialog, press, auto-repeat and release, is turned into its key's
// name and given to the model, and none goes any further: Enter, Escape, Tab and the Windows
// keys are captured like any other key and never close the dialog or move the focus. While it is
// shown a capturing dialog holds the keyboard, so that keys the desktop would take for itself
// (Super, Print, Alt+Tab, media keys) reach it too.
class SkinnedDialog : public QDialog
{
public:
    // keyNames may be null for a dialog that captures no keys; its keys are swallowed all the same.
    SkinnedDialog(SkinImageCache& images, Language language, const KeyNameSource* keyNames, QWidget* parent);

    const FontBook& Fonts() const { return m_fonts; }

protected:
    virtual void DrawModel(SkinCanvas& canvas) = 0;
    virtual DialogAction PressModel(Point p) = 0;
    virtual bool HoverModel(Point p) = 0;
    virtual bool KeyModel(std::string_view /*name*/) { return false; }
    virtual bool WheelModel(int /*delta*/) { return false; }
    // What the canvas cannot draw, painted after the model.
    virtual void PaintExtras(QPainter& /*painter*/) {}

    void SizeTo(Size size);

    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    void StartMove(QPoint globalPress);

    SkinImageCache& m_images;
    const KeyNameSource* m_keyNames;
    FontBook m_fonts;
    // A move done by hand where the window manager does not move the window itself.
    bool m_manualMove = false;
    QPoint m_moveStartGlobal;
    QPoint m_moveStartWindow;
};

} // namespace veldrane
