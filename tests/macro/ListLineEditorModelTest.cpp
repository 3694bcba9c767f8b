#include "macro/ListLineEditorModel.h"

#include <optional>
#include <string>

#include <gtest/gtest.h>

namespace veldrane {
namespace {

struct DelayCase
{
    std::string edited;
    std::optional<std::string> line;
};

class DelayCommit : public testing::TestWithParam<DelayCase>
{
};

TEST_P(DelayCommit, GivesTheLineOrNothing)
{
    EXPECT_EQ(ListLineEditorModel::CommittedText(LineEditorMode::DelayValue, GetParam().edited), GetParam().line);
}

INSTANTIATE_TEST_SUITE_P(
    ListLineEditorModel, DelayCommit,
    testing::Values(DelayCase{"7000000 ms", "6553500 ms"}, DelayCase{"6553500 ms", "6553500 ms"},
                    DelayCase{"6553501ms", "6553500 ms"}, DelayCase{"123456789012345678901234567890 ms", "6553500 ms"},
                    DelayCase{"12a ms", std::nullopt}, DelayCase{"0 120 ms", "0120 ms"}, DelayCase{" ms", " ms"},
                    DelayCase{"ms", " ms"}, DelayCase{"250", std::nullopt}, DelayCase{"-5 ms", std::nullopt},
                    DelayCase{"12ms34", std::nullopt}, DelayCase{"00000000000001 ms", "00000000000001 ms"},
                    DelayCase{"  75  ms  ", "75 ms"}));

class CommittingInput : public testing::TestWithParam<LineEditorInput>
{
};

TEST_P(CommittingInput, CommitsOnceAndEndsTheEdit)
{
    ListLineEditorModel editor(LineEditorMode::DelayValue);
    ASSERT_TRUE(editor.BeginEdit(1, 4));
    const auto outcome = editor.Input(GetParam(), "300 ms");
    EXPECT_TRUE(outcome.ended);
    ASSERT_TRUE(outcome.commit);
    EXPECT_EQ(outcome.commit->line, 1u);
    EXPECT_EQ(outcome.commit->text, "300 ms");
    EXPECT_FALSE(editor.IsOpen());

    // The focus leaves the editor as it goes: that second commit must not happen.
    const auto again = editor.Input(LineEditorInput::FocusLost, "300 ms");
    EXPECT_FALSE(again.ended);
    EXPECT_FALSE(again.commit);
}

INSTANTIATE_TEST_SUITE_P(ListLineEditorModel, CommittingInput,
                         testing::Values(LineEditorInput::Enter, LineEditorInput::Tab, LineEditorInput::PressOutside,
                                         LineEditorInput::FocusLost));

TEST(ListLineEditorModel, EscapeEndsWithoutApplyingAnything)
{
    ListLineEditorModel editor(LineEditorMode::MacroName);
    ASSERT_TRUE(editor.BeginEdit(0, 1));
    const auto outcome = editor.Input(LineEditorInput::Escape, "New name");
    EXPECT_TRUE(outcome.ended);
    EXPECT_FALSE(outcome.commit);
    EXPECT_FALSE(editor.Input(LineEditorInput::FocusLost, "New name").commit);
}

} // namespace
} // namespace veldrane
