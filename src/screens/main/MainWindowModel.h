#pragma once

#include <array>
#include <chrono>
#include <cstddef>
#include <memory>
#include <optional>
#include <vector>

#include "ports/Geometry.h"
#include "ports/SkinCanvas.h"
#include "screens/common/FocusControl.h"
#include "screens/common/HoverGroup.h"
#include "screens/help/HelpPanelModel.h"
#include "screens/main/AppContext.h"
#include "screens/main/LeftPanel.h"
#include "screens/main/PanelSection.h"
#include "screens/main/ProfileCommands.h"
#include "screens/main/RightPanel.h"

namespace veldrane {

class MainWindowView;

// The state and rules of the main window (CHidMouseDlg): what a click at a point does, which
// pictures hovering swaps, the window-wide flags, the timers and the tray icon's rule. The window
// forwards its events here with window coordinates and paints what Draw draws.
class MainWindowModel : private ProfileCommandsHost
{
public:
    // The title-bar buttons, the bottom row and the two view buttons: one hover group each.
    enum TitleBarButton : std::size_t
    {
        kHelp,
        kMinimise,
        kClose,
        kTitleBarCount
    };
    enum BottomRowButton : std::size_t
    {
        kConfig,
        kReset,
        kCancel,
        kSave,
        kBottomRowCount
    };
    enum ViewButton : std::size_t
    {
        kTopView,
        kSideView,
        kViewButtonCount
    };

    static constexpr std::chrono::milliseconds kApplyLockPeriod{2000};

    // The sections start empty (EmptySection); the sections with content are put in with
    // SetRightSection and SetLeftSection.
    MainWindowModel(AppContext& context, MainWindowView& view);
    ~MainWindowModel() override;
    MainWindowModel(const MainWindowModel&) = delete;
    MainWindowModel& operator=(const MainWindowModel&) = delete;

    void SetRightSection(RightPanel::SectionIndex index, std::unique_ptr<PanelSection> section);
    void SetLeftSection(LeftPanel::RowIndex row, std::unique_ptr<PanelSection> section);

    // The window's size: that of "/main.png".
    Size WindowSize() const { return m_windowSize; }
    // The whole window. The first drawing after start-up fills in the first-run labels first.
    void Draw(SkinCanvas& canvas);

    // Pointer events in window pixels.
    void Press(Point p);
    void Move(Point p, bool leftButtonHeld);
    void Release(Point p);
    // The pointer left the window, or the window hid: every "-over" picture goes back to "-normal".
    void PointerLeft();
    // Escape reached the window: it closes the open lists and nothing else.
    void EscapePressed();
    // Wheel notches over p, positive away from the user.
    void Wheel(Point p, int notches);

    // A key reached the window (Tab, Return, the arrows, Ctrl+S, F1, Escape, ...).
    void KeyPressed(WindowKey key);
    // Every control of the window in Tab order: the title bar, the left panel's headers each with
    // its open section's controls, the view buttons, the right panel likewise, the bottom row.
    std::vector<FocusControl> Controls() const;
    // The position in Controls() of the control with the keyboard focus.
    std::optional<std::size_t> FocusIndex() const;
    // Gives control `index` of Controls() the focus (an assistive technology asked for it).
    void SetFocus(std::size_t index);
    // What a key does, done to control `index` of Controls(); false when it did nothing.
    bool ActOn(std::size_t index, ControlAction action);
    // Steps slider `index` towards `number` (in its own unit) as far as it goes without passing
    // it; false when it did not move.
    bool StepTowards(std::size_t index, int number);

    // The scroll thumb's own events, in window pixels (message 0xB20 after a move).
    void ThumbPress(Point p);
    void ThumbDrag(Point p);
    void ThumbRelease();

    // A press on the help panel, in panel pixels.
    void HelpPanelPress(Point p);

    // Left click or double click on the tray icon. After "Cancel" the window shows the profile as
    // its files hold it; after "Minimise" the unsaved edits are still there.
    void ShowFromTray();
    // Loads the current profile and its labels again from their files and redraws the window.
    void ReloadProfile();
    // The window manager asked the window to close (Alt+F4): it hides.
    void CloseRequested();
    // Message 0xB13 from the help panel: 0 starts the firmware updater.
    void OnUpdateRequest(int request);
    // The switch to the named profile at `index` (ProfileCommands::SwitchProfile), with this
    // window's wait cursor; the window shows the profile it loaded.
    [[nodiscard]] SwitchOutcome SwitchProfile(std::size_t index) { return m_commands.SwitchProfile(*this, index); }
    // Message 0xB03 from the profile manager: 0 import, 1 export, 2 the manager has closed.
    void OnProfileManagerNotice(int notice);

    // The earliest deadline of the running timers, on the context's clock.
    std::optional<std::chrono::milliseconds> NextDeadline() const;
    // Runs every timer whose deadline has come.
    void OnTimer();

    // State for the views and for tests.
    bool ApplyLocked() const { return m_applyLock; }
    bool HelpOpen() const { return m_help.IsOpen(); }
    bool ProfileManagerOpen() const { return m_profileManagerOpen; }
    MouseView CurrentMouseView() const { return m_mouseView; }
    bool IsTimerRunning(WindowTimer timer) const;
    bool TitleBarOver(TitleBarButton button) const { return m_titleBarHover.IsOver(button); }
    bool BottomRowOver(BottomRowButton button) const { return m_bottomRowHover.IsOver(button); }
    bool ViewButtonOver(ViewButton button) const { return m_viewButtonHover.IsOver(button); }
    bool MenuOver(std::size_t menu) const { return m_menuHover.IsOver(menu); }
    HelpPanelModel& HelpPanel() { return m_help; }
    const HelpPanelModel& HelpPanel() const { return m_help; }
    LeftPanel& Left() { return m_left; }
    RightPanel& Right() { return m_right; }
    const ScrollThumb& Thumb() const { return m_right.Thumb(); }
    ProfileCommands& Commands() { return m_commands; }
    Colour TextColour() const;

private:
    // Which panel a folding row belongs to.
    enum class Panel
    {
        Left,
        Right
    };
    struct PanelRow
    {
        Panel panel;
        std::size_t row;
    };

    // A control in Tab order, named by where it lives, and what it is now.
    enum class FocusKind
    {
        TitleBar,
        LeftHeader,
        LeftControl,
        ViewButton,
        RightHeader,
        RightControl,
        BottomRow
    };
    struct FocusId
    {
        FocusKind kind;
        std::size_t index;       // the button, or the panel's row
        std::size_t control = 0; // within the row's open section
        friend bool operator==(const FocusId&, const FocusId&) = default;
    };
    struct FocusEntry
    {
        FocusId id;
        FocusControl control;
    };

    void SetWaitCursor(bool wait) override;
    void ReturnToFirstPage() override;

    std::vector<FocusEntry> FocusEntries() const;
    void AddPanelEntries(std::vector<FocusEntry>& entries, Panel panel) const;
    std::optional<std::size_t> FocusPosition(const std::vector<FocusEntry>& entries) const;
    // Gives entry `index` the focus; the right panel scrolls to show it unless told not to.
    void MoveFocus(const std::vector<FocusEntry>& entries, std::size_t index, bool scroll = true);
    void MoveFocusBy(int step);
    // Hands a key to an open section's open list; true when the list took it.
    bool ListTakesKey(WindowKey key);
    // Gives the focus to the control under a press, if any.
    void FocusControlAt(Point p);
    // The focus ring's area now, if a control has the focus.
    std::optional<Rect> FocusRing() const;
    void RedrawFocusRing(std::optional<Rect> area);
    bool ActOnEntry(const std::vector<FocusEntry>& entries, std::size_t index, ControlAction action);
    void SaveProfile();

    bool PressFirstGroup(Point p);
    void PressPages(Point p);
    void ToggleHelp();
    void CloseHelp();
    void SetMouseView(MouseView view);
    void CloseAllLists();
    // Closes the lists and repaints what showed them.
    void CloseListsAndRedraw();
    // Whether a press at p lands on a control that a section takes for itself.
    bool SectionTakesPress(Point p) const;
    // The lit mouse picture an open section asks for, if any.
    std::optional<std::string> SectionMousePicture() const;
    // A press on the open content of a panel's section; true when the section takes it for itself.
    bool PressSectionContent(Panel panel, Point p);

    // Whether the mouse is connected and which profile is being edited, under the mouse.
    void DrawStateLine(SkinCanvas& canvas, Colour textColour);
    void StartTimer(WindowTimer timer, std::chrono::milliseconds period);
    void Hover(Point p);
    void HoverMenus(Point p);
    void HideWindow();
    void HoverSections(Point p);
    void RedrawPanel(Panel panel);
    SectionStack& StackOf(Panel panel);

    std::optional<std::size_t> MenuIndexAt(Point p) const;
    Rect MenuArea(std::size_t index) const;

    AppContext& m_context;
    MainWindowView& m_view;
    ProfileCommands m_commands;
    HelpPanelModel m_help;
    LeftPanel m_left;
    RightPanel m_right;
    Size m_windowSize;

    HoverGroup m_titleBarHover{kTitleBarCount};
    HoverGroup m_bottomRowHover{kBottomRowCount};
    HoverGroup m_viewButtonHover{kViewButtonCount};
    // The menus: the four left rows, then the seven right headers.
    HoverGroup m_menuHover{std::size_t{LeftPanel::kRowCount} + std::size_t{RightPanel::kSectionCount}};
    // The control with the keyboard focus.
    std::optional<FocusId> m_focus;
    // The open section the pointer was last over, to give it its "-normal" pictures back.
    std::optional<PanelRow> m_hoveredSection;
    // The open section that took the last press, until the button is released.
    std::optional<PanelRow> m_pressedSection;

    bool m_applyLock = false;
    bool m_reloadOnShow = false;
    bool m_profileManagerOpen = false;
    MouseView m_mouseView = MouseView::Side;
    // Deadline of timer 1 (index 0 unused).
    std::array<std::optional<std::chrono::milliseconds>, 2> m_deadlines{};
};

} // namespace veldrane
