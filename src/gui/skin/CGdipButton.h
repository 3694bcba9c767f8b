#pragma once

#include <QImage>
#include <QWidget>

#include <functional>

#include "ports/Geometry.h"

namespace veldrane {

// A picture button with its states rendered once from one picture: normal, pressed (the same
// picture), hot (red, green and blue x 1.05 + 0.05 of full scale) and greyed (0.30 red + 0.59
// green + 0.11 blue). The main window uses it as the scroll thumb: it reports the press, the
// moves with the button held and the release in its parent's pixels, and its owner moves it.
class CGdipButton : public QWidget
{
    Q_OBJECT

public:
    explicit CGdipButton(QWidget* parent);

    // The standard picture (premultiplied, as the skin cache holds it); a null image draws nothing.
    void SetPicture(const QImage& picture);
    void SetDisabled(bool disabled);

    bool IsHot() const { return m_hot; }
    bool IsPressed() const { return m_pressed; }

    std::function<void(Point)> onPress;
    std::function<void(Point)> onDrag;
    std::function<void()> onRelease;

    // The hot and greyed renderings of a premultiplied picture.
    static QImage HotRendering(const QImage& picture);
    static QImage GreyedRendering(const QImage& picture);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    Point InParent(const QMouseEvent& event) const;

    QImage m_normal;
    QImage m_hotImage;
    QImage m_greyed;
    bool m_disabled = false;
    bool m_hot = false;
    bool m_pressed = false;
};

} // namespace veldrane
