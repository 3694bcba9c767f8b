#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "core/buttons/AssignmentDialogs.h"

namespace veldrane::test {

// Answers each dialog with the next scripted result (nothing, as a cancel, when none is left)
// and records which dialogs ran, in order.
class RecordingAssignmentDialogs : public AssignmentDialogs
{
public:
    std::optional<std::string> RunSingleKeyDialog() override { return Next("single", singleKey); }
    std::optional<ComboKeyChoice> RunComboKeyDialog() override { return Next("combo", comboKey); }
    std::optional<MacroBindingChoice> RunMacroKeyDialog() override { return Next("macro", macroKey); }

    std::deque<std::optional<std::string>> singleKey;
    std::deque<std::optional<ComboKeyChoice>> comboKey;
    std::deque<std::optional<MacroBindingChoice>> macroKey;
    std::vector<std::string> ran;

private:
    template <typename T> std::optional<T> Next(const char* dialog, std::deque<std::optional<T>>& queue)
    {
        ran.push_back(dialog);
        std::optional<T> next = queue.empty() ? std::nullopt : queue.front();
        if (!queue.empty()) {
            queue.pop_front();
        }
        return next;
    }
};

} // namespace veldrane::test
