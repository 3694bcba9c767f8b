#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "MouseTestSupport.h"
#include "device/DeviceChangeHandler.h"
#include "device/DeviceNotice.h"
#include "device/MouseSearch.h"
#include "platform/HotplugSource.h"
#include "profile/ProfileRecord.h"

namespace veldrane::test {
namespace {

// Records what the main window was asked to do, with how many reports the mouse had seen then.
class RecordingHooks : public DeviceChangeHooks
{
public:
    explicit RecordingHooks(const SimulatedMouse& mouse) : m_mouse(mouse) {}

    void SendDeviceNotice(const DeviceNotice& notice) override
    {
        calls.push_back("notice " + std::to_string(notice.code) + " after " + ReportCount());
    }
    void ReloadProfile() override { calls.push_back("reload after " + ReportCount()); }

    std::vector<std::string> calls;

private:
    std::string ReportCount() const { return std::to_string(CommandReports(m_mouse).size()); }

    const SimulatedMouse& m_mouse;
};

HotplugEvent MouseEvent(HotplugEvent::Kind kind)
{
    return {kind, SimulatedMouse::PathOf(SimulatedInterface::Command), kMouseVendorId, kMouseProductId};
}

class DeviceChangeHandlerTest : public MouseTest
{
protected:
    // The sequence that brings a found mouse into the system's state: 0x82 and its answer, 0x01 FC.
    void ExpectPreparation(const std::vector<LoggedReport>& reports)
    {
        ASSERT_EQ(reports.size(), 3u);
        EXPECT_EQ(reports[0].bytes, (Bytes{0x00, 0x82, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x7D}));
        EXPECT_EQ(reports[1].kind, ReportKind::GetFeature);
        EXPECT_EQ(reports[2].bytes, (Bytes{0x00, 0x01, 0xFC, 0x00, 0x00, 0x00, 0x00, 0x00, 0x02}));
    }

    // Every event the mouse raised since the last call, handled in order.
    void HandleEvents()
    {
        for (const HotplugEvent& event : mouse.TakeEvents()) {
            handler.HandleDeviceChange(event);
        }
    }

    ProfileRecords records{};
    ProfileRecord& record = records.Current;
    RecordingHooks hooks{mouse};
    DeviceChangeHandler handler{link, image, records, hooks};
};

TEST_F(DeviceChangeHandlerTest, StartUpReadsTheProfileNumberThenSendsTheModeByte)
{
    image.bytes.fill(0x5A);
    mouse.SetProfileNumber(4);
    EXPECT_TRUE(handler.ConnectAtStartUp());
    EXPECT_TRUE(link.IsConnected());
    ExpectPreparation(CommandReports(mouse));
    EXPECT_EQ(record.deviceProfile, 4);
    DeviceImage expected;
    expected.bytes[kImageProfileNumber] = 4;
    expected.bytes[kImageModeByte] = 0xFC;
    EXPECT_EQ(image.bytes, expected.bytes);
    EXPECT_TRUE(hooks.calls.empty()); // nothing is shown, nothing downloaded
    EXPECT_TRUE(clock.pauses.empty());
}

// An arrival prepares the mouse; the profile is reloaded from it only when unedited (the plug-in
// test below), and the edits stay otherwise, with the mouse's profile number.
TEST_F(DeviceChangeHandlerTest, ArrivalPreparesTheMouseAndKeepsAnEditedProfile)
{
    record.deviceProfile = 9;
    records.Snapshot();
    record.cpiValue[0] = 77;
    ProfileRecord expected = record;
    expected.deviceProfile = 2;
    mouse.SetProfileNumber(2);
    handler.HandleDeviceChange(MouseEvent(HotplugEvent::Kind::Arrival));
    EXPECT_TRUE(link.IsConnected());
    ExpectPreparation(CommandReports(mouse));
    EXPECT_EQ(image.bytes[kImageProfileNumber], 2);
    EXPECT_EQ(hooks.calls, (std::vector<std::string>{"notice 14 after 0"}));
    EXPECT_EQ(record, expected);
}

TEST_F(DeviceChangeHandlerTest, InterfacesArrivingOneByOneMakeOneArrivalOnceTheMouseIsComplete)
{
    mouse.Unplug();
    ASSERT_FALSE(handler.ConnectAtStartUp());
    mouse.TakeEvents();
    mouse.SetInterfaceOrder({SimulatedInterface::Pointer});
    mouse.Plug();
    HandleEvents();
    mouse.SetInterfaceOrder({SimulatedInterface::Pointer, SimulatedInterface::Command});
    handler.HandleDeviceChange(MouseEvent(HotplugEvent::Kind::Arrival));
    EXPECT_TRUE(hooks.calls.empty()); // no false warning while the mouse is still arriving
    EXPECT_FALSE(link.IsConnected());

    mouse.SetInterfaceOrder(
        {SimulatedInterface::Pointer, SimulatedInterface::Command, SimulatedInterface::Notification});
    for (int event = 0; event < 3; ++event) {
        handler.HandleDeviceChange(MouseEvent(HotplugEvent::Kind::Arrival));
    }
    EXPECT_TRUE(link.IsConnected());
    EXPECT_EQ(hooks.calls, (std::vector<std::string>{"notice 14 after 0", "reload after 3"}));
    ExpectPreparation(CommandReports(mouse));
}

TEST_F(DeviceChangeHandlerTest, PlugOutAndInAreOneRemovalAndOneArrivalAndAnotherInterfaceIsNoRemoval)
{
    ASSERT_TRUE(handler.ConnectAtStartUp());
    handler.HandleDeviceChange(MouseEvent(HotplugEvent::Kind::Removal)); // of an interface the mouse still has
    EXPECT_TRUE(link.IsConnected());
    EXPECT_TRUE(hooks.calls.empty());
    mouse.ClearLog();
    mouse.Unplug();
    HandleEvents(); // one removal event per interface
    EXPECT_FALSE(link.IsConnected());
    EXPECT_EQ(hooks.calls, (std::vector<std::string>{"notice 15 after 0"}));
    EXPECT_TRUE(mouse.Log().empty());

    hooks.calls.clear();
    mouse.Plug();
    HandleEvents(); // one arrival event per interface
    EXPECT_TRUE(link.IsConnected());
    EXPECT_EQ(hooks.calls, (std::vector<std::string>{"notice 14 after 0", "reload after 3"}));
    ExpectPreparation(CommandReports(mouse));
}

} // namespace
} // namespace veldrane::test
