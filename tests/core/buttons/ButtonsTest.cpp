// What a button is given and what the mouse gets: the assignment menus, the key tables and the key
// matrix; the models of the key-capture dialogs, the macro key dialog's mode texts and the painted
// lists they share.

#include "core/buttons/ButtonAssignment.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <numeric>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <tuple>
#include <utility>
#include <vector>

#include "adapters/linux/IconvTextCodec.h"
#include "core/buttons/KeyMatrixBlock.h"
#include "core/buttons/KeyTables.h"
#include "core/buttons/RecordingAssignmentDialogs.h"
#include "core/ini/IniFile.h"
#include "core/profile/FactoryDefaults.h"
#include "core/profile/ProfileRecord.h"
#include "ports/TextMeasure.h"
#include "screens/buttons/AssignmentMenuModel.h"
#include "screens/buttons/ComboKeyCaptureModel.h"
#include "screens/buttons/SingleKeyCaptureModel.h"
#include "screens/common/DialogButtons.h"
#include "screens/common/PaintedList.h"
#include "screens/macro/MacroKeyBindingModel.h"
#include "support/HexBytes.h"
#include "support/RecordingCanvas.h"
#include "support/RecordingMessageSink.h"

namespace veldrane {
namespace {

using Shown = test::RecordingMessageSink::Shown;
constexpr Point kOrigin = AssignmentMenuModel::kContentOrigin;
constexpr auto kFront = AssignmentView::Front;
constexpr auto kSide = AssignmentView::Side;

// Window points, written from the main window's layout: row r's box is (120, 134 + 20 r, 250,
// 150 + 20 r), its list right under it, (120, 150 + 20 r, 250, 408 + 20 r) with a one-pixel border
// and 16-pixel entries.
constexpr auto BoxPoint = [](int row) { return Point{185, 142 + 20 * row}; };
constexpr auto EntryPoint = [](int row, int entry) { return Point{185, 150 + 20 * row + 1 + 16 * entry + 8}; };

class ButtonAssignmentTest : public testing::Test
{
protected:
    // Every byte of the record differs, so a store that touches a byte it should not is seen.
    // Every button has "Menu" but Buttons 1 and 2 "Click", so the left-click rule is under control.
    ButtonAssignmentTest()
    {
        auto bytes = m_record.Bytes();
        std::iota(bytes.begin(), bytes.end(), std::uint8_t{7});
        m_record.buttonFunction.fill(1);
        m_record.buttonFunction[0] = m_record.buttonFunction[1] = 0;
    }
    AssignmentMenuModel& Model(Language language = Language::English)
    {
        return m_model.emplace(m_record, m_labels, language, m_dialogs, m_messages);
    }
    std::string EntryHex(std::size_t button) const { return test::HexBytes(EncodeButton(m_record, button)); }

    ProfileRecord m_record{};
    ButtonLabels m_labels = {"l1", "l2", "l3", "l4", "l5", "l6", "l7", "l8", "l9", "l10", "l11", "l12"};
    test::RecordingAssignmentDialogs m_dialogs;
    test::RecordingMessageSink m_messages;
    std::optional<AssignmentMenuModel> m_model;
};

// The list opens under the box; a second press on the box closes it. Side rows 6 and 7 hold no
// button: they take the press and do nothing.
TEST_F(ButtonAssignmentTest, BoxesFollowTheHalfOpenRuleAndOpenTheirButtonsList)
{
    AssignmentMenuModel& model = Model();
    for (const Point outside : {Point{119, 154}, Point{250, 154}, Point{120, 170}}) {
        EXPECT_FALSE(model.Press(outside, kOrigin, kFront));
    }
    EXPECT_TRUE(model.Press({120, 154}, kOrigin, kFront));
    EXPECT_EQ(model.MainList()->Area(), (Rect{120, 170, 250, 428}));
    EXPECT_EQ(model.OpenRow(kFront), 1);
    EXPECT_TRUE(model.Press({249, 169}, kOrigin, kFront));
    EXPECT_FALSE(model.MainList().has_value());
    EXPECT_TRUE(model.Press(BoxPoint(6), kOrigin, kSide));
    EXPECT_TRUE(model.Press(BoxPoint(7), kOrigin, kSide));
    EXPECT_FALSE(model.OpenButton().has_value());
    EXPECT_TRUE(model.Press(BoxPoint(5), kOrigin, kSide));
    EXPECT_EQ(model.OpenRow(kSide), 5);
}

// Each entry chosen in turn for Button 3 (front row 3): the label it gets and what the mouse is sent.
// The traditional table keeps the simplified "双击" that users have stored in their label files.
TEST_F(ButtonAssignmentTest, EveryEntryGivesItsLabelAndDeviceEntry)
{
    const std::vector<int> plainEntries = {0, 1, 2, 3, 4, 5, 13, 14, 15};
    const std::string plainBytes = "01 00 F0 00 01 00 F1 00 01 00 F2 00 01 00 F4 00 01 00 F3 00 0A F0 1E 02 "
                                   "00 00 00 00 01 00 F5 00 01 00 F6 00";
    // Consumer usages, of which the record keeps the low byte; Left Control with a letter (N, X, C,
    // V, S, P, F, Y, Z, A); Left Alt, Space and X or N; the Left GUI key with D or R.
    const std::string mediaBytes =
        "03 00 83 01 03 00 B5 00 03 00 B6 00 03 00 B7 00 03 00 CD 00 03 00 E2 00 03 00 E9 00 03 00 EA 00";
    // The language, the main entry (-1: the plain ones), the labels and the device entries.
    const std::vector<std::tuple<Language, int, std::string, std::string>> cases = {
        {Language::English, -1,
         "Click|Menu|Universal Scroll|IE Forward|IE Backward|Double Click|Button Off|"
         "Left Title Scroll|Right Title Scroll",
         plainBytes},
        {Language::TraditionalChinese, -1, "左鍵|右鍵|中鍵|前進方向鍵|後退方向鍵|双击|按鍵關閉|左搖擺滾輪|右搖擺滾輪",
         plainBytes},
        {Language::English, 6, "CPI +|CPI -|CPI Loop", "07 00 01 00 07 00 02 00 07 00 03 00"},
        {Language::English, 7, "Media player|Next Track|Pre Track|Stop|Play/Pause|Mute|Volume Up|Volume Down",
         mediaBytes},
        {Language::SimplifiedChinese, 7, "多媒体播放器|下一首|上一首|停止|播放/暂停|静音|音量+|音量-", mediaBytes},
        {Language::English, 8, "New|Cut|Copy|Paste|Save|Print|Find|Redo|Undo|Select All",
         "00 00 E0 11 00 00 E0 1B 00 00 E0 06 00 00 E0 19 00 00 E0 16 00 00 E0 13 00 00 E0 09 00 00 E0 1C "
         "00 00 E0 1D 00 00 E0 04"},
        {Language::English, 9, "My computer|Browser-Home|Search|Maximum|Minimum|Show desktop|Run",
         "03 00 94 01 03 00 23 02 03 00 21 02 00 04 2C 1B 00 04 2C 11 00 00 E3 07 00 00 E3 15"}};
    for (const auto& [language, mainEntry, expectedLabels, expectedBytes] : cases) {
        AssignmentMenuModel& model = Model(language);
        const std::size_t count = mainEntry < 0 ? plainEntries.size() : SubmenuSize(FunctionCode(mainEntry));
        std::string labels;
        std::string bytes;
        for (std::size_t i = 0; i < count; ++i) {
            const int entry = mainEntry < 0 ? plainEntries[i] : mainEntry;
            model.Press(BoxPoint(3), kOrigin, kFront);
            model.HoverList(EntryPoint(3, entry));
            ASSERT_EQ(model.Submenu().has_value(), mainEntry >= 0);
            const Rect submenu = mainEntry >= 0 ? model.Submenu()->Area() : Rect{};
            EXPECT_TRUE(model.PressList(mainEntry < 0 ? EntryPoint(3, entry)
                                                      : Point{submenu.left + 10, submenu.top + 1 + 16 * int(i) + 8}));
            EXPECT_EQ(m_record.buttonFunction[2], entry);
            EXPECT_FALSE(model.OpenButton().has_value());
            EXPECT_EQ(model.BoxStateOf(3, kFront), AssignmentMenuModel::BoxState::Leave);
            labels += (labels.empty() ? "" : "|") + m_labels[2];
            bytes += (bytes.empty() ? "" : " ") + EntryHex(2);
        }
        EXPECT_EQ(labels, expectedLabels);
        EXPECT_EQ(bytes, expectedBytes);
    }
}

// A cancelled dialog leaves Button 8 as it was, "Menu" and the stale parameters of earlier
// choices; a dialog that gives a result stores it.
TEST_F(ButtonAssignmentTest, DialogEntriesStoreWhatTheirDialogsGiveAndNothingOnCancel)
{
    const ProfileRecord before = m_record;
    m_dialogs.singleKey = {std::nullopt, "F5"};
    m_dialogs.macroKey = {std::nullopt, MacroBindingChoice{2, 2, "Jump"}};
    AssignmentMenuModel& model = Model();
    for (int entry : {10, 11, 12}) {
        model.Press(BoxPoint(1), kOrigin, kSide);
        EXPECT_TRUE(model.PressList(EntryPoint(1, entry)));
        EXPECT_FALSE(model.OpenButton().has_value());
    }
    EXPECT_EQ(m_dialogs.ran, (std::vector<std::string>{"single", "combo", "macro"}));
    EXPECT_EQ(m_record, before);
    EXPECT_EQ(m_labels[7], "l8");

    model.Press(BoxPoint(1), kOrigin, kSide);
    model.PressList(EntryPoint(1, 10));
    model.Press(BoxPoint(5), kOrigin, kSide);
    model.PressList(EntryPoint(5, 12));
    EXPECT_EQ(m_labels[7], "Single Key-F5");
    EXPECT_EQ(EntryHex(7), "00 00 3E 00");
    EXPECT_EQ(m_labels[11], "Macro Key-Jump");
    EXPECT_EQ(EntryHex(11), "09 02 03 00");
}

// What the menus cannot produce is refused and changes nothing.
TEST_F(ButtonAssignmentTest, ComboKeyListsOnlyPartsWithACodeAndWritesOnlyItsArrays)
{
    ButtonAssignment assignment(m_record, m_labels, Language::English);
    const ProfileRecord before = m_record;
    EXPECT_FALSE(assignment.StorePlainFunction(0, FunctionCode::CpiCycle));
    EXPECT_FALSE(assignment.StoreSubmenuChoice(0, FunctionCode::SingleKey, 0));
    EXPECT_FALSE(assignment.StoreSubmenuChoice(0, FunctionCode::Windows, kSystemCommandCount));
    EXPECT_FALSE(assignment.StoreComboKey(12, "Left Ctrl", "A", ""));
    EXPECT_EQ(m_record, before);
    EXPECT_EQ(m_labels[0], "l1");
    // The modifier and key names chosen, the device entry and the label.
    using Case = std::tuple<const char*, const char*, const char*, const char*, const char*>;
    for (const auto& [modifier, key1, key2, entry, label] :
         {Case{"Right Alt", "Tab", "", "00 40 2B 00", "Combo Key-Right Alt+Tab"},
          Case{"Left Ctrl", "", "B", "00 01 00 05", "Combo Key-Left Ctrl+B"},
          Case{"Ctrl", "\xC3\x84", "Z", "00 00 00 1D", "Combo Key-Z"}, // names without a code are left out
          Case{"Right Win", "Application", "Right Windows", "00 80 65 E7",
               "Combo Key-Right Win+Application+Right Windows"}}) {
        ProfileRecord expected = m_record;
        ASSERT_TRUE(assignment.StoreComboKey(11, modifier, key1, key2));
        EXPECT_EQ(EntryHex(11), entry);
        EXPECT_EQ(m_labels[11], label);
        for (auto field : {&ProfileRecord::buttonFunction, &ProfileRecord::comboModifier, &ProfileRecord::comboKey1,
                           &ProfileRecord::comboKey2}) {
            (expected.*field)[11] = (m_record.*field)[11];
        }
        EXPECT_EQ(m_record, expected);
    }
}

// The mouse must keep a left button: its only "Click" cannot be given away.
TEST_F(ButtonAssignmentTest, TheOnlyClickButtonCannotOpenItsList)
{
    AssignmentMenuModel& model = Model();
    model.Press(BoxPoint(1), kOrigin, kFront);
    model.PressList(EntryPoint(1, 13)); // Button 1 off; Button 2 keeps the only "Click"
    model.Press(BoxPoint(2), kOrigin, kFront);
    EXPECT_FALSE(model.OpenButton().has_value());
    EXPECT_EQ(m_messages.shown, (std::vector<Shown>{{Shown::Kind::Message, "Left key must be selected!", "Warning"}}));

    // Once Button 1 has "Click" again, Button 2 may be given something else.
    model.Press(BoxPoint(1), kOrigin, kFront);
    model.PressList(EntryPoint(1, 0));
    model.Press(BoxPoint(2), kOrigin, kFront);
    EXPECT_EQ(model.OpenButton(), 1u);
    EXPECT_EQ(m_messages.shown.size(), 1u);
}

// A 12-pixel font whose texts take the size `size` gives them at a pixel size.
struct Measure : TextMeasure
{
    explicit Measure(std::function<Size(std::string_view, int)> size) : size(std::move(size)) {}
    int PixelSize(FontRole) const override { return 12; }
    Size WrappedSize(std::string_view utf8, FontRole, int pixels, int) const override { return size(utf8, pixels); }
    std::function<Size(std::string_view, int)> size;
};

// Measured, a list opens right under its box, left-aligned and as wide as its longest entry
// ("Right Title Scroll", 144 pixels, with 8 either side and the border), over the box where the
// window has no room below; a submenu opens beside its entry, left of the list where the window
// has no room on the right. A window too narrow for a list cuts its entries, whose whole text
// the tooltip gives.
TEST_F(ButtonAssignmentTest, MeasuredListsOpenUnderTheirBoxesAsWideAsTheirEntries)
{
    // 8 pixels a byte in lines 14 pixels high: entries take 18-pixel rows.
    const Measure measure([](std::string_view utf8, int) { return Size{8 * static_cast<int>(utf8.size()), 14}; });
    AssignmentMenuModel& model = Model();
    model.SetLayout(&measure, {0, 0, 1000, 640});
    model.Press(BoxPoint(1), kOrigin, kFront);
    EXPECT_EQ(model.MainList()->Area(), (Rect{120, 170, 282, 460}));
    EXPECT_EQ(model.MainList()->TextArea(0), (Rect{129, 171, 273, 189}));
    EXPECT_EQ(model.MainList()->TextArea(8), (Rect{129, 315, 261, 333})); // "HotKey" and its arrow
    EXPECT_TRUE(model.MainList()->OpensSubmenu(8));
    EXPECT_FALSE(model.MainList()->OpensSubmenu(10));
    model.HoverList({150, 320});
    EXPECT_EQ(model.Submenu()->Area(), (Rect{282, 314, 380, 496}));
    EXPECT_EQ(model.CutEntryAt({150, 450}), std::nullopt);

    model.CloseAll();
    const Point lower{kOrigin.x, kOrigin.y + 300};
    model.Press({185, 442 + 20}, lower, kSide);
    EXPECT_EQ(model.MainList()->Area(), (Rect{120, 164, 282, 454}));

    model.CloseAll();
    model.SetLayout(&measure, {0, 0, 250, 640});
    model.Press(BoxPoint(1), kOrigin, kFront);
    EXPECT_EQ(model.MainList()->Area(), (Rect{120, 170, 250, 460}));
    EXPECT_EQ(model.CutEntryAt({150, 450}), "Right Title Scroll");
    model.HoverList({150, 320});
    EXPECT_EQ(model.Submenu()->Area(), (Rect{22, 314, 120, 496}));
}

struct Broken
{
    const char* name;
    std::uint8_t function;
    std::size_t parameterOffset; // the byte of button 2's parameter array, 0 for none
    std::uint8_t parameter;
    bool kept; // a value the menus produce stays
};

using MenuRangeTest = testing::TestWithParam<Broken>;

// A damaged import of the right size left Buttons 1 and 2 sending 00 00 00 00 under empty labels:
// a function or parameter that no menu produces gives the button its factory function (button 2
// is "Menu"), the other buttons keep theirs.
TEST_P(MenuRangeTest, AFunctionNoMenuProducesBecomesTheFactoryFunction)
{
    const Broken& broken = GetParam();
    const ProfileRecord factory = FactoryProfile();
    ProfileRecord record = factory;
    record.buttonFunction[1] = broken.function;
    if (broken.parameterOffset != 0) {
        record.Bytes()[broken.parameterOffset + 1] = broken.parameter;
    }
    const ProfileRecord loaded = record;
    const std::vector<std::size_t> changed = BringButtonsIntoMenuRange(record);
    if (broken.kept) {
        EXPECT_TRUE(changed.empty());
        EXPECT_EQ(record, loaded);
        return;
    }
    EXPECT_EQ(changed, std::vector<std::size_t>{1});
    EXPECT_EQ(record.buttonFunction, factory.buttonFunction);
    EXPECT_EQ(test::HexBytes(std::span<const std::uint8_t>(BuildKeyMatrixBlock(record)).subspan(4, 4)),
              test::HexBytes(std::span<const std::uint8_t>(BuildKeyMatrixBlock(factory)).subspan(4, 4)));
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Codes, MenuRangeTest,
    testing::Values(Broken{"CodeBeyondTheList", 16, 0, 0, false}, Broken{"CodeFF", 0xFF, 0, 0, false},
        Broken{"CpiActionZero", 6, 0x048, 0, false}, Broken{"CpiLoop", 6, 0x048, 3, true},
        Broken{"MediaUsageNoEntryHas", 7, 0x060, 0x01, false}, Broken{"VolumeDown", 7, 0x060, 0xEA, true},
        Broken{"SystemCommandBeyondRun", 9, 0x06C, 7, false}, Broken{"EditKeyNoEntryHas", 8, 0x09C, 0x05, false},
        Broken{"SingleKeyNoRowHas", 10, 0x0A8, 0xFF, false}, Broken{"SingleKeyOfAnotherLayout", 10, 0x0A8, 0, true},
        Broken{"ComboModifierOfTwoBits", 11, 0x0B4, 0x03, false}, Broken{"MacroThirteen", 12, 0x108, 12, false},
        Broken{"MacroRepeatMode3", 12, 0x114, 3, false}, Broken{"MacroTwelveRepeatMode2", 12, 0x108, 11, true}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

// What a button's function and key names become in the mouse's key matrix.
using namespace std::string_view_literals;
using test::HexBytes;

TEST(KeyMatrixBlock, MixedRecordGivesExactBlock)
{
    ProfileRecord record{};
    record.buttonFunction = {0, 3, 6, 7, 8, 9, 10, 11, 12, 13, 14, 16};
    // Different stale bytes in every parameter array, so an encoding that reads the wrong one shows it.
    auto parameters = record.Bytes().subspan(0x48, 0x120 - 0x48);
    std::iota(parameters.begin(), parameters.end(), std::uint8_t{0x30});
    record.cpiAction[2] = 3;
    record.mediaUsage[3] = 0x83;
    record.editKey[4] = 0x19;
    record.systemCommand[5] = 7;
    record.singleKey[6] = 0x3E;
    record.comboModifier[7] = 0x01;
    record.comboKey1[7] = 0x04;
    record.comboKey2[7] = 0x05;
    record.macroNumber[8] = 11;
    record.macroRepeat[8] = 2;
    // Slots 14 and 15 are fixed, the rest zero.
    std::string rest = " 00 00 00 00 00 00 00 00 01 00 F7 00 01 00 F8 00";
    for (int slot = 16; slot < 32; ++slot) {
        rest += " 00 00 00 00";
    }
    EXPECT_EQ(HexBytes(BuildKeyMatrixBlock(record)),
              std::string(
                  "01 00 F0 00 01 00 F4 00 " // slots 0, 1: buttons 1, 2, "Click" and "IE Forward"
                  "07 00 03 00 00 00 00 00 " // 2, 3: button 3 "CPI Loop", button 6 a system command past the seven
                  "00 00 3E 00 03 00 83 01 " // 4, 5: button 7 "Single Key" F5, button 4 "Media player" (0x0183)
                  "00 00 E0 19 00 00 00 00 " // 6, 7: button 5 "Paste" (Left Control as a key), button 12 code 16
                  "01 00 F5 00 00 00 00 00 " // 8, 9: button 11 "Left Title Scroll", button 10 "Button Off"
                  "09 02 0C 00 00 01 04 05" // 10, 11: button 9 the twelfth macro, repeat mode 2; button 8 Left Ctrl+A+B
                  ) +
                  rest);
}

// The key names of a US-English layout in table order, written out independently of the
// program's own list: HID Keyboard/Keypad usages 0x04 to 0x63, 0x65 and 0xE0 to 0xE7, then the
// mouse's buttons 0xF0 to 0xF2.
constexpr std::string_view kKeyNames =
    "A|B|C|D|E|F|G|H|I|J|K|L|M|N|O|P|Q|R|S|T|U|V|W|X|Y|Z|1|2|3|4|5|6|7|8|9|0|Enter|Esc|Backspace|Tab|Space|-|=|[|]|\\|"
    "Eurpo(Note 2)|;|'|`|,|.|/|Caps Lock|F1|F2|F3|F4|F5|F6|F7|F8|F9|F10|F11|F12|Prnt Scrn|Scroll Lock|Pause|Insert|"
    "Home|Page Up|Delete|End|Page Down|Right|Left|Down|Up|Num Lock|Num /|Num *|Num -|Num +|Num Enter|Num 1|Num 2|"
    "Num 3|Num 4|Num 5|Num 6|Num 7|Num 8|Num 9|Num 0|Num Del|Application|Ctrl|Shift|Alt|Left Windows|Right Ctrl|"
    "Right Shift|Right Alt|Right Windows|L-Button|R-Button|M-Button";

TEST(KeyTables, EveryKeyNameGivesItsUsageAndTheMacroTableLacksApplication)
{
    std::vector<std::uint8_t> usages(0x64 - 0x04);
    std::iota(usages.begin(), usages.end(), std::uint8_t{0x04});
    usages.insert(usages.end(), {0x65, 0xE0, 0xE1, 0xE2, 0xE3, 0xE4, 0xE5, 0xE6, 0xE7, 0xF0, 0xF1, 0xF2});
    std::string names;
    std::size_t i = 0;
    for (const std::string_view name : KeyNames()) {
        names += (names.empty() ? "" : "|") + std::string(name);
        EXPECT_EQ(KeyCodeFromName(name, KeyTableInstance::Button), usages.at(i)) << name;
        EXPECT_EQ(KeyCodeFromName(name, KeyTableInstance::Macro), name == "Application" ? 0 : usages.at(i)) << name;
        ++i;
    }
    EXPECT_EQ(names, kKeyNames);
}

TEST(KeyTables, OnlyWholeNamesMatchCaseSensitivelyAndModifierNamesGiveTheirBits)
{
    for (const std::string_view name : {"a"sv, "Left Ctrl"sv, "Left Win"sv, ""sv, "Tab "sv, "F13"sv, "Num"sv,
                                        "\xC3\x84"sv /* "Ä" of a German layout */, "Europe"sv, "A\0"sv}) {
        EXPECT_EQ(KeyCodeFromName(name), 0) << name;
    }
    for (std::size_t i = 0; i < 8; ++i) {
        EXPECT_EQ(ModifierBitFromName(ModifierNames()[i]), 1u << i) << ModifierNames()[i];
    }
    EXPECT_EQ(ModifierBitFromName("left ctrl"), 0);
}

// The models of the assignment dialogs: the two key-capture dialogs, the macro key dialog's mode
// texts and the painted lists they share.
using test::RecordingCanvas;

constexpr Point kModifierBox{120, 77}; // in the click area, right of the box itself
constexpr Point kKey1{90, 127};
constexpr Point kKey2{90, 177};
constexpr Point kOk{260, 260};

class CaptureTest : public testing::Test
{
protected:
    CaptureTest() { m_skin.sizes["/single-key.png"] = m_skin.sizes["/combo-key.png"] = {384, 286}; }

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
    SingleKeyCaptureModel singleModel(Language::TraditionalChinese);
    singleModel.Open(m_skin, m_messages);
    singleModel.OnKeyName("F12");
    RecordingCanvas canvas;
    singleModel.Draw(canvas);
    ASSERT_TRUE(canvas.FindText("單鍵"));
    EXPECT_EQ(canvas.FindText("單鍵")->area, SingleKeyCaptureModel::kCaption);
    ASSERT_TRUE(canvas.FindText("F12"));
    EXPECT_EQ(canvas.FindText("F12")->colour, (Colour{255, 255, 255}));

    ComboKeyCaptureModel comboModel(Language::English);
    comboModel.Open(m_skin, m_messages);
    canvas.Clear();
    comboModel.Draw(canvas);
    const std::string combo = "Combo Key: choose a modifier, then press the keys";
    ASSERT_TRUE(canvas.FindText(combo));
    EXPECT_EQ(canvas.FindText(combo)->area, ComboKeyCaptureModel::kCaption);

    const IconvTextCodec codec;
    const IniFile macroFile("/nonexistent/record.ini", codec);
    canvas.Clear();
    MacroKeyBindingModel(macroFile, Language::TraditionalChinese).Draw(canvas);
    ASSERT_TRUE(canvas.FindText("巨集"));
    EXPECT_EQ(canvas.FindText("巨集")->area, MacroKeyBindingModel::kCaption);
}

TEST_F(CaptureTest, UnsendableKeyKeepsTheCaptureDialogOpenWithItsReason)
{
    const auto expectRefused = [&](DialogAction action, const char* message, const char* title) {
        EXPECT_EQ(action, DialogAction::None);
        EXPECT_EQ(m_messages.shown, (std::vector<Shown>{{Shown::Kind::Message, message, title}}));
        m_messages.shown.clear();
    };
    SingleKeyCaptureModel single(Language::English);
    single.Open(m_skin, m_messages);
    expectRefused(single.Press(kOk), "The mouse cannot send this key.", "Warning"); // nothing typed
    single.OnKeyName("F13");
    expectRefused(single.Press(kOk), "The mouse cannot send this key.", "Warning");
    single.OnKeyName("F12");
    EXPECT_EQ(single.Press(kOk), DialogAction::Accept);

    ComboKeyCaptureModel combo(Language::TraditionalChinese);
    combo.Open(m_skin, m_messages);
    expectRefused(combo.Press(kOk), "滑鼠無法發送此按鍵。", "警告");
    combo.Press(kKey1);
    combo.OnKeyName("A");
    combo.Press(kKey2);
    combo.OnKeyName("F13");
    expectRefused(combo.Press(kOk), "滑鼠無法發送此按鍵。", "警告");
    combo.OnKeyName("B");
    EXPECT_EQ(combo.Press(kOk), DialogAction::Accept);
    EXPECT_TRUE(m_messages.shown.empty());
}

// Each mode text has an area 153 pixels wide and 32 high. In a 12-pixel dialog font the first two
// mode texts take one line with a word 10 pixel sizes wide; the last one takes `lines` lines with a
// word `word` pixel sizes wide.
TEST(MacroModeText, AllThreeShrinkTogetherToTheLargestSizeAtWhichTheLongestFits)
{
    IconvTextCodec codec;
    const IniFile macroFile("/nonexistent/record.ini", codec);
    const MacroKeyBindingModel model(macroFile, Language::English);
    using Case = std::tuple<int, int, int>;
    for (const auto& [lines, word, pixelSize] : {Case{2, 10, 12}, Case{3, 10, 10}, Case{1, 14, 10}, Case{4, 10, 9}}) {
        const Measure measure([&, lines, word](std::string_view utf8, int size) {
            return utf8 == model.RepeatModeText(2) ? Size{word * size, lines * size} : Size{10 * size, size};
        });
        EXPECT_EQ(model.ModeTextPixelSize(measure), pixelSize) << lines;
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
