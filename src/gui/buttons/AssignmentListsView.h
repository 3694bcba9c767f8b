#pragma once

#include <QPointer>
#include <QRect>

#include "gui/buttons/AssignmentListPopup.h"
#include "gui/skin/QtTextMeasure.h"
#include "ports/Geometry.h"

class QPainter;
class QString;
class QWidget;

namespace veldrane {

class AssignmentMenuModel;
class FontBook;
class PaintedList;
class SkinCanvas;
class SkinImageCache;

// Shows the lists the assignment menu has open as child widgets of the main window: each is
// created when its list opens and goes when it closes, so at most one main list and one submenu
// exist. The pointer over them goes to the model in window pixels.
class AssignmentListsView
{
public:
    AssignmentListsView(QWidget& window, AssignmentMenuModel& model, SkinImageCache& images, const FontBook& fonts);
    ~AssignmentListsView();
    AssignmentListsView(const AssignmentListsView&) = delete;
    AssignmentListsView& operator=(const AssignmentListsView&) = delete;

    // Makes the widgets match the model's open lists.
    void Sync();

    // The list a popup of that kind shows; null while it is shut.
    const PaintedList* ListOf(AssignmentListPopup::Kind kind) const;
    // The widgets while their lists are open; null otherwise.
    QWidget* MainListWidget() const { return m_mainList; }
    QWidget* SubmenuWidget() const { return m_submenu; }

    // From the popups, in window pixels.
    void HoverAt(Point p);
    void PressAt(Point p);
    // The whole text of a cut entry under the point, for its tooltip; empty otherwise.
    QString CutEntryAt(Point p) const;
    void Paint(AssignmentListPopup::Kind kind, QPainter& painter, QRect windowArea);
    // A main list or submenu in the lists' colours.
    static void DrawList(SkinCanvas& canvas, const PaintedList& list);

private:
    void SyncOne(QPointer<AssignmentListPopup>& widget, AssignmentListPopup::Kind kind, bool open, Rect area);

    QWidget& m_window;
    AssignmentMenuModel& m_model;
    SkinImageCache& m_images;
    const FontBook& m_fonts;
    QtTextMeasure m_measure;
    QPointer<AssignmentListPopup> m_mainList;
    QPointer<AssignmentListPopup> m_submenu;
};

} // namespace veldrane
