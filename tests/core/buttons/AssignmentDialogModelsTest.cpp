// The models of the assignment dialogs: the two key-capture dialogs, the macro key dialog's mode
// texts and the painted lists they share.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include "adapters/linux/IconvTextCodec.h"
#include "core/ini/IniFile.h"
#include "ports/TextMeasure.h"
#include "screens/buttons/ComboKeyCaptureModel.h"
#include "screens/buttons/SingleKeyCaptureModel.h"
#include "screens/common/DialogButtons.h"
#include "screens/common/PaintedList.h"
#include "screens/macro/MacroKeyBindingModel.h"
#include "support/RecordingCanvas.h"
#include "support/RecordingMessageSink.h"

namespace veldrane {
namespace {

using test::RecordingCanvas;
using Shown = test::RecordingMessageSink::Shown;

constexpr Point kModifierBox{120, 77}; // in the click area, right of the box itself
constexpr Point kKey1{90, 127};
constexpr Point kKey2{90, 177};
constexpr Point kOk{260, 260};

class CaptureTest : public testing::Test
{
protected:
    CaptureTest()
    {
        m_skin.sizes["/single-key.png"] = {384, 286};
        m_skin.sizes["/combo-key.png"] = {384, 286};
    }

    RecordingCanvas m_skin;
    test::RecordingMessageSink m_messages;
};

TEST_F(CaptureTest, SingleKeyTakesTheLastEventAndShowsWhereItsPressesEndOrMoveIt)
{
    SingleKeyCaptureModel model(Language::English);
    model.Open(m_skin, m_messages);
    // Ctrl down, A down, A up, Ctrl up: the release of Ctrl comes last.
    for (const char* name : {"Ctrl", "A", "A", "Ctrl"}) {
        EXPECT_TRUE(model.OnKeyName(name));
    }
    EXPECT_EQ(model.KeyName(), "Ctrl");
    // A skin without the buttons' pictures still shows where OK, Cancel and the close area are.
    RecordingCanvas canvas;
    model.Draw(canvas);
    for (const Rect area : {DialogButtons::kOk, DialogButtons::kCancel, DialogButtons::kClose}) {
        EXPECT_TRUE(std::ranges::any_of(canvas.fills, [&](const auto& fill) { return fill.area == area; }));
    }
    ASSERT_TRUE(canvas.FindText("×"));
    EXPECT_EQ(canvas.FindText("×")->area, DialogButtons::kClose);
    const std::vector<std::pair<Point, DialogAction>> presses = {
        {{250, 250}, DialogAction::Accept}, {{307, 274}, DialogAction::Accept}, {{308, 262}, DialogAction::StartMove},
        {{371, 274}, DialogAction::Reject}, {{369, 23}, DialogAction::Reject},  {{370, 23}, DialogAction::StartMove}};
    for (const auto& [at, action] : presses) {
        EXPECT_EQ(model.Press(at), action) << at.x << "," << at.y;
    }
}

TEST_F(CaptureTest, ComboKeyGoesIntoTheFocusedFieldAndNoneWhileTheModifierListIsOpen)
{
    ComboKeyCaptureModel model(Language::English);
    model.Open(m_skin, m_messages);
    // The first key field has the focus from the start; a press on the background keeps it.
    EXPECT_TRUE(model.OnKeyName("B"));
    model.Press(kKey2);
    EXPECT_EQ(model.Press({200, 200}), DialogAction::None);
    model.OnKeyName("Esc");
    EXPECT_EQ(model.Result(), (ComboKeyChoice{"", "B", "Esc"}));

    EXPECT_EQ(model.Press(kModifierBox), DialogAction::None);
    ASSERT_TRUE(model.ModifierList().has_value());
    EXPECT_FALSE(model.OnKeyName("A"));
    // Escape closes the list and goes into no field.
    EXPECT_TRUE(model.OnKeyName("Esc"));
    EXPECT_FALSE(model.ModifierList().has_value());
    EXPECT_EQ(model.Focus(), ComboKeyCaptureModel::Field::None);
    // Rows of 17 pixels under a one-pixel border; the row over the first key field is the list's.
    model.Press(kModifierBox);
    EXPECT_EQ(model.Press({90, 88 + 17 * 6 + 8}), DialogAction::None);
    EXPECT_TRUE(model.KeyFieldsEnabled());
    EXPECT_EQ(model.Result(), (ComboKeyChoice{"Right Alt", "B", "Esc"}));
    EXPECT_EQ(model.Focus(), ComboKeyCaptureModel::Field::None);
}

// OK bound a key without a code: the label said "Single Key-F13" and the mouse got 00 00 00 00.
// The three dialogs name themselves in their title bars, the combo dialog with what to do in it; the
// single dialog's key field is light on the skin's dark grey like the combo dialog's fields.
TEST_F(CaptureTest, CaptionsInTheTitleBarsAndTheKeyFieldInTheSkinsColours)
{
    for (const auto& [language, single, combo] :
         {std::tuple{Language::English, "Single Key", "Combo Key: choose a modifier, then press the keys"},
          std::tuple{Language::TraditionalChinese, "單鍵", "複合鍵：選擇修飾鍵，然後按下按鍵"}}) {
        SingleKeyCaptureModel singleModel(language);
        singleModel.Open(m_skin, m_messages);
        singleModel.OnKeyName("F12");
        RecordingCanvas canvas;
        singleModel.Draw(canvas);
        ASSERT_TRUE(canvas.FindText(single)) << single;
        EXPECT_EQ(canvas.FindText(single)->area, SingleKeyCaptureModel::kCaption);
        ASSERT_TRUE(canvas.FindText("F12"));
        EXPECT_EQ(canvas.FindText("F12")->colour, (Colour{255, 255, 255}));

        ComboKeyCaptureModel comboModel(language);
        comboModel.Open(m_skin, m_messages);
        canvas.Clear();
        comboModel.Draw(canvas);
        ASSERT_TRUE(canvas.FindText(combo)) << combo;
        EXPECT_EQ(canvas.FindText(combo)->area, ComboKeyCaptureModel::kCaption);

        const IconvTextCodec codec;
        const IniFile macroFile("/nonexistent/record.ini", codec);
        const MacroKeyBindingModel macroModel(macroFile, language);
        canvas.Clear();
        macroModel.Draw(canvas);
        const char* macro = language == Language::English ? "Macro" : "巨集";
        ASSERT_TRUE(canvas.FindText(macro)) << macro;
        EXPECT_EQ(canvas.FindText(macro)->area, MacroKeyBindingModel::kCaption);
    }
}

TEST_F(CaptureTest, UnsendableKeyKeepsTheCaptureDialogOpenWithItsReason)
{
    for (const auto& [language, message, title] :
         {std::tuple{Language::English, "The mouse cannot send this key.", "Warning"},
          std::tuple{Language::TraditionalChinese, "滑鼠無法發送此按鍵。", "警告"}}) {
        const auto expectRefused = [&](DialogAction action) {
            EXPECT_EQ(action, DialogAction::None);
            EXPECT_EQ(m_messages.shown, (std::vector<Shown>{{Shown::Kind::Message, message, title}}));
            m_messages.shown.clear();
        };
        SingleKeyCaptureModel single(language);
        single.Open(m_skin, m_messages);
        expectRefused(single.Press(kOk)); // nothing typed
        single.OnKeyName("F13");
        expectRefused(single.Press(kOk));
        single.OnKeyName("F12");
        EXPECT_EQ(single.Press(kOk), DialogAction::Accept);

        ComboKeyCaptureModel combo(language);
        combo.Open(m_skin, m_messages);
        expectRefused(combo.Press(kOk));
        combo.Press(kKey1);
        combo.OnKeyName("A");
        combo.Press(kKey2);
        combo.OnKeyName("F13");
        expectRefused(combo.Press(kOk));
        combo.OnKeyName("B");
        EXPECT_EQ(combo.Press(kOk), DialogAction::Accept);
        EXPECT_TRUE(m_messages.shown.empty());
    }
}

// In a 12-pixel dialog font the first two mode texts take one line with a word 10 pixel sizes
// wide; the last one takes `lines` lines with a word `word` pixel sizes wide.
struct LongLastText : TextMeasure
{
    LongLastText(std::string_view last, int lines, int word) : last(last), lines(lines), word(word) {}
    int PixelSize(FontRole) const override { return 12; }
    Size WrappedSize(std::string_view utf8, FontRole, int size, int) const override
    {
        return utf8 == last ? Size{word * size, lines * size} : Size{10 * size, size};
    }
    std::string_view last;
    int lines;
    int word;
};

// Each mode text has an area 153 pixels wide and 32 high.
TEST(MacroModeText, AllThreeShrinkTogetherToTheLargestSizeAtWhichTheLongestFits)
{
    IconvTextCodec codec;
    const IniFile macroFile("/nonexistent/record.ini", codec);
    const MacroKeyBindingModel model(macroFile, Language::English);
    using Case = std::tuple<int, int, int>;
    for (const auto& [lines, word, pixelSize] : {Case{2, 10, 12}, Case{3, 10, 10}, Case{1, 14, 10}, Case{4, 10, 9}}) {
        EXPECT_EQ(model.ModeTextPixelSize(LongLastText(model.RepeatModeText(2), lines, word)), pixelSize) << lines;
    }
}

// 140 pixels high: a one-pixel border and eight rows of 16, with 10 pixels to spare.
constexpr Rect kListArea{42, 146, 151, 286};

TEST(PaintedList, ScrollingStaysWithinTheEntriesAndTheRowsStopShortOfTheThumb)
{
    std::vector<std::string> names = {"M0", "M1", "M2", "M3", "M4", "M5", "M6", "M7", "M8", "M9", "M10", "M11"};
    PaintedList list(kListArea, 16, names);
    EXPECT_FALSE(list.ScrollBy(-3));
    EXPECT_TRUE(list.ScrollBy(5));
    EXPECT_EQ(list.FirstVisible(), 4u); // twelve entries, eight shown
    EXPECT_EQ(list.RowAt({100, 150}), 4u);
    EXPECT_TRUE(list.RowRect(3).IsEmpty());
    EXPECT_EQ(list.RowRect(11), (Rect{43, 259, 146, 275}));
    // The thumb shows eight of twelve from the fifth, in the 138 pixels inside the border.
    EXPECT_EQ(list.ScrollThumb(), (Rect{146, 147 + 138 * 4 / 12, 150, 147 + 138 * 4 / 12 + 138 * 8 / 12}));
    // A list whose entries all fit has no thumb and rows as wide as its inside.
    names.resize(8);
    EXPECT_EQ(PaintedList(kListArea, 16, names).RowRect(7), (Rect{43, 259, 150, 275}));
}

} // namespace
} // namespace veldrane
