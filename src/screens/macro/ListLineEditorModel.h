#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace veldrane {

// What the in-place editor of a list line (CLBEditorWnd) is opened for; the opener chooses.
enum class LineEditorMode
{
    ProfileName = 1, // the profile manager's profile names
    DelayValue = 2,  // a delay line of the macro manager's event list: "<ms> ms"
    MacroName = 3,   // the macro manager's macro names
};

// The input that reaches the editor while it is open.
enum class LineEditorInput
{
    Enter,
    Tab,
    Escape,
    PressInside,  // a left press on the editor itself: normal editing
    PressOutside, // a left press anywhere else (the editor holds the pointer)
    FocusLost,
    Other, // every other key: normal editing
};

// The text that replaces the edited line when an edit is committed.
struct LineEditorCommit
{
    std::size_t line = 0;
    std::string text;
};

// The rules of the in-place editor of one list line: when it may open, which input commits or
// cancels it, that it ends only once, and what a committed text becomes in each mode. The view
// shows an edit field over the line and forwards its input; the list's owner applies the commit
// (the macro manager checks a macro name and saves a delay, the profile manager takes its name).
class ListLineEditorModel
{
public:
    // The result of one input: nothing yet, the edit ended without a change, or a commit.
    struct Outcome
    {
        bool ended = false;
        std::optional<LineEditorCommit> commit;
        // The edit was to commit, but its text is none the mode takes: the line stays as it was,
        // and the user must be told.
        bool refused = false;
    };

    explicit ListLineEditorModel(LineEditorMode mode) : m_mode(mode) {}

    // BeginEdit: true when `line` is one of the list's lineCount lines; otherwise the editor
    // does not open (and has ended).
    bool BeginEdit(std::size_t line, std::size_t lineCount);

    LineEditorMode Mode() const { return m_mode; }
    std::size_t Line() const { return m_line; }
    bool IsOpen() const { return m_open && !m_ending; }

    // Enter, Tab, a press outside and the loss of the focus commit the edited text; Escape ends
    // the edit without applying anything. After the end every input does nothing.
    Outcome Input(LineEditorInput input, std::string_view editedText);

    // What a committed text becomes in a mode; nothing when the mode applies nothing.
    //   ProfileName, MacroName: the text unchanged.
    //   DelayValue: blanks removed, the text must be decimal digits followed by "ms", or decimal
    //   digits alone, which are milliseconds too; a value above 6553500 becomes 6553500; the line
    //   is the digits as typed, a blank and "ms" ("0 120 ms" gives "0120 ms", "120" gives
    //   "120 ms", "ms" alone gives " ms", a wait of 0).
    static std::optional<std::string> CommittedText(LineEditorMode mode, std::string_view editedText);

private:
    LineEditorMode m_mode;
    std::size_t m_line = 0;
    bool m_open = false;
    bool m_ending = false;
};

} // namespace veldrane
