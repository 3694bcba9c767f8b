#include "gui/buttons/ButtonAssignmentSection.h"

#include "ports/SkinCanvas.h"

namespace veldrane {
namespace {

constexpr std::string_view kFrontBackground = "/ButtonAssignment/BK_ButtonAssignment.png";
constexpr std::string_view kSideBackground = "/ButtonAssignment/BK_ButtonAssignment-Side.png";
constexpr std::string_view kDropdownNormal = "/ButtonAssignment/DropdownBox-normal.png";
constexpr std::string_view kDropdownOver = "/ButtonAssignment/DropdownBox-over.png";
constexpr std::string_view kDropdownLeave = "/ButtonAssignment/DropdownBox-leave.png";
constexpr Colour kRowText{250, 250, 250};

std::string_view Background(AssignmentView view)
{
    return view == AssignmentView::Front ? kFrontBackground : kSideBackground;
}

std::string_view DropdownPicture(AssignmentMenuModel::BoxState state)
{
    switch (state) {
    case AssignmentMenuModel::BoxState::Over:
        return kDropdownOver;
    case AssignmentMenuModel::BoxState::Leave:
        return kDropdownLeave;
    case AssignmentMenuModel::BoxState::Normal:
        break;
    }
    return kDropdownNormal;
}

} // namespace

ButtonAssignmentSection::ButtonAssignmentSection(AssignmentMenuModel& model, std::string_view title,
                                                 SkinImageSizes& images)
    : m_model(model), m_title(title), m_images(images)
{}

std::optional<std::string> ButtonAssignmentSection::MousePicture() const
{
    const std::optional<int> row = m_model.OpenRow(m_view);
    if (!row) {
        return std::nullopt;
    }
    const std::string_view prefix = m_view == AssignmentView::Front ? "/Mouse/Front/F-" : "/Mouse/Side/S-";
    return std::string(prefix) + std::to_string(*row) + "-over.png";
}

int ButtonAssignmentSection::ContentHeight() const
{
    const auto picture = m_images.ImageSize(Background(m_view));
    return picture ? picture->height : AssignmentMenuModel::BareContentHeight(m_view);
}

void ButtonAssignmentSection::Draw(SkinCanvas& canvas, Point contentOrigin)
{
    canvas.DrawImage(Background(m_view), contentOrigin);
    for (int row = 1; row <= AssignmentMenuModel::RowCount(m_view); ++row) {
        const std::size_t button = *AssignmentMenuModel::ButtonOfRow(row, m_view);
        canvas.DrawText(AssignmentMenuModel::ButtonNameArea(row, contentOrigin), m_model.ButtonName(button),
                        FontRole::Text, kRowText, TextAlign::Left);
        const Rect box = AssignmentMenuModel::DropdownBox(row, contentOrigin);
        canvas.DrawImage(DropdownPicture(m_model.BoxStateOf(row, m_view)), box.TopLeft());
        canvas.DrawText(AssignmentMenuModel::LabelArea(box), m_model.Label(button), FontRole::Text, kRowText,
                        TextAlign::CentreElided);
    }
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

std::vector<FocusControl> ButtonAssignmentSection::FocusControls(Point contentOrigin) const
{
    m_contentOrigin = contentOrigin;
    return m_model.FocusControls(contentOrigin, m_view);
}

bool ButtonAssignmentSection::Act(std::size_t control, ControlAction action)
{
    const bool acted = m_model.ActOnRow(static_cast<int>(control) + 1, m_contentOrigin, m_view, action);
    if (acted) {
        ListsChanged();
    }
    return acted;
}

bool ButtonAssignmentSection::ListKey(WindowKey key)
{
    const bool taken = m_model.ListKey(key);
    if (taken) {
        ListsChanged();
    }
    return taken;
}

void ButtonAssignmentSection::ListsChanged()
{
    if (m_listsChanged) {
        m_listsChanged();
    }
}

} // namespace veldrane
