#include "gui/buttons/QtKeyNameSource.h"

#include <gtest/gtest.h>

#include <QKeyEvent>

#include <string>

#include "buttons/KeyTables.h"

namespace veldrane {
namespace {

struct StrokeCase
{
    std::uint32_t nativeScanCode;
    int qtKey;
    bool keypad;
    const char* name;
};

void PrintTo(const StrokeCase& c, std::ostream* out)
{
    *out << c.name;
}

class NamedStroke : public testing::TestWithParam<StrokeCase>
{
};

TEST_P(NamedStroke, GivesTheKeyTablesName)
{
    const QtKeyNameSource source;
    const StrokeCase& c = GetParam();
    EXPECT_EQ(source.KeyName({c.nativeScanCode, c.qtKey, c.keypad}), c.name);
}

// With a keycode the physical key decides, whatever Qt's key says (a French layout gives Qt::Key_A
// on the US "Q" key); without one, Qt's key code.
INSTANTIATE_TEST_SUITE_P(
    Keys, NamedStroke,
    testing::Values(StrokeCase{29 + 8, Qt::Key_Control, false, "Ctrl"},
                    StrokeCase{97 + 8, Qt::Key_Control, false, "Right Ctrl"},
                    StrokeCase{125 + 8, Qt::Key_Super_L, false, "Left Windows"},
                    StrokeCase{126 + 8, Qt::Key_Super_R, false, "Right Windows"},
                    StrokeCase{100 + 8, Qt::Key_AltGr, false, "Right Alt"}, StrokeCase{63 + 8, Qt::Key_F5, false, "F5"},
                    StrokeCase{16 + 8, Qt::Key_A, false, "Q"}, StrokeCase{28 + 8, Qt::Key_Return, false, "Enter"},
                    StrokeCase{96 + 8, Qt::Key_Enter, true, "Num Enter"},
                    StrokeCase{82 + 8, Qt::Key_Insert, true, "Num 0"}, StrokeCase{0, Qt::Key_F5, false, "F5"},
                    StrokeCase{0, Qt::Key_Exclam, false, "1"}, StrokeCase{0, Qt::Key_Question, false, "/"},
                    StrokeCase{0, Qt::Key_5, true, "Num 5"}, StrokeCase{0, Qt::Key_Insert, true, "Num 0"},
                    StrokeCase{0, Qt::Key_Insert, false, "Insert"}, StrokeCase{0, Qt::Key_Enter, true, "Num Enter"},
                    StrokeCase{0, Qt::Key_Escape, false, "Esc"}, StrokeCase{0, Qt::Key_Menu, false, "Application"},
                    StrokeCase{0, Qt::Key_Super_L, false, "Left Windows"}));

struct UnknownCase
{
    std::uint32_t nativeScanCode;
    int qtKey;
};

class UnknownStroke : public testing::TestWithParam<UnknownCase>
{
};

TEST_P(UnknownStroke, GetsANameTheTableDoesNotHold)
{
    const QtKeyNameSource source;
    const std::string name = source.KeyName({GetParam().nativeScanCode, GetParam().qtKey, false});
    EXPECT_FALSE(name.empty());
    EXPECT_EQ(KeyCodeFromName(name), 0) << name;
    EXPECT_EQ(ModifierBitFromName(name), 0) << name;
}

// A media key, a key Qt does not know, a keycode outside the table whose Qt key would be a table
// name (it must not borrow that name), and a Qt key without keycode that the table lacks.
INSTANTIATE_TEST_SUITE_P(Keys, UnknownStroke,
                         testing::Values(UnknownCase{113 + 8, Qt::Key_VolumeMute}, UnknownCase{250, Qt::Key_unknown},
                                         UnknownCase{0x2FF, Qt::Key_F5}, UnknownCase{0, Qt::Key_F13},
                                         UnknownCase{0, Qt::Key_unknown}, UnknownCase{0, 0x00E9}));

TEST(QtKeyNameSource, EveryNameOfAQtKeyIsATableName)
{
    for (const bool keypad : {false, true}) {
        for (int key = 0x20; key < 0x7F; ++key) {
            if (const auto name = QtKeyNameSource::QtKeyName(key, keypad)) {
                EXPECT_NE(KeyCodeFromName(*name), 0) << key;
            }
        }
        for (int key = Qt::Key_Escape; key < Qt::Key_Escape + 0x100; ++key) {
            if (const auto name = QtKeyNameSource::QtKeyName(key, keypad)) {
                EXPECT_NE(KeyCodeFromName(*name), 0) << std::hex << key;
            }
        }
    }
}

} // namespace
} // namespace veldrane
