#include "buttons/KeyTables.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace veldrane {
namespace {

struct KeyRow
{
    std::string name;
    std::uint8_t usage;
};

void PrintTo(const KeyRow& row, std::ostream* out)
{
    *out << '"' << row.name << "\" -> " << static_cast<int>(row.usage);
}

// The key names of a US-English layout with their HID Keyboard/Keypad usages, written out from
// the usage tables independently of the program's own list.
std::vector<KeyRow> ExpectedKeyRows()
{
    std::vector<KeyRow> rows;
    auto add = [&rows](std::initializer_list<const char*> names, std::uint8_t first) {
        for (const char* name : names) {
            rows.push_back({name, first++});
        }
    };
    for (int i = 0; i < 26; ++i) {
        rows.push_back({std::string(1, static_cast<char>('A' + i)), static_cast<std::uint8_t>(0x04 + i)});
    }
    add({"1", "2", "3", "4", "5", "6", "7", "8", "9", "0"}, 0x1E);
    add({"Enter", "Esc", "Backspace", "Tab", "Space", "-", "=", "[", "]", "\\", "Eurpo(Note 2)", ";", "'", "`", ",",
         ".", "/", "Caps Lock"},
        0x28);
    for (int i = 1; i <= 12; ++i) {
        rows.push_back({"F" + std::to_string(i), static_cast<std::uint8_t>(0x3A + i - 1)});
    }
    add({"Prnt Scrn", "Scroll Lock", "Pause", "Insert", "Home", "Page Up", "Delete", "End", "Page Down", "Right",
         "Left", "Down", "Up", "Num Lock", "Num /", "Num *", "Num -", "Num +", "Num Enter"},
        0x46);
    for (int i = 1; i <= 9; ++i) {
        rows.push_back({"Num " + std::to_string(i), static_cast<std::uint8_t>(0x59 + i - 1)});
    }
    add({"Num 0", "Num Del"}, 0x62);
    add({"Application"}, 0x65);
    add({"Ctrl", "Shift", "Alt", "Left Windows", "Right Ctrl", "Right Shift", "Right Alt", "Right Windows"}, 0xE0);
    add({"L-Button", "R-Button", "M-Button"}, 0xF0);
    return rows;
}

class KeyNameTableRow : public testing::TestWithParam<KeyRow>
{
};

TEST_P(KeyNameTableRow, ButtonInstanceGivesTheKeysUsage)
{
    EXPECT_EQ(KeyCodeFromName(GetParam().name, KeyTableInstance::Button), GetParam().usage);
}

TEST_P(KeyNameTableRow, MacroInstanceGivesTheSameUsageExceptForApplication)
{
    const std::uint8_t expected = GetParam().name == "Application" ? 0 : GetParam().usage;
    EXPECT_EQ(KeyCodeFromName(GetParam().name, KeyTableInstance::Macro), expected);
}

INSTANTIATE_TEST_SUITE_P(AllRows, KeyNameTableRow, testing::ValuesIn(ExpectedKeyRows()));

struct LookupCase
{
    const char* name;
    std::uint8_t button;
    std::uint8_t macro;
};

class KeyNameLookup : public testing::TestWithParam<LookupCase>
{
};

TEST_P(KeyNameLookup, MatchesWholeNamesCaseSensitively)
{
    EXPECT_EQ(KeyCodeFromName(GetParam().name, KeyTableInstance::Button), GetParam().button);
    EXPECT_EQ(KeyCodeFromName(GetParam().name, KeyTableInstance::Macro), GetParam().macro);
}

INSTANTIATE_TEST_SUITE_P(Edges, KeyNameLookup,
                         testing::Values(LookupCase{"A", 0x04, 0x04}, LookupCase{"a", 0, 0},
                                         LookupCase{"Num 0", 0x62, 0x62}, LookupCase{"0", 0x27, 0x27},
                                         LookupCase{"Application", 0x65, 0},
                                         LookupCase{"Left Ctrl", 0, 0}, // a modifier name, not a key name
                                         LookupCase{"Left Win", 0, 0}, LookupCase{"Ctrl", 0xE0, 0xE0},
                                         LookupCase{"M-Button", 0xF2, 0xF2}, LookupCase{"", 0, 0},
                                         LookupCase{"Tab ", 0, 0}, LookupCase{"F", 0x09, 0x09}, LookupCase{"F13", 0, 0},
                                         LookupCase{"Num", 0, 0},
                                         LookupCase{"\xC3\x84", 0, 0}, // "Ä" of a German layout
                                         LookupCase{"Europe", 0, 0}));

TEST(KeyNameLookup, NameWithEmbeddedNulMatchesNothing)
{
    using namespace std::string_view_literals;
    EXPECT_EQ(KeyCodeFromName("A\0"sv), 0);
}

TEST(ModifierNameTable, EachNameGivesItsModifierBit)
{
    const std::array<std::uint8_t, 8> bits = {0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40, 0x80};
    for (std::size_t i = 0; i < bits.size(); ++i) {
        EXPECT_EQ(ModifierBitFromName(ModifierNames()[i]), bits[i]) << ModifierNames()[i];
    }
}

TEST(ModifierNameTable, KeyNamesAndOtherTextsGiveNoBit)
{
    EXPECT_EQ(ModifierBitFromName("Ctrl"), 0);
    EXPECT_EQ(ModifierBitFromName("Right Windows"), 0);
    EXPECT_EQ(ModifierBitFromName("left ctrl"), 0);
    EXPECT_EQ(ModifierBitFromName(""), 0);
}

} // namespace
} // namespace veldrane
