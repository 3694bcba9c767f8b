#pragma once

#include <QWidget>

#include "gui/PaintedDialogAccessible.h"
#include "gui/skin/ElidedTextTips.h"

namespace veldrane {

class FontBook;
class MainWindowModel;
class SkinImageCache;

// The help panel: a child of the main window at (786, 25), painted from the main window model's
// help panel and sending its presses there in panel pixels. A line cut to fit shows whole as a
// tooltip. It takes the keyboard when it opens: Tab and the arrows walk its lines and languages,
// Return and Space press them, and every other key (Escape, F1) goes on to the main window.
class CHelpDialog : public QWidget, public PaintedDialog
{
    Q_OBJECT

public:
    CHelpDialog(QWidget* parent, MainWindowModel& model, SkinImageCache& images, const FontBook& fonts);

    // Takes the place and size the model gives the panel.
    void FollowModel();

    // PaintedDialog
    std::vector<FocusControl> DialogControls() const override;
    std::optional<std::size_t> DialogFocus() const override;
    QWidget* ControlWidget(std::size_t) const override { return nullptr; }
    void PressControl(std::size_t key) override;
    void FocusControlByKey(std::size_t key) override;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool focusNextPrevChild(bool next) override;

private:
    MainWindowModel& m_model;
    SkinImageCache& m_images;
    const FontBook& m_fonts;
    ElidedTextTips m_tips;
};

} // namespace veldrane
