#include <algorithm>
#include <atomic>
#include <vector>

#include <gtest/gtest.h>

#include "MouseTestSupport.h"
#include "device/CommandSet.h"
#include "device/MouseSearch.h"

namespace veldrane::test {
namespace {

HidInterfaceInfo OtherDevice(const std::string& path)
{
    HidInterfaceInfo info;
    info.path = path;
    info.vendorId = 0x046D;
    info.productId = 0xC077;
    info.usagePage = 0x0001;
    info.usage = 0x0002;
    info.inputReportLength = 5;
    return info;
}

// An interface with the mouse's ids and the command interface's usage, whose lengths a test sets.
HidInterfaceInfo CommandLike(const std::string& path, std::uint16_t feature, std::uint16_t input = 65)
{
    HidInterfaceInfo info;
    info.path = path;
    info.vendorId = kMouseVendorId;
    info.productId = kMouseProductId;
    info.usagePage = kCommandUsagePage;
    info.usage = kCommandUsage;
    info.inputReportLength = input;
    info.outputReportLength = 65;
    info.featureReportLength = feature;
    return info;
}

class MouseSearchTest : public MouseTest
{
protected:
    // The notification interface the listener would get now, if any.
    std::optional<ListenerInterface> ListenerNow()
    {
        if (!link.IsConnected()) {
            return std::nullopt;
        }
        const std::atomic<bool> stop{false};
        return link.WaitForListenerInterface(0, stop);
    }

    // Whether commands reach the simulated mouse's command interface.
    bool CommandsReachTheMouse()
    {
        mouse.ClearLog();
        SendModeByte(link, image);
        const auto reports = CommandReports(mouse);
        return reports.size() == 1 && reports[0].delivered;
    }
};

TEST_F(MouseSearchTest, FindsBothInterfacesAndSetsConnectedAndTheLengths)
{
    EXPECT_TRUE(FindMouse(link));
    EXPECT_TRUE(link.IsConnected());
    EXPECT_EQ(link.CommandLengths().feature, 9);
    EXPECT_EQ(link.CommandLengths().input, 65);
    EXPECT_EQ(link.CommandLengths().output, 65);
    const auto listener = ListenerNow();
    ASSERT_TRUE(listener);
    EXPECT_NE(listener->device, nullptr);
    EXPECT_EQ(listener->inputLength, 8);
    EXPECT_TRUE(CommandsReachTheMouse());
}

class MouseSearchOrderTest : public MouseSearchTest,
                             public ::testing::WithParamInterface<std::vector<SimulatedInterface>>
{
};

TEST_P(MouseSearchOrderTest, OpensTheNotificationInterfaceWhateverTheOrder)
{
    mouse.SetInterfaceOrder(GetParam());
    EXPECT_TRUE(FindMouse(link));
    const auto listener = ListenerNow();
    ASSERT_TRUE(listener);
    EXPECT_NE(listener->device, nullptr);
}

using I = SimulatedInterface;
INSTANTIATE_TEST_SUITE_P(EveryOrder, MouseSearchOrderTest,
                         ::testing::Values(std::vector{I::Pointer, I::Command, I::Notification},
                                           std::vector{I::Pointer, I::Notification, I::Command},
                                           std::vector{I::Command, I::Pointer, I::Notification},
                                           std::vector{I::Command, I::Notification, I::Pointer},
                                           std::vector{I::Notification, I::Pointer, I::Command},
                                           std::vector{I::Notification, I::Command, I::Pointer}));

TEST_F(MouseSearchTest, PassesOverOtherDevicesAndInterfacesItCannotOpen)
{
    // On Linux most HID nodes of other devices are not open to the user; they must not hide the mouse.
    mouse.AddOtherInterface(OtherDevice("other:locked"), false);
    mouse.AddOtherInterface(OtherDevice("other:open"), true);
    EXPECT_TRUE(FindMouse(link));
    EXPECT_TRUE(CommandsReachTheMouse());
}

TEST_F(MouseSearchTest, CommandInterfaceWithInputLongerThanTheReceiveBufferIsRefused)
{
    EXPECT_EQ(ClassifyInterface(CommandLike("fits", 9, 80)), MouseInterfaceRole::Command);
    EXPECT_EQ(ClassifyInterface(CommandLike("long", 9, 81)), MouseInterfaceRole::Other);
    // Enumerated first and open to the user, it still does not stand in for the mouse's own.
    mouse.AddOtherInterface(CommandLike("mouse:long", 9, 81), true);
    EXPECT_TRUE(FindMouse(link));
    EXPECT_TRUE(CommandsReachTheMouse());
}

} // namespace
} // namespace veldrane::test
