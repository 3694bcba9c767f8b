#include "buttons/ButtonAssignment.h"

#include <gtest/gtest.h>

#include <numeric>

#include "buttons/KeyMatrixBlock.h"
#include "support/HexBytes.h"

namespace veldrane {
namespace {

using test::HexBytes;

// A record in which every byte differs, so a store that touches a byte it should not is seen.
ProfileRecord Patterned()
{
    ProfileRecord record{};
    auto bytes = record.Bytes();
    std::iota(bytes.begin(), bytes.end(), std::uint8_t{7});
    return record;
}

class ButtonAssignmentTest : public testing::Test
{
protected:
    ButtonAssignment Assign(Language language) { return ButtonAssignment(m_record, m_labels, language); }

    ProfileRecord m_record = Patterned();
    ButtonLabels m_labels = {"l1", "l2", "l3", "l4", "l5", "l6", "l7", "l8", "l9", "l10", "l11", "l12"};
};

TEST_F(ButtonAssignmentTest, PlainFunctionSetsCodeAndMainListText)
{
    ProfileRecord expected = m_record;
    expected.buttonFunction[2] = 13;
    EXPECT_TRUE(Assign(Language::English).StorePlainFunction(2, FunctionCode::ButtonOff));
    EXPECT_EQ(m_record, expected);
    EXPECT_EQ(m_labels[2], "Button Off");
    EXPECT_EQ(m_labels[1], "l2");
    EXPECT_EQ(m_labels[3], "l4");
}

struct PlainLabelCase
{
    Language language;
    FunctionCode code;
    const char* label;
};

class PlainFunctionLabel : public ButtonAssignmentTest, public testing::WithParamInterface<PlainLabelCase>
{
};

TEST_P(PlainFunctionLabel, IsTheEntryTextOfTheLanguage)
{
    ASSERT_TRUE(Assign(GetParam().language).StorePlainFunction(0, GetParam().code));
    EXPECT_EQ(m_record.buttonFunction[0], static_cast<std::uint8_t>(GetParam().code));
    EXPECT_EQ(m_labels[0], GetParam().label);
}

INSTANTIATE_TEST_SUITE_P(
    Languages, PlainFunctionLabel,
    testing::Values(PlainLabelCase{Language::English, FunctionCode::Click, "Click"},
                    PlainLabelCase{Language::English, FunctionCode::IeBackward, "IE Backward"},
                    PlainLabelCase{Language::English, FunctionCode::RightTitleScroll, "Right Title Scroll"},
                    PlainLabelCase{Language::SimplifiedChinese, FunctionCode::Menu, "右键"},
                    PlainLabelCase{Language::SimplifiedChinese, FunctionCode::LeftTitleScroll, "左摇摆滚轮"},
                    PlainLabelCase{Language::TraditionalChinese, FunctionCode::DoubleClick, "双击"},
                    PlainLabelCase{Language::TraditionalChinese, FunctionCode::ButtonOff, "按鍵關閉"}));

TEST_F(ButtonAssignmentTest, PlainStoreRefusesCodesThatNeedAParameter)
{
    const ProfileRecord before = m_record;
    const ButtonLabels labelsBefore = m_labels;
    ButtonAssignment assignment = Assign(Language::English);
    for (std::uint8_t code : {6, 7, 8, 9, 10, 11, 12, 16, 255}) {
        EXPECT_FALSE(assignment.StorePlainFunction(0, static_cast<FunctionCode>(code))) << int(code);
    }
    EXPECT_EQ(m_record, before);
    EXPECT_EQ(m_labels, labelsBefore);
}

struct SubmenuCase
{
    Language language;
    FunctionCode code;
    std::size_t position;
    std::size_t offset; // of the parameter array in the record
    std::uint8_t value;
    const char* label;
};

class SubmenuChoice : public ButtonAssignmentTest, public testing::WithParamInterface<SubmenuCase>
{
};

TEST_P(SubmenuChoice, StoresCodeParameterAndSubmenuText)
{
    constexpr std::size_t kButton = 9;
    const SubmenuCase& c = GetParam();
    ProfileRecord expected = m_record;
    expected.buttonFunction[kButton] = static_cast<std::uint8_t>(c.code);
    expected.Bytes()[c.offset + kButton] = c.value;

    ASSERT_TRUE(Assign(c.language).StoreSubmenuChoice(kButton, c.code, c.position));
    EXPECT_EQ(m_record, expected);
    EXPECT_EQ(m_labels[kButton], c.label);
}

constexpr std::size_t kCpiAction = 0x48;
constexpr std::size_t kMediaUsage = 0x60;
constexpr std::size_t kSystemCommand = 0x6C;
constexpr std::size_t kEditKey = 0x9C;

INSTANTIATE_TEST_SUITE_P(
    Submenus, SubmenuChoice,
    testing::Values(
        SubmenuCase{Language::English, FunctionCode::CpiCycle, 0, kCpiAction, 1, "CPI +"},
        SubmenuCase{Language::English, FunctionCode::CpiCycle, 1, kCpiAction, 2, "CPI -"},
        SubmenuCase{Language::TraditionalChinese, FunctionCode::CpiCycle, 2, kCpiAction, 3, "CPI Loop"},
        SubmenuCase{Language::English, FunctionCode::Multimedia, 0, kMediaUsage, 0x83, "Media player"},
        SubmenuCase{Language::English, FunctionCode::Multimedia, 6, kMediaUsage, 0xE9, "Volume Up"},
        SubmenuCase{Language::SimplifiedChinese, FunctionCode::Multimedia, 4, kMediaUsage, 0xCD, "播放/暂停"},
        SubmenuCase{Language::English, FunctionCode::HotKey, 9, kEditKey, 0x04, "Select All"},
        SubmenuCase{Language::SimplifiedChinese, FunctionCode::HotKey, 2, kEditKey, 0x06, "复制"},
        SubmenuCase{Language::TraditionalChinese, FunctionCode::HotKey, 5, kEditKey, 0x13, "列印"},
        SubmenuCase{Language::English, FunctionCode::Windows, 6, kSystemCommand, 6, "Run"},
        SubmenuCase{Language::English, FunctionCode::Windows, 0, kSystemCommand, 0, "My computer"},
        SubmenuCase{Language::TraditionalChinese, FunctionCode::Windows, 1, kSystemCommand, 1, "瀏覽器-主頁"}));

TEST_F(ButtonAssignmentTest, SubmenuStoreRefusesPositionsPastTheSubmenuAndCodesWithoutOne)
{
    const ProfileRecord before = m_record;
    const ButtonLabels labelsBefore = m_labels;
    ButtonAssignment assignment = Assign(Language::English);
    EXPECT_FALSE(assignment.StoreSubmenuChoice(0, FunctionCode::CpiCycle, 3));
    EXPECT_FALSE(assignment.StoreSubmenuChoice(0, FunctionCode::Multimedia, 8));
    EXPECT_FALSE(assignment.StoreSubmenuChoice(0, FunctionCode::HotKey, 10));
    EXPECT_FALSE(assignment.StoreSubmenuChoice(0, FunctionCode::Windows, 7));
    EXPECT_FALSE(assignment.StoreSubmenuChoice(0, FunctionCode::Click, 0));
    EXPECT_FALSE(assignment.StoreSubmenuChoice(0, FunctionCode::SingleKey, 0));
    EXPECT_EQ(m_record, before);
    EXPECT_EQ(m_labels, labelsBefore);
}

TEST_F(ButtonAssignmentTest, SingleKeyStoresUsageAndLabelsWithTheName)
{
    ProfileRecord expected = m_record;
    expected.buttonFunction[5] = 10;
    expected.singleKey[5] = 0x3E;
    ASSERT_TRUE(Assign(Language::English).StoreSingleKey(5, "F5"));
    EXPECT_EQ(m_record, expected);
    EXPECT_EQ(m_labels[5], "Single Key-F5");
}

TEST_F(ButtonAssignmentTest, SingleKeyOfAnotherLayoutKeepsItsNameAndSendsNothing)
{
    ASSERT_TRUE(Assign(Language::English).StoreSingleKey(0, "\xC3\x84"));
    EXPECT_EQ(m_record.singleKey[0], 0);
    EXPECT_EQ(m_labels[0], "Single Key-\xC3\x84");
    EXPECT_EQ(HexBytes(EncodeButton(m_record, 0)), "00 00 00 00");
}

TEST_F(ButtonAssignmentTest, SingleKeyLabelUsesTheLanguagesEntryText)
{
    ASSERT_TRUE(Assign(Language::SimplifiedChinese).StoreSingleKey(0, "A"));
    EXPECT_EQ(m_labels[0], "单键-A");
    ASSERT_TRUE(Assign(Language::TraditionalChinese).StoreSingleKey(1, "Tab"));
    EXPECT_EQ(m_labels[1], "單鍵-Tab");
}

struct ComboCase
{
    const char* modifier;
    const char* key1;
    const char* key2;
    std::uint8_t modifierBit;
    std::uint8_t key1Usage;
    std::uint8_t key2Usage;
    const char* label;
};

class ComboKey : public ButtonAssignmentTest, public testing::WithParamInterface<ComboCase>
{
};

TEST_P(ComboKey, StoresCodesAndListsOnlyPartsWithACode)
{
    const ComboCase& c = GetParam();
    ProfileRecord expected = m_record;
    expected.buttonFunction[11] = 11;
    expected.comboModifier[11] = c.modifierBit;
    expected.comboKey1[11] = c.key1Usage;
    expected.comboKey2[11] = c.key2Usage;
    ASSERT_TRUE(Assign(Language::English).StoreComboKey(11, c.modifier, c.key1, c.key2));
    EXPECT_EQ(m_record, expected);
    EXPECT_EQ(m_labels[11], c.label);
}

INSTANTIATE_TEST_SUITE_P(Labels, ComboKey,
                         testing::Values(ComboCase{"Right Alt", "Tab", "", 0x40, 0x2B, 0, "Combo Key-Right Alt+Tab"},
                                         ComboCase{"Left Ctrl", "A", "B", 0x01, 0x04, 0x05, "Combo Key-Left Ctrl+A+B"},
                                         ComboCase{"Left Ctrl", "", "B", 0x01, 0, 0x05, "Combo Key-Left Ctrl+B"},
                                         ComboCase{"", "A", "", 0, 0x04, 0, "Combo Key-A"},
                                         ComboCase{"", "", "", 0, 0, 0, "Combo Key-"},
                                         // Names without a code are left out even though they were captured.
                                         ComboCase{"Ctrl", "\xC3\x84", "Z", 0, 0, 0x1D, "Combo Key-Z"},
                                         ComboCase{"Right Win", "Application", "Right Windows", 0x80, 0x65, 0xE7,
                                                   "Combo Key-Right Win+Application+Right Windows"}));

TEST_F(ButtonAssignmentTest, ComboKeyLabelUsesTheLanguagesEntryText)
{
    ASSERT_TRUE(Assign(Language::SimplifiedChinese).StoreComboKey(0, "Left Shift", "1", ""));
    EXPECT_EQ(m_labels[0], "组合键-Left Shift+1");
    ASSERT_TRUE(Assign(Language::TraditionalChinese).StoreComboKey(1, "", "", ""));
    EXPECT_EQ(m_labels[1], "複合鍵-");
}

TEST_F(ButtonAssignmentTest, MacroBindingStoresNumberRepeatAndName)
{
    ProfileRecord expected = m_record;
    expected.buttonFunction[3] = 12;
    expected.macroNumber[3] = 2;
    expected.macroRepeat[3] = 2;
    ASSERT_TRUE(Assign(Language::English).StoreMacroBinding(3, 2, 2, "Macro3"));
    EXPECT_EQ(m_record, expected);
    EXPECT_EQ(m_labels[3], "Macro Key-Macro3");
    EXPECT_EQ(HexBytes(EncodeButton(m_record, 3)), "09 02 03 00");
}

TEST_F(ButtonAssignmentTest, MacroBindingLabelUsesTheLanguagesEntryText)
{
    ASSERT_TRUE(Assign(Language::SimplifiedChinese).StoreMacroBinding(0, 0, 0, "连招"));
    EXPECT_EQ(m_labels[0], "宏-连招");
    ASSERT_TRUE(Assign(Language::TraditionalChinese).StoreMacroBinding(1, 0, 1, ""));
    EXPECT_EQ(m_labels[1], "巨集-");
}

TEST_F(ButtonAssignmentTest, LeavingSingleKeyKeepsTheStaleUsage)
{
    ButtonAssignment assignment = Assign(Language::English);
    ASSERT_TRUE(assignment.StoreSingleKey(0, "F5"));
    ASSERT_TRUE(assignment.StorePlainFunction(0, FunctionCode::Click));
    EXPECT_EQ(m_record.singleKey[0], 0x3E);
    EXPECT_EQ(m_record.buttonFunction[0], 0);
    EXPECT_EQ(m_labels[0], "Click");
    EXPECT_EQ(HexBytes(EncodeButton(m_record, 0)), "01 00 F0 00");
}

TEST_F(ButtonAssignmentTest, EveryStoreRefusesAButtonPastTheTwelfth)
{
    const ProfileRecord before = m_record;
    const ButtonLabels labelsBefore = m_labels;
    ButtonAssignment assignment = Assign(Language::English);
    EXPECT_FALSE(assignment.StorePlainFunction(12, FunctionCode::Click));
    EXPECT_FALSE(assignment.StoreSubmenuChoice(12, FunctionCode::Windows, 0));
    EXPECT_FALSE(assignment.StoreSingleKey(12, "A"));
    EXPECT_FALSE(assignment.StoreComboKey(12, "Left Ctrl", "A", "B"));
    EXPECT_FALSE(assignment.StoreMacroBinding(static_cast<std::size_t>(-1), 0, 0, "M"));
    EXPECT_EQ(m_record, before);
    EXPECT_EQ(m_labels, labelsBefore);
}

TEST_F(ButtonAssignmentTest, AssignedFunctionsReachTheKeyMatrix)
{
    ButtonAssignment assignment = Assign(Language::English);
    ASSERT_TRUE(assignment.StoreSubmenuChoice(5, FunctionCode::Windows, 4));    // slot 3
    ASSERT_TRUE(assignment.StoreSubmenuChoice(3, FunctionCode::Multimedia, 0)); // slot 5
    ASSERT_TRUE(assignment.StoreComboKey(7, "Right Alt", "Tab", ""));           // slot 11
    const KeyMatrixBlock block = BuildKeyMatrixBlock(m_record);
    EXPECT_EQ(HexBytes(std::span(block).subspan(4 * 3, 4)), "00 04 2C 11");
    EXPECT_EQ(HexBytes(std::span(block).subspan(4 * 5, 4)), "03 00 83 01");
    EXPECT_EQ(HexBytes(std::span(block).subspan(4 * 11, 4)), "00 40 2B 00");
}

} // namespace
} // namespace veldrane
