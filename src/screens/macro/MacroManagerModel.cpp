#include "screens/macro/MacroManagerModel.h"

#include <algorithm>
#include <array>
#include <utility>

#include "core/buttons/ButtonAssignment.h"
#include "core/ini/Blanks.h"
#include "core/ini/IniFile.h"
#include "core/ini/UnicodeText.h"
#include "core/macro/MacroDeletion.h"
#include "core/macro/MacroFile.h"
#include "core/macro/MacroSectionRename.h"
#include "core/profile/ProfileRecord.h"
#include "core/text/ControlCaptionTexts.h"
#include "core/text/FileErrorTexts.h"
#include "core/text/MacroManagerTexts.h"
#include "core/text/MessageTexts.h"
#include "ports/MessageSink.h"
#include "screens/common/ButtonPicture.h"
#include "screens/common/FocusRing.h"

namespace veldrane {

namespace {

// The face, size and weight of the macro manager's font come from the language's font table.
constexpr FontRole kMacroManagerFont = FontRole::MacroManager;

// Section names are copied into a buffer of 32 characters (UTF-16 units) with its zero.
constexpr std::size_t kMaxMacroNameUnits = 31;

constexpr std::string_view kNewNameSeparator = "_";
constexpr std::string_view kInsertedDelay = "50 ms";
constexpr std::string_view kFirstLoopText = "1";

// Page Up and Page Down move a list's selection by about the lines it shows.
constexpr int kListPageLines = 15;

std::size_t Utf16Units(std::string_view text)
{
    return Utf8ToUtf16Le(text).size() / 2;
}

bool IsDelayLine(const std::string& line)
{
    return MacroItem(line).IsDelay();
}

std::string_view ButtonName(MacroMouseButton button)
{
    switch (button) {
    case MacroMouseButton::Middle:
        return kMiddleButtonName;
    case MacroMouseButton::Right:
        return kRightButtonName;
    case MacroMouseButton::Left:
        break;
    }
    return kLeftButtonName;
}

// A text too long for one line of its area is drawn on two, broken at the blank nearest its
// middle; a text without blanks (the Chinese ones) stays on one line.
std::pair<std::string_view, std::string_view> SplitNearMiddle(std::string_view text)
{
    std::size_t best = std::string_view::npos;
    for (std::size_t at = text.find(' '); at != std::string_view::npos; at = text.find(' ', at + 1)) {
        const auto distance = [&](std::size_t position) {
            return position > text.size() / 2 ? position - text.size() / 2 : text.size() / 2 - position;
        };
        if (best == std::string_view::npos || distance(at) < distance(best)) {
            best = at;
        }
    }
    if (best == std::string_view::npos) {
        return {text, {}};
    }
    return {text.substr(0, best), text.substr(best + 1)};
}

} // namespace

MacroManagerModel::MacroManagerModel(MacroManagerContext context)
    : m_context(context), m_texts(MacroManagerTextsFor(context.language)), m_windowText(m_texts.windowText),
      m_background(kMacroManagerBackground, kMacroManagerDialogImageFailed, kMacroManagerFallbackSize)
{}

// Opening ---------------------------------------------------------------------------------------

Size MacroManagerModel::Open(SkinImageSizes& images)
{
    m_windowText = std::string(m_texts.windowText);
    if (!m_background.Open(images, m_context.messages)) {
        m_hasControls = false;
        m_focus = MacroControl::Ok;
        return m_background.WindowSize();
    }
    if (MacroFileTooLarge(m_context.macroFile)) {
        // Not the program's file: it is neither read nor written, and OK keeps the profile's macros.
        m_context.messages.ShowMessage(m_texts.fileTooLarge, m_texts.warningTitle);
        m_hasControls = false;
        m_fileRefused = true;
        m_focus = MacroControl::Ok;
        return m_background.WindowSize();
    }
    m_loopFieldEnabled = LoopBoxTicked();
    for (const std::string& name : ListMacroNames(m_context.macroFile)) {
        m_entries.push_back({name, name});
    }
    if (!m_entries.empty()) {
        ShowMacro(0, true);
    }
    return m_background.WindowSize();
}

std::vector<std::string> MacroManagerModel::MacroNames() const
{
    std::vector<std::string> names;
    names.reserve(m_entries.size());
    for (const Entry& entry : m_entries) {
        names.push_back(entry.name);
    }
    return names;
}

void MacroManagerModel::ShowMacro(std::size_t index, bool opening)
{
    // The selection comes first, so that the loop count shown is written back for this macro and
    // becomes the loop text of its next save, from the opening on.
    m_selectedMacro = index;
    m_macroHighlighted = true;
    const MacroRecord record = LoadMacro(m_context.macroFile, m_entries[index].sectionName);
    LoopFieldChanged(record.MacroLoopTimes);
    ClearEvents();
    for (const MacroItem& item : record.items) {
        m_eventLines.push_back(item.Text());
    }
    MarkLeftOutLines(record);

    int& delay = m_context.state.DelayTimeSelStatus;
    int& loop = m_context.state.LoopTimeSelStatus;
    if (opening) {
        delay = record.DelayTimeSelStatus == 1 ? 1 : 0;
        loop = record.LoopTimeSelStatus == 1 ? 1 : 0;
        m_loopFieldEnabled = loop == 1;
        return;
    }
    // Any other value leaves a box as it was.
    if (record.DelayTimeSelStatus == 0 || record.DelayTimeSelStatus == 1) {
        delay = record.DelayTimeSelStatus;
    }
    if ((record.LoopTimeSelStatus == 0 || record.LoopTimeSelStatus == 1) && record.LoopTimeSelStatus != loop) {
        loop = record.LoopTimeSelStatus;
        m_loopFieldEnabled = loop == 1;
    }
}

void MacroManagerModel::ClearEvents()
{
    m_eventLines.clear();
    m_firstLeftOutLine.reset();
    m_selectedEvent.reset();
    m_lastSelectedEvent.reset();
}

// Lists -----------------------------------------------------------------------------------------

void MacroManagerModel::SelectMacro(std::size_t index)
{
    if (!m_hasControls || index >= m_entries.size()) {
        return;
    }
    if (IsRecording()) {
        StopRecording();
    }
    ShowMacro(index, false);
}

void MacroManagerModel::DeselectMacro()
{
    m_macroHighlighted = false;
}

void MacroManagerModel::DeselectEvent()
{
    m_selectedEvent.reset();
}

std::optional<LineEditRequest> MacroManagerModel::DoubleClickMacro(std::size_t index)
{
    if (!m_hasControls || index >= m_entries.size()) {
        return std::nullopt;
    }
    if (m_lastDoubleClickedMacro != index) {
        m_lastDoubleClickedMacro = index;
        return std::nullopt;
    }
    return LineEditRequest{LineEditorMode::MacroName, index, m_entries[index].name};
}

std::optional<LineEditRequest> MacroManagerModel::SelectEvent(std::size_t index)
{
    if (!m_hasControls || index >= m_eventLines.size()) {
        return std::nullopt;
    }
    m_selectedEvent = index;
    return DelayGesture(index);
}

void MacroManagerModel::PointAtEvent(std::size_t index)
{
    if (m_hasControls && index < m_eventLines.size()) {
        m_selectedEvent = index;
        m_lastSelectedEvent.reset();
    }
}

std::optional<LineEditRequest> MacroManagerModel::DoubleClickEvent(std::size_t index)
{
    return SelectEvent(index);
}

std::optional<LineEditRequest> MacroManagerModel::DelayGesture(std::size_t index)
{
    const std::string& line = m_eventLines[index];
    if (line.find(kDelaySuffix) == std::string::npos) {
        return std::nullopt;
    }
    if (m_lastSelectedEvent != index) {
        m_lastSelectedEvent = index;
        return std::nullopt;
    }
    return LineEditRequest{LineEditorMode::DelayValue, index, line};
}

// Names -----------------------------------------------------------------------------------------

bool MacroManagerModel::NameInUse(std::string_view name, std::optional<std::size_t> except) const
{
    for (std::size_t i = 0; i < m_entries.size(); ++i) {
        if (i != except && (SameMacroName(name, m_entries[i].name) || SameMacroName(name, m_entries[i].sectionName))) {
            return true;
        }
    }
    // A section that no line of the list stands for still holds the name in the file.
    for (const std::string& section : ListMacroNames(m_context.macroFile)) {
        const bool ownSection = except && SameMacroName(section, m_entries[*except].sectionName);
        if (!ownSection && SameMacroName(section, name)) {
            return true;
        }
    }
    return false;
}

std::string MacroManagerModel::NewMacroName() const
{
    const std::size_t count = m_entries.size();
    long long number = static_cast<long long>(count);
    if (count > 0) {
        const std::string& last = m_entries.back().name;
        const std::size_t separator = last.find(kNewNameSeparator);
        if (separator != std::string::npos) {
            number = static_cast<long long>(ParseDecimal(std::string_view(last).substr(separator + 1))) + 1;
        }
    }
    // Counting up from the rule's number until the name is free: two macros never share a section.
    for (;; ++number) {
        std::string name = std::string(m_texts.baseName) + std::string(kNewNameSeparator) + std::to_string(number);
        if (!NameInUse(name, std::nullopt)) {
            return name;
        }
    }
}

void MacroManagerModel::CommitMacroName(std::size_t line, std::string_view name)
{
    if (!m_hasControls || line >= m_entries.size()) {
        return;
    }
    const std::string newName(TrimBlanks(name));
    if (!IsUsableMacroName(newName) || Utf16Units(newName) > kMaxMacroNameUnits) {
        m_context.messages.ShowMessage(m_texts.nameBlank, m_texts.warningTitle);
        return;
    }
    if (NameInUse(newName, line)) {
        m_context.messages.ShowMessage(m_texts.nameExists, m_texts.warningTitle);
        return;
    }
    if (m_selectedMacro != line) {
        ShowMacro(line, false);
    }
    m_entries[line].name = newName;
}

bool MacroManagerModel::ApplyRename(Entry& entry)
{
    if (entry.name == entry.sectionName) {
        return true;
    }
    const std::vector<std::string> sections = ListMacroNames(m_context.macroFile);
    const bool sectionExists = std::any_of(sections.begin(), sections.end(), [&](const std::string& section) {
        return SameMacroName(section, entry.sectionName);
    });
    if (sectionExists && !RenameMacroSection(m_context.macroFile, entry.sectionName, entry.name)) {
        return false;
    }
    entry.sectionName = entry.name;
    return true;
}

// The loop count --------------------------------------------------------------------------------

void MacroManagerModel::LoopFieldChanged(std::string_view text)
{
    m_loopFieldText = std::string(text);
    long count = ParseDecimal(text);
    if (count < 1 || count > kMacroMaxLoopCount) {
        m_loopFieldText = std::string(kFirstLoopText);
        count = 1;
    }
    if (!m_selectedMacro) {
        return;
    }
    if (auto buffer = WorkingBuffer(*m_selectedMacro)) {
        SetLoopBytes(*buffer, count);
    }
    m_loopText = std::to_string(count);
    NoteWrite(WriteLoopTimes(m_context.macroFile, m_entries[*m_selectedMacro].sectionName, count) ==
              IniWriteResult::Written);
}

void MacroManagerModel::NoteWrite(bool written)
{
    if (written) {
        m_writeFailureShown = false;
    } else if (!m_writeFailureShown) {
        m_writeFailureShown = true;
        ShowMacroFileFailure(m_texts.saveFailed, m_context.macroFile.Path(), m_context.macroFile.LastError());
    }
}

void MacroManagerModel::ShowMacroFileFailure(std::string_view what, const std::filesystem::path& file,
                                             std::error_code error)
{
    std::string text(what);
    if (error) {
        text += '\n';
        text += file.string();
        text += ": ";
        text += FileErrorReason(error.value(), m_context.language);
    }
    m_context.messages.ShowMessage(text, m_texts.warningTitle);
}

std::optional<std::span<std::uint8_t, kMacroBufferSize>> MacroManagerModel::WorkingBuffer(std::size_t index)
{
    if (index >= kMacroCount) {
        return std::nullopt;
    }
    return std::span<std::uint8_t, kMacroBufferSize>(m_working.data() + index * kMacroBufferSize, kMacroBufferSize);
}

// Macros ----------------------------------------------------------------------------------------

void MacroManagerModel::NewMacro()
{
    if (!m_hasControls) {
        return;
    }
    if (IsRecording()) {
        StopRecording();
    }
    const std::size_t count = m_entries.size();
    if (count >= kMacroCount) {
        m_context.messages.ShowMessage(m_texts.limitMessage, m_texts.warningTitle);
        return;
    }
    std::string name = NewMacroName();
    m_entries.push_back({name, name});
    m_selectedMacro = count;
    m_macroHighlighted = true;
    ClearEvents();
    m_loopText = std::string(kFirstLoopText);
    // Through the field's rule this creates the macro's section and its loop bytes 00 01.
    LoopFieldChanged(kFirstLoopText);
}

void MacroManagerModel::DeleteMacro()
{
    if (!m_hasControls || m_entries.empty() || !SelectedMacro()) {
        return;
    }
    if (IsRecording()) {
        StopRecording();
    }
    const std::size_t deleted = *m_selectedMacro;
    const std::string section = m_entries[deleted].sectionName;
    // The macro's number in the file, which the buttons are bound to; a name that waits for its
    // rename's save still stands under its old section.
    const std::vector<std::string> sections = ListMacroNames(m_context.macroFile);
    const auto inFile = std::find_if(sections.begin(), sections.end(),
                                     [&](const std::string& name) { return SameMacroName(name, section); });
    if (inFile != sections.end() && m_context.profiles) {
        const auto number = static_cast<std::size_t>(inFile - sections.begin());
        MacroProfiles& profiles = *m_context.profiles;
        const MacroDeletion deletion = DeleteMacroWithProfiles(m_context.macroFile, section, number, profiles.codec);
        if (deletion.error) {
            ShowMacroFileFailure(m_texts.deleteFailed, deletion.file, deletion.error);
            return;
        }
        ButtonAssignment(profiles.records.Current, profiles.labels, m_context.language).RemoveMacro(number);
        ButtonLabels backupLabels = profiles.labels;
        ButtonAssignment(profiles.records.Backup, backupLabels, m_context.language).RemoveMacro(number);
    } else if (inFile != sections.end()) {
        (void)DeleteMacroSection(m_context.macroFile, section);
    }
    m_entries.erase(m_entries.begin() + static_cast<std::ptrdiff_t>(deleted));
    m_selectedMacro.reset();
    m_lastDoubleClickedMacro.reset();
    ClearEvents();
    // The working buffers keep the numbers of the list.
    if (deleted < kMacroCount) {
        std::copy(m_working.begin() + static_cast<std::ptrdiff_t>((deleted + 1) * kMacroBufferSize), m_working.end(),
                  m_working.begin() + static_cast<std::ptrdiff_t>(deleted * kMacroBufferSize));
        std::fill(m_working.end() - static_cast<std::ptrdiff_t>(kMacroBufferSize), m_working.end(), std::uint8_t{0});
    }
}

void MacroManagerModel::SaveSelectedMacro()
{
    if (!m_hasControls || m_entries.empty() || !m_selectedMacro || !m_context.macroFile.Exists()) {
        return;
    }
    Entry& entry = m_entries[*m_selectedMacro];
    if (!ApplyRename(entry)) {
        NoteWrite(false);
        return;
    }
    if (m_eventLines.empty()) {
        // The mouse gets an empty macro in this slot, and the file keeps it empty.
        if (auto buffer = WorkingBuffer(*m_selectedMacro)) {
            std::fill(buffer->begin(), buffer->end(), std::uint8_t{0});
        }
    }
    MacroRecord record;
    record.name = entry.sectionName;
    record.DelayTimeSelStatus = m_context.state.DelayTimeSelStatus;
    record.LoopTimeSelStatus = m_context.state.LoopTimeSelStatus;
    record.MacroLoopTimes = m_loopText;
    for (const std::string& line : m_eventLines) {
        record.items.emplace_back(line);
    }
    const MacroFit fit = MarkLeftOutLines(record);
    if (const MacroSaveResult saved = SaveMacro(m_context.macroFile, record); saved != MacroSaveResult::Saved) {
        if (saved == MacroSaveResult::FileTooLarge) {
            m_context.messages.ShowMessage(m_texts.fileTooLarge, m_texts.warningTitle);
        } else {
            NoteWrite(false);
        }
        return;
    }
    NoteWrite(true);
    if (!fit.AllReached()) {
        m_context.messages.ShowMessage(MacroTooLongText(m_context.language, fit.reached, fit.events),
                                       m_texts.warningTitle);
    }
}

MacroFit MacroManagerModel::MarkLeftOutLines(const MacroRecord& record)
{
    MacroFit fit;
    EncodeMacro(record, &fit);
    m_firstLeftOutLine = fit.AllReached() ? std::nullopt : std::optional<std::size_t>(fit.firstLeftOutLine);
    return fit;
}

void MacroManagerModel::RefuseDelay()
{
    m_context.messages.ShowMessage(m_texts.delayRefused, m_texts.warningTitle);
}

// Event-list edits ------------------------------------------------------------------------------

void MacroManagerModel::CommitDelay(std::size_t line, std::string_view text)
{
    if (!m_hasControls || line >= m_eventLines.size()) {
        return;
    }
    m_eventLines[line] = std::string(text);
    m_selectedEvent = line;
    SaveSelectedMacro();
}

std::vector<MacroManagerModel::MenuEntry> MacroManagerModel::EventListMenu() const
{
    return {
        {EventListCommand::DeleteLine, m_texts.deleteEntry},
        {EventListCommand::InsertLeftButton, m_texts.insertLeftButton},
        {EventListCommand::InsertMiddleButton, m_texts.insertMiddleButton},
        {EventListCommand::InsertRightButton, m_texts.insertRightButton},
        {EventListCommand::InsertDelay, m_texts.insertDelay},
    };
}

void MacroManagerModel::RunMenuCommand(EventListCommand command)
{
    if (!m_hasControls) {
        return;
    }
    switch (command) {
    case EventListCommand::DeleteLine:
        DeleteLine();
        break;
    case EventListCommand::InsertLeftButton:
        InsertMouseButton(MacroMouseButton::Left);
        break;
    case EventListCommand::InsertMiddleButton:
        InsertMouseButton(MacroMouseButton::Middle);
        break;
    case EventListCommand::InsertRightButton:
        InsertMouseButton(MacroMouseButton::Right);
        break;
    case EventListCommand::InsertDelay:
        InsertDelay();
        break;
    }
}

void MacroManagerModel::InsertMouseButton(MacroMouseButton button)
{
    const std::string press = MacroItem::Press(ButtonName(button)).Text();
    const std::string release = MacroItem::Release(ButtonName(button)).Text();
    if (!m_selectedEvent) {
        // Without a selection the pair goes only into an empty list.
        if (m_eventLines.empty()) {
            m_eventLines = {press, release};
        }
    } else {
        const auto at = m_eventLines.begin() + static_cast<std::ptrdiff_t>(*m_selectedEvent + 1);
        m_eventLines.insert(at, {press, release});
        m_selectedEvent = *m_selectedEvent + 1;
    }
    SaveSelectedMacro();
}

void MacroManagerModel::InsertDelay()
{
    if (!m_selectedEvent || *m_selectedEvent == 0 || m_eventLines.empty()) {
        return;
    }
    const std::size_t selected = *m_selectedEvent;
    // Two delays in a row would mean nothing to the mouse.
    if (IsDelayLine(m_eventLines[selected]) || IsDelayLine(m_eventLines[selected - 1])) {
        return;
    }
    m_eventLines.insert(m_eventLines.begin() + static_cast<std::ptrdiff_t>(selected), std::string(kInsertedDelay));
    m_selectedEvent = selected;
    SaveSelectedMacro();
}

void MacroManagerModel::DeleteLine()
{
    if (!m_selectedEvent) {
        return;
    }
    m_eventLines.erase(m_eventLines.begin() + static_cast<std::ptrdiff_t>(*m_selectedEvent));
    m_selectedEvent.reset();
    SaveSelectedMacro();
}

// Recording -------------------------------------------------------------------------------------

void MacroManagerModel::ToggleRecording()
{
    if (!m_hasControls) {
        return;
    }
    if (IsRecording()) {
        StopRecording();
        return;
    }
    if (!SelectedMacro()) {
        NewMacro();
        if (!SelectedMacro()) {
            return;
        }
    }
    StartRecording();
}

void MacroManagerModel::StartRecording()
{
    m_context.state.recorder.Start();
    ClearEvents();
    m_loopFieldEnabled = false;
    m_windowText = std::string(m_texts.recordingWindowText);
}

void MacroManagerModel::StopRecording()
{
    m_context.state.recorder.Stop();
    m_loopFieldEnabled = LoopBoxTicked();
    // The hint to stop belongs to the recording only.
    m_windowText = std::string(m_texts.windowText);
    SaveSelectedMacro();
}

void MacroManagerModel::AppendRecorded(const RecorderStep& step)
{
    if (step.limitReached) {
        StopRecording();
        return;
    }
    const std::size_t retracted = std::min(step.retract, m_eventLines.size());
    m_eventLines.resize(m_eventLines.size() - retracted);
    if (step.lines.empty()) {
        if (retracted > 0) {
            m_selectedEvent = m_eventLines.empty() ? std::nullopt : std::optional<std::size_t>(m_eventLines.size() - 1);
        }
        return;
    }
    for (const MacroItem& line : step.lines) {
        m_eventLines.push_back(line.Text());
    }
    m_selectedEvent = m_eventLines.size() - 1;
}

void MacroManagerModel::EndRecordingForClose()
{
    if (IsRecording()) {
        m_context.state.recorder.Abandon();
        m_windowText = std::string(m_texts.windowText);
    }
}

KeyOutcome MacroManagerModel::KeyPress(std::string_view keyName, DialogKey key, bool alreadyDown,
                                       std::optional<WindowKey> command)
{
    const bool recording = IsRecording();
    if (recording) {
        // While recording the keys are the macro's: none of them moves the focus, a selection or
        // closes the dialog.
        AppendRecorded(m_context.state.recorder.KeyEvent({keyName, false, alreadyDown}, DelayBoxTicked()));
        return {};
    }
    if (key == DialogKey::WindowsKey) {
        return {};
    }
    if (!command && key == DialogKey::Enter) {
        command = WindowKey::Return; // Enter with Ctrl or Alt
    }
    if (command) {
        return Command(*command);
    }
    KeyOutcome outcome;
    outcome.passOn = key == DialogKey::Other;
    return outcome;
}

KeyOutcome MacroManagerModel::Command(WindowKey command)
{
    KeyOutcome outcome;
    const bool inField = m_focus == MacroControl::LoopField;
    const bool inList = m_focus == MacroControl::MacroList || m_focus == MacroControl::EventList;
    switch (command) {
    case WindowKey::Tab:
    case WindowKey::BackTab:
        MoveFocusBy(command == WindowKey::Tab ? 1 : -1);
        return outcome;
    case WindowKey::Escape:
        // As the close area does; an open in-place editor takes its Escape before the dialog.
        Cancel();
        outcome.close = MacroManagerClose::Cancel;
        return outcome;
    case WindowKey::Return:
    case WindowKey::Space:
        if (!inList && !inField) {
            if (const auto index = FocusIndex()) {
                const PressOutcome pressed = ActOn(*index);
                outcome.close = pressed.close;
            }
            return outcome;
        }
        // Enter closes only after a stopped recording, and then as OK does, never with the buffers
        // unbuilt.
        if (command == WindowKey::Return && m_context.state.recorder.Phase() == RecordPhase::Stopped) {
            Accept();
            outcome.close = MacroManagerClose::Ok;
        }
        return outcome;
    case WindowKey::Up:
    case WindowKey::Down:
    case WindowKey::Home:
    case WindowKey::End:
    case WindowKey::PageUp:
    case WindowKey::PageDown:
        if (inList) {
            WalkList(command);
        }
        outcome.passOn = inField;
        return outcome;
    case WindowKey::Delete:
        if (m_focus == MacroControl::MacroList) {
            DeleteMacro();
        } else if (m_focus == MacroControl::EventList) {
            DeleteLine();
        }
        outcome.passOn = inField;
        return outcome;
    case WindowKey::Rename:
        outcome.edit = RenameRequest();
        return outcome;
    case WindowKey::Insert:
        if (m_hasControls) {
            InsertDelay();
        }
        return outcome;
    default:
        outcome.passOn = inField;
        return outcome;
    }
}

void MacroManagerModel::WalkList(WindowKey key)
{
    const bool macros = m_focus == MacroControl::MacroList;
    const std::size_t count = macros ? m_entries.size() : m_eventLines.size();
    if (count == 0) {
        return;
    }
    const std::optional<std::size_t> at = macros ? SelectedMacro() : m_selectedEvent;
    const int page = kListPageLines;
    int next = 0;
    switch (key) {
    case WindowKey::Up:
    case WindowKey::PageUp:
        next = at ? static_cast<int>(*at) - (key == WindowKey::Up ? 1 : page) : 0;
        break;
    case WindowKey::Down:
    case WindowKey::PageDown:
        next = at ? static_cast<int>(*at) + (key == WindowKey::Down ? 1 : page) : 0;
        break;
    case WindowKey::End:
        next = static_cast<int>(count) - 1;
        break;
    default:
        break;
    }
    const auto line = static_cast<std::size_t>(std::clamp(next, 0, static_cast<int>(count) - 1));
    if (line == at) {
        return;
    }
    if (macros) {
        SelectMacro(line);
    } else {
        // A line walked to by the keyboard does not count towards the double-click that opens the
        // delay editor: F2 opens it.
        PointAtEvent(line);
    }
}

std::optional<LineEditRequest> MacroManagerModel::RenameRequest() const
{
    if (!m_hasControls) {
        return std::nullopt;
    }
    if (m_focus == MacroControl::EventList && m_selectedEvent &&
        m_eventLines[*m_selectedEvent].find(kDelaySuffix) != std::string::npos) {
        return LineEditRequest{LineEditorMode::DelayValue, *m_selectedEvent, m_eventLines[*m_selectedEvent]};
    }
    if (const auto macro = SelectedMacro()) {
        return LineEditRequest{LineEditorMode::MacroName, *macro, m_entries[*macro].name};
    }
    return std::nullopt;
}

// Focus -----------------------------------------------------------------------------------------

std::vector<FocusControl> MacroManagerModel::Controls() const
{
    std::vector<FocusControl> controls;
    controls.push_back(ControlAt(MacroControl::Close, kMacroCloseArea, ControlRole::Button,
                                 ControlCaptionTextsFor(m_context.language).close));
    if (m_hasControls) {
        controls.push_back(ControlAt(MacroControl::MacroList, kMacroListRect, ControlRole::List, m_texts.selectMacro));
        controls.push_back(
            ControlAt(MacroControl::EventList, kEventListRect, ControlRole::List, m_texts.keyPressSequence));
        controls.push_back(ControlAt(MacroControl::Record, kMacroRecordArea, ControlRole::Button,
                                     IsRecording() ? m_texts.stopRecording : m_texts.startRecording));
        controls.push_back(
            ControlAt(MacroControl::DelayBox, kMacroDelayBox, ControlRole::CheckBox, m_texts.recordDelays));
        controls.back().checked = DelayBoxTicked();
        controls.push_back(ControlAt(MacroControl::LoopBox, kMacroLoopBox, ControlRole::CheckBox, m_texts.loopTimes));
        controls.back().checked = LoopBoxTicked();
        if (m_loopFieldEnabled) {
            controls.push_back(
                ControlAt(MacroControl::LoopField, kLoopFieldRect, ControlRole::EditText, m_texts.loopTimes));
            controls.back().value = m_loopFieldText;
        }
        controls.push_back(ControlAt(MacroControl::New, kMacroNewArea, ControlRole::Button, m_texts.newMacro));
        controls.push_back(ControlAt(MacroControl::Delete, kMacroDeleteArea, ControlRole::Button, m_texts.deleteEntry));
    }
    controls.push_back(ControlAt(MacroControl::Ok, kMacroOkArea, ControlRole::Button, m_texts.ok));
    controls.push_back(ControlAt(MacroControl::Cancel, kMacroCancelArea, ControlRole::Button, m_texts.cancel));
    return controls;
}

std::optional<std::size_t> MacroManagerModel::FocusIndex() const
{
    const std::vector<FocusControl> controls = Controls();
    for (std::size_t i = 0; i < controls.size(); ++i) {
        if (controls[i].key == static_cast<std::size_t>(m_focus)) {
            return i;
        }
    }
    return std::nullopt;
}

void MacroManagerModel::SetFocus(MacroControl control)
{
    m_focus = control;
}

void MacroManagerModel::MoveFocusBy(int step)
{
    const std::vector<FocusControl> controls = Controls();
    const auto count = static_cast<long long>(controls.size());
    long long next = step > 0 ? 0 : count - 1;
    if (const auto at = FocusIndex()) {
        next = (static_cast<long long>(*at) + step + count) % count;
    }
    m_focus = static_cast<MacroControl>(controls[static_cast<std::size_t>(next)].key);
}

PressOutcome MacroManagerModel::ActOn(std::size_t index)
{
    const std::vector<FocusControl> controls = Controls();
    if (index >= controls.size() || controls[index].role == ControlRole::List ||
        controls[index].role == ControlRole::EditText) {
        return {};
    }
    const Rect& area = controls[index].area;
    PressOutcome outcome = Press({area.left + area.Width() / 2, area.top + area.Height() / 2});
    outcome.startMove = false;
    return outcome;
}

KeyOutcome MacroManagerModel::KeyRelease(std::string_view keyName, bool wasDown)
{
    const bool recording = IsRecording();
    if (recording) {
        AppendRecorded(m_context.state.recorder.KeyEvent({keyName, true, wasDown}, DelayBoxTicked()));
    }
    KeyOutcome outcome;
    outcome.passOn = !recording;
    return outcome;
}

// Boxes and closing -----------------------------------------------------------------------------

void MacroManagerModel::ToggleDelayBox()
{
    int& delay = m_context.state.DelayTimeSelStatus;
    delay = delay == 1 ? 0 : 1;
}

void MacroManagerModel::ToggleLoopBox()
{
    int& loop = m_context.state.LoopTimeSelStatus;
    loop = loop == 1 ? 0 : 1;
    m_loopFieldEnabled = loop == 1;
}

const MacroData& MacroManagerModel::Accept()
{
    EndRecordingForClose();
    if (m_fileRefused) {
        m_result.reset();
        return m_working;
    }
    std::size_t macroCount = m_entries.size();
    if (m_hasControls) {
        if (m_context.macroFile.Exists()) {
            for (Entry& entry : m_entries) {
                if (!ApplyRename(entry)) {
                    NoteWrite(false);
                    break; // the file takes no rename now; one warning says so
                }
            }
        }
        SaveSelectedMacro();
    } else {
        // Without its lists the dialog knows no macros; the profile keeps what the file holds
        // instead of twelve empty slots.
        macroCount = ListMacroNames(m_context.macroFile).size();
    }
    m_working = RebuildMacroData(m_context.macroFile, macroCount);
    m_result = m_working;
    return *m_result;
}

void MacroManagerModel::Cancel()
{
    EndRecordingForClose();
    m_result.reset();
}

// The surface -----------------------------------------------------------------------------------

std::optional<MacroManagerModel::HotArea> MacroManagerModel::HotAreaAt(Point p) const
{
    static constexpr std::array<std::pair<Rect, HotArea>, 5> kAreas{{
        {kMacroOkArea, HotArea::Ok},
        {kMacroCancelArea, HotArea::Cancel},
        {kMacroCloseArea, HotArea::Close},
        {kMacroNewArea, HotArea::New},
        {kMacroDeleteArea, HotArea::Delete},
    }};
    for (const auto& [area, hot] : kAreas) {
        if (area.Contains(p)) {
            return hot;
        }
    }
    return std::nullopt;
}

PressOutcome MacroManagerModel::Press(Point p)
{
    if (kMacroRecordArea.Contains(p)) {
        ToggleRecording();
        return {};
    }
    PressOutcome outcome{true, std::nullopt};
    if (kMacroOkArea.Contains(p)) {
        Accept();
        outcome = {false, MacroManagerClose::Ok};
    } else if (kMacroCancelArea.Contains(p) || kMacroCloseArea.Contains(p)) {
        Cancel();
        outcome = {false, MacroManagerClose::Cancel};
    } else if (kMacroDelayBox.Contains(p)) {
        ToggleDelayBox();
    } else if (kMacroLoopBox.Contains(p)) {
        ToggleLoopBox();
    } else if (kMacroNewArea.Contains(p)) {
        NewMacro();
    } else if (kMacroDeleteArea.Contains(p)) {
        DeleteMacro();
    }
    return outcome;
}

bool MacroManagerModel::Hover(std::optional<Point> p)
{
    const std::optional<HotArea> hot = p ? HotAreaAt(*p) : std::nullopt;
    if (hot == m_hot) {
        return false;
    }
    m_hot = hot;
    return true;
}

int MacroManagerModel::Wheel(int delta)
{
    // A turn away from the user (positive) scrolls up.
    return -m_wheel.Add(delta) * kEventListWheelLines;
}

void MacroManagerModel::Draw(SkinCanvas& canvas) const
{
    const Colour colour = m_context.textColour;
    const auto picture = [&](HotArea area, std::string_view normal, std::string_view over) {
        return m_hot == area ? over : normal;
    };
    const auto button = [&](HotArea area, Rect rect, std::string_view normal, std::string_view over,
                            std::string_view text) {
        DrawButtonPicture(canvas, picture(area, normal, over), rect);
        canvas.DrawText(rect, text, kMacroManagerFont, colour, TextAlign::Centre);
    };

    m_background.Draw(canvas);
    canvas.DrawText(kMacroTitleRect, m_texts.title, kMacroManagerFont, colour, TextAlign::Left);
    DrawButtonPicture(canvas, picture(HotArea::Close, kMacroCloseNormal, kMacroCloseOver), kMacroCloseArea, kCloseMark);
    canvas.DrawText(kSelectMacroRect, m_texts.selectMacro, kMacroManagerFont, colour, TextAlign::Centre);
    canvas.DrawText(kKeyPressSequenceRect, m_texts.keyPressSequence, kMacroManagerFont, colour, TextAlign::Centre);
    canvas.DrawText(kRecordOptionRect, m_texts.recordOption, kMacroManagerFont, colour, TextAlign::Left);

    DrawButtonPicture(canvas, kMacroRecordPicture, kMacroRecordArea);
    canvas.DrawText(kMacroRecordArea, IsRecording() ? m_texts.stopRecording : m_texts.startRecording, kMacroManagerFont,
                    colour, TextAlign::Centre);

    DrawButtonPicture(canvas, DelayBoxTicked() ? kMacroBoxTicked : kMacroBoxUnticked, kMacroDelayBox,
                      DelayBoxTicked() ? kTickMark : std::string_view{});
    const auto [first, second] = SplitNearMiddle(m_texts.recordDelays);
    const Rect delays = kRecordDelaysRect;
    if (second.empty()) {
        canvas.DrawText(delays, first, kMacroManagerFont, colour, TextAlign::Left);
    } else {
        const int middle = delays.top + delays.Height() / 2;
        canvas.DrawText({delays.left, delays.top, delays.right, middle}, first, kMacroManagerFont, colour,
                        TextAlign::Left);
        canvas.DrawText({delays.left, middle, delays.right, delays.bottom}, second, kMacroManagerFont, colour,
                        TextAlign::Left);
    }
    DrawButtonPicture(canvas, LoopBoxTicked() ? kMacroBoxTicked : kMacroBoxUnticked, kMacroLoopBox,
                      LoopBoxTicked() ? kTickMark : std::string_view{});
    canvas.DrawText(kLoopTimesRect, m_texts.loopTimes, kMacroManagerFont, colour, TextAlign::Left);

    button(HotArea::New, kMacroNewArea, kMacroNewDeleteNormal, kMacroNewDeleteOver, m_texts.newMacro);
    button(HotArea::Delete, kMacroDeleteArea, kMacroNewDeleteNormal, kMacroNewDeleteOver, m_texts.deleteEntry);
    button(HotArea::Ok, kMacroOkArea, kMacroOkCancelNormal, kMacroOkCancelOver, m_texts.ok);
    button(HotArea::Cancel, kMacroCancelArea, kMacroOkCancelNormal, kMacroOkCancelOver, m_texts.cancel);

    if (const auto at = FocusIndex()) {
        DrawFocusRing(canvas, Controls()[*at].area);
    }
}

} // namespace veldrane
