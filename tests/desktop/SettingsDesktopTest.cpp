// The settings sections in the real program: a press on the report-rate dial and drags along a CPI
// slider and a speed dial reach the simulated mouse and the profile file on "Save".

#include <gtest/gtest.h>

#include "DesktopSession.h"
#include "profile/ConfigFile.h"
#include "profile/ProfileFileNames.h"

namespace veldrane {
namespace {

// Window pixels: the third header of the right panel and, once it is open, a point of the ring
// 49 pixels up and left of the dial's centre (855, 172).
constexpr int kReportRateHeaderX = 800, kReportRateHeaderY = 92;
constexpr int kRingX = 820, kRingY = 137;

class SettingsDesktopTest : public test::DesktopTest
{
};

TEST_P(SettingsDesktopTest, ReportRateDialReachesTheMouseOnSave)
{
    test::DesktopSession& session = Session();
    const QString window = session.Start();
    ASSERT_FALSE(window.isEmpty());
    session.Click(window, kReportRateHeaderX, kReportRateHeaderY);
    session.Click(window, kRingX, kRingY);
    const auto aged = session.Age(ProfileConfigName(0));
    session.PressSave(window);
    ASSERT_TRUE(session.WaitUntilWritten(ProfileConfigName(0), aged));

    std::optional<std::vector<std::uint8_t>> reportRate;
    for (const auto& report : session.Reports("SET_FEATURE")) {
        if (report.size() == 9 && report[1] == 0x03) {
            reportRate = report;
        }
    }
    ASSERT_TRUE(reportRate.has_value()) << "no command 0x03";
    EXPECT_EQ((*reportRate)[3], 8);
    EXPECT_EQ(ConfigFile::Read(session / ProfileConfigName(0)).contents.record.reportRate, 8);
    EXPECT_EQ(session.CloseWithExitButton(window), 0);
}

// Window pixels: the "CPI Setting" header, stage 2's track (x 825 to 831, y 58 to 227) once it is
// open; the "Mouse Speed" header alone and its dial's centre (855, 206) once it is open.
constexpr int kCpiHeaderX = 800, kCpiHeaderY = 42;
constexpr int kStage2TrackX = 827;
constexpr int kMouseSpeedHeaderY = 117;
constexpr int kSpeedDialX = 855, kSpeedDialY = 206;

// A user drags stage 2's slider from low down up the track and the "Mouse Speed" dial from its
// left end over the top to the upper right; the values where the pointer let go are saved, and
// the window stays where it was.
TEST_P(SettingsDesktopTest, DraggedSliderAndDialAreSavedAndTheWindowStays)
{
    test::DesktopSession& session = Session();
    const QString window = session.Start();
    ASSERT_FALSE(window.isEmpty());
    const QPoint placed = session.WindowPosition(window);

    session.Click(window, kCpiHeaderX, kCpiHeaderY);
    // 228 - y - 1 for a press at y: 27 at the press, 127 where it lets go
    session.Drag(window, {kStage2TrackX, 200}, {{kStage2TrackX, 150}, {kStage2TrackX + 20, 100}});
    session.Click(window, kCpiHeaderX, kCpiHeaderY); // shut again
    session.Click(window, kCpiHeaderX, kMouseSpeedHeaderY);
    // from the left end (position 2) through straight up (7) to 45 degrees up right (9)
    session.Drag(window, {kSpeedDialX - 50, kSpeedDialY},
                 {{kSpeedDialX, kSpeedDialY - 50}, {kSpeedDialX + 40, kSpeedDialY - 40}});
    EXPECT_EQ(session.WindowPosition(window), placed);

    const auto aged = session.Age(ProfileConfigName(0));
    session.PressSave(window);
    ASSERT_TRUE(session.WaitUntilWritten(ProfileConfigName(0), aged));
    const ProfileRecord saved = ConfigFile::Read(session / ProfileConfigName(0)).contents.record;
    EXPECT_EQ(saved.cpiValue[1], 127);
    EXPECT_EQ(saved.mouseSpeed, 9);
    EXPECT_EQ(session.CloseWithExitButton(window), 0);
}

INSTANTIATE_TEST_SUITE_P(Languages, SettingsDesktopTest, ::testing::Values("EN", "CHS"));

} // namespace
} // namespace veldrane
