#include "gui/buttons/AssignmentListsView.h"

#include <QPainter>
#include <QString>
#include <QWidget>

#include "gui/skin/QtSkinCanvas.h"
#include "screens/buttons/AssignmentMenuModel.h"

namespace veldrane {
namespace {

// The button lists and submenus are painted with this text on dark red, the entry under the
// pointer or the keyboard in the skin's red, inside a border of the skin's accent.
constexpr ListColours kMenuColours{.text = {250, 250, 250},
                                   .background = {80, 0, 0},
                                   .border = {0xe8, 0x33, 0x2b},
                                   .highlightText = {255, 255, 255},
                                   .highlightBackground = {176, 24, 24}};

} // namespace

AssignmentListsView::AssignmentListsView(QWidget& window, AssignmentMenuModel& model, SkinImageCache& images,
                                         const FontBook& fonts)
    : m_window(window), m_model(model), m_images(images), m_fonts(fonts), m_measure(fonts)
{
    // The window has its fixed size by now; the lists stay inside it.
    m_model.SetLayout(&m_measure, Rect{0, 0, window.width(), window.height()});
}

AssignmentListsView::~AssignmentListsView()
{
    m_model.SetLayout(nullptr, Rect{0, 0, m_window.width(), m_window.height()});
    delete m_submenu.data();
    delete m_mainList.data();
}

void AssignmentListsView::Sync()
{
    const auto& mainList = m_model.MainList();
    const auto& submenu = m_model.Submenu();
    SyncOne(m_mainList, AssignmentListPopup::Kind::MainList, mainList.has_value(),
            mainList ? mainList->Area() : Rect{});
    SyncOne(m_submenu, AssignmentListPopup::Kind::Submenu, submenu.has_value(), submenu ? submenu->Area() : Rect{});
    // A submenu lies over the main list's edge.
    if (m_submenu) {
        m_submenu->raise();
    }
}

void AssignmentListsView::SyncOne(QPointer<AssignmentListPopup>& widget, AssignmentListPopup::Kind kind, bool open,
                                  Rect area)
{
    if (!open) {
        if (widget) {
            // The list may be closing from inside one of its own events.
            widget->hide();
            widget->deleteLater();
            widget = nullptr;
        }
        return;
    }
    const QRect geometry(area.left, area.top, area.Width(), area.Height());
    if (!widget) {
        widget = new AssignmentListPopup(*this, kind, m_window);
        widget->setGeometry(geometry);
        widget->show();
        widget->raise();
        widget->HighlightMoved();
        return;
    }
    if (widget->geometry() != geometry) {
        widget->setGeometry(geometry);
    }
    widget->update();
    widget->HighlightMoved();
}

void AssignmentListsView::HoverAt(Point p)
{
    if (m_model.HoverList(p)) {
        Sync();
    }
}

void AssignmentListsView::PressAt(Point p)
{
    if (m_model.PressList(p)) {
        Sync();
        // A choice changes a label and the mouse picture.
        m_window.update();
    }
}

const PaintedList* AssignmentListsView::ListOf(AssignmentListPopup::Kind kind) const
{
    const auto& list = kind == AssignmentListPopup::Kind::MainList ? m_model.MainList() : m_model.Submenu();
    return list ? &*list : nullptr;
}

QString AssignmentListsView::CutEntryAt(Point p) const
{
    const std::optional<std::string> entry = m_model.CutEntryAt(p);
    return entry ? QString::fromStdString(*entry) : QString();
}

void AssignmentListsView::Paint(AssignmentListPopup::Kind kind, QPainter& painter, QRect windowArea)
{
    QtSkinCanvas canvas(painter, m_images, m_fonts, windowArea);
    const auto& list = kind == AssignmentListPopup::Kind::MainList ? m_model.MainList() : m_model.Submenu();
    if (list) {
        DrawList(canvas, *list);
    }
}

void AssignmentListsView::DrawList(SkinCanvas& canvas, const PaintedList& list)
{
    list.Draw(canvas, FontRole::Text, kMenuColours);
}

} // namespace veldrane
