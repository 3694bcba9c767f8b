#pragma once

#include <QWidget>

#include "gui/skin/ElidedTextTips.h"

namespace veldrane {

class FontBook;
class MainWindowModel;
class SkinImageCache;

// The help panel: a child of the main window at (786, 25), painted from the main window model's
// help panel and sending its presses there in panel pixels. A line cut to fit shows whole as a
// tooltip.
class CHelpDialog : public QWidget
{
    Q_OBJECT

public:
    CHelpDialog(QWidget* parent, MainWindowModel& model, SkinImageCache& images, const FontBook& fonts);

    // Takes the place and size the model gives the panel.
    void FollowModel();

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    MainWindowModel& m_model;
    SkinImageCache& m_images;
    const FontBook& m_fonts;
    ElidedTextTips m_tips;
};

} // namespace veldrane
