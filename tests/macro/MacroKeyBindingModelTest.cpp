#include "macro/MacroKeyBindingModel.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "buttons/AssignmentMenuModel.h"
#include "buttons/HexBytes.h"
#include "buttons/KeyMatrixBlock.h"
#include "buttons/RecordingAssignmentDialogs.h"
#include "ini/IniFile.h"
#include "macro/MacroFile.h"
#include "platform/linux/IconvTextCodec.h"
#include "support/RecordingCanvas.h"
#include "support/RecordingMessageSink.h"
#include "support/TempDir.h"

namespace veldrane {
namespace {

using test::RecordingCanvas;
using test::RecordingMessageSink;
using Shown = RecordingMessageSink::Shown;

constexpr Point kMacroBox{90, 136};
constexpr Point kOk{279, 262};
constexpr Point kCancel{343, 262};
constexpr Point kClose{361, 15};
constexpr std::array<Point, 3> kModeBox{{{228, 86}, {228, 136}, {228, 186}}};

// The dropdown (42, 146, 151, 286): a one-pixel border, 16-pixel lines, eight of them shown.
Point Line(int shownLine)
{
    return {90, 147 + 16 * shownLine + 8};
}

class MacroKeyBindingTest : public testing::Test
{
protected:
    MacroKeyBindingTest() { m_skin.sizes["/macro-key.png"] = {400, 286}; }

    void WriteMacros(int count)
    {
        std::string text;
        for (int i = 1; i <= count; ++i) {
            text += "[Macro_" + std::to_string(i) + "]\r\nMacroLoopTimes=1\r\n";
        }
        test::WriteFileBytes(m_file.Path(), text);
    }
    MacroKeyBindingModel& Open(Language language = Language::English)
    {
        m_model.emplace(m_file, language);
        m_model->Open(m_skin, m_messages);
        return *m_model;
    }
    std::vector<std::string> Offered() const
    {
        std::vector<std::string> names;
        for (std::size_t i = 0; i < m_model->Dropdown()->Count(); ++i) {
            names.push_back(m_model->Dropdown()->Entry(i));
        }
        return names;
    }

    test::TempDir m_dir;
    IconvTextCodec m_codec;
    IniFile m_file{m_dir / kMacroFileName, m_codec};
    RecordingCanvas m_skin;
    RecordingMessageSink m_messages;
    std::optional<MacroKeyBindingModel> m_model;
};

TEST_F(MacroKeyBindingTest, PickingTheThirdMacroWithMode2BindsSlot3)
{
    WriteMacros(3);
    MacroKeyBindingModel& model = Open();
    EXPECT_EQ(model.Press(kMacroBox), DialogAction::None);
    EXPECT_EQ(Offered(), (std::vector<std::string>{"Macro_1", "Macro_2", "Macro_3"}));
    EXPECT_EQ(model.Press(Line(2)), DialogAction::None);
    EXPECT_FALSE(model.Dropdown().has_value());
    EXPECT_EQ(model.Press(kModeBox[2]), DialogAction::None);
    EXPECT_EQ(model.Press(kOk), DialogAction::Accept);
    EXPECT_EQ(model.Result(), (MacroBindingChoice{2, 2, "Macro_3"}));

    // Through the assignment menu, the mouse receives 09 02 03 00 for the button.
    ProfileRecord record{};
    ButtonLabels labels{};
    test::RecordingAssignmentDialogs dialogs;
    dialogs.macroKey = {model.Result()};
    RecordingMessageSink messages;
    AssignmentMenuModel menu(record, labels, Language::English, dialogs, messages);
    menu.Press({185, 162}, AssignmentMenuModel::kContentOrigin, AssignmentView::Front);
    menu.PressList({300, 154 + 1 + 16 * 12 + 8});
    const KeyMatrixBlock block = BuildKeyMatrixBlock(record);
    EXPECT_EQ(test::HexBytes(std::span(block).subspan(0, 4)), "09 02 03 00");
    EXPECT_EQ(labels[0], "Macro Key-Macro_3");
}

TEST_F(MacroKeyBindingTest, OnlyTheFirstTwelveMacrosAreOffered)
{
    WriteMacros(14);
    MacroKeyBindingModel& model = Open();
    model.Press(kMacroBox);
    ASSERT_EQ(model.Dropdown()->Count(), 12u);
    EXPECT_EQ(model.Dropdown()->Entry(11), "Macro_12");
    // Eight lines are shown; two notches down show the last eight.
    EXPECT_TRUE(model.Wheel(-120));
    EXPECT_EQ(model.Dropdown()->FirstVisible(), 3u);
    EXPECT_TRUE(model.Wheel(-240));
    EXPECT_EQ(model.Dropdown()->FirstVisible(), 4u);
    model.Press(Line(7));
    EXPECT_EQ(model.ChosenMacro(), 11u);
    EXPECT_EQ(model.Result(), (MacroBindingChoice{11, 0, "Macro_12"}));
}

TEST_F(MacroKeyBindingTest, WheelScrollsThreeLinesPerNotchUpForPositiveDeltas)
{
    WriteMacros(12);
    MacroKeyBindingModel& model = Open();
    EXPECT_FALSE(model.Wheel(-120)); // shut: nothing to scroll
    model.Press(kMacroBox);
    EXPECT_FALSE(model.Wheel(60));  // half a notch at the top
    EXPECT_FALSE(model.Wheel(-60)); // and back: no whole notch yet
    EXPECT_TRUE(model.Wheel(-120));
    EXPECT_EQ(model.Dropdown()->FirstVisible(), 3u);
    EXPECT_TRUE(model.Wheel(120));
    EXPECT_EQ(model.Dropdown()->FirstVisible(), 0u);
    model.Press(Line(1));
    EXPECT_EQ(model.ChosenName(), "Macro_2");
}

struct NothingBoundCase
{
    const char* name;
    int macros;
    bool openDropdown;
};

class NothingBound : public MacroKeyBindingTest, public testing::WithParamInterface<NothingBoundCase>
{
};

TEST_P(NothingBound, OkWithoutAPickBindsNothing)
{
    if (GetParam().macros > 0) {
        WriteMacros(GetParam().macros);
    }
    MacroKeyBindingModel& model = Open();
    if (GetParam().openDropdown) {
        model.Press(kMacroBox);
        EXPECT_EQ(model.Dropdown()->Count(), static_cast<std::size_t>(GetParam().macros));
    }
    model.Press(kModeBox[1]);
    EXPECT_EQ(model.Press(kOk), DialogAction::Accept);
    EXPECT_FALSE(model.Result().has_value());
}

INSTANTIATE_TEST_SUITE_P(Cases, NothingBound,
                         testing::Values(NothingBoundCase{"NoFile", 0, true}, NothingBoundCase{"NotOpened", 3, false},
                                         NothingBoundCase{"OpenedNotPicked", 3, true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(MacroKeyBindingTest, ReopeningTheDropdownReadsTheFileAgain)
{
    WriteMacros(2);
    MacroKeyBindingModel& model = Open();
    model.Press(kMacroBox);
    EXPECT_EQ(model.Dropdown()->Count(), 2u);
    model.Press(kMacroBox);
    EXPECT_FALSE(model.Dropdown().has_value());
    WriteMacros(3);
    model.Press(kMacroBox);
    EXPECT_EQ(Offered(), (std::vector<std::string>{"Macro_1", "Macro_2", "Macro_3"}));
}

TEST_F(MacroKeyBindingTest, PressOutsideShutsTheDropdownAndThenActs)
{
    WriteMacros(3);
    MacroKeyBindingModel& model = Open();
    model.Press(kMacroBox);
    EXPECT_EQ(model.Press(kModeBox[2]), DialogAction::None);
    EXPECT_FALSE(model.Dropdown().has_value());
    EXPECT_EQ(model.RepeatMode(), 2);
    model.Press(kMacroBox);
    EXPECT_EQ(model.Press(kClose), DialogAction::Reject);
    EXPECT_FALSE(model.Dropdown().has_value());
    model.Press(kMacroBox);
    // Below the eight lines' room but inside the list's rectangle: the list keeps the press.
    EXPECT_EQ(model.Press({90, 283}), DialogAction::None);
    EXPECT_TRUE(model.Dropdown().has_value());
    EXPECT_FALSE(model.ChosenMacro().has_value());
}

TEST_F(MacroKeyBindingTest, EveryOpeningStartsFresh)
{
    WriteMacros(3);
    MacroKeyBindingModel& model = Open();
    model.Press(kMacroBox);
    model.Press(Line(1));
    model.Press(kModeBox[1]);
    model.Press(kMacroBox);
    model.Open(m_skin, m_messages);
    EXPECT_FALSE(model.Dropdown().has_value());
    EXPECT_FALSE(model.ChosenMacro().has_value());
    EXPECT_EQ(model.ChosenName(), "");
    EXPECT_EQ(model.RepeatMode(), 0);
    EXPECT_EQ(model.Press(kCancel), DialogAction::Reject);
}

TEST_F(MacroKeyBindingTest, DrawsTicksHeadingNameAndButtons)
{
    WriteMacros(3);
    MacroKeyBindingModel& model = Open(Language::SimplifiedChinese);
    model.Press(kMacroBox);
    model.Press(Line(0));
    model.Press(kModeBox[1]);
    model.Hover(kOk);
    RecordingCanvas canvas;
    model.Draw(canvas);
    EXPECT_EQ(canvas.images.front().path, "/macro-key.png");
    const auto ticked = canvas.ImagesAt("/PaneMakingTick.png");
    ASSERT_EQ(ticked.size(), 1u);
    EXPECT_EQ(ticked[0].at, (Point{220, 128}));
    const auto unticked = canvas.ImagesAt("/Pane.png");
    ASSERT_EQ(unticked.size(), 2u);
    EXPECT_EQ(unticked[0].at, (Point{220, 78}));
    EXPECT_EQ(unticked[1].at, (Point{220, 178}));
    const auto heading = canvas.FindText("请从列表框选择一个宏");
    ASSERT_TRUE(heading.has_value());
    EXPECT_EQ(heading->area, (Rect{12, 112, 181, 128}));
    EXPECT_EQ(heading->align, TextAlign::Centre);
    EXPECT_EQ(canvas.FindText("Macro_1")->area, (Rect{42, 128, 136, 144}));
    EXPECT_EQ(canvas.FindText("确定")->area, (Rect{250, 250, 308, 275}));
    EXPECT_EQ(canvas.ImagesAt("/MacroManagement/button-new-over.png").at(0).at, (Point{250, 250}));
    EXPECT_EQ(model.RepeatModeText(1), "重复直到按任意键结束");
}

TEST_F(MacroKeyBindingTest, EnglishModeTextsKeepTheirSpelling)
{
    MacroKeyBindingModel& model = Open();
    EXPECT_EQ(model.RepeatModeText(0), "Repeat a specified number of times or press any key to end");
    EXPECT_EQ(model.RepeatModeText(1), "Repeat until press any  mouse button to end");
    EXPECT_EQ(model.RepeatModeText(2), "Repeat until the key is released");
    EXPECT_EQ(model.RepeatModeText(3), "");
}

TEST_F(MacroKeyBindingTest, MissingBackgroundIsReportedAndTheDialogStillWorks)
{
    WriteMacros(1);
    RecordingCanvas bare;
    MacroKeyBindingModel model(m_file, Language::English);
    model.Open(bare, m_messages);
    EXPECT_EQ(m_messages.shown, (std::vector<Shown>{{Shown::Kind::Message, "error",
                                                     "Macro Key Dialog Load background image failed!!!"}}));
    EXPECT_GE(model.WindowSize().width, 390);
    model.Press(kMacroBox);
    model.Press(Line(0));
    EXPECT_EQ(model.Press(kOk), DialogAction::Accept);
    EXPECT_EQ(model.Result(), (MacroBindingChoice{0, 0, "Macro_1"}));
    RecordingCanvas canvas;
    model.Draw(canvas);
    EXPECT_FALSE(canvas.FindText("Macro_1").has_value()); // no name field
}

} // namespace
} // namespace veldrane
