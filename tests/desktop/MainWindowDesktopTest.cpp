// The main window in the real program: a language chosen on its help panel shows at once, in a
// window built anew where the old one was, and keeps the unsaved edits.

#include <gtest/gtest.h>

#include <QProcess>

#include "DesktopSession.h"
#include "core/ini/IniFile.h"
#include "core/profile/ConfigFile.h"
#include "core/profile/ProfileFileNames.h"

namespace veldrane {
namespace {

// Window pixels: the "CPI Setting" header, stage 2's track (x 825 to 831, y 58 to 227) once it is
// open.
constexpr int kCpiHeaderX = 800, kCpiHeaderY = 42;
constexpr int kStage2TrackX = 827;

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
