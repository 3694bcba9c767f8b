// The main window's sections and its profile manager in the real program. Profile names are
// deleted, created and renamed through the manager's window and menu, the profile is saved with the
// main window's "Save", and after a restart every name still has its own settings and labels. A
// press on the report-rate dial and drags along a CPI slider and a speed dial reach the simulated
// mouse and the profile file on "Save".

#include <gtest/gtest.h>

#include <algorithm>

#include <QProcess>

#include "DesktopSession.h"
#include "core/ini/IniFile.h"
#include "core/profile/ConfigFile.h"
#include "core/profile/ConfigFiles.h"
#include "core/profile/ProfileFileNames.h"
#include "core/text/Language.h"
#include "core/text/ProfileManagerTexts.h"
#include "support/TempDir.h"

namespace veldrane {
namespace {

using test::ReadFileBytes;

// Window pixels of what the test presses: the main window's "Config"; the manager's
// close button, "New" row and the middle of its first list line.
constexpr int kConfigX = 50, kConfigY = 619;
constexpr int kManagerCloseX = 247, kManagerCloseY = 15;
constexpr int kNewRowX = 130, kNewRowY = 586;
constexpr int kFirstLineX = 60, kFirstLineY = 39;

// The factory profile with settings of its own: CPI values, stage colours, reserved bytes and macros
// that depend on `seed`. The pointer settings stay valid, so that "Save" can apply them.
ProfileRecord Distinct(const ProfileRecord& factory, std::uint8_t seed)
{
    ProfileRecord record = factory;
    record.cpiValue.fill(seed);
    record.cpiColor.fill(seed);
    record.reserved001.fill(seed);
    std::ranges::fill(record.MacroPart(), seed);
    return record;
}

class ProfileManagerDesktopTest : public test::DesktopTest
{
protected:
    void SetUp() override
    {
        DesktopTest::SetUp();
        if (IsSkipped()) {
            return;
        }
        // Three names A, B (selected), C with settings and labels of their own.
        const char* labels[] = {"label A", "label B", "label C"};
        m_factory = ConfigFile::Read(Session() / kFactoryConfigName).contents.record;
        for (std::size_t index = 0; index < 3; ++index) {
            ASSERT_FALSE(ConfigFile::Write(Session() / ProfileConfigName(index), 1, Seeded(10 + index)));
            Label(ProfileLabelName(index)).WriteString(m_section, "Item1", labels[index]);
        }
        IniFile list = Label(std::string(kListName));
        list.DeleteSection("Profile");
        list.WriteString("Profile", "CurProfileName", "B");
        list.WriteString("Profile", "ItemCount", "3");
        list.WriteString("Profile", "Item0", "A");
        list.WriteString("Profile", "Item1", "B");
        list.WriteString("Profile", "Item2", "C");
    }

    ProfileRecord Seeded(std::size_t seed) const { return Distinct(m_factory, static_cast<std::uint8_t>(seed)); }
    IniFile Label(const std::string& name) { return IniFile(Session() / name, Session().Codec()); }
    std::string LabelOf(std::size_t index) { return Label(ProfileLabelName(index)).GetString(m_section, "Item1"); }
    std::string ListValue(std::string_view key) { return Label(std::string(kListName)).GetString("Profile", key); }
    // A profile file's record without byte 0, deviceProfile, which every download sets to 0.
    std::string SettingsOf(std::size_t index) { return ReadFileBytes(Session() / ProfileConfigName(index)).substr(2); }
    static std::string SettingsOf(const ProfileRecord& record) { return ConfigFile::Encode(1, record).substr(2); }

    std::string m_section{LanguageSectionName(LanguageFromCode(GetParam()))};
    ProfileRecord m_factory{};
};

TEST_P(ProfileManagerDesktopTest, NamesKeepTheirSettingsThroughDeleteNewRenameSaveAndRestart)
{
    test::DesktopSession& session = Session();
    QString window = session.Start();
    ASSERT_FALSE(window.isEmpty());
    session.Click(window, kConfigX, kConfigY);
    // The manager's window carries its title in the interface language.
    const std::string title(ProfileManagerTextsFor(LanguageFromCode(GetParam())).title);
    const QString manager = session.WaitForWindow("^" + title + "$");
    ASSERT_FALSE(manager.isEmpty());

    // Delete A: select it, then "Delete", the first entry of the menu of a right-button release.
    session.Click(manager, kFirstLineX, kFirstLineY);
    session.Click(manager, kFirstLineX, kFirstLineY, 3);
    ASSERT_FALSE(session.WaitForWindow("^ProfileList$").isEmpty());
    session.Xdo({"key", "Down", "Return"});
    // A new name after C, then B renamed in place; B stays selected.
    session.Click(manager, kNewRowX, kNewRowY);
    session.Click(manager, kFirstLineX, kFirstLineY, 1, 2);
    session.Xdo({"windowfocus", "--sync", manager});
    session.Xdo({"key", "ctrl+a"});
    session.Xdo({"type", "--delay", "30", "Bee"});
    session.Xdo({"key", "Return"});
    session.Click(manager, kManagerCloseX, kManagerCloseY);
    ASSERT_TRUE(session.WaitFor([&] { return ListValue("Item0") == "Bee"; }));

    EXPECT_EQ(ListValue("CurProfileName"), "Bee");
    EXPECT_EQ(ListValue("ItemCount"), "3");
    EXPECT_EQ(ListValue("Item1"), "C");
    EXPECT_EQ(ListValue("Item2"), "C_2");
    EXPECT_EQ(SettingsOf(0), SettingsOf(Seeded(11)));
    EXPECT_EQ(LabelOf(0), "label B");
    EXPECT_EQ(SettingsOf(1), SettingsOf(Seeded(12)));
    EXPECT_EQ(LabelOf(1), "label C");
    EXPECT_EQ(ReadFileBytes(session / "config2.bin"), ReadFileBytes(session / "config.bin"));

    // "Save" writes the profile loaded at the start (B's) into the files of its new position.
    ASSERT_TRUE(session.Save(window, ProfileConfigName(0)));
    EXPECT_EQ(SettingsOf(0), SettingsOf(Seeded(11)));
    EXPECT_EQ(SettingsOf(1), SettingsOf(Seeded(12)));
    EXPECT_EQ(session.CloseWithExitButton(window), 0);

    // After a restart the program loads Bee's own files: saving them again changes nothing.
    window = session.Start();
    ASSERT_FALSE(window.isEmpty());
    ASSERT_TRUE(session.Save(window, ProfileConfigName(0)));
    EXPECT_EQ(SettingsOf(0), SettingsOf(Seeded(11)));
    EXPECT_EQ(LabelOf(0), "label B");
    EXPECT_EQ(LabelOf(1), "label C");
    EXPECT_EQ(session.CloseWithExitButton(window), 0);
}

INSTANTIATE_TEST_SUITE_P(Languages, ProfileManagerDesktopTest, ::testing::Values("EN", "CHS", "CHT"));

// Window pixels: the third header of the right panel and, once it is open, a point of the ring
// 49 pixels up and left of the dial's centre (855, 172).
constexpr int kReportRateHeaderX = 800, kReportRateHeaderY = 92;
constexpr int kRingX = 820, kRingY = 137;

using SettingsDesktopTest = test::DesktopTest;

// Window pixels: the "CPI Setting" header, stage 2's track (x 825 to 831, y 58 to 227) once it is
// open; the "Mouse Speed" header alone and its dial's centre (855, 206) once it is open.
constexpr int kCpiHeaderX = 800, kCpiHeaderY = 42;
constexpr int kStage2TrackX = 827;
constexpr int kMouseSpeedHeaderY = 117;
constexpr int kSpeedDialX = 855, kSpeedDialY = 206;

// A user presses the report-rate dial's ring, drags stage 2's slider from low down up the track
// and the "Mouse Speed" dial from its left end over the top to the upper right; the values where
// the pointer let go reach the mouse and the file on "Save", and the window stays where it was.
TEST_P(SettingsDesktopTest, DialsAndSliderReachTheMouseAndTheFileOnSaveAndTheWindowStays)
{
    test::DesktopSession& session = Session();
    const QString window = session.Start();
    ASSERT_FALSE(window.isEmpty());
    const QPoint placed = session.Geometry(window).topLeft();
    session.Click(window, kReportRateHeaderX, kReportRateHeaderY);
    session.Click(window, kRingX, kRingY);
    session.Click(window, kReportRateHeaderX, kReportRateHeaderY); // shut again

    session.Click(window, kCpiHeaderX, kCpiHeaderY);
    // 228 - y - 1 for a press at y: 27 at the press, 127 where it lets go
    session.Drag(window, {kStage2TrackX, 200}, {{kStage2TrackX, 150}, {kStage2TrackX + 20, 100}});
    session.Click(window, kCpiHeaderX, kCpiHeaderY); // shut again
    session.Click(window, kCpiHeaderX, kMouseSpeedHeaderY);
    // from the left end (position 2) through straight up (7) to 45 degrees up right (9)
    session.Drag(window, {kSpeedDialX - 50, kSpeedDialY},
                 {{kSpeedDialX, kSpeedDialY - 50}, {kSpeedDialX + 40, kSpeedDialY - 40}});
    EXPECT_EQ(session.Geometry(window).topLeft(), placed);

    ASSERT_TRUE(session.Save(window, ProfileConfigName(0)));
    // The files are written first, then the download goes out.
    ASSERT_TRUE(session.WaitFor([&] { return session.WrittenBlock(0x0F, 12).size() == kMacroBufferSize; }));
    const ProfileRecord saved = ConfigFile::Read(session / ProfileConfigName(0)).contents.record;
    EXPECT_EQ(saved.reportRate, 8);
    EXPECT_EQ(saved.cpiValue[1], 127);
    EXPECT_EQ(saved.mouseSpeed, 9);
    // The last command 0x03: report 0, profile 0, rate 8, the checksum 0xFF - 0x03 - 8.
    const auto commands = session.Trace("SET_FEATURE");
    const auto rate = std::find_if(commands.rbegin(), commands.rend(), [](const test::TracedReport& command) {
        return command.second.size() > 1 && command.second[1] == 0x03;
    });
    ASSERT_NE(rate, commands.rend()) << "no command 0x03";
    EXPECT_EQ(rate->second, (std::vector<std::uint8_t>{0x00, 0x03, 0x00, 0x08, 0x00, 0x00, 0x00, 0x00, 0xF4}));
    EXPECT_EQ(session.CloseWithExitButton(window), 0);
}

INSTANTIATE_TEST_SUITE_P(Languages, SettingsDesktopTest, ::testing::Values("EN", "CHS"));

// Window pixels of the help button and of "Save", whose caption is in the interface language.
constexpr int kHelpX = 944, kHelpY = 12;
const QRect kSaveCaption{923, 604, 57, 30};

// The pixels of `area` of `window` as the X server shows them, three bytes each.
QByteArray Grab(test::DesktopSession& session, const QString& window, const QRect& area)
{
    QProcess import;
    import.setProcessEnvironment(session.Program().processEnvironment());
    import.start(QStringLiteral("import"),
                 {"-window", window, "-crop",
                  QStringLiteral("%1x%2+%3+%4").arg(area.width()).arg(area.height()).arg(area.x()).arg(area.y()),
                  "+repage", "-depth", "8", "rgb:-"});
    EXPECT_TRUE(import.waitForFinished(test::DesktopSession::kTimeoutMs));
    return import.readAllStandardOutput();
}

// 繁體中文 chosen on the help panel by keys: "Lan" of the label file says so, the window is built
// anew where it was and shows "Save" as a program started in traditional Chinese does, and a CPI
// edit made before, not saved, is still there for "Save" to store.
TEST(LanguageDesktopTest, ALanguageChosenOnTheHelpPanelShowsAtOnceAndKeepsTheUnsavedEdits)
{
    VELDRANE_REQUIRE_DESKTOP();
    QByteArray traditional;
    {
        test::DesktopSession started("CHT");
        const QString window = started.Start();
        ASSERT_FALSE(window.isEmpty());
        traditional = Grab(started, window, kSaveCaption);
        EXPECT_EQ(started.CloseWithExitButton(window), 0);
    }
    ASSERT_EQ(traditional.size(), kSaveCaption.width() * kSaveCaption.height() * 3);

    test::DesktopSession session("EN");
    const QString window = session.Start();
    ASSERT_FALSE(window.isEmpty());
    const QPoint placed = session.Geometry(window).topLeft();
    EXPECT_NE(Grab(session, window, kSaveCaption), traditional);
    const auto stored = [&] { return ConfigFile::Read(session / ProfileConfigName(0)).contents.record.cpiValue[1]; };
    const std::uint8_t before = stored();
    session.Click(window, kCpiHeaderX, kCpiHeaderY);
    session.Drag(window, {kStage2TrackX, 200}, {{kStage2TrackX, 150}, {kStage2TrackX + 20, 100}});
    session.Click(window, kCpiHeaderX, kCpiHeaderY);

    // F1 opens the panel, which takes the keyboard; Up from its first line wraps to the last language.
    session.Key({"F1", "Up", "Return"});
    const IniFile labels(session / ProfileLabelName(0), session.Codec());
    ASSERT_TRUE(session.WaitFor([&] { return labels.GetString(kSkinsSection, kLanguageKey) == "CHT"; }));
    QString rebuilt;
    ASSERT_TRUE(session.WaitFor([&] {
        rebuilt = session.Xdo({"search", "--onlyvisible", "--name", "^Tessaly VELDRANE$"}).section('\n', 0, 0);
        return !rebuilt.isEmpty() && rebuilt != window;
    }));
    EXPECT_EQ(session.Geometry(rebuilt).topLeft(), placed);
    session.Click(rebuilt, kHelpX, kHelpY); // the panel, open again in the new language, closes
    EXPECT_TRUE(session.WaitFor([&] { return Grab(session, rebuilt, kSaveCaption) == traditional; }));
    EXPECT_EQ(stored(), before) << "the switch saved the profile";

    ASSERT_TRUE(session.Save(rebuilt, ProfileConfigName(0)));
    EXPECT_EQ(stored(), 127);
    EXPECT_EQ(session.CloseWithExitButton(rebuilt), 0);
}

} // namespace
} // namespace veldrane
