#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "core/buttons/ButtonAssignment.h"
#include "core/macro/MacroEncoder.h"
#include "core/macro/MacroRecorder.h"
#include "core/text/Language.h"
#include "ports/Geometry.h"
#include "ports/SkinCanvas.h"
#include "ports/WheelNotches.h"
#include "screens/common/DialogBackground.h"
#include "screens/common/FocusControl.h"
#include "screens/macro/ListLineEditorModel.h"
#include "screens/macro/MacroManagerLayout.h"

namespace veldrane {

class IniFile;
class MessageSink;
class TextCodec;
struct MacroManagerTexts;
struct ProfileRecords;

// The profiles whose buttons follow a deleted macro: the files of every profile beside the macro
// file, rewritten in one step with it, and the current record with its labels and its backup, so
// that neither a Cancel nor a later load brings the old numbers back.
struct MacroProfiles
{
    ProfileRecords& records;
    ButtonLabels& labels;
    const TextCodec& codec;
};

// What outlives one opening of the macro manager: the recorder and the two tick boxes, whose
// states are overwritten when a macro is shown. The application owns one for the whole run.
struct MacroManagerState
{
    explicit MacroManagerState(const Clock& clock) : recorder(clock) {}

    MacroRecorder recorder;
    int DelayTimeSelStatus = 0; // "Record delays between key commands"
    int LoopTimeSelStatus = 0;  // "Loop Times"
};

// What the manager works with, handed over by the main window for one opening.
struct MacroManagerContext
{
    IniFile& macroFile; // "record.ini" beside the executable
    MacroManagerState& state;
    MessageSink& messages;
    Language language;
    Colour textColour; // the skin's text colour
    // The profiles' buttons and macro buffers: they follow a deleted macro at once, since the file
    // has already lost it. None when no profile is to follow.
    MacroProfiles* profiles = nullptr;
};

// How a run of the manager ends.
enum class MacroManagerClose
{
    Ok,
    Cancel,
};

// The keys that the dialog's keyboard filter treats apart.
enum class DialogKey
{
    Enter,
    Escape,
    WindowsKey,
    Other,
};

// An in-place edit the view must open: the editor over `line` of the macro list (mode MacroName)
// or of the event list (mode DelayValue), starting with `text`.
struct LineEditRequest
{
    LineEditorMode mode;
    std::size_t line;
    std::string text;
};

// What the view does with a keystroke after the model has seen it.
struct KeyOutcome
{
    bool passOn = false; // hand the key to the focused control (typing into the loop-count field)
    std::optional<MacroManagerClose> close;
    std::optional<LineEditRequest> edit; // F2: open the in-place editor
};

// The controls of the manager that take the keyboard focus, in reading order (the Tab order).
// Each one's number is its key in MacroManagerModel::Controls().
enum class MacroControl
{
    Close,
    MacroList,
    EventList,
    Record,
    DelayBox,
    LoopBox,
    LoopField,
    New,
    Delete,
    Ok,
    Cancel,
};

// What the view does after a left press on the surface.
struct PressOutcome
{
    bool startMove = false; // the dialog follows the pointer as if its caption had been pressed
    std::optional<MacroManagerClose> close;
};

// The mouse buttons that the event list's menu inserts as a press and release pair.
enum class MacroMouseButton
{
    Left,
    Middle,
    Right,
};

// The model of the macro manager (CMacroProgramDialog): the macro list and the event list with
// their selections, the tick boxes, the loop-count field, the twelve working buffers, the
// recording, the naming rules and what every area, menu entry and key does. The Qt view shows the
// lists and the field as this model holds them, forwards every event and paints with Draw.
//
// The macro file is written at once by almost every action, as users expect; the exception is a
// rename, which reaches the file (in place, under the same macro number) with the macro's next
// save or with OK, so that Cancel keeps the macro under its old name.
class MacroManagerModel
{
public:
    explicit MacroManagerModel(MacroManagerContext context);

    // Opening: the background's size (the dialog's size), the macros of the file and the first
    // one shown. A missing background is reported and the dialog works without its lists.
    Size Open(SkinImageSizes& images);

    const MacroManagerTexts& Texts() const { return m_texts; }
    Language InterfaceLanguage() const { return m_context.language; }
    Colour TextColour() const { return m_context.textColour; }
    std::string_view WindowText() const { return m_windowText; }
    bool HasControls() const { return m_hasControls; }

    std::vector<std::string> MacroNames() const;
    // The macro the user sees highlighted; none when the list's highlight is gone, even while
    // that macro's events are still shown.
    std::optional<std::size_t> SelectedMacro() const { return m_macroHighlighted ? m_selectedMacro : std::nullopt; }
    const std::vector<std::string>& EventLines() const { return m_eventLines; }
    // The first line of the event list that does not reach the mouse, since the macro is longer
    // than its buffer: it and every line after it are marked. None when the whole macro fits.
    std::optional<std::size_t> FirstLeftOutLine() const { return m_firstLeftOutLine; }
    std::optional<std::size_t> SelectedEvent() const { return m_selectedEvent; }
    const std::string& LoopFieldText() const { return m_loopFieldText; }
    bool LoopFieldEnabled() const { return m_loopFieldEnabled; }
    const std::string& LoopText() const { return m_loopText; }
    bool DelayBoxTicked() const { return m_context.state.DelayTimeSelStatus == 1; }
    bool LoopBoxTicked() const { return m_context.state.LoopTimeSelStatus == 1; }
    bool IsRecording() const { return m_context.state.recorder.IsRecording(); }
    const MacroData& WorkingBuffers() const { return m_working; }

    // The macro list: a selection change and a double-click (the second double-click on the
    // same name opens the rename editor). Selecting during a recording first ends the recording
    // and saves it into the macro it began in.
    void SelectMacro(std::size_t index);
    // The list's highlight is gone: Delete then deletes nothing. The shown events stay those of
    // the macro shown.
    void DeselectMacro();
    // The event list's highlight is gone: its Delete then deletes nothing.
    void DeselectEvent();
    std::optional<LineEditRequest> DoubleClickMacro(std::size_t index);
    // The event list: a selection change and a double-click; the second of them on the same delay
    // line opens the delay editor.
    std::optional<LineEditRequest> SelectEvent(std::size_t index);
    std::optional<LineEditRequest> DoubleClickEvent(std::size_t index);
    // A right press on a line of the event list: the line is selected for the menu that opens,
    // without counting towards the delay editor's gesture.
    void PointAtEvent(std::size_t index);

    // The committed text of an in-place editor (ListLineEditorModel::CommittedText applied).
    // A macro name that is blank, too long, would break the file or names another macro is
    // refused with a message and the old name stays. A delay replaces its line and is saved.
    void CommitMacroName(std::size_t line, std::string_view name);
    void CommitDelay(std::size_t line, std::string_view text);
    // An edited delay that is no number of milliseconds: the line keeps its text and the user is
    // told what a delay looks like.
    void RefuseDelay();

    // Every change of the loop-count field's text, by the user or by the model itself.
    void LoopFieldChanged(std::string_view text);

    // Left presses, hovering and the wheel on the surface.
    PressOutcome Press(Point p);
    // True when a picture changed.
    bool Hover(std::optional<Point> p);
    // Lines to scroll the event list by (negative: upwards) for a wheel turn of `delta`.
    int Wheel(int delta);

    // The event list's menu "MacroList": its entries in order with their texts, and their actions.
    struct MenuEntry
    {
        EventListCommand command;
        std::string_view text;
    };
    std::vector<MenuEntry> EventListMenu() const;
    void RunMenuCommand(EventListCommand command);

    // The keyboard: the recorder sees each keystroke first, then the dialog's filter. `command` is
    // what the key means to the window (Tab, the arrows, Delete, F2, Insert, Escape...); outside
    // a recording it acts on the control with the focus.
    KeyOutcome KeyPress(std::string_view keyName, DialogKey key, bool alreadyDown,
                        std::optional<WindowKey> command = std::nullopt);
    KeyOutcome KeyRelease(std::string_view keyName, bool wasDown);

    // The controls as the keyboard and a screen reader see them, in Tab order; the lists and the
    // loop-count field are there only while the dialog has them.
    std::vector<FocusControl> Controls() const;
    MacroControl Focus() const { return m_focus; }
    std::optional<std::size_t> FocusIndex() const;
    // The focus went to a control by other means (a click into a list, a screen reader).
    void SetFocus(MacroControl control);
    // What Return does to control `index` of Controls(): a button is pressed, a box toggled.
    PressOutcome ActOn(std::size_t index);

    // The actions behind the areas, for the view's tests and the keyboard. Starting a recording
    // with no macro selected records into a new macro.
    void NewMacro();
    void DeleteMacro();
    void ToggleRecording();
    void ToggleDelayBox();
    void ToggleLoopBox();
    // OK: every pending rename and the selected macro saved, the buffers rebuilt from the file.
    // With a macro file too large to read, nothing: the profile keeps its macros.
    const MacroData& Accept();
    // Cancel and the close area: renames not yet saved are dropped.
    void Cancel();
    // The buffers to copy into macroData; set only when the manager closed with OK.
    const std::optional<MacroData>& Result() const { return m_result; }

    void Draw(SkinCanvas& canvas) const;

private:
    struct Entry
    {
        std::string name;        // as the list shows it
        std::string sectionName; // as the file holds it; differs while a rename waits for a save
    };
    enum class HotArea
    {
        Ok,
        Cancel,
        Close,
        New,
        Delete,
    };

    void ShowMacro(std::size_t index, bool opening);
    void ClearEvents();
    void SaveSelectedMacro();
    MacroFit MarkLeftOutLines(const MacroRecord& record);
    [[nodiscard]] bool ApplyRename(Entry& entry);
    // Whether the macro file took a write; the first failure of a run of them tells the user why
    // (a loop count typed into a read-only file warns once, not at every key).
    bool NoteWrite(bool written);
    // "`what`" with the file and the reason on a line below, when the file said why.
    void ShowMacroFileFailure(std::string_view what, const std::filesystem::path& file, std::error_code error);
    void StartRecording();
    void StopRecording();
    void AppendRecorded(const RecorderStep& step);
    void InsertMouseButton(MacroMouseButton button);
    void InsertDelay();
    void DeleteLine();
    void EndRecordingForClose();
    std::string NewMacroName() const;
    bool NameInUse(std::string_view name, std::optional<std::size_t> except) const;
    std::optional<LineEditRequest> DelayGesture(std::size_t index);
    KeyOutcome Command(WindowKey command);
    void MoveFocusBy(int step);
    void WalkList(WindowKey key);
    std::optional<LineEditRequest> RenameRequest() const;
    std::optional<HotArea> HotAreaAt(Point p) const;
    // Macro n's buffer among the twelve; none for a macro beyond the twelfth, which has no slot.
    std::optional<std::span<std::uint8_t, kMacroBufferSize>> WorkingBuffer(std::size_t index);

    MacroManagerContext m_context;
    const MacroManagerTexts& m_texts;
    std::string m_windowText;
    DialogBackground m_background;
    bool m_hasControls = true;
    std::vector<Entry> m_entries;
    std::optional<std::size_t> m_selectedMacro; // the macro whose events are shown
    bool m_macroHighlighted = false;
    std::vector<std::string> m_eventLines;
    std::optional<std::size_t> m_firstLeftOutLine;
    bool m_fileRefused = false; // the macro file is larger than the program reads
    bool m_writeFailureShown = false;
    std::optional<std::size_t> m_selectedEvent;
    std::string m_loopFieldText;
    std::string m_loopText = "1";
    bool m_loopFieldEnabled = false;
    MacroData m_working{};
    std::optional<std::size_t> m_lastDoubleClickedMacro;
    std::optional<std::size_t> m_lastSelectedEvent;
    std::optional<HotArea> m_hot;
    MacroControl m_focus = MacroControl::MacroList;
    WheelNotches m_wheel;
    std::optional<MacroData> m_result;
};

} // namespace veldrane
