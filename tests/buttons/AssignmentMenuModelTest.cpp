#include "buttons/AssignmentMenuModel.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "buttons/KeyMatrixBlock.h"
#include "buttons/RecordingAssignmentDialogs.h"
#include "support/HexBytes.h"
#include "support/RecordingCanvas.h"
#include "support/RecordingMessageSink.h"

namespace veldrane {
namespace {

using test::HexBytes;
using test::RecordingCanvas;
using test::RecordingMessageSink;
using Shown = RecordingMessageSink::Shown;

constexpr Point kOrigin{20, 127}; // the section right under the left panel's first header
constexpr std::array<std::size_t, 12> kSlotOfButton = {0, 1, 2, 5, 6, 3, 4, 11, 10, 9, 8, 7};

// Window points, written from the main window's layout: row r's box is (120, 134 + 20 r, 250,
// 150 + 20 r), its list (262, 134 + 20 r, 365, 394 + 20 r) with a one-pixel border and 16-pixel
// entries.
Point BoxPoint(int row)
{
    return {185, 142 + 20 * row};
}
Point EntryPoint(int row, int entry)
{
    return {300, 134 + 20 * row + 1 + 16 * entry + 8};
}

std::string EntryHex(const ProfileRecord& record, std::size_t button)
{
    const KeyMatrixBlock block = BuildKeyMatrixBlock(record);
    return HexBytes(std::span(block).subspan(4 * kSlotOfButton[button], 4));
}

// Every button "Menu" except those given "Click", so the left-click rule is under control.
ProfileRecord RecordWithClicks(std::initializer_list<std::size_t> clickButtons)
{
    ProfileRecord record{};
    record.buttonFunction.fill(1);
    for (std::size_t button : clickButtons) {
        record.buttonFunction[button] = 0;
    }
    return record;
}

class AssignmentMenuTest : public testing::Test
{
protected:
    AssignmentMenuModel& Model(Language language = Language::English)
    {
        m_model.emplace(m_record, m_labels, language, m_dialogs, m_messages);
        return *m_model;
    }
    // Opens the list of the row's box, rests on a main entry and presses a submenu entry.
    void ChooseInSubmenu(AssignmentMenuModel& model, int row, int mainEntry, int subEntry)
    {
        ASSERT_TRUE(model.Press(BoxPoint(row), kOrigin, AssignmentView::Front));
        ASSERT_TRUE(model.HoverList(EntryPoint(row, mainEntry)));
        ASSERT_TRUE(model.Submenu().has_value());
        const Rect area = model.Submenu()->Area();
        ASSERT_TRUE(model.PressList({area.left + 10, area.top + 1 + 16 * subEntry + 8}));
    }

    ProfileRecord m_record = RecordWithClicks({0, 1});
    ButtonLabels m_labels = {"l1", "l2", "l3", "l4", "l5", "l6", "l7", "l8", "l9", "l10", "l11", "l12"};
    test::RecordingAssignmentDialogs m_dialogs;
    RecordingMessageSink m_messages;
    std::optional<AssignmentMenuModel> m_model;
};

class FrontRow : public AssignmentMenuTest, public testing::WithParamInterface<int>
{
};

TEST_P(FrontRow, PressOnBoxOpensTheButtonsListBesideIt)
{
    const int row = GetParam();
    AssignmentMenuModel& model = Model();
    EXPECT_TRUE(model.Press(BoxPoint(row), kOrigin, AssignmentView::Front));
    EXPECT_EQ(model.OpenButton(), static_cast<std::size_t>(row - 1));
    ASSERT_TRUE(model.MainList().has_value());
    EXPECT_EQ(model.MainList()->Area(), (Rect{262, 134 + 20 * row, 365, 394 + 20 * row}));
    EXPECT_EQ(model.MouseHighlightPicture(AssignmentView::Front),
              "/Mouse/Front/F-" + std::to_string(row) + "-over.png");
}

INSTANTIATE_TEST_SUITE_P(Rows1To7, FrontRow, testing::Range(1, 8));

TEST_F(AssignmentMenuTest, BoxEdgesFollowTheHalfOpenRule)
{
    AssignmentMenuModel& model = Model();
    EXPECT_FALSE(model.Press({119, 154}, kOrigin, AssignmentView::Front));
    EXPECT_FALSE(model.Press({250, 154}, kOrigin, AssignmentView::Front));
    EXPECT_FALSE(model.Press({120, 170}, kOrigin, AssignmentView::Front));
    EXPECT_FALSE(model.OpenButton().has_value());
    EXPECT_TRUE(model.Press({120, 154}, kOrigin, AssignmentView::Front));
    EXPECT_EQ(model.OpenButton(), 0u);
}

struct SideRowCase
{
    int row;
    std::optional<std::size_t> button;
};

class SideRow : public AssignmentMenuTest, public testing::WithParamInterface<SideRowCase>
{
};

TEST_P(SideRow, OpensButtons8To12AndRows6And7DoNothing)
{
    AssignmentMenuModel& model = Model();
    EXPECT_TRUE(model.Press(BoxPoint(GetParam().row), kOrigin, AssignmentView::Side));
    EXPECT_EQ(model.OpenButton(), GetParam().button);
    EXPECT_TRUE(m_dialogs.ran.empty());
    EXPECT_TRUE(m_messages.shown.empty());
}

INSTANTIATE_TEST_SUITE_P(Rows, SideRow,
                         testing::Values(SideRowCase{1, 7}, SideRowCase{2, 8}, SideRowCase{3, 9}, SideRowCase{4, 10},
                                         SideRowCase{5, 11}, SideRowCase{6, std::nullopt},
                                         SideRowCase{7, std::nullopt}));

TEST_F(AssignmentMenuTest, SecondClickOnAnOpenBoxClosesItsList)
{
    AssignmentMenuModel& model = Model();
    model.Press(BoxPoint(4), kOrigin, AssignmentView::Front);
    ASSERT_EQ(model.OpenButton(), 3u);
    EXPECT_TRUE(model.Press(BoxPoint(4), kOrigin, AssignmentView::Front));
    EXPECT_FALSE(model.OpenButton().has_value());
    EXPECT_FALSE(model.MainList().has_value());
    EXPECT_FALSE(model.MouseHighlightPicture(AssignmentView::Front).has_value());
}

struct PlainCase
{
    Language language;
    int entry;
    const char* label;
};

class PlainChoice : public AssignmentMenuTest, public testing::WithParamInterface<PlainCase>
{
};

TEST_P(PlainChoice, StoresTheEntrysCodeAndTextAndClosesTheList)
{
    AssignmentMenuModel& model = Model(GetParam().language);
    ProfileRecord expected = m_record;
    expected.buttonFunction[2] = static_cast<std::uint8_t>(GetParam().entry);
    model.Press(BoxPoint(3), kOrigin, AssignmentView::Front);
    model.HoverList(EntryPoint(3, GetParam().entry));
    EXPECT_TRUE(model.PressList(EntryPoint(3, GetParam().entry)));
    EXPECT_EQ(m_record, expected);
    EXPECT_EQ(m_labels[2], GetParam().label);
    EXPECT_FALSE(model.OpenButton().has_value());
    EXPECT_FALSE(model.MainList().has_value());
    EXPECT_TRUE(m_dialogs.ran.empty());
}

INSTANTIATE_TEST_SUITE_P(Entries, PlainChoice,
                         testing::Values(PlainCase{Language::English, 0, "Click"},
                                         PlainCase{Language::English, 3, "IE Forward"},
                                         PlainCase{Language::English, 4, "IE Backward"},
                                         PlainCase{Language::English, 5, "Double Click"},
                                         PlainCase{Language::English, 13, "Button Off"},
                                         PlainCase{Language::English, 14, "Left Title Scroll"},
                                         PlainCase{Language::English, 15, "Right Title Scroll"},
                                         PlainCase{Language::SimplifiedChinese, 2, "中键"},
                                         PlainCase{Language::TraditionalChinese, 1, "右鍵"}));

struct SubmenuChoiceCase
{
    Language language;
    int mainEntry;
    int subEntry;
    std::uint8_t code;
    std::function<std::uint8_t(const ProfileRecord&)> parameter;
    std::uint8_t value;
    const char* label;
    const char* entryHex;
};

class SubmenuChoice : public AssignmentMenuTest, public testing::WithParamInterface<SubmenuChoiceCase>
{
};

TEST_P(SubmenuChoice, StoresCodeParameterAndSubmenuText)
{
    const SubmenuChoiceCase& c = GetParam();
    AssignmentMenuModel& model = Model(c.language);
    ChooseInSubmenu(model, 5, c.mainEntry, c.subEntry);
    EXPECT_EQ(m_record.buttonFunction[4], c.code);
    EXPECT_EQ(c.parameter(m_record), c.value);
    EXPECT_EQ(m_labels[4], c.label);
    EXPECT_EQ(EntryHex(m_record, 4), c.entryHex);
    EXPECT_FALSE(model.OpenButton().has_value());
    EXPECT_FALSE(model.Submenu().has_value());
}

const auto kCpiAction = [](const ProfileRecord& r) { return r.cpiAction[4]; };
const auto kMediaUsage = [](const ProfileRecord& r) { return r.mediaUsage[4]; };
const auto kEditKey = [](const ProfileRecord& r) { return r.editKey[4]; };
const auto kSystemCommand = [](const ProfileRecord& r) { return r.systemCommand[4]; };

INSTANTIATE_TEST_SUITE_P(
    Entries, SubmenuChoice,
    testing::Values(SubmenuChoiceCase{Language::English, 6, 1, 6, kCpiAction, 2, "CPI -", "07 00 02 00"},
                    SubmenuChoiceCase{Language::English, 6, 2, 6, kCpiAction, 3, "CPI Loop", "07 00 03 00"},
                    SubmenuChoiceCase{Language::English, 7, 0, 7, kMediaUsage, 0x83, "Media player", "03 00 83 01"},
                    SubmenuChoiceCase{Language::English, 7, 7, 7, kMediaUsage, 0xEA, "Volume Down", "03 00 EA 00"},
                    SubmenuChoiceCase{Language::English, 8, 8, 8, kEditKey, 0x1D, "Undo", "00 00 E0 1D"},
                    SubmenuChoiceCase{Language::English, 8, 9, 8, kEditKey, 0x04, "Select All", "00 00 E0 04"},
                    SubmenuChoiceCase{Language::English, 9, 6, 9, kSystemCommand, 6, "Run", "00 00 E3 15"},
                    SubmenuChoiceCase{Language::English, 9, 0, 9, kSystemCommand, 0, "My computer", "03 00 94 01"},
                    SubmenuChoiceCase{Language::SimplifiedChinese, 7, 5, 7, kMediaUsage, 0xE2, "静音", "03 00 E2 00"},
                    SubmenuChoiceCase{Language::TraditionalChinese, 8, 5, 8, kEditKey, 0x13, "列印", "00 00 E0 13"},
                    SubmenuChoiceCase{Language::TraditionalChinese, 6, 0, 6, kCpiAction, 1, "CPI +", "07 00 01 00"}));

TEST_F(AssignmentMenuTest, SingleKeyStoresTheCapturedKey)
{
    m_dialogs.singleKey = {"F5"};
    AssignmentMenuModel& model = Model();
    model.Press(BoxPoint(1), kOrigin, AssignmentView::Side);
    EXPECT_TRUE(model.PressList(EntryPoint(1, 10)));
    EXPECT_EQ(m_dialogs.ran, std::vector<std::string>{"single"});
    EXPECT_EQ(m_record.buttonFunction[7], 10);
    EXPECT_EQ(m_record.singleKey[7], 0x3E);
    EXPECT_EQ(m_labels[7], "Single Key-F5");
    EXPECT_EQ(EntryHex(m_record, 7), "00 00 3E 00");
    EXPECT_FALSE(model.OpenButton().has_value());
}

TEST_F(AssignmentMenuTest, MacroKeyStoresTheBinding)
{
    m_dialogs.macroKey = {MacroBindingChoice{2, 2, "Jump"}};
    AssignmentMenuModel& model = Model();
    model.Press(BoxPoint(5), kOrigin, AssignmentView::Side);
    model.PressList(EntryPoint(5, 12));
    EXPECT_EQ(m_dialogs.ran, std::vector<std::string>{"macro"});
    EXPECT_EQ(m_record.buttonFunction[11], 12);
    EXPECT_EQ(m_record.macroNumber[11], 2);
    EXPECT_EQ(m_record.macroRepeat[11], 2);
    EXPECT_EQ(m_labels[11], "Macro Key-Jump");
    EXPECT_EQ(EntryHex(m_record, 11), "09 02 03 00");
    // The label stops short of the box's arrow and is cut with "…" where it is too long.
    RecordingCanvas canvas;
    model.Draw(canvas, kOrigin, AssignmentView::Side);
    const auto label = canvas.FindText("Macro Key-Jump");
    ASSERT_TRUE(label);
    const Rect box = AssignmentMenuModel::DropdownBox(5, kOrigin);
    EXPECT_EQ(label->area, (Rect{box.left, box.top, box.right - 16, box.bottom}));
    EXPECT_EQ(label->align, TextAlign::CentreElided);
}

class CancelledDialog : public AssignmentMenuTest, public testing::WithParamInterface<int>
{
};

// Button 2 has "Click" and the stale parameters of earlier choices; none of it may change.
TEST_P(CancelledDialog, LeavesFunctionParametersAndLabelAndClosesTheList)
{
    m_record.singleKey[1] = 0x3E;
    m_record.comboModifier[1] = 0x01;
    m_record.comboKey1[1] = 0x04;
    m_record.macroNumber[1] = 3;
    m_record.macroRepeat[1] = 1;
    const ProfileRecord before = m_record;
    const ButtonLabels labelsBefore = m_labels;
    AssignmentMenuModel& model = Model();
    model.Press(BoxPoint(2), kOrigin, AssignmentView::Front);
    EXPECT_TRUE(model.PressList(EntryPoint(2, GetParam())));
    EXPECT_EQ(m_dialogs.ran.size(), 1u);
    EXPECT_EQ(m_record, before);
    EXPECT_EQ(m_labels, labelsBefore);
    EXPECT_FALSE(model.OpenButton().has_value());
}

INSTANTIATE_TEST_SUITE_P(SingleComboMacro, CancelledDialog, testing::Values(10, 11, 12));

TEST_F(AssignmentMenuTest, OnlyClickButtonCannotOpenItsList)
{
    m_record = RecordWithClicks({0});
    AssignmentMenuModel& model = Model();
    EXPECT_TRUE(model.Press(BoxPoint(1), kOrigin, AssignmentView::Front));
    EXPECT_FALSE(model.OpenButton().has_value());
    EXPECT_EQ(m_messages.shown, (std::vector<Shown>{{Shown::Kind::Message, "Left key must be selected!", "Warning"}}));

    // Once Button 2 has "Click" too, Button 1 may be given something else.
    model.Press(BoxPoint(2), kOrigin, AssignmentView::Front);
    model.PressList(EntryPoint(2, 0));
    ASSERT_EQ(m_record.buttonFunction[1], 0);
    model.Press(BoxPoint(1), kOrigin, AssignmentView::Front);
    EXPECT_EQ(model.OpenButton(), 0u);
    EXPECT_EQ(m_messages.shown.size(), 1u);
}

TEST_F(AssignmentMenuTest, LastClickGivenAwayMakesTheOtherButtonTheGuardedOne)
{
    AssignmentMenuModel& model = Model();
    model.Press(BoxPoint(1), kOrigin, AssignmentView::Front);
    model.PressList(EntryPoint(1, 13)); // Button 1 off; Button 2 keeps the only "Click"
    model.Press(BoxPoint(2), kOrigin, AssignmentView::Front);
    EXPECT_FALSE(model.OpenButton().has_value());
    EXPECT_EQ(m_messages.shown.size(), 1u);
}

} // namespace
} // namespace veldrane
