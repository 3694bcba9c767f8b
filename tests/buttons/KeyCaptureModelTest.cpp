#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "buttons/ComboKeyCaptureModel.h"
#include "buttons/DialogButtons.h"
#include "buttons/SingleKeyCaptureModel.h"
#include "support/RecordingCanvas.h"
#include "support/RecordingMessageSink.h"

namespace veldrane {
namespace {

using test::RecordingCanvas;
using test::RecordingMessageSink;
using Shown = RecordingMessageSink::Shown;

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

// A skin without the buttons' pictures still shows where OK, Cancel and the close area are.
TEST_F(CaptureTest, ButtonsWithoutTheirPicturesAreDrawnPlain)
{
    SingleKeyCaptureModel model(Language::English);
    model.Open(m_skin, m_messages);
    RecordingCanvas canvas;
    model.Draw(canvas);
    std::vector<Rect> filled;
    for (const auto& fill : canvas.fills) {
        filled.push_back(fill.area);
    }
    for (const Rect area : {DialogButtons::kOk, DialogButtons::kCancel, DialogButtons::kClose}) {
        EXPECT_NE(std::find(filled.begin(), filled.end(), area), filled.end());
    }
    ASSERT_TRUE(canvas.FindText("×"));
    EXPECT_EQ(canvas.FindText("×")->area, DialogButtons::kClose);
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
    model.OnKeyName("A");
    EXPECT_EQ(model.Press(GetParam().at), GetParam().action);
}

INSTANTIATE_TEST_SUITE_P(
    Areas, SinglePress,
    testing::Values(PressCase{{250, 250}, DialogAction::Accept}, PressCase{{307, 274}, DialogAction::Accept},
                    PressCase{{308, 262}, DialogAction::StartMove}, PressCase{{314, 250}, DialogAction::Reject},
                    PressCase{{371, 274}, DialogAction::Reject}, PressCase{{352, 6}, DialogAction::Reject},
                    PressCase{{369, 23}, DialogAction::Reject}, PressCase{{370, 23}, DialogAction::StartMove},
                    PressCase{{100, 135}, DialogAction::StartMove}));

TEST_F(CaptureTest, ComboKeyGoesIntoTheFocusedFieldOnly)
{
    ComboKeyCaptureModel model(Language::English);
    model.Open(m_skin, m_messages);
    // The first key field has the focus from the start.
    EXPECT_EQ(model.Focus(), ComboKeyCaptureModel::Field::Key1);
    EXPECT_TRUE(model.OnKeyName("B"));
    EXPECT_EQ(model.Result(), (ComboKeyChoice{"", "B", ""}));
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
    // Escape closes the list and goes into no field.
    EXPECT_TRUE(model.OnKeyName("Esc"));
    EXPECT_FALSE(model.ModifierList().has_value());
    EXPECT_EQ(model.Result(), ComboKeyChoice{});
    model.Press(kModifierBox);
    ASSERT_TRUE(model.ModifierList().has_value());

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

// OK bound a key without a code: the label said "Single Key-F13" and the mouse got 00 00 00 00.
struct UnsendableCase
{
    Language language;
    std::string message;
    std::string title;
};

class UnsendableKey : public CaptureTest, public testing::WithParamInterface<UnsendableCase>
{
protected:
    void ExpectRefused(DialogAction action)
    {
        EXPECT_EQ(action, DialogAction::None);
        ASSERT_EQ(m_messages.shown.size(), 1u);
        EXPECT_EQ(m_messages.shown[0], (Shown{Shown::Kind::Message, GetParam().message, GetParam().title}));
        m_messages.shown.clear();
    }
};

TEST_P(UnsendableKey, KeepsTheCaptureDialogOpenWithItsReason)
{
    constexpr Point kOk{260, 260};
    SingleKeyCaptureModel single(GetParam().language);
    single.Open(m_skin, m_messages);
    ExpectRefused(single.Press(kOk)); // nothing typed
    single.OnKeyName("F13");
    ExpectRefused(single.Press(kOk));
    single.OnKeyName("F12");
    EXPECT_EQ(single.Press(kOk), DialogAction::Accept);

    ComboKeyCaptureModel combo(GetParam().language);
    combo.Open(m_skin, m_messages);
    ExpectRefused(combo.Press(kOk));
    combo.Press(kKey1);
    combo.OnKeyName("A");
    combo.Press(kKey2);
    combo.OnKeyName("F13");
    ExpectRefused(combo.Press(kOk));
    combo.OnKeyName("B");
    EXPECT_EQ(combo.Press(kOk), DialogAction::Accept);
    EXPECT_TRUE(m_messages.shown.empty());
}

INSTANTIATE_TEST_SUITE_P(Languages, UnsendableKey,
                         testing::Values(UnsendableCase{Language::English, "The mouse cannot send this key.", "Warning"},
                                         UnsendableCase{Language::SimplifiedChinese, "鼠标无法发送此按键。", "警告"},
                                         UnsendableCase{Language::TraditionalChinese, "滑鼠無法發送此按鍵。", "警告"}));

} // namespace
} // namespace veldrane
