#include "screens/macro/ListLineEditorModel.h"

#include <optional>
#include <string>
#include <utility>

#include <gtest/gtest.h>

namespace veldrane {
namespace {

TEST(ListLineEditorModel, ADelayCommitsAsDigitsAndMsOrNotAtAll)
{
    const std::pair<std::string, std::optional<std::string>> cases[] = {
        {"7000000 ms", "6553500 ms"},
        {"123456789012345678901234567890 ms", "6553500 ms"},
        {"0 120 ms", "0120 ms"},
        {"  75  ms  ", "75 ms"},
        {"ms", " ms"},
        {"00000000000001 ms", "00000000000001 ms"},
        {"12a ms", std::nullopt},
        {"250", std::nullopt},
        {"12ms34", std::nullopt}};
    for (const auto& [edited, line] : cases) {
        EXPECT_EQ(ListLineEditorModel::CommittedText(LineEditorMode::DelayValue, edited), line) << edited;
    }
}

// The focus leaves the editor as it goes: that must not commit a second time.
TEST(ListLineEditorModel, CommitsOnceAndEscapeAppliesNothing)
{
    const std::pair<LineEditorInput, bool> cases[] = {{LineEditorInput::Enter, true},
                                                      {LineEditorInput::Tab, true},
                                                      {LineEditorInput::PressOutside, true},
                                                      {LineEditorInput::FocusLost, true},
                                                      {LineEditorInput::Escape, false}};
    for (const auto& [input, commits] : cases) {
        ListLineEditorModel editor(LineEditorMode::DelayValue);
        ASSERT_TRUE(editor.BeginEdit(1, 4));
        const auto outcome = editor.Input(input, "300 ms");
        EXPECT_TRUE(outcome.ended);
        EXPECT_FALSE(editor.IsOpen());
        EXPECT_EQ(outcome.commit ? std::to_string(outcome.commit->line) + ": " + outcome.commit->text : "none",
                  commits ? "1: 300 ms" : "none");
        EXPECT_FALSE(editor.Input(LineEditorInput::FocusLost, "300 ms").commit);
    }
}

} // namespace
} // namespace veldrane
