#include "macro/MacroKeyBindingModel.h"

#include <string>

#include <gtest/gtest.h>

#include "macro/MacroTestSupport.h"
#include "support/RecordingCanvas.h"
#include "support/RecordingMessageSink.h"

namespace veldrane {
namespace {

constexpr Point kMacroBox{90, 136};
constexpr Point kOk{279, 262};
constexpr std::array<Point, 3> kModeBox{{{228, 86}, {228, 136}, {228, 186}}};

// The dropdown (42, 146, 151, 286): a one-pixel border, 16-pixel lines, eight of them shown.
constexpr Point kFirstLine{90, 147 + 8};

class MacroKeyBindingTest : public test::MacroFileTest
{
protected:
    MacroKeyBindingTest() { m_skin.sizes["/macro-key.png"] = {400, 286}; }

    MacroKeyBindingModel& Open(int macros)
    {
        std::string text;
        for (int i = 1; i <= macros; ++i) {
            text += "[Macro_" + std::to_string(i) + "]\r\nMacroLoopTimes=1\r\n";
        }
        Write(text);
        m_model.emplace(m_file, Language::English);
        m_model->Open(m_skin, m_messages);
        return *m_model;
    }

    test::RecordingCanvas m_skin;
    test::RecordingMessageSink m_messages;
    std::optional<MacroKeyBindingModel> m_model;
};

TEST_F(MacroKeyBindingTest, PickingTheThirdMacroWithMode2GivesItsNumberAndMode)
{
    MacroKeyBindingModel& model = Open(3);
    EXPECT_EQ(model.Press(kMacroBox), DialogAction::None);
    EXPECT_EQ(model.Press({90, kFirstLine.y + 16 * 2}), DialogAction::None);
    EXPECT_EQ(model.Press(kModeBox[2]), DialogAction::None);
    EXPECT_EQ(model.Press(kOk), DialogAction::Accept);
    EXPECT_EQ(model.Result(), (MacroBindingChoice{2, 2, "Macro_3"}));

}

TEST_F(MacroKeyBindingTest, OnlyTheFirstTwelveMacrosAreOfferedAndTheWheelScrollsByWholeNotches)
{
    MacroKeyBindingModel& model = Open(14);
    model.Press(kMacroBox);
    ASSERT_EQ(model.Dropdown()->Count(), 12u);
    // Eight lines are shown; a notch scrolls three, and half notches add up.
    EXPECT_FALSE(model.Wheel(-60));
    EXPECT_TRUE(model.Wheel(-60));
    EXPECT_EQ(model.Dropdown()->FirstVisible(), 3u);
    EXPECT_TRUE(model.Wheel(-240));
    EXPECT_EQ(model.Dropdown()->FirstVisible(), 4u);
    model.Press({90, kFirstLine.y + 16 * 7});
    EXPECT_EQ(model.Result(), (MacroBindingChoice{11, 0, "Macro_12"}));
}

TEST_F(MacroKeyBindingTest, OkWithoutAPickBindsNothing)
{
    MacroKeyBindingModel& model = Open(3);
    model.Press(kMacroBox);
    model.Press(kModeBox[1]);
    EXPECT_EQ(model.Press(kOk), DialogAction::Accept);
    EXPECT_FALSE(model.Result().has_value());
}

} // namespace
} // namespace veldrane
