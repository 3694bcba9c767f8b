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

TEST_F(ButtonAssignmentTest, SingleKeyOfAnotherLayoutKeepsItsNameAndSendsNothing)
{
    ASSERT_TRUE(Assign(Language::English).StoreSingleKey(0, "\xC3\x84"));
    EXPECT_EQ(m_record.singleKey[0], 0);
    EXPECT_EQ(m_labels[0], "Single Key-\xC3\x84");
    EXPECT_EQ(HexBytes(EncodeButton(m_record, 0)), "00 00 00 00");
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
