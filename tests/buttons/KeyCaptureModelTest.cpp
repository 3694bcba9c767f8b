#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "buttons/ComboKeyCaptureModel.h"
#include "buttons/SingleKeyCaptureModel.h"
#include "support/RecordingCanvas.h"
#include "support/RecordingMessageSink.h"

namespace veldrane {
namespace {

using test::RecordingCanvas;
using test::RecordingMessageSink;
using Shown = RecordingMessageSink::Shown;

constexpr Point kOk{279, 262};
constexpr Point kCancel{343, 262};
constexpr Point kClose{361, 15};
constexpr Point kModifierBox{120, 77}; // in the click area, right of the box itself
constexpr Point kKey1{90, 127};
constexpr Point kKey2{90, 177};

// The modifier list (50, 87, 132, 227) with a one-pixel border and 17-pixel rows.
Point ModifierRow(int row)
{
    return {90, 88 + 17 * row + 8};
}

class CaptureTest : public testing::Test
{
protected:
    CaptureTest()
    {
        m_skin.sizes["/single-key.png"] = {384, 286};
        m_skin.sizes["/combo-key.png"] = {384, 286};
    }

    RecordingCanvas m_skin;
    RecordingMessageSink m_messages;
};

TEST_F(CaptureTest, SingleKeyShowsTheLastEventsName)
{
    SingleKeyCaptureModel model(Language::English);
    model.Open(m_skin, m_messages);
    EXPECT_EQ(model.WindowSize(), (Size{384, 286}));
    // Ctrl down, A down, A up: the release of A comes last... and Ctrl up after it.
    for (const char* name : {"Ctrl", "A", "A"}) {
        EXPECT_TRUE(model.OnKeyName(name));
    }
    EXPECT_EQ(model.KeyName(), "A");
    model.OnKeyName("Ctrl");
    EXPECT_EQ(model.KeyName(), "Ctrl");
    model.OnKeyName("Right Ctrl");
    EXPECT_EQ(model.KeyName(), "Right Ctrl");
    EXPECT_TRUE(m_messages.shown.empty());
}

TEST_F(CaptureTest, SingleKeyStartsEmptyAtEachOpening)
{
    SingleKeyCaptureModel model(Language::English);
    model.Open(m_skin, m_messages);
    model.OnKeyName("F5");
    model.Open(m_skin, m_messages);
    EXPECT_EQ(model.KeyName(), "");
}

struct PressCase
{
    Point at;
    DialogAction action;
};

class SinglePress : public CaptureTest, public testing::WithParamInterface<PressCase>
{
};

TEST_P(SinglePress, EndsOrMovesTheDialog)
{
    SingleKeyCaptureModel model(Language::English);
    model.Open(m_skin, m_messages);
    EXPECT_EQ(model.Press(GetParam().at), GetParam().action);
}

INSTANTIATE_TEST_SUITE_P(
    Areas, SinglePress,
    testing::Values(PressCase{{250, 250}, DialogAction::Accept}, PressCase{{307, 274}, DialogAction::Accept},
                    PressCase{{308, 262}, DialogAction::StartMove}, PressCase{{314, 250}, DialogAction::Reject},
                    PressCase{{371, 274}, DialogAction::Reject}, PressCase{{352, 6}, DialogAction::Reject},
                    PressCase{{369, 23}, DialogAction::Reject}, PressCase{{370, 23}, DialogAction::StartMove},
                    PressCase{{100, 135}, DialogAction::StartMove}));

TEST_F(CaptureTest, SingleKeyDrawsPromptNameAndButtonTextsOfTheLanguage)
{
    SingleKeyCaptureModel model(Language::TraditionalChinese);
    model.Open(m_skin, m_messages);
    model.OnKeyName("Left Windows");
    model.Hover(kCancel);
    RecordingCanvas canvas;
    model.Draw(canvas);
    EXPECT_EQ(canvas.images.front().path, "/single-key.png");
    const auto prompt = canvas.FindText("請輸入一個按鍵");
    ASSERT_TRUE(prompt.has_value());
    EXPECT_EQ(prompt->area, (Rect{34, 103, 180, 123}));
    EXPECT_EQ(prompt->font, FontRole::SingleDialog);
    const auto name = canvas.FindText("Left Windows");
    ASSERT_TRUE(name.has_value());
    EXPECT_EQ(name->area, (Rect{74, 129, 150, 143}));
    EXPECT_EQ(name->align, TextAlign::Centre);
    EXPECT_EQ(name->colour, (Colour{0, 0, 0}));
    EXPECT_EQ(canvas.FindText("確定")->area, (Rect{250, 250, 308, 275}));
    EXPECT_EQ(canvas.FindText("取消")->area, (Rect{314, 250, 372, 275}));
    const auto over = canvas.ImagesAt("/MacroManagement/button-new-over.png");
    ASSERT_EQ(over.size(), 1u);
    EXPECT_EQ(over[0].at, (Point{314, 250}));
    EXPECT_EQ(canvas.ImagesAt("/MacroManagement/button-new-normal.png").size(), 1u);
    EXPECT_EQ(canvas.ImagesAt("/button-close-normal.png").at(0).at, (Point{352, 6}));
}

TEST_F(CaptureTest, EnglishOkIsSpelledDifferentlyInTheTwoDialogs)
{
    SingleKeyCaptureModel single(Language::English);
    ComboKeyCaptureModel combo(Language::English);
    single.Open(m_skin, m_messages);
    combo.Open(m_skin, m_messages);
    RecordingCanvas canvas;
    single.Draw(canvas);
    EXPECT_TRUE(canvas.FindText("Ok").has_value());
    EXPECT_TRUE(canvas.FindText("Please enter a key").has_value());
    canvas.Clear();
    combo.Draw(canvas);
    EXPECT_TRUE(canvas.FindText("OK").has_value());
    EXPECT_EQ(canvas.FindText("Cancel")->font, FontRole::Dialog);
}

TEST_F(CaptureTest, HoverSwapsOnlyWhenTheButtonUnderThePointerChanges)
{
    SingleKeyCaptureModel model(Language::English);
    model.Open(m_skin, m_messages);
    EXPECT_TRUE(model.Hover(kOk));
    EXPECT_FALSE(model.Hover({kOk.x + 3, kOk.y}));
    EXPECT_TRUE(model.Hover(kClose));
    EXPECT_TRUE(model.Hover({10, 10}));
    EXPECT_FALSE(model.Hover({20, 10}));
}

TEST_F(CaptureTest, MissingBackgroundReportsAndCapturesNothing)
{
    RecordingCanvas bare;
    SingleKeyCaptureModel single(Language::English);
    single.Open(bare, m_messages);
    EXPECT_FALSE(single.Capturing());
    EXPECT_FALSE(single.OnKeyName("A"));
    EXPECT_EQ(single.KeyName(), "");
    EXPECT_EQ(single.Press(kCancel), DialogAction::Reject);
    ComboKeyCaptureModel combo(Language::English);
    combo.Open(bare, m_messages);
    combo.Press(kKey1);
    EXPECT_FALSE(combo.OnKeyName("A"));
    EXPECT_EQ(combo.Press(kOk), DialogAction::Accept);
    EXPECT_EQ(combo.Result(), ComboKeyChoice{});
    EXPECT_EQ(m_messages.shown,
              (std::vector<Shown>{{Shown::Kind::Message, "error", "Single Key Dialog Load background image failed!!!"},
                                  {Shown::Kind::Message, "error", "Combo Dialog Load background image failed!!!"}}));
    // The dialog still holds its OK, Cancel and close areas.
    EXPECT_GE(single.WindowSize().width, 372);
    EXPECT_GE(single.WindowSize().height, 275);
}

TEST_F(CaptureTest, ComboKeyGoesIntoTheFocusedFieldOnly)
{
    ComboKeyCaptureModel model(Language::English);
    model.Open(m_skin, m_messages);
    EXPECT_EQ(model.Focus(), ComboKeyCaptureModel::Field::None);
    EXPECT_FALSE(model.OnKeyName("A"));
    EXPECT_EQ(model.Result(), ComboKeyChoice{});
    model.Press(kKey1);
    EXPECT_TRUE(model.OnKeyName("Shift"));
    model.OnKeyName("A");
    model.Press(kKey2);
    EXPECT_EQ(model.Focus(), ComboKeyCaptureModel::Field::Key2);
    model.OnKeyName("Enter");
    EXPECT_EQ(model.Result(), (ComboKeyChoice{"", "A", "Enter"}));
    // A press on the dialog's background keeps the focus where it was.
    EXPECT_EQ(model.Press({200, 200}), DialogAction::None);
    model.OnKeyName("Esc");
    EXPECT_EQ(model.Result().key2Name, "Esc");
}

TEST_F(CaptureTest, ModifierListOffersTheEightNamesAndDisablesTheFields)
{
    ComboKeyCaptureModel model(Language::English);
    model.Open(m_skin, m_messages);
    model.Press(kKey1);
    EXPECT_EQ(model.Press(kModifierBox), DialogAction::None);
    ASSERT_TRUE(model.ModifierList().has_value());
    EXPECT_EQ(model.ModifierList()->Area(), (Rect{50, 87, 132, 227}));
    std::vector<std::string> names;
    for (std::size_t i = 0; i < model.ModifierList()->Count(); ++i) {
        names.push_back(model.ModifierList()->Entry(i));
    }
    EXPECT_EQ(names, (std::vector<std::string>{"Left Ctrl", "Left Shift", "Left Alt", "Left Win", "Right Ctrl",
                                               "Right Shift", "Right Alt", "Right Win"}));
    EXPECT_EQ(model.ModifierList()->VisibleRows(), 8u);
    EXPECT_FALSE(model.KeyFieldsEnabled());
    EXPECT_EQ(model.Focus(), ComboKeyCaptureModel::Field::None);
    EXPECT_FALSE(model.OnKeyName("A"));

    // Hovering highlights without choosing.
    EXPECT_TRUE(model.Hover(ModifierRow(2)));
    EXPECT_EQ(model.ModifierList()->Highlighted(), 2u);
    EXPECT_EQ(model.Result().modifierName, "");

    // A press on a row chooses it; the row over the first key field belongs to the list.
    EXPECT_EQ(model.Press(ModifierRow(6)), DialogAction::None);
    EXPECT_FALSE(model.ModifierList().has_value());
    EXPECT_TRUE(model.KeyFieldsEnabled());
    EXPECT_EQ(model.ModifierIndex(), 6u);
    EXPECT_EQ(model.Result(), (ComboKeyChoice{"Right Alt", "", ""}));
    EXPECT_EQ(model.Focus(), ComboKeyCaptureModel::Field::None);
}

TEST_F(CaptureTest, ModifierBoxTogglesTheList)
{
    ComboKeyCaptureModel model(Language::English);
    model.Open(m_skin, m_messages);
    model.Press(kModifierBox);
    model.Press(kModifierBox);
    EXPECT_FALSE(model.ModifierList().has_value());
    EXPECT_TRUE(model.KeyFieldsEnabled());
    model.Press({51, 71});
    EXPECT_TRUE(model.ModifierList().has_value());
}

class PressOutsideTheList : public CaptureTest, public testing::WithParamInterface<PressCase>
{
};

TEST_P(PressOutsideTheList, ClosesItAndThenActs)
{
    ComboKeyCaptureModel model(Language::English);
    model.Open(m_skin, m_messages);
    model.Press(kModifierBox);
    EXPECT_EQ(model.Press(GetParam().at), GetParam().action);
    EXPECT_FALSE(model.ModifierList().has_value());
    EXPECT_TRUE(model.KeyFieldsEnabled());
    EXPECT_EQ(model.Result().modifierName, "");
    // The fields were disabled when the press came: it focused neither.
    EXPECT_EQ(model.Focus(), ComboKeyCaptureModel::Field::None);
}

INSTANTIATE_TEST_SUITE_P(Places, PressOutsideTheList,
                         testing::Values(PressCase{{20, 20}, DialogAction::None},
                                         PressCase{{200, 177}, DialogAction::None},
                                         PressCase{{132, 100}, DialogAction::None},
                                         PressCase{kOk, DialogAction::Accept},
                                         PressCase{kClose, DialogAction::Reject}));

TEST_F(CaptureTest, ComboDrawsFieldsModifierAndFocus)
{
    ComboKeyCaptureModel model(Language::SimplifiedChinese);
    model.Open(m_skin, m_messages);
    model.Press(kModifierBox);
    model.Press(ModifierRow(0));
    model.Press(kKey2);
    model.OnKeyName("Num 0");
    RecordingCanvas canvas;
    model.Draw(canvas);
    EXPECT_EQ(canvas.images.front().path, "/combo-key.png");
    const auto modifier = canvas.FindText("Left Ctrl");
    ASSERT_TRUE(modifier.has_value());
    EXPECT_EQ(modifier->area, (Rect{50, 70, 116, 84}));
    EXPECT_EQ(modifier->colour, (Colour{255, 255, 255}));
    const auto key = canvas.FindText("Num 0");
    ASSERT_TRUE(key.has_value());
    EXPECT_EQ(key->area, (Rect{50, 170, 131, 184}));
    EXPECT_EQ(key->align, TextAlign::Centre);
    EXPECT_TRUE(canvas.FindText("确定").has_value());
    // The fields lie on the dark grey of the dialog's controls.
    bool greyField = false;
    for (const auto& fill : canvas.fills) {
        greyField = greyField || (fill.area == Rect{50, 120, 131, 134} && fill.colour == Colour{0x28, 0x28, 0x28});
    }
    EXPECT_TRUE(greyField);
}

} // namespace
} // namespace veldrane
