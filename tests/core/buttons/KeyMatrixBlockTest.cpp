// What a button's function and key names become in the mouse's key matrix.
#include "core/buttons/KeyMatrixBlock.h"

#include <gtest/gtest.h>

#include <numeric>
#include <string>
#include <vector>

#include "core/buttons/KeyTables.h"
#include "core/profile/ProfileRecord.h"
#include "support/HexBytes.h"

namespace veldrane {
namespace {

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
    const std::array<std::uint8_t, 8> bits = {0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40, 0x80};
    for (std::size_t i = 0; i < bits.size(); ++i) {
        EXPECT_EQ(ModifierBitFromName(ModifierNames()[i]), bits[i]) << ModifierNames()[i];
    }
    EXPECT_EQ(ModifierBitFromName("left ctrl"), 0);
}

} // namespace
} // namespace veldrane
