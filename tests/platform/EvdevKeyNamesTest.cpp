#include "platform/linux/EvdevKeyNames.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "buttons/KeyTables.h"

namespace veldrane {
namespace {

struct KeyCase
{
    std::string name;    // as the key table spells it
    std::uint32_t evdev; // KEY_* of <linux/input-event-codes.h>
    std::uint8_t usage;  // the HID Keyboard/Keypad usage the key sends
};

void PrintTo(const KeyCase& c, std::ostream* out)
{
    *out << '"' << c.name << "\" evdev " << c.evdev;
}

// Every key of the key table with its kernel code, written from the kernel's event codes and the
// HID usage tables. Not here: "Eurpo(Note 2)" (usage 0x32, which the kernel reports as the
// backslash key, so no key of its own names it) and the mouse buttons "L-Button", "R-Button",
// "M-Button", which are no keys.
std::vector<KeyCase> TableKeys()
{
    std::vector<KeyCase> keys;
    auto run = [&keys](std::initializer_list<const char*> names, std::uint32_t evdev, std::uint8_t usage) {
        for (const char* name : names) {
            keys.push_back({name, evdev++, usage++});
        }
    };
    const char* letters = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    // The letter rows of the keyboard: Q to P from 16, A to L from 30, Z to M from 44.
    const std::string rows[] = {"QWERTYUIOP", "ASDFGHJKL", "ZXCVBNM"};
    const std::uint32_t rowStarts[] = {16, 30, 44};
    for (int r = 0; r < 3; ++r) {
        for (std::size_t i = 0; i < rows[r].size(); ++i) {
            const char letter = rows[r][i];
            keys.push_back({std::string(1, letter), rowStarts[r] + static_cast<std::uint32_t>(i),
                            static_cast<std::uint8_t>(0x04 + (std::string(letters).find(letter)))});
        }
    }
    run({"1", "2", "3", "4", "5", "6", "7", "8", "9", "0"}, 2, 0x1E);
    keys.push_back({"Enter", 28, 0x28});
    keys.push_back({"Esc", 1, 0x29});
    keys.push_back({"Backspace", 14, 0x2A});
    keys.push_back({"Tab", 15, 0x2B});
    keys.push_back({"Space", 57, 0x2C});
    run({"-", "="}, 12, 0x2D);
    run({"[", "]"}, 26, 0x2F);
    keys.push_back({"\\", 43, 0x31});
    run({";", "'", "`"}, 39, 0x33);
    run({",", ".", "/"}, 51, 0x36);
    keys.push_back({"Caps Lock", 58, 0x39});
    run({"F1", "F2", "F3", "F4", "F5", "F6", "F7", "F8", "F9", "F10"}, 59, 0x3A);
    run({"F11", "F12"}, 87, 0x44);
    keys.push_back({"Prnt Scrn", 99, 0x46});
    keys.push_back({"Scroll Lock", 70, 0x47});
    keys.push_back({"Pause", 119, 0x48});
    keys.push_back({"Insert", 110, 0x49});
    keys.push_back({"Home", 102, 0x4A});
    keys.push_back({"Page Up", 104, 0x4B});
    keys.push_back({"Delete", 111, 0x4C});
    keys.push_back({"End", 107, 0x4D});
    keys.push_back({"Page Down", 109, 0x4E});
    keys.push_back({"Right", 106, 0x4F});
    keys.push_back({"Left", 105, 0x50});
    keys.push_back({"Down", 108, 0x51});
    keys.push_back({"Up", 103, 0x52});
    keys.push_back({"Num Lock", 69, 0x53});
    keys.push_back({"Num /", 98, 0x54});
    keys.push_back({"Num *", 55, 0x55});
    keys.push_back({"Num -", 74, 0x56});
    keys.push_back({"Num +", 78, 0x57});
    keys.push_back({"Num Enter", 96, 0x58});
    run({"Num 1", "Num 2", "Num 3"}, 79, 0x59);
    run({"Num 4", "Num 5", "Num 6"}, 75, 0x5C);
    run({"Num 7", "Num 8", "Num 9"}, 71, 0x5F);
    keys.push_back({"Num 0", 82, 0x62});
    keys.push_back({"Num Del", 83, 0x63});
    keys.push_back({"Application", 127, 0x65});
    keys.push_back({"Ctrl", 29, 0xE0});
    keys.push_back({"Shift", 42, 0xE1});
    keys.push_back({"Alt", 56, 0xE2});
    keys.push_back({"Left Windows", 125, 0xE3});
    keys.push_back({"Right Ctrl", 97, 0xE4});
    keys.push_back({"Right Shift", 54, 0xE5});
    keys.push_back({"Right Alt", 100, 0xE6});
    keys.push_back({"Right Windows", 126, 0xE7});
    return keys;
}

class TableKey : public testing::TestWithParam<KeyCase>
{
};

TEST_P(TableKey, ItsKeycodeGivesItsNameAndTheNameItsUsage)
{
    const KeyCase& key = GetParam();
    EXPECT_EQ(EvdevKeyName(key.evdev), key.name);
    EXPECT_EQ(XkbKeycodeName(key.evdev + 8), key.name);
    EXPECT_EQ(KeyCodeFromName(key.name), key.usage);
}

INSTANTIATE_TEST_SUITE_P(AllKeys, TableKey, testing::ValuesIn(TableKeys()));

TEST(EvdevKeyNames, CoverEveryKeyOfTheTableButTheFourThatNoKeyNames)
{
    const std::vector<KeyCase> keys = TableKeys();
    std::set<std::string> names;
    std::set<std::uint32_t> codes;
    for (const KeyCase& key : keys) {
        names.insert(key.name);
        codes.insert(key.evdev);
    }
    // 108 rows in the button table, less "Eurpo(Note 2)" and the three mouse buttons.
    EXPECT_EQ(names.size(), 104u);
    EXPECT_EQ(codes.size(), 104u);
}

TEST(EvdevKeyNames, IsoExtraKeyIsNamedLikeTheBackslashKey)
{
    EXPECT_EQ(EvdevKeyName(86), "\\");
}

class UnknownKeycode : public testing::TestWithParam<std::uint32_t>
{
};

TEST_P(UnknownKeycode, HasNoName)
{
    EXPECT_FALSE(XkbKeycodeName(GetParam()).has_value());
}

// Below the offset, KEY_RESERVED, KEY_MUTE (113), KEY_VOLUMEUP (115), KEY_ZENKAKUHANKAKU (85),
// KEY_KPCOMMA (121), F13 (183), codes past the table and the largest code.
INSTANTIATE_TEST_SUITE_P(Codes, UnknownKeycode,
                         testing::Values(0u, 7u, 8u, 113u + 8, 115u + 8, 85u + 8, 121u + 8, 183u + 8, 128u + 8, 0x2FFu,
                                         0xFFFFFFFFu));

} // namespace
} // namespace veldrane
