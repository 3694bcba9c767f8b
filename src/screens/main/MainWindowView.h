#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

#include "core/profile/ProfileRecord.h"
#include "ports/Geometry.h"

namespace veldrane {

// What MainWindowModel asks of the window that shows it (CHidMouseDlg).
class MainWindowView
{
public:
    virtual ~MainWindowView() = default;

    // Repaints `area` from the model, or the whole window.
    virtual void Redraw(std::optional<Rect> area) = 0;
    virtual void Hide() = 0;
    // Shows the window and brings it to the foreground.
    virtual void ShowAndRaise() = 0;
    // Ends the process with status 0 without saving (the close button).
    virtual void ExitProcess() = 0;
    // The help panel opened or closed; its state is the model's HelpPanel().
    virtual void ShowHelp() = 0;
    virtual void CloseHelp() = 0;
    // Opens the profile manager, modeless; it tells the model when it closes.
    virtual void OpenProfileManager() = 0;
    // Runs the macro manager modally; its macro data when it ends with OK.
    virtual std::optional<std::array<std::uint8_t, kMacroPartSize>> RunMacroManager() = 0;
    // A press at p (window pixels) that nothing took: the window follows the pointer until the
    // button is released.
    virtual void StartWindowDrag(Point p) = 0;
    // The wait cursor or the arrow on the window.
    virtual void SetWaitCursor(bool wait) = 0;
    // A timer started or ended: the next deadline is the model's NextDeadline().
    virtual void TimersChanged() = 0;
    // The scroll thumb has a new top (after the wheel or a return to the first page).
    virtual void ScrollThumbMoved() = 0;
    // The keyboard focus moved to the model's FocusIndex(), or left the window's controls.
    virtual void FocusMoved() {}
    // Control `index` of the model's Controls() changed its value or state by a key or an
    // accessible action; the controls after it may have changed too (a section opened or shut).
    virtual void ControlChanged(std::size_t /*index*/) {}
};

} // namespace veldrane
