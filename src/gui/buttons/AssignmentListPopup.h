#pragma once

#include <QWidget>

namespace veldrane {

class AssignmentListsView;

// One open list of the assignment menu, a main list or a submenu, as a child of the main window
// over the list's rectangle. It paints what the model holds and hands the pointer on in window
// pixels; it lives only while its list is open.
class AssignmentListPopup : public QWidget
{
    Q_OBJECT

public:
    enum class Kind
    {
        MainList,
        Submenu
    };

    AssignmentListPopup(AssignmentListsView& owner, Kind kind, QWidget& window);
    ~AssignmentListPopup() override;

    Kind ListKind() const { return m_kind; }
    AssignmentListsView& Owner() const { return m_owner; }
    // Tells assistive technology that the highlighted entry changed.
    void HighlightMoved();

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    AssignmentListsView& m_owner;
    Kind m_kind;
};

} // namespace veldrane
