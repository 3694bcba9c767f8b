// What a button is given and what the mouse gets: the assignment menus and dialogs, the key tables
// and the key matrix; the settings page's controls and the settings block; the macro file, its
// encoding for the mouse, the recorder and the macro manager.

#include "core/buttons/ButtonAssignment.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <numeric>
#include <optional>
#include <span>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "adapters/linux/IconvTextCodec.h"
#include "core/buttons/KeyMatrixBlock.h"
#include "core/buttons/KeyTables.h"
#include "core/buttons/RecordingAssignmentDialogs.h"
#include "core/device/SettingsBlock.h"
#include "core/ini/IniFile.h"
#include "core/macro/MacroEncoder.h"
#include "core/macro/MacroFile.h"
#include "core/macro/MacroRecorder.h"
#include "core/macro/MacroSectionRename.h"
#include "core/profile/ConfigFile.h"
#include "core/profile/FactoryDefaults.h"
#include "core/profile/ProfileFileNames.h"
#include "core/profile/ProfileRecord.h"
#include "core/settings/CpiStage.h"
#include "core/settings/ReportRate.h"
#include "core/settings/ScrollLines.h"
#include "ports/TextMeasure.h"
#include "screens/buttons/AssignmentMenuModel.h"
#include "screens/buttons/ComboKeyCaptureModel.h"
#include "screens/buttons/SingleKeyCaptureModel.h"
#include "screens/common/DialogButtons.h"
#include "screens/common/PaintedList.h"
#include "screens/macro/ListLineEditorModel.h"
#include "screens/macro/MacroKeyBindingModel.h"
#include "screens/macro/MacroManagerModel.h"
#include "screens/main/controls/ReportRateDial.h"
#include "screens/main/controls/SliderStrip.h"
#include "screens/main/controls/SpeedDial.h"
#include "support/FakeClock.h"
#include "support/FileAccessCounter.h"
#include "support/HexBytes.h"
#include "support/RecordingCanvas.h"
#include "support/RecordingMessageSink.h"
#include "support/TempDir.h"

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

// The settings page's controls: the CPI tracks, the sliders, the dials and the scroll-speed box.
// Rows of a press from the track's top: 164 (8200 CPI) down to row 5, then one less per pixel
// down to 2 just above the 3-pixel foot, whose lowest two rows give 1.
TEST(CpiStage, TrackGivesOneStepOf50CpiPerPixel)
{
    for (const auto& [row, value] :
         std::vector<std::pair<int, int>>{{0, 164}, {5, 164}, {6, 163}, {92, 77}, {167, 2}, {168, 1}, {169, 1}}) {
        EXPECT_EQ(CpiValueAtTrackRow(row), value) << row;
    }
}

// A stage slider: position 1 on pixels 0 to 8, 2 to 10 on 21 pixels each, 11 from pixel 198; a
// drag past either end keeps that end's position.
TEST(SliderStrip, PressGivesThePositionOfItsPixel)
{
    for (const auto& [offset, position] :
         std::vector<std::pair<int, int>>{{-5, 1}, {8, 1}, {9, 2}, {29, 2}, {30, 3}, {197, 10}, {198, 11}, {300, 11}}) {
        EXPECT_EQ(kStageSliderStrip.PositionAt(offset), position) << offset;
    }
}

struct Press
{
    int dx, dy;
    std::optional<std::uint8_t> chosen;
};

constexpr int kFar = 2000000000; // its square does not fit an int

// Quarters: upper right 1000 Hz, upper left 125, lower left 250, lower right 500. The ring runs
// from 35 to 64 pixels (21, -28 lies on 35; 40, -50 just past 64); the lines through the centre
// choose nothing.
TEST(ReportRateDial, RingAndQuarterChooseTheRate)
{
    // clang-format off
    const std::vector<Press> presses{{30, -30, 1}, {-30, -30, 8}, {-30, 30, 4}, {30, 30, 2}, {21, -28, 1},
        {16, -30, std::nullopt}, {-39, 50, 4}, {40, -50, std::nullopt}, {0, -50, std::nullopt},
        {50, 0, std::nullopt}, {kFar, -kFar, std::nullopt}};
    // clang-format on
    for (const auto& [dx, dy, rate] : presses) {
        EXPECT_EQ(ReportRateAtDialOffset(dx, dy), rate) << dx << ", " << dy;
    }
    for (const auto& [rate, frequency] : std::vector<std::pair<int, std::optional<int>>>{
             {1, 1000}, {2, 500}, {4, 250}, {8, 125}, {0, std::nullopt}, {3, std::nullopt}, {255, std::nullopt}}) {
        EXPECT_EQ(ReportFrequencyOf(static_cast<std::uint8_t>(rate)), frequency) << rate;
    }
}

// The keys step the dial 125, 250, 500, 1000 Hz and stop at the ends; an unknown byte is below
// 125 Hz, so any step up lands on a rate the mouse knows.
TEST(ReportRateDial, KeysStepThroughTheFourRates)
{
    const std::vector<std::array<int, 3>> steps{{8, 1, 4},  {4, 1, 2},   {2, 1, 1},  {1, 1, 1}, {1, -1, 2},
                                                {8, -1, 8}, {8, 2, 2},   {1, -8, 8}, {0, 1, 8}, {3, -1, 8},
                                                {0, 8, 1},  {255, 2, 4}, {2, 0, 2}};
    for (const auto& [rate, by, result] : steps) {
        EXPECT_EQ(ReportRateStepped(static_cast<std::uint8_t>(rate), by), result) << rate << " by " << by;
    }
}

// 12 - θ ÷ 18 rounded down on the upper half of the ring from 43 to 71 pixels: 12 on the right,
// 11 just above it and up to 17.6 degrees (60, -19), 10 past 18 degrees, 2 on the left.
TEST(SpeedDial, AngleOnTheUpperRingGivesThePosition)
{
    // clang-format off
    const std::vector<Press> presses{{50, 0, 12}, {-50, 0, 2}, {0, -50, 7}, {60, -1, 11}, {-60, -1, 2},
        {60, -19, 11}, {60, -20, 10}, {40, -40, 9}, {-40, -40, 4}, {43, 0, 12}, {42, 0, std::nullopt},
        {-71, 0, 2}, {0, -72, std::nullopt}, {50, 1, std::nullopt}, {-kFar, -kFar, std::nullopt}};
    // clang-format on
    for (const auto& [dx, dy, position] : presses) {
        EXPECT_EQ(SpeedDialPositionAt(dx, dy), position) << dx << ", " << dy;
    }
}

// A step stays within 1 to 100; a loaded count outside it steps by the same rule, without
// wrapping through 0. The edit box's text counts only as a decimal number from 1 to 100.
TEST(ScrollLines, StepsAndTextStayWithinOneToOneHundred)
{
    // clang-format off
    const std::vector<std::tuple<int, int, int>> steps{{3, +1, 4}, {3, -1, 2}, {99, +1, 100}, {100, +1, 100},
        {2, -1, 1}, {1, -1, 1}, {0, +1, 1}, {0, -1, 1}, {200, -1, 199}, {255, +1, 100}};
    // clang-format on
    for (const auto& [lines, step, stepped] : steps) {
        EXPECT_EQ(SteppedScrollLines(static_cast<std::uint8_t>(lines), step), stepped) << lines << " " << step;
    }
    const std::optional<std::uint8_t> none;
    // clang-format off
    const std::vector<std::pair<std::string, std::optional<std::uint8_t>>> texts{{"1", 1}, {"100", 100},
        {"007", 7}, {" 5 ", 5}, {"0", none}, {"101", none}, {"", none}, {"   ", none}, {"-3", none}, {"+3", none},
        {"5x", none}, {"1 2", none}, {"99999999999999999999", none}, {"\xEF\xBC\x95", none}}; // a full-width 5
    // clang-format on
    for (const auto& [text, lines] : texts) {
        EXPECT_EQ(ScrollLinesOfText(text), lines) << '"' << text << '"';
    }
}

using Stages = std::array<std::uint8_t, kCpiStageCount>;
// cpiValue, cpiEnabled, sensitivityX, sensitivityY, angleSnap, lightMode, lightLevel, and every
// byte before the colours that differs from the block as returned, worked out by hand.
using EdgeCase = std::tuple<Stages, Stages, int, int, int, int, std::array<std::uint8_t, 3>, std::string>;

// Settings at the edges of their controls and past them, in a block as a mouse might return it:
// byte i holds 255 - i, so a byte that moves or is written by mistake shows.
TEST(SettingsBlockEdges, EveryByteOfTheBlockIsAsWorkedOut)
{
    // clang-format off
    const std::vector<EdgeCase> cases{
        // 8200 and 50 CPI, a switch byte 2 from a file, X 11 and Y 1, snap off at 1; "Single
        // color" at level 1 turns the light off.
        {{164, 1, 164, 1, 0x55, 0x66}, {1, 0, 2, 0, 1, 1}, 11, 1, 1, 1, {1, 6, 6},
         "2:01 50:42 51:00 64:0F 70:04 71:00 74:DC 75:14 "
         "84:A4 85:01 86:A4 87:01 92:A4 93:01 94:A4 95:01 100:05 "},
        // Y 13 is 260, kept to 8 bits; snap off again at 11; multi-colour at level 5.
        {{2, 3, 4, 5, 6, 7}, {1, 1, 1, 1, 0, 0}, 6, 13, 11, 3, {1, 1, 5},
         "2:01 50:42 51:00 64:0F 70:04 71:03 72:0F 74:78 75:04 "
         "84:02 85:03 86:04 87:05 92:02 93:03 94:04 95:05 100:0F "},
        // CPI codes 0 and 200 from a file go out unchanged; snap 10 is 0x8F; single colour level 6.
        {{0, 200, 1, 164, 0, 0}, {0, 0, 0, 0, 0, 0}, 1, 1, 10, 1, {6, 3, 3},
         "2:01 50:42 51:8F 64:0F 70:04 71:01 72:0C 73:03 74:14 75:14 "
         "84:00 85:C8 86:01 87:A4 92:00 93:C8 94:01 95:A4 100:00 "}};
    // clang-format on
    for (const auto& [cpiValue, cpiEnabled, x, y, snap, mode, lightLevel, expected] : cases) {
        ProfileRecord record{};
        std::tie(record.cpiValue, record.cpiEnabled, record.lightLevel) = std::tie(cpiValue, cpiEnabled, lightLevel);
        record.sensitivityX = static_cast<std::uint8_t>(x);
        record.sensitivityY = static_cast<std::uint8_t>(y);
        record.angleSnap = static_cast<std::uint8_t>(snap);
        record.lightMode = static_cast<std::uint8_t>(mode);
        std::iota(record.cpiColor.begin(), record.cpiColor.end(), std::uint8_t{1});
        std::array<std::uint8_t, kSettingsBlockSize> block{};
        std::iota(block.rbegin(), block.rend(), std::uint8_t{128}); // byte i holds 255 - i
        PatchSettingsBlock(record, block);

        std::string changed;
        for (std::size_t i = 0; i < 104; ++i) {
            if (block[i] != 255 - i) {
                changed += std::to_string(i) + ":" + HexBytes(std::span(block).subspan(i, 1)) + " ";
            }
        }
        EXPECT_EQ(changed, expected);
        // The colours of stages 1 to 4 only, then zeros.
        EXPECT_EQ(HexBytes(std::span(block).subspan(104)),
                  "01 02 03 04 05 06 07 08 09 0A 0B 0C 00 00 00 00 00 00 00 00 00 00 00 00");
    }
}

using namespace std::chrono_literals;
using namespace test;
using Names = std::vector<std::string>;

// "00 01 0C 04" followed by zeros up to the 128 bytes of a macro buffer, as HexBytes prints it.
std::string BufferHex(std::string_view leadingBytes)
{
    std::string hex(leadingBytes);
    for (std::size_t n = (hex.size() + 1) / 3; n < kMacroBufferSize; ++n) {
        hex += hex.empty() ? "00" : " 00";
    }
    return hex;
}

// Buffer n of the twelve.
std::string BufferOf(const MacroData& data, std::size_t n)
{
    return HexBytes(std::span(data).subspan(n * kMacroBufferSize, kMacroBufferSize));
}

MacroRecord Macro(int delayTimeSelStatus, int loopTimeSelStatus, std::string loopTimes,
                  const std::vector<std::string>& items, std::string name = "Macro_0")
{
    return {std::move(name), delayTimeSelStatus, loopTimeSelStatus, std::move(loopTimes), {items.begin(), items.end()}};
}

// A section as a save writes it.
std::string Section(std::string_view name, int delays, int loop, int loops, const std::vector<std::string>& items)
{
    std::string text = "[" + std::string(name) + "]\r\nDelayTimeSelStatus=" + std::to_string(delays) +
                       "\r\nLoopTimeSelStatus=" + std::to_string(loop) + "\r\nMacroLoopTimes=" + std::to_string(loops) +
                       "\r\nItemCount=" + std::to_string(items.size()) + "\r\n";
    for (std::size_t i = 0; i < items.size(); ++i) {
        text += "Item" + std::to_string(i) + "=" + items[i] + "\r\n";
    }
    return text;
}

// The macro file "record.ini" in a fresh directory.
class MacroFileTest : public testing::Test
{
protected:
    std::string Text() const { return ReadFileBytes(m_file.Path()); }
    void Write(std::string_view text) { WriteFileBytes(m_file.Path(), text); }

    TempDir m_dir;
    IconvTextCodec m_codec;
    IniFile m_file{m_dir / kMacroFileName, m_codec};
};

const std::string kAlpha = Section("Alpha", 1, 1, 5, {"A   Dn", "120 ms", "A   Up"});
const std::string kBeta = Section("Beta", 0, 0, 1, {"B   Dn", "B   Up"});
const std::string kGamma = Section("Gamma", 1, 0, 3, {"C   Dn"});
const std::string kAbc = kAlpha + kBeta + kGamma;

class MacroManagerModelTest : public MacroFileTest
{
protected:
    // The manager opens on Alpha, Beta and Gamma unless a test writes another file.
    MacroManagerModelTest()
    {
        m_canvas.sizes[std::string(kMacroManagerBackground)] = {500, 440};
        Write(kAbc);
    }

    // Opens a manager as the main window does, on the file as it stands.
    MacroManagerModel& Open(Language language = Language::English)
    {
        m_model = std::make_unique<MacroManagerModel>(
            MacroManagerContext{m_file, m_state, m_messages, language, Colour{200, 210, 220, 255}, &m_profiles});
        m_model->Open(m_canvas);
        return *m_model;
    }
    void Press(std::string_view key) { m_model->KeyPress(key, DialogKey::Other, false); }
    // A key as the view hands it over: its name, and what it means to the window.
    KeyOutcome Key(WindowKey key) { return m_model->KeyPress("", DialogKey::Other, false, key); }
    std::string FocusName() const
    {
        const auto at = m_model->FocusIndex();
        return at ? m_model->Controls()[*at].name : "<none>";
    }
    void Release(std::string_view key) { m_model->KeyRelease(key, true); }
    // What the view does with a name typed into the editor that two double-clicks open.
    void EditName(std::size_t line, std::string_view typed)
    {
        m_model->SelectMacro(line);
        m_model->DoubleClickMacro(line);
        ASSERT_TRUE(m_model->DoubleClickMacro(line));
        m_model->CommitMacroName(line, typed);
    }

    test::FakeClock m_clock;
    MacroManagerState m_state{m_clock};
    test::RecordingMessageSink m_messages;
    test::RecordingCanvas m_canvas;
    ProfileRecords m_records;
    ProfileRecord& m_record = m_records.Current;
    ButtonLabels m_labels;
    ButtonAssignment m_bindings{m_record, m_labels, Language::English};
    MacroProfiles m_profiles{m_records, m_labels, m_codec};
    std::unique_ptr<MacroManagerModel> m_model;
};

// A file edited by hand can hold more than twelve macros; the thirteenth has no working buffer,
// and its loop count was written past the end of the twelve.
TEST_F(MacroManagerModelTest, TheLoopFieldTakesOnly1To65535AndWritesTheBufferOfATwelfthAtMost)
{
    std::string text;
    for (int i = 0; i < 13; ++i) {
        text += "[M" + std::to_string(i) + "]\r\nMacroLoopTimes=1\r\n";
    }
    Write(text);
    auto& model = Open();
    model.LoopFieldChanged("300");
    EXPECT_EQ(BufferOf(model.WorkingBuffers(), 0), BufferHex("01 2C"));
    for (std::string_view bad : {"0", "65536", "", "99999999999"}) {
        model.LoopFieldChanged(bad);
        EXPECT_EQ(model.LoopFieldText(), "1") << bad;
        EXPECT_EQ(m_file.GetString("M0", "MacroLoopTimes"), "1") << bad;
    }
    model.SelectMacro(12);
    model.LoopFieldChanged("258");
    EXPECT_EQ(m_file.GetString("M12", "MacroLoopTimes"), "258");
    MacroData expected{};
    expected[1] = 0x01;
    EXPECT_EQ(model.WorkingBuffers(), expected);
}

// The rule takes the number after the last name's "_", or the count of macros; it could name a
// macro that exists, or the section of a macro whose rename waits for its save.
TEST_F(MacroManagerModelTest, NewNamesCountOnAfterTheLastNameUntilTheNameIsFreeAndStopAtTwelve)
{
    Write("[Macro_3]\r\nMacroLoopTimes=1\r\n[macro_4]\r\nMacroLoopTimes=1\r\n[Macro_2]\r\nMacroLoopTimes=1\r\n");
    Open();
    m_model->NewMacro();
    EditName(3, "Last");
    m_model->NewMacro();
    EXPECT_EQ(m_model->MacroNames(), (Names{"Macro_3", "macro_4", "Macro_2", "Last", "Macro_6"}));
    EXPECT_EQ(m_file.SectionNames(), (Names{"Macro_3", "macro_4", "Macro_2", "Macro_5", "Macro_6"}));

    auto& model = Open(Language::SimplifiedChinese);
    for (int i = 5; i < 12; ++i) {
        model.NewMacro();
    }
    const std::string before = Text();
    model.NewMacro();
    EXPECT_EQ(model.MacroNames().size(), 12u);
    EXPECT_EQ(m_messages.shown, (std::vector<Shown>{{Shown::Kind::Message, "最多可以新建12个宏。", "警告"}}));
    EXPECT_EQ(Text(), before);
}

TEST_F(MacroManagerModelTest, ARefusedRenameKeepsTheOldNameAndTheFile)
{
    const std::pair<std::string, std::vector<std::string>> cases[] = {
        {"Macro name is blank",
         {"", "   ", std::string(32, 'x'), "宏" + std::string(31, 'x'), "two\nlines", "[x", "x]"}},
        {"Macro name already exists", {"Gamma", "ALPHA"}}};
    for (const auto& [message, typedNames] : cases) {
        for (const std::string& typed : typedNames) {
            Write(kAbc);
            m_messages.shown.clear();
            auto& model = Open();
            EditName(1, typed);
            EXPECT_EQ(model.MacroNames(), (Names{"Alpha", "Beta", "Gamma"})) << typed;
            EXPECT_EQ(m_messages.shown, (std::vector<Shown>{{Shown::Kind::Message, message, "Warning"}})) << typed;
            model.Accept();
            EXPECT_EQ(Text(), kAbc) << typed;
        }
    }
}

// A rename removed the old section at once, so Cancel lost the macro; and it moved the macro to
// the end of the file, so a button bound to its number played another macro.
TEST_F(MacroManagerModelTest, ARenameReachesTheFileWithOkUnderTheSameNumberAndNotWithCancel)
{
    Open();
    EditName(1, "Renamed");
    m_model->Cancel();
    EXPECT_EQ(Text(), kAbc);

    auto& model = Open();
    EditName(1, "  Renamed ");
    model.SelectMacro(2);
    model.Accept();
    EXPECT_EQ(Text(), kAlpha + Section("Renamed", 0, 0, 1, {"B   Dn", "B   Up"}) + kGamma);
}

TEST_F(MacroManagerModelTest, MenuCommandsInsertWhereTheSelectionIsAndSave)
{
    auto& model = Open();
    model.RunMenuCommand(EventListCommand::InsertRightButton); // nothing selected, the list not empty
    model.SelectEvent(0);
    model.RunMenuCommand(EventListCommand::InsertMiddleButton);
    EXPECT_EQ(model.SelectedEvent(), 1u);
    model.SelectEvent(2);
    model.RunMenuCommand(EventListCommand::InsertDelay);
    model.SelectEvent(4);
    ASSERT_TRUE(model.DoubleClickEvent(4)); // the second click on a delay line opens its editor
    model.CommitDelay(4, "6553500 ms");
    EXPECT_EQ(Text(),
              Section("Alpha", 1, 1, 5, {"A   Dn", "M-Button   Dn", "50 ms", "M-Button   Up", "6553500 ms", "A   Up"}) +
                  kBeta + kGamma);
    // Into an empty list a button goes without a selection.
    model.NewMacro();
    model.RunMenuCommand(EventListCommand::InsertLeftButton);
    EXPECT_EQ(model.EventLines(), (Names{"L-Button   Dn", "L-Button   Up"}));
}

// A right click selects its line for the menu: the delay lands before the clicked line, and a
// second right click on a delay line opens no editor.
TEST_F(MacroManagerModelTest, TheMenuActsOnTheLineARightClickPointedAt)
{
    Write(Section("Alpha", 0, 0, 1, {"A   Dn", "B   Dn", "A   Up", "B   Up"}));
    auto& model = Open();
    model.SelectEvent(1);
    model.PointAtEvent(3);
    model.RunMenuCommand(EventListCommand::InsertDelay);
    EXPECT_EQ(model.EventLines(), (Names{"A   Dn", "B   Dn", "A   Up", "50 ms", "B   Up"}));
    model.PointAtEvent(3);
    EXPECT_FALSE(model.SelectEvent(3));
}

// An edited delay that is no number keeps the line and says what a delay looks like.
TEST_F(MacroManagerModelTest, ARefusedDelayIsSaid)
{
    Write(kAlpha);
    auto& model = Open(Language::SimplifiedChinese);
    model.RefuseDelay();
    EXPECT_EQ(m_messages.shown, (std::vector<Shown>{{Shown::Kind::Message,
                                                     "延时须为毫秒数，例如 120 或 120 ms。该行保持原值。", "警告"}}));
    EXPECT_EQ(Text(), kAlpha);
}

// A file far larger than the program writes is refused at once: it is neither read nor written,
// and OK leaves the profile's macros as they were.
TEST_F(MacroManagerModelTest, AMacroFileBeyondTheLimitIsRefusedWithAMessage)
{
    const std::string text = kAlpha + "[Padding]\r\nNote=" + std::string(kMaxMacroFileBytes, 'x') + "\r\n";
    Write(text);
    test::FileAccessCounter access(m_file.Path());
    auto& model = Open();
    EXPECT_EQ(m_messages.shown,
              (std::vector<Shown>{{Shown::Kind::Message,
                                   "The macro file record.ini is larger than 4 MB and was not read. Move it away to "
                                   "start a new one.",
                                   "Warning"}}));
    EXPECT_TRUE(model.MacroNames().empty());
    model.NewMacro();
    model.Accept();
    EXPECT_FALSE(model.Result().has_value());
    EXPECT_EQ(SaveMacro(m_file, Macro(0, 0, "1", {"A   Dn"}, "Alpha")), MacroSaveResult::FileTooLarge);
    EXPECT_EQ(access.Opens(), 0);
    EXPECT_EQ(access.Replacements(), 0);
}

// The macro file's numbers moved down under the buttons: they played the next macro.
TEST_F(MacroManagerModelTest, DeleteTakesOnlyTheHighlightedMacroAndRenumbersTheBindingsAfterIt)
{
    m_record.macroData = RebuildMacroData(m_file, 3);
    for (std::uint8_t button = 0; button < 3; ++button) {
        m_bindings.StoreMacroBinding(button, button, 1, std::array{"Alpha", "Beta", "Gamma"}[button]);
    }
    m_bindings.StoreSingleKey(3, "F");
    m_record.macroNumber[3] = 2; // left over from an older binding: not a macro binding
    auto& model = Open();
    // The list's highlight can go while the macro's events stay shown: Delete deleted a macro or a
    // line that the user did not see selected.
    model.SelectEvent(1);
    model.DeselectEvent();
    model.RunMenuCommand(EventListCommand::DeleteLine);
    model.DeselectMacro();
    model.DeleteMacro();
    EXPECT_EQ(model.EventLines().size(), 3u);
    EXPECT_EQ(Text(), kAbc);

    model.SelectMacro(1);
    model.DeleteMacro();
    EXPECT_EQ(Text(), kAlpha + kGamma);
    EXPECT_EQ(model.MacroNames(), (Names{"Alpha", "Gamma"}));
    EXPECT_TRUE(model.EventLines().empty());
    model.DeleteMacro();
    EXPECT_EQ(model.MacroNames().size(), 2u) << "nothing is selected after a delete";
    // Button 1's factory function is "Menu"; button 3's left-over macro number is no binding.
    EXPECT_EQ(std::tuple(m_record.macroNumber[2], m_record.macroNumber[3], m_labels[1]), std::tuple(1, 2, "Menu"));
    EXPECT_EQ(BufferOf(model.Accept(), 1), BufferHex("00 01 00 06"));
}

// The renumbering happened only in the window's current record: Cancel, a restart or another
// profile left buttons on the wrong macro or on one that no longer exists, and Save then sent it.
// Every profile's files now follow in the step that deletes the macro, and so do the current
// record and its backup.
TEST_F(MacroManagerModelTest, DeletingAMacroRewritesEveryProfileThatBindsItEvenWhenCancelled)
{
    const MacroData buffers = RebuildMacroData(m_file, 3);
    // Profile 0 binds Beta on button 3 and Gamma on button 4, profile 1 binds no macro, profile 2
    // Alpha on button 5; profile 3 is a file no load can read.
    const auto profile = [&](std::size_t slot, std::vector<std::pair<std::size_t, std::uint8_t>> bindings) {
        ProfileRecord record = FactoryProfile();
        record.macroData = buffers;
        ButtonLabels labels;
        ButtonAssignment assignment(record, labels, Language::English);
        for (const auto& [button, macro] : bindings) {
            assignment.StoreMacroBinding(button, macro, 1, std::array{"Alpha", "Beta", "Gamma"}[macro]);
        }
        EXPECT_FALSE(ConfigFile::Write(m_dir / ProfileConfigName(slot), 0, record));
        return record;
    };
    const ProfileRecord zero = profile(0, {{2, 1}, {3, 2}});
    WriteFileBytes(m_dir / "str0.ini", "[Setting-EN]\r\nItem3=Macro Key-Beta\r\nItem4=Macro Key-Gamma\r\n");
    const ProfileRecord one = profile(1, {});
    const ProfileRecord two = profile(2, {{4, 0}});
    const std::string broken(100, '\x01');
    WriteFileBytes(m_dir / "config3.bin", broken);
    m_records.Current = zero;
    m_records.Snapshot();
    m_labels = FactoryLabels(Language::English);
    m_labels[2] = "Macro Key-Beta";
    m_labels[3] = "Macro Key-Gamma";

    auto& model = Open();
    model.SelectMacro(1);
    model.DeleteMacro();
    model.Cancel();

    const auto shifted = [](ProfileRecord record) {
        std::copy_n(record.MacroBuffer(2).begin(), kMacroBufferSize, record.MacroBuffer(1).begin());
        std::fill_n(record.MacroBuffer(2).begin(), kMacroBufferSize, std::uint8_t{0});
        return record;
    };
    ProfileRecord zeroAfter = shifted(zero);
    zeroAfter.buttonFunction[2] = static_cast<std::uint8_t>(FunctionCode::UniversalScroll); // its factory function
    zeroAfter.macroNumber[3] = 1; // Gamma, now the second macro
    EXPECT_EQ(Text(), kAlpha + kGamma);
    EXPECT_EQ(ReadFileBytes(m_dir / "config0.bin"), ConfigFile::Encode(0, zeroAfter));
    EXPECT_EQ(ReadFileBytes(m_dir / "config1.bin"), ConfigFile::Encode(0, shifted(one)));
    EXPECT_EQ(ReadFileBytes(m_dir / "config2.bin"), ConfigFile::Encode(0, shifted(two)));
    EXPECT_EQ(ReadFileBytes(m_dir / "config3.bin"), broken);
    EXPECT_EQ(ReadFileBytes(m_dir / "str0.ini"),
              "[Setting-EN]\r\nItem3=Universal Scroll\r\nItem4=Macro Key-Gamma\r\n[Setting-CHS]\r\nItem3=中键\r\n"
              "[Setting-CHT]\r\nItem3=中鍵\r\n");
    EXPECT_FALSE(std::filesystem::exists(m_dir / "str1.ini")) << "no button of profile 1 lost its macro";
    EXPECT_FALSE(std::filesystem::exists(m_dir / "profiles.journal"));
    // The window's record and its backup follow, so that the main window's Cancel keeps them too.
    EXPECT_EQ(m_records.Current, zeroAfter);
    EXPECT_EQ(m_records.Backup, zeroAfter);
    EXPECT_EQ(m_labels[2], "Universal Scroll");
    EXPECT_TRUE(m_messages.shown.empty());
}

// A file of the step that cannot be kept in the journal stops the deletion before anything is
// written: the macro, its buttons and the list stay, and the user learns which file it was.
TEST_F(MacroManagerModelTest, ADeletionThatCannotBeJournalledChangesNothing)
{
    ProfileRecord record = FactoryProfile();
    ButtonLabels labels;
    ButtonAssignment(record, labels, Language::English).StoreMacroBinding(2, 1, 1, "Beta");
    ASSERT_FALSE(ConfigFile::Write(m_dir / "config0.bin", 1, record));
    std::filesystem::create_directory(m_dir / "str0.ini");
    m_records.Current = record;
    m_records.Snapshot();

    auto& model = Open();
    model.SelectMacro(1);
    model.DeleteMacro();
    EXPECT_EQ(Text(), kAbc);
    EXPECT_EQ(model.MacroNames(), (Names{"Alpha", "Beta", "Gamma"}));
    EXPECT_EQ(ReadFileBytes(m_dir / "config0.bin"), ConfigFile::Encode(1, record));
    EXPECT_EQ(m_records.Current, record);
    EXPECT_EQ(m_messages.shown,
              (std::vector<Shown>{{Shown::Kind::Message,
                                   "The macro could not be deleted; the macro file and the profiles were left as they "
                                   "are.\n" +
                                       (m_dir / "str0.ini").string() + ": It is a folder, not a file",
                                   "Warning"}}));
}

// A loop count or macro the file does not take was lost in silence: it is said, with the file and
// why, once for a run of failures (not at every key typed), and again after a write went through.
TEST_F(MacroManagerModelTest, AnEditTheMacroFileDoesNotTakeIsSaidOncePerRunOfFailures)
{
    Write(kAbc);
    auto& model = Open();
    const auto breakFile = [&] {
        std::filesystem::remove(m_file.Path());
        std::filesystem::create_directory(m_file.Path());
    };
    breakFile();
    model.LoopFieldChanged("3");
    model.LoopFieldChanged("31");
    model.Accept();
    std::filesystem::remove(m_file.Path());
    Write(kAbc);
    model.LoopFieldChanged("4");
    breakFile();
    model.LoopFieldChanged("5");
    const Shown refused{Shown::Kind::Message,
                        "The macro could not be saved; the macro file was left as it is.\n" + m_file.Path().string() +
                            ": It is a folder, not a file",
                        "Warning"};
    EXPECT_EQ(m_messages.shown, (std::vector<Shown>{refused, refused}));
}

// OK rebuilt the buffers from the file, which still held the old lines.
TEST_F(MacroManagerModelTest, AnEmptiedMacroStaysEmptyInTheFileAndTheMouse)
{
    for (const bool byRecording : {true, false}) {
        Write(kAbc);
        auto& model = Open();
        model.SelectMacro(2);
        if (byRecording) {
            model.ToggleRecording();
            model.ToggleRecording();
        } else {
            model.SelectEvent(0);
            model.RunMenuCommand(EventListCommand::DeleteLine);
        }
        EXPECT_EQ(Text(), kAlpha + kBeta + Section("Gamma", 1, 0, 3, {}));
        EXPECT_EQ(BufferOf(model.Accept(), 2), BufferHex(""));
    }
}

TEST_F(MacroManagerModelTest, ARecordingReplacesTheEventsAndIsSavedWhenItStops)
{
    auto& model = Open();
    model.ToggleRecording();
    Press("Q");
    m_clock.Advance(80ms);
    Release("Q");
    model.ToggleRecording();
    EXPECT_TRUE(model.LoopFieldEnabled());
    EXPECT_EQ(model.WindowText(), "Macro Manager");
    EXPECT_EQ(Text(), Section("Alpha", 1, 1, 5, {"Q   Dn", "80 ms", "Q   Up"}) + kBeta + kGamma);

    // Without a selection a recording goes into a new macro, and selecting another ends it there.
    model.DeselectMacro();
    model.ToggleRecording();
    Press("W");
    model.SelectMacro(1);
    EXPECT_FALSE(model.IsRecording());
    EXPECT_EQ(model.EventLines(), (Names{"B   Dn", "B   Up"}));

    // Enter after a stopped recording reached the dialog's default action, which closed it as OK
    // does but without the save and the rebuild: the caller got the unbuilt working buffers.
    model.ToggleLoopBox();
    model.LoopFieldChanged("2");
    EXPECT_EQ(model.KeyPress("Enter", DialogKey::Enter, false).close, MacroManagerClose::Ok);
    ASSERT_TRUE(model.Result());
    EXPECT_EQ(BufferOf(*model.Result(), 1), BufferHex("00 02 05 05 85 05"));
    EXPECT_EQ(Text(), Section("Alpha", 1, 1, 5, {"Q   Dn", "80 ms", "Q   Up"}) +
                          Section("Beta", 0, 1, 2, {"B   Dn", "B   Up"}) + kGamma +
                          Section("Macro_3", 1, 1, 1, {"W   Dn"}));
    EXPECT_EQ(*model.Result(), RebuildMacroData(m_file, 4));
}

// Tab walks every control in reading order (the loop-count field only while it can be typed
// into) and Shift+Tab back; while recording, Tab and Escape are the macro's keys.
TEST_F(MacroManagerModelTest, TabWalksTheControlsInReadingOrderAndNotDuringARecording)
{
    Open(Language::SimplifiedChinese);
    // clang-format off
    const Names withField{"选择宏", "按鍵序列", "开始录制", "记录按键动作间的延迟", "循环次数", "循环次数", "新建", "刪除",
                          "确定", "取消", "关闭", "选择宏"};
    // clang-format on
    Names walked{FocusName()};
    for (std::size_t i = 1; i < withField.size(); ++i) {
        Key(WindowKey::Tab);
        walked.push_back(FocusName());
    }
    EXPECT_EQ(walked, withField);
    Key(WindowKey::BackTab);
    EXPECT_EQ(FocusName(), "关闭");
    m_model->SelectMacro(1); // Beta: the loop box unticked, its field out of the walk
    for (int i = 0; i < 5; ++i) {
        Key(WindowKey::BackTab);
    }
    EXPECT_EQ(FocusName(), "循环次数");
    EXPECT_EQ(m_model->Controls()[*m_model->FocusIndex()].role, ControlRole::CheckBox);

    m_model->ToggleRecording();
    EXPECT_FALSE(Key(WindowKey::Tab).close);
    EXPECT_FALSE(m_model->KeyPress("Esc", DialogKey::Escape, false, WindowKey::Escape).close);
    EXPECT_EQ(FocusName(), "循环次数");
    EXPECT_TRUE(m_model->IsRecording());
}

// The arrows walk a list; the keys act on what is selected as the matching click would, and a
// key line walked to never opens the delay editor, which F2 opens.
TEST_F(MacroManagerModelTest, KeysWalkTheListsAndInsertRenameDeleteAndClose)
{
    auto& model = Open();
    Key(WindowKey::End);
    EXPECT_EQ(model.SelectedMacro(), 2u);
    Key(WindowKey::Home);
    Key(WindowKey::Up);
    EXPECT_EQ(model.SelectedMacro(), 0u);
    Key(WindowKey::Tab);
    for (int i = 0; i < 3; ++i) {
        EXPECT_FALSE(Key(WindowKey::Down).edit) << i;
        EXPECT_FALSE(Key(WindowKey::Up).edit) << i;
        Key(WindowKey::Down);
    }
    EXPECT_EQ(model.SelectedEvent(), 2u);
    Key(WindowKey::Up);
    const auto delay = Key(WindowKey::Rename).edit;
    ASSERT_TRUE(delay);
    EXPECT_EQ(delay->mode, LineEditorMode::DelayValue);
    EXPECT_EQ(delay->text, "120 ms");
    Key(WindowKey::Delete);
    Key(WindowKey::End);
    Key(WindowKey::Insert);
    EXPECT_EQ(model.EventLines(), (Names{"A   Dn", "50 ms", "A   Up"}));
    EXPECT_EQ(Text(), Section("Alpha", 1, 1, 5, {"A   Dn", "50 ms", "A   Up"}) + kBeta + kGamma);

    Key(WindowKey::BackTab);
    Key(WindowKey::Down);
    const auto rename = Key(WindowKey::Rename).edit;
    ASSERT_TRUE(rename);
    EXPECT_EQ(rename->mode, LineEditorMode::MacroName);
    EXPECT_EQ(rename->line, 1u);
    EXPECT_EQ(rename->text, "Beta");
    Key(WindowKey::Delete);
    EXPECT_EQ(model.MacroNames(), (Names{"Alpha", "Gamma"}));
    EXPECT_EQ(Text(), Section("Alpha", 1, 1, 5, {"A   Dn", "50 ms", "A   Up"}) + kGamma);

    // Return and Space press the focused button or box; Escape closes as the close area does.
    while (FocusName() != "Record delays between key commands") {
        Key(WindowKey::Tab);
    }
    Key(WindowKey::Space);
    EXPECT_TRUE(model.DelayBoxTicked()) << "Beta, shown last, had it unticked";
    Key(WindowKey::Tab);
    Key(WindowKey::Tab);
    EXPECT_EQ(FocusName(), "New");
    Key(WindowKey::Return);
    EXPECT_EQ(model.MacroNames(), (Names{"Alpha", "Gamma", "Macro_2"}));
    EXPECT_EQ(Key(WindowKey::Escape).close, MacroManagerClose::Cancel);
    EXPECT_FALSE(model.Result());
}

TEST_F(MacroManagerModelTest, TheSixtyFifthKeystrokeStopsAndSavesTheRecordingWithAWarning)
{
    auto& model = Open();
    model.NewMacro();
    model.ToggleRecording();
    for (int i = 0; i < 32; ++i) {
        Press("A");
        m_clock.Advance(10ms);
        Release("A");
        m_clock.Advance(10ms);
    }
    Press("Z");
    EXPECT_FALSE(model.IsRecording());
    EXPECT_EQ(m_file.GetString("Macro_3", "ItemCount"), "127");
    EXPECT_EQ(m_file.GetString("Macro_3", "Item126"), "A   Up");
    // 64 events are one more than the mouse holds; the last press that fits has no release. The
    // lines from the 63rd event on do not reach the mouse.
    const std::string tooLong = "The macro is too long for the mouse: only 62 of its 64 events reach it. The lines "
                                "that do not are struck through.";
    EXPECT_EQ(m_messages.shown, (std::vector<Shown>{{Shown::Kind::Message, tooLong, "Warning"}}));
    EXPECT_EQ(model.FirstLeftOutLine(), 124u);
    // Shown again later, the macro's lines are marked the same.
    model.NewMacro();
    EXPECT_EQ(model.FirstLeftOutLine(), std::nullopt);
    model.SelectMacro(3);
    EXPECT_EQ(model.FirstLeftOutLine(), 124u);
}

// A key held from the first event on leaves the mouse nothing, which the message says.
TEST_F(MacroManagerModelTest, AKeyHeldThroughALongMacroLeavesTheMouseNothingAndSaysSo)
{
    auto& model = Open(Language::TraditionalChinese);
    model.NewMacro();
    model.ToggleRecording();
    Press("Shift");
    for (int i = 0; i < 31; ++i) {
        m_clock.Advance(10ms);
        Press("A");
        m_clock.Advance(10ms);
        Release("A");
    }
    Release("Shift");
    model.ToggleRecording();
    EXPECT_EQ(m_messages.shown,
              (std::vector<Shown>{{Shown::Kind::Message,
                                   "巨集太長，滑鼠無法容納：64 個事件都未送達滑鼠，因為有按鍵一直按住超出滑鼠的容量。"
                                   "滑鼠得到的是空巨集。",
                                   "警告"}}));
    EXPECT_EQ(model.FirstLeftOutLine(), 0u);
}

// The macro key dialog, which binds a button to a macro.
constexpr Point kMacroBox{90, 136};
constexpr Point kBindingOk{279, 262};
constexpr std::array<Point, 3> kModeBox{{{228, 86}, {228, 136}, {228, 186}}};

// The dropdown (42, 146, 151, 286): a one-pixel border, 16-pixel lines, eight of them shown.
constexpr Point kFirstLine{90, 147 + 8};

class MacroKeyBindingTest : public MacroFileTest
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

TEST_F(MacroKeyBindingTest, OkGivesThePickedMacrosNumberAndModeAndWithoutAPickNothing)
{
    MacroKeyBindingModel& unpicked = Open(3);
    unpicked.Press(kMacroBox);
    unpicked.Press(kModeBox[1]);
    EXPECT_EQ(unpicked.Press(kBindingOk), DialogAction::Accept);
    EXPECT_FALSE(unpicked.Result().has_value());

    MacroKeyBindingModel& model = Open(3);
    EXPECT_EQ(model.Press(kMacroBox), DialogAction::None);
    EXPECT_EQ(model.Press({90, kFirstLine.y + 16 * 2}), DialogAction::None);
    EXPECT_EQ(model.Press(kModeBox[2]), DialogAction::None);
    EXPECT_EQ(model.Press(kBindingOk), DialogAction::Accept);
    EXPECT_EQ(model.Result(), (MacroBindingChoice{2, 2, "Macro_3"}));
}

TEST_F(MacroKeyBindingTest, EscapeClosesTheDropdownOnly)
{
    MacroKeyBindingModel& model = Open(3);
    EXPECT_FALSE(model.Escape());
    model.Press(kMacroBox);
    ASSERT_TRUE(model.Dropdown().has_value());
    EXPECT_TRUE(model.Escape());
    EXPECT_FALSE(model.Dropdown().has_value());
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

TEST(ListLineEditorModel, ADelayCommitsAsDigitsAndMsOrNotAtAll)
{
    // A bare number is milliseconds too; what is no number is refused.
    // clang-format off
    const std::pair<std::string, std::optional<std::string>> cases[] = {{"7000000 ms", "6553500 ms"},
        {"123456789012345678901234567890 ms", "6553500 ms"}, {"0 120 ms", "0120 ms"}, {"  75  ms  ", "75 ms"},
        {"ms", " ms"}, {"00000000000001 ms", "00000000000001 ms"}, {"12a ms", std::nullopt}, {"250", "250 ms"},
        {" 9 000 ", "9000 ms"}, {"99999999", "6553500 ms"}, {"", std::nullopt}, {"-5", std::nullopt},
        {"12ms34", std::nullopt}};
    // clang-format on
    for (const auto& [edited, line] : cases) {
        EXPECT_EQ(ListLineEditorModel::CommittedText(LineEditorMode::DelayValue, edited), line) << edited;
    }
}

// The focus leaves the editor as it goes: that must not commit a second time.
TEST(ListLineEditorModel, CommitsOnceAndEscapeAppliesNothing)
{
    // clang-format off
    const std::pair<LineEditorInput, bool> cases[] = {{LineEditorInput::Enter, true}, {LineEditorInput::Tab, true},
        {LineEditorInput::PressOutside, true}, {LineEditorInput::FocusLost, true}, {LineEditorInput::Escape, false}};
    // clang-format on
    for (const auto& [input, commits] : cases) {
        ListLineEditorModel editor(LineEditorMode::DelayValue);
        ASSERT_TRUE(editor.BeginEdit(1, 4));
        const auto outcome = editor.Input(input, "300 ms");
        EXPECT_TRUE(outcome.ended);
        EXPECT_FALSE(editor.IsOpen());
        EXPECT_EQ(outcome.commit ? std::to_string(outcome.commit->line) + ": " + outcome.commit->text : "none",
                  commits ? "1: 300 ms" : "none");
        EXPECT_FALSE(editor.Input(LineEditorInput::FocusLost, "300 ms").commit);
    }
}

// A delay that is no number ends the edit without a commit, refused so that the user hears of it;
// Escape and the name modes refuse nothing.
TEST(ListLineEditorModel, ATextThatIsNoDelayIsRefusedNotDropped)
{
    const std::tuple<LineEditorMode, LineEditorInput, std::string, bool> cases[] = {
        {LineEditorMode::DelayValue, LineEditorInput::Enter, "soon", true},
        {LineEditorMode::DelayValue, LineEditorInput::FocusLost, "12a ms", true},
        {LineEditorMode::DelayValue, LineEditorInput::Escape, "soon", false},
        {LineEditorMode::DelayValue, LineEditorInput::Enter, "120", false},
        {LineEditorMode::MacroName, LineEditorInput::Enter, "soon", false}};
    for (const auto& [mode, input, text, refused] : cases) {
        ListLineEditorModel editor(mode);
        ASSERT_TRUE(editor.BeginEdit(0, 1));
        const auto outcome = editor.Input(input, text);
        EXPECT_TRUE(outcome.ended) << text;
        EXPECT_EQ(outcome.refused, refused) << text;
        EXPECT_EQ(outcome.refused && outcome.commit.has_value(), false) << text;
    }
}

using Lines = std::vector<std::string>;

// Drives a started recorder the way the manager does and keeps the lines it appends. The limit
// of 64 events is the manager's test: there the recording also stops and is saved.
class MacroRecorderTest : public testing::Test
{
protected:
    MacroRecorderTest() { m_recorder.Start(); }

    void Press(std::string_view key, bool alreadyDown = false) { Feed({key, false, alreadyDown}); }
    void Release(std::string_view key) { Feed({key, true, true}); }
    void Feed(const RecorderKeyEvent& event)
    {
        const RecorderStep step = m_recorder.KeyEvent(event, true);
        ASSERT_LE(step.retract, lines.size());
        lines.resize(lines.size() - step.retract);
        for (const MacroItem& item : step.lines) {
            lines.push_back(item.Text());
        }
    }

    test::FakeClock m_clock;
    MacroRecorder m_recorder{m_clock};
    Lines lines;
};

// A held key repeats as presses flagged as repeats, or (X11) as release and press pairs at one
// instant that are not always flagged: either way it is one press and one release.
TEST_F(MacroRecorderTest, HoldingAKeyForASecondRecordsOnePressADelayAndTheRelease)
{
    Press("B");
    m_clock.Advance(20ms);
    Release("B");
    m_clock.Advance(100ms);
    Press("A");
    for (int repeat = 0; repeat < 30; ++repeat) {
        m_clock.Advance(33ms);
        if (repeat < 15) {
            Press("A", true);
        } else {
            Release("A");
            Press("A");
            Press("A"); // a key that is down is not pressed again
        }
    }
    m_clock.Advance(10ms);
    Release("A");
    m_clock.Advance(60ms);
    Press("A"); // a new stroke of the key after a real release
    m_clock.Advance(40ms);
    Release("A");
    EXPECT_EQ(lines, (Lines{"B   Dn", "20 ms", "B   Up", "100 ms", "A   Dn", "1000 ms", "A   Up", "60 ms", "A   Dn",
                            "40 ms", "A   Up"}));
    EXPECT_EQ(m_recorder.RecordedEventCount(), 6u);
}

// A key held when the recording starts is released before anything was pressed: there is no
// earlier event of this recording to measure a wait from, even when an older recording left one.
// Key names are cut to the 31 characters of their buffer.
TEST_F(MacroRecorderTest, AReleaseBeforeTheFirstPressCarriesNoDelay)
{
    Press("X");
    m_recorder.Stop();
    m_clock.Advance(5000ms);
    lines.clear();

    m_recorder.Start();
    m_clock.Advance(700ms);
    Release("Ctrl");
    m_clock.Advance(300ms);
    const std::string longName(40, 'K');
    Press(longName);
    m_clock.Advance(40ms);
    Release(longName);
    const std::string cut(31, 'K');
    EXPECT_EQ(lines, (Lines{"Ctrl   Up", cut + "   Dn", "40 ms", cut + "   Up"}));
}

// Macro k: one press of A looped k + 1 times.
const std::string kTail = Section("Macro_1", 0, 1, 2, {"A   Dn"}) + Section("Macro_2", 0, 1, 3, {"A   Dn"});
const std::string kOnePressMacros = Section("Macro_0", 0, 1, 1, {"A   Dn"}) + kTail;

TEST_F(MacroFileTest, SaveRewritesTheSectionWhereItStandsAndLoadsItBack)
{
    Write(kOnePressMacros);
    const MacroRecord record = Macro(1, 0, "5", {"B   Dn", "20 ms", "B   Up"}, "Macro_0");
    ASSERT_EQ(SaveMacro(m_file, record), MacroSaveResult::Saved);
    EXPECT_EQ(Text(), "[Macro_0]\r\nDelayTimeSelStatus=1\r\nLoopTimeSelStatus=0\r\nMacroLoopTimes=5\r\nItemCount=3\r\n"
                      "Item0=B   Dn\r\nItem1=20 ms\r\nItem2=B   Up\r\n" +
                          kTail);
    EXPECT_EQ(LoadMacro(m_file, "Macro_0"), record);

    // A shorter macro leaves none of its old item keys behind.
    ASSERT_EQ(SaveMacro(m_file, Macro(1, 0, "5", {"C   Up"}, "Macro_0")), MacroSaveResult::Saved);
    EXPECT_EQ(Text(), Section("Macro_0", 1, 0, 5, {"C   Up"}) + kTail);
    EXPECT_EQ(BufferOf(RebuildMacroData(m_file, 3), 0), BufferHex("00 01 80 06"));
}

TEST_F(MacroFileTest, SaveRefusesBadNamesAndTextsBeforeWritingAnything)
{
    EXPECT_EQ(SaveMacro(m_file, Macro(1, 0, "1", {"A   Dn"})), MacroSaveResult::NoFile);
    EXPECT_FALSE(m_file.Exists());
    Write(kOnePressMacros);
    for (const char* name : {"", "   ", "Bad]Name", "[Bad", "Line\nBreak"}) {
        EXPECT_EQ(SaveMacro(m_file, Macro(1, 0, "1", {"A   Dn"}, name)), MacroSaveResult::RefusedName) << name;
        EXPECT_EQ(WriteLoopTimes(m_file, name, 1), IniWriteResult::RefusedName) << name;
    }
    EXPECT_EQ(SaveMacro(m_file, Macro(1, 0, "1", {"A   Dn", "B\r\nItem9=x"})), MacroSaveResult::RefusedValue);
    EXPECT_EQ(SaveMacro(m_file, Macro(1, 0, "1\n[Evil]", {"A   Dn"})), MacroSaveResult::RefusedValue);
    EXPECT_EQ(Text(), kOnePressMacros);
}

// A delete of a section that is not there changes nothing; the manager's test deletes one that is.
TEST_F(MacroFileTest, WriteLoopTimesAndDeleteKeepTheOtherSectionsInOrder)
{
    ASSERT_EQ(WriteLoopTimes(m_file, "Macro_0", 1), IniWriteResult::Written);
    ASSERT_EQ(WriteLoopTimes(m_file, "Macro_1", 1), IniWriteResult::Written);
    ASSERT_EQ(WriteLoopTimes(m_file, "Macro_0", 65535), IniWriteResult::Written);
    EXPECT_FALSE(DeleteMacroSection(m_file, "Macro_2"));
    EXPECT_EQ(Text(), "[Macro_0]\r\nMacroLoopTimes=65535\r\n[Macro_1]\r\nMacroLoopTimes=1\r\n");
}

// A hand-edited "ItemCount" of two thousand million used to read that many keys.
TEST_F(MacroFileTest, LoadReadsAHandWrittenFileNoFurtherThanTheLastItemKey)
{
    Write("; written by hand\n[ Macro_0 ]\r\n  DelayTimeSelStatus = 1 \r\nLoopTimeSelStatus=  1\n"
          "MacroLoopTimes = \"300\"\r\nitemcount=4\r\nItem0 = A   Dn\r\nItem1=\"1550 ms\"\n"
          "Item2=   A   Up   \r\nITEM3='Num Lock   Dn'\r\n"
          "[Huge]\r\nItemCount=2000000000\r\nItem0=A   Dn\r\nItem1=A   Up\r\n"
          "[Far]\r\nItemCount=2000000000\r\nItem1999999999=A   Dn\r\n"
          "[Gap]\r\nItemCount=3\r\nItem0=A   Dn\r\nItem2=A   Up\r\nItem7=B   Dn\r\n"
          "[NoItems]\r\nLoopTimeSelStatus=1\r\nMacroLoopTimes=7\r\nItemCount=5\r\n");
    EXPECT_EQ(ListMacroNames(m_file), (std::vector<std::string>{"Macro_0", "Huge", "Far", "Gap", "NoItems"}));
    EXPECT_EQ(LoadMacro(m_file, "Macro_0"),
              Macro(1, 1, "300", {"A   Dn", "1550 ms", "A   Up", "Num Lock   Dn"}, "Macro_0"));
    // With recorded delays a key line after an event is no wait: the release waits nothing.
    EXPECT_EQ(BufferOf(RebuildMacroData(m_file, 1), 0), BufferHex("01 2C 32 04 0F 03 80 04 00 53"));
    EXPECT_EQ(LoadMacro(m_file, "Huge").items, Macro(0, 0, "", {"A   Dn", "A   Up"}).items);
    EXPECT_EQ(LoadMacro(m_file, "Far").items.size(), 1u);
    EXPECT_EQ(LoadMacro(m_file, "Gap").items, Macro(0, 0, "", {"A   Dn", "", "A   Up"}).items);
    EXPECT_EQ(test::HexBytes(EncodeMacro(LoadMacro(m_file, "NoItems"))), BufferHex("00 07"));
}

constexpr std::string_view kThreeMacros = "[First]\r\nMacroLoopTimes=1\r\nItemCount=1\r\nItem0=A   Dn\r\n"
                                          "[Second]\r\nDelayTimeSelStatus=1\r\nMacroLoopTimes=7\r\n"
                                          "[Third]\r\nMacroLoopTimes=2\r\nItem0=B   Up\r\n";

// A refused rename changes nothing; a rename keeps every section where it stands.
TEST_F(MacroFileTest, RenameKeepsTheSectionAndEveryLaterOneWhereTheyStand)
{
    Write(kThreeMacros);
    EXPECT_FALSE(RenameMacroSection(m_file, "Second", "third"));
    EXPECT_FALSE(RenameMacroSection(m_file, "Second", "a]b"));
    EXPECT_FALSE(RenameMacroSection(m_file, "Missing", "Other"));
    EXPECT_EQ(Text(), kThreeMacros);

    ASSERT_TRUE(RenameMacroSection(m_file, "Second", "Renamed"));
    std::string renamed(kThreeMacros);
    EXPECT_EQ(Text(), renamed.replace(renamed.find("Second"), 6, "Renamed"));
}

// A save is one read and one atomic replacement, so a crash leaves the old section or the new
// one, never half of it.
TEST_F(MacroFileTest, EveryOperationReadsOnceAndWritesAtMostOnce)
{
    const std::tuple<const char*, std::function<void()>, int, int> cases[] = {
        {"rebuild", [&] { RebuildMacroData(m_file, 3); }, 1, 0},
        {"save", [&] { EXPECT_EQ(SaveMacro(m_file, Macro(1, 1, "3", {"A   Dn"}, "Macro_1")), MacroSaveResult::Saved); },
         1, 1},
        {"refused save",
         [&] { EXPECT_EQ(SaveMacro(m_file, Macro(1, 0, "1", {"B\nI=x"})), MacroSaveResult::RefusedValue); }, 0, 0},
        {"delete", [&] { EXPECT_TRUE(DeleteMacroSection(m_file, "Macro_1")); }, 1, 1}};
    for (const auto& [name, operation, opens, replacements] : cases) {
        Write(kOnePressMacros);
        test::FileAccessCounter access(m_file.Path());
        operation();
        EXPECT_EQ(access.Opens(), opens) << name;
        EXPECT_EQ(access.Replacements(), replacements) << name;
    }
}

// Two loop bytes, then entries of a wait byte (release bit 0x80, tens of ms) and a key code; a
// longer wait extends the entry by "03 hundreds" or "03 00 hundreds-high hundreds-low".
// Each case: DelayTimeSelStatus, LoopTimeSelStatus, MacroLoopTimes, the items, and the buffer's
// leading bytes (zeros after them).
const std::tuple<int, int, std::string, std::vector<std::string>, std::string> kEncodings[] = {
    // A recorded delay goes into the event before it; without recorded delays every event waits 50 ms.
    {1, 0, "5", {"A   Dn", "120 ms", "A   Up"}, "00 01 0C 04 80 04"},
    {0, 1, "3", {"A   Dn", "A   Up"}, "00 03 05 04 85 04"},
    {0, 1, "1", {"A   Dn", "1550 ms", "A   Up"}, "00 01 32 04 0F 03 85 04"},
    // clang-format off
    {1, 0, "1", {"A   Dn", "1270 ms", "A   Dn", "1271 ms", "A   Up", "25500 ms", "A   Up", "25501 ms"},
        "00 01 7F 04 47 04 0C 03 80 04 FF 03 81 04 00 03 00 FF"},
    {1, 0, "1", {"B   Up", "9 ms"}, "00 01 80 05"},
    {1, 0, "1", {"B   Up", "10 ms"}, "00 01 81 05"},
    // The wide entry's 16 bits of hundreds end at 6553500 ms; longer waits are cut to that.
    {1, 0, "1", {"B   Up", "6553599 ms"}, "00 01 E3 05 00 03 FF FF"},
    {1, 0, "1", {"B   Up", "4294967295 ms"}, "00 01 80 05 00 03 FF FF"},
    {1, 0, "1", {"B   Up", "-50 ms"}, "00 01 80 05"},
    {1, 0, "1", {"B   Up", "12a ms"}, "00 01 81 05"},
    {1, 0, "1", {"B   Up", "0120 ms"}, "00 01 8C 05"},
    // Only "   Dn" (first) and "   Up" make an event: "A   Up   Dn" presses a key "A   Up".
    {0, 0, "1", {"A  Dn", "A   Up   Dn", "Num Lock   Up", ""}, "00 01 05 00 85 53"},
    {1, 0, "1", {"50 ms", "A   Dn", "100 ms", "200 ms", "A   Up"}, "00 01 0A 04 80 04"},
    // Mouse buttons have codes of their own and wait nothing with recorded delays; unknown keys send 00.
    {1, 0, "1", {"L-Button   Dn", "L-Button   Up"}, "00 01 00 F0 80 F0"},
    {0, 0, "1", {"R-Button   Dn", "M-Button   Up", "b   Dn", "Application   Dn", "No Such Key   Dn"},
        "00 01 05 F1 85 F2 05 00 05 00 05 00"},
    // clang-format on
    // The loop count applies when its box is ticked and it lies in 1 to 65535; otherwise it is 1.
    {1, 1, "256", {"A   Dn"}, "01 00 00 04"},
    {1, 1, "65535", {"A   Dn"}, "FF FF 00 04"},
    {1, 1, "0", {"A   Dn"}, "00 01 00 04"},
    {1, 1, "70000", {"A   Dn"}, "00 01 00 04"},
    {1, 0, "300", {"A   Dn"}, "00 01 00 04"}};

TEST(MacroEncoder, GivesTheBufferTheMouseTakes)
{
    for (const auto& [delays, loop, loops, items, bytes] : kEncodings) {
        EXPECT_EQ(HexBytes(EncodeMacro(Macro(delays, loop, loops, items))), BufferHex(bytes)) << bytes;
    }
}

// count presses and releases of A in turn without recorded delays: one entry of 50 ms each.
MacroRecord ShortEvents(std::size_t count)
{
    MacroRecord record = Macro(0, 0, "1", {});
    for (std::size_t i = 0; i < count; ++i) {
        record.items.push_back(i % 2 == 0 ? MacroItem::Press("A") : MacroItem::Release("A"));
    }
    return record;
}

std::string ShortEventsHex(std::size_t count)
{
    std::string hex = "00 01";
    for (std::size_t i = 0; i < count; ++i) {
        hex += i % 2 == 0 ? " 05 04" : " 85 04";
    }
    return hex;
}

// 63 entries fit. A macro cut after the last event that fits could end on a press whose release
// was left out: the mouse would hold the key for ever.
TEST(MacroEncoder, ALongMacroIsCutWhereEveryKeyIsReleased)
{
    // Events of A, lines after them, the bytes, and what reached the mouse: events reached, of
    // how many, and the first line that did not reach it.
    const std::tuple<std::size_t, std::vector<std::string>, std::string, MacroFit> cases[] = {
        {64, {}, ShortEventsHex(62), {64, 62, 62}},
        // Everything fits: a press without its release is the user's own choice.
        {63, {}, ShortEventsHex(62) + " 05 04", {63, 63, 63}},
        // The wait after B needs four bytes, two are left; C would fit, but comes after.
        {62, {"B   Dn", "2000 ms", "C   Dn"}, ShortEventsHex(62), {64, 62, 62}},
        // Keys held across each other: the cut goes back to before the first of them.
        {60, {"B   Dn", "C   Dn", "B   Up", "C   Up"}, ShortEventsHex(60), {64, 60, 60}}};
    for (const auto& [events, more, hex, expected] : cases) {
        MacroRecord record = ShortEvents(events);
        for (const std::string& line : more) {
            record.items.emplace_back(line);
        }
        MacroFit fit;
        EXPECT_EQ(HexBytes(EncodeMacro(record, &fit)), BufferHex(hex)) << events;
        EXPECT_EQ(std::tie(fit.events, fit.reached, fit.firstLeftOutLine),
                  std::tie(expected.events, expected.reached, expected.firstLeftOutLine))
            << events;
    }

    // Shift held from the first event past the room: nothing reaches the mouse, whose macro is
    // then empty, loop bytes included; the delay after Shift is its own, so every line is left out.
    MacroRecord held = ShortEvents(64);
    held.LoopTimeSelStatus = 1;
    held.MacroLoopTimes = "3";
    held.items.insert(held.items.begin(), {MacroItem::Press("Shift"), MacroItem::Delay(50)});
    held.items.push_back(MacroItem::Release("Shift"));
    MacroFit fit;
    EXPECT_EQ(HexBytes(EncodeMacro(held, &fit)), BufferHex(""));
    EXPECT_EQ(std::tie(fit.events, fit.reached, fit.firstLeftOutLine), std::make_tuple(66u, 0u, 0u));

    // An extended entry that ends exactly at the last byte is kept.
    MacroRecord full = ShortEvents(61);
    full.DelayTimeSelStatus = 1;
    for (std::size_t i = 1; i < full.items.size(); i += 2) {
        full.items.insert(full.items.begin() + static_cast<std::ptrdiff_t>(i), MacroItem::Delay(50));
    }
    full.items.push_back(MacroItem::Delay(50));
    full.items.push_back(MacroItem::Press("B"));
    full.items.push_back(MacroItem::Delay(2000));
    EXPECT_EQ(HexBytes(EncodeMacro(full)), BufferHex(ShortEventsHex(61) + " 00 05 14 03"));
}

} // namespace
} // namespace veldrane
