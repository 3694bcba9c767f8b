// Button assignment in the real program: with the pointer and the keyboard a user gives Button 8
// the single key F5 through the capture dialog and Button 2 "CPI -" through the "CPI Cycle"
// submenu of the front view, presses "Save", and the simulated mouse receives exactly the key
// matrix of those choices while the label file holds their labels.
// The macro manager: a user opens it from the main window, creates a macro, records keys typed
// into it, closes it with OK, binds the macro to Button 8 through the macro key dialog and saves;
// the simulated mouse receives exactly the encoding of the macro file and the key-matrix entry of
// the binding.

#include <gtest/gtest.h>

#include <QStringList>

#include <initializer_list>

#include "DesktopSession.h"
#include "core/buttons/ButtonAssignment.h"
#include "core/buttons/KeyMatrixBlock.h"
#include "core/ini/IniFile.h"
#include "core/macro/MacroEncoder.h"
#include "core/macro/MacroFile.h"
#include "core/profile/ConfigFile.h"
#include "core/profile/ProfileFileNames.h"
#include "core/text/Language.h"

namespace veldrane {
namespace {

// Window pixels: the section's header, the "Top" view button; the box of row r; the capture
// dialog's "OK". A list's rows are as high as the desktop's font makes them, so its entries are
// reached by keys: a click on a box gives it the focus and opens its list.
constexpr int kHeaderX = 120, kHeaderY = 116;
constexpr int kTopViewX = 531, kTopViewY = 541;
constexpr int kBoxX = 185;
constexpr auto BoxY = [](int row) { return 142 + 20 * row; };
constexpr int kDialogOkX = 279, kDialogOkY = 262;

// The keys that walk an open list from its top to entry `entry`, then `last`.
QStringList KeysToEntry(int entry, std::initializer_list<const char*> last)
{
    QStringList keys{"Home"};
    for (int i = 0; i < entry; ++i) {
        keys << "Down";
    }
    for (const char* key : last) {
        keys << key;
    }
    return keys;
}

constexpr int kSingleKeyEntry = 10;
constexpr int kCpiCycleEntry = 6;
constexpr int kMacroKeyEntry = 12;

using ButtonAssignmentDesktopTest = test::DesktopTest;

TEST_P(ButtonAssignmentDesktopTest, SingleKeyAndCpiMinusReachTheMouseOnSave)
{
    test::DesktopSession& session = Session();
    const Language language = LanguageFromCode(GetParam());
    ProfileRecord expected = ConfigFile::Read(session / ProfileConfigName(0)).contents.record;
    ButtonLabels expectedLabels{};
    ButtonAssignment assignment(expected, expectedLabels, language);
    ASSERT_TRUE(assignment.StoreSingleKey(7, "F5"));
    ASSERT_TRUE(assignment.StoreSubmenuChoice(1, FunctionCode::CpiCycle, 1));

    const QString window = session.Start();
    ASSERT_FALSE(window.isEmpty());
    session.Click(window, kHeaderX, kHeaderY);

    // Side view: row 1 is Button 8. "Single Key", then F5 into the capture dialog and "OK".
    session.Click(window, kBoxX, BoxY(1));
    session.Key(KeysToEntry(kSingleKeyEntry, {"Return"}));
    const QString dialog = session.WaitForFocusAwayFrom(window);
    ASSERT_FALSE(dialog.isEmpty());
    session.Key({"F5"});
    session.Click(dialog, kDialogOkX, kDialogOkY);

    // Front view: row 2 is Button 2. Right on "CPI Cycle" enters its submenu; "CPI -" is its
    // second entry.
    session.Click(window, kTopViewX, kTopViewY);
    session.Click(window, kBoxX, BoxY(2));
    session.Key(KeysToEntry(kCpiCycleEntry, {"Right", "Down", "Return"}));

    ASSERT_TRUE(session.Save(window, ProfileLabelName(0)));
    ASSERT_TRUE(session.WaitFor([&] { return session.WrittenBlock(0x0D).size() == kKeyMatrixBlockSize; }));

    const KeyMatrixBlock block = BuildKeyMatrixBlock(expected);
    EXPECT_EQ(session.WrittenBlock(0x0D), std::vector<std::uint8_t>(block.begin(), block.end()));
    const IniFile labels(session / ProfileLabelName(0), session.Codec());
    const std::string section(LanguageSectionName(language));
    EXPECT_EQ(labels.GetString(section, LabelKey(7)), expectedLabels[7]);
    EXPECT_EQ(labels.GetString(section, LabelKey(1)), expectedLabels[1]);
    EXPECT_EQ(session.CloseWithExitButton(window), 0);
}

INSTANTIATE_TEST_SUITE_P(Languages, ButtonAssignmentDesktopTest, ::testing::Values("EN", "CHS", "CHT"));

// Window pixels. Main window: the "Macro Manager" row (under a shut "Button Assignment"). Macro
// manager: "New", the record button, "OK". Macro key dialog: the macro box, the first name of its
// dropdown.
constexpr int kMacroRowX = 120, kMacroRowY = 141;
constexpr int kNewX = 46, kNewY = 380;
constexpr int kRecordX = 340, kRecordY = 99;
constexpr int kManagerOkX = 325, kManagerOkY = 408;
constexpr int kMacroBoxX = 96, kMacroBoxY = 136;
constexpr int kFirstNameX = 96, kFirstNameY = 154;

using MacroManagerDesktopTest = test::DesktopTest;

TEST_P(MacroManagerDesktopTest, RecordedMacroBoundToAButtonReachesTheMouse)
{
    test::DesktopSession& session = Session();
    const QString window = session.Start();
    ASSERT_FALSE(window.isEmpty());

    session.Click(window, kMacroRowX, kMacroRowY);
    const QString manager = session.WaitForFocusAwayFrom(window);
    ASSERT_FALSE(manager.isEmpty());
    session.Click(manager, kNewX, kNewY);
    session.Click(manager, kRecordX, kRecordY);
    session.Key({"a", "b"});
    session.Click(manager, kRecordX, kRecordY); // stop
    session.Click(manager, kManagerOkX, kManagerOkY);

    // The new macro's name is the interface language's.
    const IniFile macros(session / kMacroFileName, session.Codec());
    std::string name;
    ASSERT_TRUE(session.WaitFor([&] {
        const auto names = ListMacroNames(macros);
        name = names.empty() ? std::string() : names.front();
        return !name.empty() && macros.GetString(name, "ItemCount") == "4";
    }));
    EXPECT_EQ(macros.GetString(name, "Item0"), "A   Dn");
    EXPECT_EQ(macros.GetString(name, "Item1"), "A   Up");
    EXPECT_EQ(macros.GetString(name, "Item2"), "B   Dn");
    EXPECT_EQ(macros.GetString(name, "Item3"), "B   Up");

    // Button 8 (side view, row 1) gets "Macro Key" with the first macro and repeat mode 0.
    session.Click(window, kHeaderX, kHeaderY);
    session.Click(window, kBoxX, BoxY(1));
    session.Key(KeysToEntry(kMacroKeyEntry, {"Return"}));
    const QString dialog = session.WaitForFocusAwayFrom(window);
    ASSERT_FALSE(dialog.isEmpty());
    session.Click(dialog, kMacroBoxX, kMacroBoxY);
    session.Click(dialog, kFirstNameX, kFirstNameY);
    session.Click(dialog, kDialogOkX, kDialogOkY);

    ProfileRecord expected = ConfigFile::Read(session / ProfileConfigName(0)).contents.record;
    ASSERT_TRUE(session.Save(window, ProfileConfigName(0)));
    ASSERT_TRUE(session.WaitFor([&] { return session.WrittenBlock(0x0F, 12).size() == kMacroBufferSize; }));

    const MacroData encoded = RebuildMacroData(macros, kMacroCount);
    EXPECT_EQ(session.WrittenBlock(0x0F, 1),
              std::vector<std::uint8_t>(encoded.begin(), encoded.begin() + kMacroBufferSize));
    EXPECT_EQ(session.WrittenBlock(0x0F, 2),
              std::vector<std::uint8_t>(encoded.begin() + kMacroBufferSize, encoded.begin() + 2 * kMacroBufferSize));
    const ProfileRecord saved = ConfigFile::Read(session / ProfileConfigName(0)).contents.record;
    EXPECT_TRUE(std::equal(encoded.begin(), encoded.end(), saved.macroData.begin()));

    ButtonLabels labels{};
    ButtonAssignment(expected, labels, LanguageFromCode(GetParam())).StoreMacroBinding(7, 0, 0, name);
    const KeyMatrixBlock block = BuildKeyMatrixBlock(expected);
    EXPECT_EQ(session.WrittenBlock(0x0D), std::vector<std::uint8_t>(block.begin(), block.end()));
    EXPECT_EQ(session.CloseWithExitButton(window), 0);
}

INSTANTIATE_TEST_SUITE_P(Languages, MacroManagerDesktopTest, ::testing::Values("EN", "CHS", "CHT"));

// One press of a key is one key of the macro: every modifier on either side, and the keys with a
// second meaning (Print, Pause, the menu key). The keys go by their keycodes, as a keyboard sends
// them: xdotool given a modifier's keysym presses the left key of that modifier as well.
TEST(MacroRecordingDesktopTest, EachKeyPressIsOneKeyOfTheMacro)
{
    VELDRANE_REQUIRE_DESKTOP();
    test::DesktopSession session("EN");
    const QString window = session.Start();
    ASSERT_FALSE(window.isEmpty());
    session.Click(window, kMacroRowX, kMacroRowY);
    const QString manager = session.WaitForFocusAwayFrom(window);
    ASSERT_FALSE(manager.isEmpty());
    session.Click(manager, kNewX, kNewY);
    session.Click(manager, kRecordX, kRecordY);
    const std::pair<const char*, const char*> keys[] = {
        {"37", "Ctrl"},         {"105", "Right Ctrl"}, {"50", "Shift"},         {"62", "Right Shift"},
        {"64", "Alt"},          {"108", "Right Alt"},  {"133", "Left Windows"}, {"134", "Right Windows"},
        {"135", "Application"}, {"107", "Prnt Scrn"},  {"127", "Pause"}};
    std::vector<std::string> expected;
    for (const auto& [keycode, name] : keys) {
        session.Key({keycode});
        expected.push_back(std::string(name) + "   Dn");
        expected.push_back(std::string(name) + "   Up");
    }
    session.Click(manager, kRecordX, kRecordY); // stop, which saves
    const IniFile macros(session / kMacroFileName, session.Codec());
    ASSERT_TRUE(session.WaitFor([&] {
        const auto names = ListMacroNames(macros);
        return !names.empty() && !macros.GetString(names.front(), "ItemCount").empty();
    }));
    const MacroRecord recorded = LoadMacro(macros, ListMacroNames(macros).front());
    std::vector<std::string> lines;
    for (const MacroItem& item : recorded.items) {
        lines.push_back(item.Text());
    }
    EXPECT_EQ(lines, expected);
    session.Click(manager, kManagerOkX, kManagerOkY);
    EXPECT_EQ(session.CloseWithExitButton(window), 0);
}

} // namespace
} // namespace veldrane
