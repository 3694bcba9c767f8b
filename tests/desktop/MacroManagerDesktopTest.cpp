// The macro manager in the real program: a user opens it from the main window, creates a macro,
// records keys typed into it, closes it with OK, binds the macro to Button 8 through the macro key
// dialog and saves; the simulated mouse receives exactly the encoding of the macro file and the
// key-matrix entry of the binding.

#include <gtest/gtest.h>

#include "DesktopSession.h"
#include "buttons/ButtonAssignment.h"
#include "buttons/KeyMatrixBlock.h"
#include "ini/IniFile.h"
#include "macro/MacroEncoder.h"
#include "macro/MacroFile.h"
#include "profile/ConfigFile.h"
#include "profile/ProfileFileNames.h"
#include "text/Language.h"

namespace veldrane {
namespace {

// Window pixels. Main window: the "Macro Manager" row (under a shut "Button Assignment"), the
// "Button Assignment" header, the box of side-view row 1 (Button 8), the "Macro Key" entry of its
// list. Macro manager: "New", the record button, "OK". Macro key dialog: the macro box, the
// first name of its dropdown, "OK".
constexpr int kMacroRowX = 120, kMacroRowY = 141;
constexpr int kAssignmentX = 120, kAssignmentY = 116;
constexpr int kBoxX = 185, kBoxY = 162;
constexpr int kMacroKeyEntryX = 300, kMacroKeyEntryY = 134 + 20 + 1 + 16 * 12 + 8;
constexpr int kNewX = 46, kNewY = 380;
constexpr int kRecordX = 340, kRecordY = 99;
constexpr int kManagerOkX = 325, kManagerOkY = 408;
constexpr int kMacroBoxX = 96, kMacroBoxY = 136;
constexpr int kFirstNameX = 96, kFirstNameY = 154;
constexpr int kDialogOkX = 279, kDialogOkY = 262;

class MacroManagerDesktopTest : public test::DesktopTest
{
};

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

    // The new macro's name is the interface language's; "Macro_0" in English.
    const IniFile macros(session / kMacroFileName, session.Codec());
    std::string name;
    ASSERT_TRUE(session.WaitFor([&] {
        const auto names = ListMacroNames(macros);
        name = names.empty() ? std::string() : names.front();
        return !name.empty() && macros.GetString(name, "ItemCount") == "4";
    }));
    if (LanguageFromCode(GetParam()) == Language::English) {
        EXPECT_EQ(name, "Macro_0");
    }
    EXPECT_EQ(macros.GetString(name, "Item0"), "A   Dn");
    EXPECT_EQ(macros.GetString(name, "Item1"), "A   Up");
    EXPECT_EQ(macros.GetString(name, "Item2"), "B   Dn");
    EXPECT_EQ(macros.GetString(name, "Item3"), "B   Up");

    // Button 8 (side view, row 1) gets "Macro Key" with the first macro and repeat mode 0.
    session.Click(window, kAssignmentX, kAssignmentY);
    session.Click(window, kBoxX, kBoxY);
    session.Click(window, kMacroKeyEntryX, kMacroKeyEntryY);
    const QString dialog = session.WaitForFocusAwayFrom(window);
    ASSERT_FALSE(dialog.isEmpty());
    session.Click(dialog, kMacroBoxX, kMacroBoxY);
    session.Click(dialog, kFirstNameX, kFirstNameY);
    session.Click(dialog, kDialogOkX, kDialogOkY);

    const auto aged = session.Age(ProfileConfigName(0));
    ProfileRecord expected = ConfigFile::Read(session / ProfileConfigName(0)).contents.record;
    session.PressSave(window);
    ASSERT_TRUE(session.WaitUntilWritten(ProfileConfigName(0), aged));
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

} // namespace
} // namespace veldrane
