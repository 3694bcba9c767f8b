// The macro manager in the real program: each key pressed on the X server while it records is one
// key of the macro, as the keyboard sent it.

#include <gtest/gtest.h>

#include "DesktopSession.h"
#include "core/ini/IniFile.h"
#include "core/macro/MacroFile.h"
#include "core/profile/ProfileFileNames.h"

namespace veldrane {
namespace {

// Window pixels. Main window: the "Macro Manager" row (under a shut "Button Assignment"). Macro
// manager: "New", the record button, "OK".
constexpr int kMacroRowX = 120, kMacroRowY = 141;
constexpr int kNewX = 46, kNewY = 380;
constexpr int kRecordX = 340, kRecordY = 99;
constexpr int kManagerOkX = 325, kManagerOkY = 408;

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
    std::vector<MacroItem> expected;
    for (const auto& [keycode, name] : keys) {
        session.Key({keycode});
        expected.insert(expected.end(), {MacroItem::Press(name), MacroItem::Release(name)});
    }
    session.Click(manager, kRecordX, kRecordY); // stop, which saves
    const IniFile macros(session / kMacroFileName, session.Codec());
    ASSERT_TRUE(session.WaitFor([&] {
        const auto names = ListMacroNames(macros);
        return !names.empty() && !macros.GetString(names.front(), "ItemCount").empty();
    }));
    EXPECT_EQ(LoadMacro(macros, ListMacroNames(macros).front()).items, expected);
    session.Click(manager, kManagerOkX, kManagerOkY);
    EXPECT_EQ(session.CloseWithExitButton(window), 0);
}

} // namespace
} // namespace veldrane
