#include "screens/macro/ListLineEditorModel.h"

#include <optional>
#include <string>
#include <tuple>
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
        // A bare number is milliseconds too; what is no number is refused.
        {"250", "250 ms"},
        {" 9 000 ", "9000 ms"},
        {"99999999", "6553500 ms"},
        {"", std::nullopt},
        {"-5", std::nullopt},
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

// A delay that is no number ends the edit without a commit, refused so that the user hears of it;
// Escape and the name modes refuse nothing.
TEST(ListLineEditorModel, ATextThatIsNoDelayIsRefusedNotDropped)
{
    const std::tuple<LineEditorMode, LineEditorInput, std::string, bool> cases[] = {
        {LineEditorMode::DelayValue, LineEditorInput::Enter, "soon", true},
        {LineEditorMode::DelayValue, LineEditorInput::FocusLost, "12a ms", true},
        {LineEditorMode::DelayValue, LineEditorInput::Escape, "soon", false},
        {LineEditorMode::DelayValue, LineEditorInput::Enter, "120", false},
        {LineEditorMode::MacroName, LineEditorInput::Enter, "soon", false}};
    for (const auto& [mode, input, text, refused] : cases) {
        ListLineEditorModel editor(mode);
        ASSERT_TRUE(editor.BeginEdit(0, 1));
        const auto outcome = editor.Input(input, text);
        EXPECT_TRUE(outcome.ended) << text;
        EXPECT_EQ(outcome.refused, refused) << text;
        EXPECT_EQ(outcome.refused && outcome.commit.has_value(), false) << text;
    }
}

} // namespace
} // namespace veldrane
