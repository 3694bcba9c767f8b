#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "core/buttons/ButtonAssignment.h"
#include "core/buttons/ButtonFunctionCatalogue.h"
#include "core/text/Language.h"
#include "ports/Geometry.h"
#include "screens/common/FocusControl.h"
#include "screens/common/PaintedList.h"

namespace veldrane {

class AssignmentDialogs;
class MessageSink;
class TextMeasure;
struct AssignmentTexts;

// Which side of the mouse the main window shows: the front view lists Buttons 1 to 7, the side
// view Buttons 8 to 12. The values are the main window's own.
enum class AssignmentView
{
    Front = 1,
    Side = 2
};

// The "Button Assignment" section and its menus. Each row of the current view has the button's
// name and a dropdown box with its label; a press on a box opens the box's list of the 16 main
// functions right under it (over it where the window has no room below), and resting on "CPI
// Cycle", "Multimedia", "HotKey" or "Windows" opens that entry's submenu beside the entry. At most one list is open,
// with at most one submenu of its own; both exist only while open. Choosing an entry gives the button its function
// through ButtonAssignment, after the capture or macro dialog where the function needs one; a cancelled dialog leaves
// the button as it was.
//
// Rows and lists are in main-window pixels. The rows follow the section's content origin; the
// geometry below is the one of the section open at kContentOrigin, right under the left panel's
// first header (20, 107, 262, 127): the box of row r (from 1) is (120, 134 + 20 r, 250,
// 150 + 20 r). A list is as wide as its longest entry with room either side of the text (and at
// least as wide as the box), its rows as high as the text font needs; where the window is too
// narrow for that, the entries end in "…".
class AssignmentMenuModel
{
public:
    static constexpr Point kContentOrigin{20, 127};
    static constexpr int kRowCount = 7;
    static constexpr int kFrontRows = 7;
    static constexpr int kSideRows = 5;
    // List rows as the system's list boxes lay them out in the main window's text font: the
    // height without a measure, and the least with one.
    static constexpr int kListRowHeight = 16;
    // Room either side of an entry's text, and above and below it.
    static constexpr int kItemPadding = 8;
    static constexpr int kItemVerticalPadding = 2;

    // What a row's dropdown box shows: lit under the pointer, marked after a choice from its list.
    enum class BoxState
    {
        Normal,
        Over,
        Leave
    };

    AssignmentMenuModel(ProfileRecord& record, ButtonLabels& buttonLabel, Language language, AssignmentDialogs& dialogs,
                        MessageSink& messages);

    // The lists open inside `room` (the window's area) and measure their entries with `measure`
    // in the text font; without a measure they keep the system's 16-pixel rows and widths.
    void SetLayout(const TextMeasure* measure, Rect room);

    // The button (0 to 11) in row `row` (1 to 7) of the view; nothing for rows 6 and 7 of the side.
    static std::optional<std::size_t> ButtonOfRow(int row, AssignmentView view);
    static int RowCount(AssignmentView view);
    static Rect DropdownBox(int row, Point contentOrigin);
    static Rect ButtonNameArea(int row, Point contentOrigin);
    // Where a dropdown box shows its label: the box left of its arrow.
    static Rect LabelArea(Rect dropdownBox);
    // The row (1 to 7) whose dropdown box holds the point, in either view.
    static std::optional<int> RowAt(Point p, Point contentOrigin);

    // The section's height in a skin without its background picture.
    static int BareContentHeight(AssignmentView view);

    // What row `row` of the view shows: the button's name, its label and the state of its box.
    std::string_view ButtonName(std::size_t button) const;
    const std::string& Label(std::size_t button) const { return m_buttonLabel[button]; }
    BoxState BoxStateOf(int row, AssignmentView view) const;

    // A press on a row's dropdown box, handled as a dropdown click; true when the press hit a
    // box, which ends the main window's click dispatch.
    bool Press(Point p, Point contentOrigin, AssignmentView view);
    // The box under the pointer is BoxState::Over; true when a box changed.
    bool Hover(Point p, Point contentOrigin, AssignmentView view);
    // The pointer left the section: no box is BoxState::Over; true when a box changed.
    bool Unhover();

    // A dropdown click on a button (0 to 11) whose box is `box`: closes the button's open list,
    // or opens it unless it is the only button with "Click".
    void ClickDropdown(std::size_t button, Rect box);

    // The open list and its submenu.
    std::optional<std::size_t> OpenButton() const { return m_openButton; }
    const std::optional<PaintedList>& MainList() const { return m_mainList; }
    const std::optional<PaintedList>& Submenu() const { return m_submenu; }
    // The main entry whose submenu is open.
    std::optional<FunctionCode> SubmenuFunction() const { return m_submenuFunction; }
    // The pointer over the lists: highlights the entry under it and opens or closes submenus.
    // True when something changed.
    bool HoverList(Point p);
    // A press on a list entry chooses it; true when something changed.
    bool PressList(Point p);
    // Closes the lists of all twelve buttons and any submenu, and gives every box BoxState::Normal
    // back; true when that changed one.
    bool CloseAll();

    // The keyboard: the boxes of the view as combo boxes named after their buttons, valued with
    // their labels. Return, Space or Alt+Down opens a box's list as a click does, with the
    // button's function highlighted.
    std::vector<FocusControl> FocusControls(Point contentOrigin, AssignmentView view) const;
    bool ActOnRow(int row, Point contentOrigin, AssignmentView view, ControlAction action);
    // A key while a list is open: Up and Down walk the entries of the list the keyboard is in,
    // Home and End go to its ends; Right, Return or Space on an entry with a submenu opens it and
    // enters it, Left or Escape leaves it; Return or Space on another entry chooses it as a click
    // does; Escape in the main list closes it. False when no list is open or the key does nothing.
    bool ListKey(WindowKey key);
    // Whether the keyboard is in the submenu.
    bool InSubmenu() const { return m_inSubmenu; }
    // The whole text of the entry under the point, where its list shows it cut.
    std::optional<std::string> CutEntryAt(Point p) const;

    // The row of the open list's button, for the view that shows that button; nothing otherwise.
    // The mouse picture lights that row.
    std::optional<int> OpenRow(AssignmentView view) const;

private:
    bool OnlyClickButton(std::size_t button) const;
    int RowHeight() const;
    // A list of `entries` at least `leastWidth` wide and at most `mostWidth`, placed by the caller.
    PaintedList MakeList(std::vector<std::string> entries, std::vector<bool> submenuRows, int leastWidth,
                         int mostWidth) const;
    void OpenMainList(std::size_t button, Rect box);
    void CloseSubmenu();
    bool HoverMainEntry(std::size_t entry);
    void OpenSubmenu(FunctionCode function, Rect entry);
    void ChooseMainEntry(std::size_t entry);
    void ChooseSubmenuEntry(std::size_t entry);
    void FinishChoice(std::size_t button);

    ProfileRecord& m_record;
    ButtonLabels& m_buttonLabel;
    const AssignmentTexts& m_texts;
    ButtonAssignment m_assignment;
    AssignmentDialogs& m_dialogs;
    MessageSink& m_messages;

    std::optional<std::size_t> m_openButton;
    std::optional<PaintedList> m_mainList;
    std::optional<FunctionCode> m_submenuFunction;
    std::optional<PaintedList> m_submenu;
    std::optional<int> m_hoveredRow;
    std::optional<std::size_t> m_leaveButton; // its box shows BoxState::Leave after a choice
    bool m_inSubmenu = false;                 // the keyboard walks the submenu
    const TextMeasure* m_measure = nullptr;
    Rect m_room{0, 0, 1000, 640}; // the main window
};

} // namespace veldrane
