#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "screens/buttons/AssignmentMenuModel.h"
#include "screens/main/PanelSection.h"

namespace veldrane {

class SkinImageSizes;

// The "Button Assignment" row of the left panel: its content is the rows of the assignment menu
// for the mouse view the window shows (side at start), painted with the skin's pictures. A press
// on a row's box belongs to the section alone, so the window does not start a drag from it.
class ButtonAssignmentSection : public PanelSection
{
public:
    ButtonAssignmentSection(AssignmentMenuModel& model, std::string_view title, SkinImageSizes& images);

    // Told after every press and close-all, so the window can show or drop the lists.
    void SetListsChanged(std::function<void()> listsChanged) { m_listsChanged = std::move(listsChanged); }

    AssignmentView View() const { return m_view; }
    // The mouse picture with the open list's row lit, for the view shown; nothing otherwise.
    std::optional<std::string> MousePicture() const override;

    std::string_view Title() const override { return m_title; }
    int ContentHeight() const override;
    void Draw(SkinCanvas& canvas, Point contentOrigin) override;
    bool Press(Point p, Point contentOrigin) override;
    bool Hover(Point p, Point contentOrigin) override;
    bool TakesPress(Point p, Point contentOrigin) const override;
    bool Unhover() override { return m_model.Unhover(); }
    void CloseLists() override;
    void MouseViewChanged(MouseView view) override;
    std::vector<FocusControl> FocusControls(Point contentOrigin) const override;
    bool Act(std::size_t control, ControlAction action) override;
    bool ListKey(WindowKey key) override;

private:
    void ListsChanged();

    AssignmentMenuModel& m_model;
    std::string m_title;
    SkinImageSizes& m_images;
    AssignmentView m_view = AssignmentView::Side;
    // Where the content was when the keyboard last saw its controls.
    mutable Point m_contentOrigin = AssignmentMenuModel::kContentOrigin;
    std::function<void()> m_listsChanged;
};

} // namespace veldrane
