#pragma once

#include <deque>
#include <optional>
#include <string>

#include "ports/ColourPicker.h"
#include "ports/EditBox.h"

namespace veldrane::test {

// The colour dialog: answers with the queued colours, one a run; nothing (Cancel) when none is
// queued.
class RecordingColourPicker : public ColourPicker
{
public:
    std::optional<Colour> PickColour() override
    {
        ++runs;
        if (answers.empty()) {
            return std::nullopt;
        }
        const auto answer = answers.front();
        answers.pop_front();
        return answer;
    }

    std::deque<std::optional<Colour>> answers;
    int runs = 0;
};

// The line-count box: keeps its text and whether it is enabled.
class RecordingEditBox : public EditBox
{
public:
    void Show(Rect, Rect) override {}
    void SetEnabled(bool on) override { enabled = on; }
    void SetText(std::string_view utf8) override { text = utf8; }
    void SetTextColour(Colour) override {}
    void SetEditedHandler(EditedHandler) override {}

    std::string text;
    std::optional<bool> enabled;
};

} // namespace veldrane::test
