#pragma once

#include <QLineEdit>
#include <QObject>
#include <QPointer>
#include <QRect>

#include "ports/EditBox.h"

class QFont;
class QLineEdit;
class QWidget;

namespace veldrane {

// An EditBox as a frameless QLineEdit child of a skinned window, its text centred over the
// pictures under it. It watches the window's paint events: after each drawing of the window it
// goes where the drawing put it, or hides when the drawing did not show it.
class QtEditBox : public QObject, public EditBox
{
public:
    QtEditBox(QWidget& window, const QFont& font, const QString& objectName);
    ~QtEditBox() override;
    QtEditBox(const QtEditBox&) = delete;
    QtEditBox& operator=(const QtEditBox&) = delete;

    void Show(Rect area, Rect visible) override;
    void SetEnabled(bool enabled) override;
    void SetText(std::string_view utf8) override;
    void SetTextColour(Colour colour) override;
    void SetEditedHandler(EditedHandler handler) override;

    QLineEdit* Widget() const { return m_edit; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FollowDrawing();
    void ApplyStyle();

    QWidget& m_window;
    QPointer<QLineEdit> m_edit;
    EditedHandler m_edited;
    Colour m_colour{255, 255, 255, 255};
    // What the latest drawing of the window asked for.
    bool m_shownInDrawing = false;
    bool m_followPending = false;
    QRect m_area;
    QRect m_visible;
};

} // namespace veldrane
