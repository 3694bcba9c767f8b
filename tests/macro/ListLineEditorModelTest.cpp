#include "macro/ListLineEditorModel.h"

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
        {"6553501ms", "6553500 ms"},
        {"123456789012345678901234567890 ms", "6553500 ms"},
        {"6553500 ms", "6553500 ms"},
        {"0 120 ms", "0120 ms"},
        {"  75  ms  ", "75 ms"},
        {" ms", " ms"},
        {"ms", " ms"},
        {"00000000000001 ms", "00000000000001 ms"},
        {"12a ms", std::nullopt},
        {"250", std::nullopt},
        {"-5 ms", std::nullopt},
        {"12ms34", std::nullopt}};
    for (const auto& [edited, line] : cases) {
        EXPECT_EQ(ListLineEditorModel::CommittedText(LineEditorMode::DelayValue, edited), line) << edited;
    }
}

TEST(ListLineEditorModel, CommitsOnceAndEscapeAppliesNothing)
{
    for (const LineEditorInput input :
         {LineEditorInput::Enter, LineEditorInput::Tab, LineEditorInput::PressOutside, LineEditorInput::FocusLost}) {
        ListLineEditorModel editor(LineEditorMode::DelayValue);
        ASSERT_TRUE(editor.BeginEdit(1, 4));
        const auto outcome = editor.Input(input, "300 ms");
        EXPECT_TRUE(outcome.ended);
        ASSERT_TRUE(outcome.commit);
        EXPECT_EQ(outcome.commit->line, 1u);
        EXPECT_EQ(outcome.commit->text, "300 ms");
        EXPECT_FALSE(editor.IsOpen());
        // The focus leaves the editor as it goes: that second commit must not happen.
        EXPECT_FALSE(editor.Input(LineEditorInput::FocusLost, "300 ms").commit);
    }
    ListLineEditorModel editor(LineEditorMode::MacroName);
    ASSERT_TRUE(editor.BeginEdit(0, 1));
    const auto escaped = editor.Input(LineEditorInput::Escape, "New name");
    EXPECT_TRUE(escaped.ended);
    EXPECT_FALSE(escaped.commit);
    EXPECT_FALSE(editor.Input(LineEditorInput::FocusLost, "New name").commit);
}

} // namespace
} // namespace veldrane
