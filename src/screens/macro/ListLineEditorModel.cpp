#include "screens/macro/ListLineEditorModel.h"

#include <algorithm>

#include "core/macro/MacroEncoder.h"
#include "core/macro/MacroItem.h"

namespace veldrane {

namespace {

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// "<digits>ms" or "<digits>" (milliseconds too) once its blanks are gone; anything else is not a
// delay the editor takes.
std::optional<std::string> CommittedDelay(std::string_view editedText)
{
    std::string text;
    std::copy_if(editedText.begin(), editedText.end(), std::back_inserter(text), [](char c) { return c != ' '; });
    const bool marked = text.size() >= kDelayMarker.size() &&
                        text.compare(text.size() - kDelayMarker.size(), kDelayMarker.size(), kDelayMarker) == 0;
    std::string digits = marked ? text.substr(0, text.size() - kDelayMarker.size()) : text;
    if (!std::all_of(digits.begin(), digits.end(), IsDigit) || (!marked && digits.empty())) {
        return std::nullopt;
    }
    // Compared digit by digit, so that no number of digits can overflow.
    const std::size_t significant = digits.find_first_not_of('0');
    if (significant != std::string::npos) {
        const std::string value = digits.substr(significant);
        const std::string limit = std::to_string(kMacroMaxDelay);
        if (value.size() > limit.size() || (value.size() == limit.size() && value > limit)) {
            digits = limit;
        }
    }
    return digits + std::string(kDelaySuffix);
}

} // namespace

bool ListLineEditorModel::BeginEdit(std::size_t line, std::size_t lineCount)
{
    if (line >= lineCount) {
        m_open = false;
        m_ending = true;
        return false;
    }
    m_line = line;
    m_open = true;
    m_ending = false;
    return true;
}

ListLineEditorModel::Outcome ListLineEditorModel::Input(LineEditorInput input, std::string_view editedText)
{
    Outcome outcome;
    if (!IsOpen()) {
        return outcome;
    }
    switch (input) {
    case LineEditorInput::Escape:
        m_ending = true;
        outcome.ended = true;
        return outcome;
    case LineEditorInput::Enter:
    case LineEditorInput::Tab:
    case LineEditorInput::PressOutside:
    case LineEditorInput::FocusLost:
        m_ending = true;
        outcome.ended = true;
        if (auto text = CommittedText(m_mode, editedText)) {
            outcome.commit = LineEditorCommit{m_line, std::move(*text)};
        } else {
            outcome.refused = true;
        }
        return outcome;
    case LineEditorInput::PressInside:
    case LineEditorInput::Other:
        break;
    }
    return outcome;
}

std::optional<std::string> ListLineEditorModel::CommittedText(LineEditorMode mode, std::string_view editedText)
{
    switch (mode) {
    case LineEditorMode::DelayValue:
        return CommittedDelay(editedText);
    case LineEditorMode::ProfileName:
    case LineEditorMode::MacroName:
        break;
    }
    return std::string(editedText);
}

} // namespace veldrane
