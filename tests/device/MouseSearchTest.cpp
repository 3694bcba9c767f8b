#include <atomic>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "MouseTestSupport.h"
#include "device/CommandSet.h"
#include "device/MouseSearch.h"

namespace veldrane::test {
namespace {

// The simulated mouse, noting how each path was opened.
class OpenRecordingBackend : public HidBackend
{
public:
    explicit OpenRecordingBackend(SimulatedMouse& mouse) : m_mouse(mouse) {}
    std::vector<HidInterfaceInfo> Enumerate() override { return m_mouse.Enumerate(); }
    std::unique_ptr<HidDevice> Open(const std::string& path, HidOpenMode mode) override
    {
        opened[path] = mode;
        return m_mouse.Open(path, mode);
    }

    std::map<std::string, HidOpenMode> opened;

private:
    SimulatedMouse& m_mouse;
};

HidInterfaceInfo Interface(const std::string& path, std::uint16_t vendor, std::uint16_t usagePage, std::uint16_t usage,
                           std::uint16_t input)
{
    HidInterfaceInfo info;
    info.path = path;
    info.vendorId = vendor;
    info.productId = vendor == kMouseVendorId ? kMouseProductId : 0xC077;
    info.usagePage = usagePage;
    info.usage = usage;
    info.inputReportLength = input;
    info.outputReportLength = vendor == kMouseVendorId ? 65 : 0;
    info.featureReportLength = vendor == kMouseVendorId ? 9 : 0;
    return info;
}

class MouseSearchTest : public MouseTest
{
protected:
    // Searches through `backend` and tells whether the link has both interfaces and commands reach
    // the simulated mouse's command interface.
    void ExpectFound(HidBackend& backend)
    {
        DeviceLink searched{backend, clock};
        ASSERT_TRUE(FindMouse(searched));
        EXPECT_TRUE(searched.IsConnected());
        const CommandReportLengths lengths = searched.CommandLengths();
        EXPECT_EQ(std::tuple(lengths.feature, lengths.input, lengths.output), std::tuple(9, 65, 65));
        const std::atomic<bool> stop{false};
        const auto listener = searched.WaitForListenerInterface(0, stop);
        ASSERT_TRUE(listener);
        EXPECT_NE(listener->device, nullptr);
        EXPECT_EQ(listener->inputLength, 8);
        mouse.ClearLog();
        SendModeByte(searched, image);
        const auto reports = CommandReports(mouse);
        ASSERT_EQ(reports.size(), 1u);
        EXPECT_TRUE(reports[0].delivered);
    }
};

// On Linux most HID nodes of other devices are not open to the user; they must not hide the
// mouse. Listed first and open to the user, a too long command interface still does not stand in
// for it.
TEST_F(MouseSearchTest, FindsBothInterfacesWhateverTheOrderPastOtherDevicesAndTooLongInputs)
{
    const HidInterfaceInfo tooLong = Interface("mouse:long", kMouseVendorId, kCommandUsagePage, kCommandUsage, 81);
    EXPECT_EQ(ClassifyInterface(Interface("fits", kMouseVendorId, kCommandUsagePage, kCommandUsage, 80)),
              MouseInterfaceRole::Command);
    EXPECT_EQ(ClassifyInterface(tooLong), MouseInterfaceRole::Other);
    mouse.AddOtherInterface(Interface("other:locked", 0x046D, 0x0001, 0x0002, 5), false);
    mouse.AddOtherInterface(Interface("other:open", 0x046D, 0x0001, 0x0002, 5), true);
    mouse.AddOtherInterface(tooLong, true);
    using I = SimulatedInterface;
    const std::vector<std::vector<I>> orders = {{I::Pointer, I::Command, I::Notification},
                                                {I::Command, I::Notification, I::Pointer},
                                                {I::Notification, I::Pointer, I::Command}};
    for (const auto& order : orders) {
        mouse.SetInterfaceOrder(order);
        OpenRecordingBackend backend(mouse);
        ExpectFound(backend);
        EXPECT_EQ(backend.opened, (std::map<std::string, HidOpenMode>{
                                      {SimulatedMouse::PathOf(I::Command), HidOpenMode::Commands},
                                      {SimulatedMouse::PathOf(I::Notification), HidOpenMode::Reading}}));
    }
}

} // namespace
} // namespace veldrane::test
