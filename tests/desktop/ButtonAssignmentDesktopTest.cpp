// Button assignment in the real program: with the pointer and the keyboard a user gives Button 8
// the single key F5 through the capture dialog and Button 2 "CPI -" through the "CPI Cycle"
// submenu of the front view, presses "Save", and the simulated mouse receives exactly the key
// matrix of those choices while the label file holds their labels.

#include <gtest/gtest.h>

#include "DesktopSession.h"
#include "buttons/ButtonAssignment.h"
#include "buttons/KeyMatrixBlock.h"
#include "ini/IniFile.h"
#include "profile/ConfigFile.h"
#include "profile/ProfileFileNames.h"
#include "text/Language.h"

namespace veldrane {
namespace {

// Window pixels: the section's header, the "Top" view button; the box of row r and the
// middle of entry e of the list it opens (16 pixels an entry under the box); the capture
// dialog's "OK".
constexpr int kHeaderX = 120, kHeaderY = 116;
constexpr int kTopViewX = 531, kTopViewY = 541;
constexpr int kBoxX = 185;
constexpr int BoxY(int row) { return 142 + 20 * row; }
constexpr int kEntryX = 300;
constexpr int EntryY(int row, int entry) { return 134 + 20 * row + 1 + 16 * entry + 8; }
// The "CPI Cycle" submenu opens beside its entry, level with it.
constexpr int kCpiSubmenuX = 390;
constexpr int kDialogOkX = 279, kDialogOkY = 262;

constexpr int kSingleKeyEntry = 10;
constexpr int kCpiCycleEntry = 6;

class ButtonAssignmentDesktopTest : public test::DesktopTest
{
};

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
    session.Click(window, kEntryX, EntryY(1, kSingleKeyEntry));
    const QString dialog = session.WaitForFocusAwayFrom(window);
    ASSERT_FALSE(dialog.isEmpty());
    session.Key({"F5"});
    session.Click(dialog, kDialogOkX, kDialogOkY);

    // Front view: row 2 is Button 2. Resting on "CPI Cycle" opens its submenu; "CPI -" is its
    // second entry.
    session.Click(window, kTopViewX, kTopViewY);
    session.Click(window, kBoxX, BoxY(2));
    session.Xdo({"mousemove", "--window", window, QString::number(kEntryX),
                 QString::number(EntryY(2, kCpiCycleEntry))});
    session.Xdo({"mousemove", "--window", window, QString::number(kCpiSubmenuX),
                 QString::number(EntryY(2, kCpiCycleEntry))});
    session.Click(window, kCpiSubmenuX, EntryY(2, kCpiCycleEntry) + 16);

    const auto aged = session.Age(ProfileLabelName(0));
    session.PressSave(window);
    ASSERT_TRUE(session.WaitUntilWritten(ProfileLabelName(0), aged));
    ASSERT_TRUE(session.WaitFor([&] { return session.WrittenBlock(0x0D).size() == kKeyMatrixBlockSize; }));

    const KeyMatrixBlock block = BuildKeyMatrixBlock(expected);
    EXPECT_EQ(session.WrittenBlock(0x0D), std::vector<std::uint8_t>(block.begin(), block.end()));
    const IniFile labels(session / ProfileLabelName(0), session.Codec());
    const std::string section(LanguageSectionName(language));
    EXPECT_EQ(labels.GetString(section, LabelKey(7)), expectedLabels[7]);
    EXPECT_EQ(labels.GetString(section, LabelKey(1)), expectedLabels[1]);
    if (language == Language::English) {
        EXPECT_EQ(expectedLabels[7], "Single Key-F5");
        EXPECT_EQ(expectedLabels[1], "CPI -");
    }
    EXPECT_EQ(session.CloseWithExitButton(window), 0);
}

INSTANTIATE_TEST_SUITE_P(Languages, ButtonAssignmentDesktopTest, ::testing::Values("EN", "CHS", "CHT"));

} // namespace
} // namespace veldrane
