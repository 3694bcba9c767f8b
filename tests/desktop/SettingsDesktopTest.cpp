// A settings section in the real program: a user opens "USB Report Rate", presses the upper left
// quarter of its ring (125 Hz) and saves; the simulated mouse receives reportRate 8 with command
// 0x03 and the profile file keeps it.

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

INSTANTIATE_TEST_SUITE_P(Languages, SettingsDesktopTest, ::testing::Values("EN", "CHS"));

} // namespace
} // namespace veldrane
