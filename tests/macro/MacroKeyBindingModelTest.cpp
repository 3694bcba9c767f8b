#include "macro/MacroKeyBindingModel.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "buttons/AssignmentMenuModel.h"
#include "buttons/KeyMatrixBlock.h"
#include "buttons/RecordingAssignmentDialogs.h"
#include "ini/IniFile.h"
#include "macro/MacroFile.h"
#include "platform/linux/IconvTextCodec.h"
#include "support/HexBytes.h"
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

} // namespace
} // namespace veldrane
