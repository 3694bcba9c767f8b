#include "core/buttons/ButtonAssignment.h"

#include <gtest/gtest.h>

#include <numeric>
#include <string>
#include <tuple>
#include <vector>

#include "core/buttons/KeyMatrixBlock.h"
#include "core/buttons/RecordingAssignmentDialogs.h"
#include "core/profile/FactoryDefaults.h"
#include "ports/TextMeasure.h"
#include "screens/buttons/AssignmentMenuModel.h"
#include "support/HexBytes.h"
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
Point BoxPoint(int row)
{
    return {185, 142 + 20 * row};
}
Point EntryPoint(int row, int entry)
{
    return {185, 150 + 20 * row + 1 + 16 * entry + 8};
}

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

// Measures 8 pixels a byte in lines 14 pixels high: entries take 18-pixel rows.
class EightPixelMeasure : public TextMeasure
{
public:
    int PixelSize(FontRole) const override { return 12; }
    Size WrappedSize(std::string_view utf8, FontRole, int, int) const override
    {
        return {8 * static_cast<int>(utf8.size()), 14};
    }
};

// Measured, a list opens right under its box, left-aligned and as wide as its longest entry
// ("Right Title Scroll", 144 pixels, with 8 either side and the border), over the box where the
// window has no room below; a submenu opens beside its entry, left of the list where the window
// has no room on the right. A window too narrow for a list cuts its entries, whose whole text
// the tooltip gives.
TEST_F(ButtonAssignmentTest, MeasuredListsOpenUnderTheirBoxesAsWideAsTheirEntries)
{
    const EightPixelMeasure measure;
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

struct BrokenButtonCase
{
    const char* name;
    std::uint8_t function;
    std::size_t parameterOffset; // the byte of button 2's parameter array, 0 for none
    std::uint8_t parameter;
    bool kept; // a value the menus produce stays
};

class MenuRangeTest : public testing::TestWithParam<BrokenButtonCase>
{
};

// A damaged import of the right size left Buttons 1 and 2 sending 00 00 00 00 under empty labels:
// a function or parameter that no menu produces gives the button its factory function (button 2
// is "Menu"), the other buttons keep theirs.
TEST_P(MenuRangeTest, AFunctionNoMenuProducesBecomesTheFactoryFunction)
{
    const BrokenButtonCase& broken = GetParam();
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

INSTANTIATE_TEST_SUITE_P(Codes, MenuRangeTest,
                         testing::Values(BrokenButtonCase{"CodeBeyondTheList", 16, 0, 0, false},
                                         BrokenButtonCase{"CodeFF", 0xFF, 0, 0, false},
                                         BrokenButtonCase{"CpiActionZero", 6, 0x048, 0, false},
                                         BrokenButtonCase{"CpiLoop", 6, 0x048, 3, true},
                                         BrokenButtonCase{"MediaUsageNoEntryHas", 7, 0x060, 0x01, false},
                                         BrokenButtonCase{"VolumeDown", 7, 0x060, 0xEA, true},
                                         BrokenButtonCase{"SystemCommandBeyondRun", 9, 0x06C, 7, false},
                                         BrokenButtonCase{"EditKeyNoEntryHas", 8, 0x09C, 0x05, false},
                                         BrokenButtonCase{"SingleKeyNoRowHas", 10, 0x0A8, 0xFF, false},
                                         BrokenButtonCase{"SingleKeyOfAnotherLayout", 10, 0x0A8, 0, true},
                                         BrokenButtonCase{"ComboModifierOfTwoBits", 11, 0x0B4, 0x03, false},
                                         BrokenButtonCase{"MacroThirteen", 12, 0x108, 12, false},
                                         BrokenButtonCase{"MacroRepeatMode3", 12, 0x114, 3, false},
                                         BrokenButtonCase{"MacroTwelveRepeatMode2", 12, 0x108, 11, true}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace veldrane
