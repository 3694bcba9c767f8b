#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "buttons/AssignmentDialogs.h"

namespace veldrane::test {

// Answers each dialog with the next scripted result (nothing, as a cancel, when none is left)
// and records which dialogs ran, in order.
class RecordingAssignmentDialogs : public AssignmentDialogs
{
public:
    std::optional<std::string> RunSingleKeyDialog() override
    {
        ran.push_back("single");
        return Next(singleKey);
    }
    std::optional<ComboKeyChoice> RunComboKeyDialog() override
    {
        ran.push_back("combo");
        return Next(comboKey);
    }
    std::optional<MacroBindingChoice> RunMacroKeyDialog() override
    {
        ran.push_back("macro");
        return Next(macroKey);
    }

    std::deque<std::optional<std::string>> singleKey;
    std::deque<std::optional<ComboKeyChoice>> comboKey;
    std::deque<std::optional<MacroBindingChoice>> macroKey;
    std::vector<std::string> ran;

private:
    template <typename T> static std::optional<T> Next(std::deque<std::optional<T>>& queue)
    {
        if (queue.empty()) {
            return std::nullopt;
        }
        std::optional<T> next = queue.front();
        queue.pop_front();
        return next;
    }
};

} // namespace veldrane::test
