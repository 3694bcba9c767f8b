#pragma once

#include <QPoint>
#include <QTimer>
#include <QWidget>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include "gui/skin/ElidedTextTips.h"
#include "gui/skin/FontBook.h"
#include "ports/WheelNotches.h"
#include "screens/main/MainWindowModel.h"
#include "screens/main/MainWindowView.h"

namespace veldrane {

class CGdipButton;
class CHelpDialog;
class SettingsSectionsUi;
class SkinImageCache;

// The main window: frameless, without a taskbar entry (a tool window), as large as "/main.png",
// painted from its MainWindowModel.
// Pointer, wheel and key events go to the model with window coordinates (Tab included: the
// painted controls take the focus in turn, never another widget); Enter and Escape never close
// it; the window manager's close request hides it. Assistive technology sees the model's controls
// through MainWindowAccessible.
class CHidMouseDlg : public QWidget, public MainWindowView
{
    Q_OBJECT

public:
    using MacroManagerRunner = std::function<std::optional<std::array<std::uint8_t, kMacroPartSize>>()>;

    CHidMouseDlg(AppContext& context, SkinImageCache& images, QWidget* parent = nullptr);
    ~CHidMouseDlg() override;

    MainWindowModel& Model() { return m_model; }
    const FontBook& Fonts() const { return m_fonts; }
    CHelpDialog* HelpDialog() const { return m_helpDialog; }
    CGdipButton* ScrollThumbButton() const { return m_thumb; }

    // What the application object provides. Without an exit handler the close button ends the
    // event loop with status 0 (QCoreApplication::exit, which asks no window); without a profile
    // manager "Config" opens nothing; without a macro manager row 2 changes nothing.
    void SetExitHandler(std::function<void()> handler) { m_exitHandler = std::move(handler); }
    void SetProfileManagerOpener(std::function<void()> opener) { m_profileManagerOpener = std::move(opener); }
    void SetMacroManagerRunner(MacroManagerRunner runner) { m_macroManagerRunner = std::move(runner); }
    // On a desktop without a system tray the window could not be found again once hidden, so
    // hiding minimises it instead.
    void SetHideMinimises(bool minimise) { m_hideMinimises = minimise; }

    // MainWindowView
    void Redraw(std::optional<Rect> area) override;
    void Hide() override;
    void ShowAndRaise() override;
    void ExitProcess() override;
    void ShowHelp() override;
    void CloseHelp() override;
    void OpenProfileManager() override;
    std::optional<std::array<std::uint8_t, kMacroPartSize>> RunMacroManager() override;
    void StartWindowDrag(Point p) override;
    void SetWaitCursor(bool wait) override;
    void TimersChanged() override;
    void ScrollThumbMoved() override;
    void FocusMoved() override;
    void ControlChanged(std::size_t index) override;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;

private:
    // Tells assistive technology that control `index` has the focus, and that the controls
    // changed where their number did.
    void AnnounceFocus(std::size_t index);
    void AnnounceReorder();

    AppContext& m_context;
    SkinImageCache& m_images;
    FontBook m_fonts;
    MainWindowModel m_model;
    QTimer m_timer;
    CGdipButton* m_thumb = nullptr;
    CHelpDialog* m_helpDialog = nullptr;
    WheelNotches m_wheelNotches;
    ElidedTextTips m_tips;

    // A window drag done by hand where the window manager does not move the window itself.
    bool m_manualDrag = false;
    QPoint m_dragStartGlobal;
    QPoint m_dragStartWindow;
    QPoint m_lastPressGlobal;

    std::function<void()> m_exitHandler;
    std::function<void()> m_profileManagerOpener;
    MacroManagerRunner m_macroManagerRunner;
    bool m_hideMinimises = false;
    // How many controls assistive technology was last told of.
    std::size_t m_announcedControls = 0;
    // The widgets behind the settings sections, which it puts into the model.
    std::unique_ptr<SettingsSectionsUi> m_settingsSections;
};

} // namespace veldrane
