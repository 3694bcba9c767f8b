#include <gtest/gtest.h>

#include "app/SimulatedMouseWindowFixture.h"
#include "profile/ConfigFile.h"

namespace veldrane {
namespace {

using namespace std::chrono_literals;

// The main window's Save and Reset against the simulated mouse, through the real download.
class SimulatedMouseSaveTest : public test::SimulatedMouseWindowFixture
{
protected:
    std::size_t CommandReportCount() const
    {
        std::size_t count = 0;
        for (const auto& report : simulated.Log()) {
            count += report.interface == SimulatedInterface::Command ? 1 : 0;
        }
        return count;
    }
};

TEST_F(SimulatedMouseSaveTest, SaveReachesTheMouseAndTheProfileFiles)
{
    records.Current.reportRate = 2;
    records.Current.sideButtonLight = 0;
    LinkedModel().Press({930, 610});
    EXPECT_EQ(simulated.ReportRate(), 2);
    EXPECT_EQ(simulated.SideButtonLight(), 0);
    const auto stored = ConfigFile::Read(dir / "config0.bin");
    EXPECT_EQ(stored.contents.firstRunFlag, kConfigWrittenFlag);
    EXPECT_EQ(stored.contents.record.reportRate, 2);
    EXPECT_EQ(records.Backup, records.Current);
    EXPECT_TRUE(simulated.Errors().empty());
}

TEST_F(SimulatedMouseSaveTest, SaveTwiceWithinTwoSecondsSendsOneDownload)
{
    LinkedModel().Press({930, 610});
    const std::size_t oneDownload = CommandReportCount();
    ASSERT_GT(oneDownload, 0u);
    clock.Advance(1000ms); // the download itself took 842 ms of the fake clock's pauses
    LinkedModel().OnTimer();
    LinkedModel().Press({930, 610});
    EXPECT_EQ(CommandReportCount(), oneDownload);
    clock.Advance(2000ms);
    LinkedModel().OnTimer();
    LinkedModel().Press({930, 610});
    EXPECT_EQ(CommandReportCount(), 2 * oneDownload);
}

TEST_F(SimulatedMouseSaveTest, SaveWithTheMouseGoneSendsAndStoresNothing)
{
    simulated.Unplug();
    link.SetConnected(false);
    const std::string before = test::ReadFileBytes(dir / "config0.bin");
    records.Current.reportRate = 8;
    LinkedModel().Press({930, 610});
    EXPECT_EQ(CommandReportCount(), 0u);
    EXPECT_EQ(test::ReadFileBytes(dir / "config0.bin"), before);
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(SimulatedMouseSaveTest, ResetDownloadsTheFactorySettings)
{
    records.Current.reportRate = 8;
    records.Current.macroData.fill(0x33);
    LinkedModel().Press({800, 610});
    EXPECT_EQ(records.Current.reportRate, 1);
    EXPECT_EQ(simulated.ReportRate(), 1);
    EXPECT_EQ(records.Current.macroData[0], 0x33);
    EXPECT_EQ(ConfigFile::Read(dir / "config0.bin").contents.record.reportRate, 1);
}

} // namespace
} // namespace veldrane
