#include "gui/buttons/ButtonAssignmentSection.h"

namespace veldrane {

ButtonAssignmentSection::ButtonAssignmentSection(AssignmentMenuModel& model, std::string_view title,
                                                 SkinImageSizes& images)
    : m_model(model), m_title(title), m_images(images)
{}

int ButtonAssignmentSection::ContentHeight() const
{
    return m_model.ContentHeight(m_view, m_images);
}

void ButtonAssignmentSection::Draw(SkinCanvas& canvas, Point contentOrigin)
{
    m_model.Draw(canvas, contentOrigin, m_view);
}

bool ButtonAssignmentSection::Press(Point p, Point contentOrigin)
{
    const bool hit = m_model.Press(p, contentOrigin, m_view);
    if (hit) {
        ListsChanged();
    }
    return hit;
}

bool ButtonAssignmentSection::Hover(Point p, Point contentOrigin)
{
    return m_model.Hover(p, contentOrigin, m_view);
}

bool ButtonAssignmentSection::TakesPress(Point p, Point contentOrigin) const
{
    return AssignmentMenuModel::RowAt(p, contentOrigin).has_value();
}

void ButtonAssignmentSection::CloseLists()
{
    m_model.CloseAll();
    ListsChanged();
}

void ButtonAssignmentSection::MouseViewChanged(MouseView view)
{
    m_view = view == MouseView::Top ? AssignmentView::Front : AssignmentView::Side;
    // The rows now show other buttons: a box keeps no "-over" or "-leave" of the old ones.
    m_model.Unhover();
}

void ButtonAssignmentSection::ListsChanged()
{
    if (m_listsChanged) {
        m_listsChanged();
    }
}

} // namespace veldrane
