#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "platform/ColourPicker.h"
#include "platform/EditBox.h"

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

// The line-count box: keeps what it was told and lets a test type into it.
class RecordingEditBox : public EditBox
{
public:
    struct Shown
    {
        Rect area;
        Rect visible;
        friend bool operator==(const Shown&, const Shown&) = default;
    };

    void Show(Rect area, Rect visible) override { shows.push_back({area, visible}); }
    void SetEnabled(bool on) override { enabled = on; }
    void SetText(std::string_view utf8) override
    {
        text = utf8;
        textsSet.push_back(text);
    }
    void SetTextColour(Colour colour) override { textColour = colour; }
    void SetEditedHandler(EditedHandler handler) override { edited = std::move(handler); }

    // The user makes the box's text `typed`.
    void Type(std::string_view typed)
    {
        text = typed;
        if (edited) {
            edited(text);
        }
    }

    std::vector<Shown> shows;
    std::vector<std::string> textsSet;
    std::string text;
    std::optional<bool> enabled;
    std::optional<Colour> textColour;
    EditedHandler edited;
};

} // namespace veldrane::test
