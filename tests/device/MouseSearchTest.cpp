#include <atomic>
#include <map>
#include <string>
#include <string_view>
#include <tuple>

#include <gtest/gtest.h>

#include "MouseTestSupport.h"
#include "device/CommandSet.h"
#include "device/MouseSearch.h"
#include "device/ReportDescriptorParser.h"

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
    const bool ours = vendor == kMouseVendorId;
    return {path,
            vendor,
            ours ? kMouseProductId : std::uint16_t{0xC077},
            0,
            usagePage,
            usage,
            input,
            std::uint16_t(ours ? 65 : 0),
            std::uint16_t(ours ? 9 : 0)};
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

using Descriptor = std::vector<std::uint8_t>;

// "06 00 FF": a descriptor as the tools that dump one print it.
Descriptor Hex(std::string_view text)
{
    Descriptor bytes;
    for (std::size_t i = 0; i + 1 < text.size(); i += 3) {
        bytes.push_back(static_cast<std::uint8_t>(std::stoi(std::string(text.substr(i, 2)), nullptr, 16)));
    }
    return bytes;
}

TEST(ReportDescriptorParser, GivesTheWindowsLengthsOfEveryTopLevelCollection)
{
    const auto pointer = SimulatedMouse::ReportDescriptor(SimulatedInterface::Pointer);
    const struct
    {
        const char* name;
        Descriptor descriptor;
        bool numbered;
        std::vector<TopLevelCollection> collections;
    } cases[] = {
        // 3 button bits + 5 padding bits + X + Y = 3 bytes, so 4; the physical collection inside
        // the application collection is not a top-level collection.
        {"boot mouse", {pointer.begin(), pointer.end()}, false, {{0x0001, 0x0002, 4, 0, 0}}},
        // A wireless receiver's three vendor collections on one node: reports 0x10 (6 bytes) give 7,
        // 0x11 (19 bytes) 20; of 0x20 (14 bytes) and 0x21 (31 bytes) the longest counts: 32.
        {"receiver",
         Hex("06 00 FF 09 01 A1 01 85 10 75 08 95 06 15 00 26 FF 00 09 01 81 00 09 01 91 00 C0 "
             "06 00 FF 09 02 A1 01 85 11 75 08 95 13 15 00 26 FF 00 09 02 81 00 09 02 91 00 C0 "
             "06 00 FF 09 04 A1 01 85 20 75 08 95 0E 15 00 26 FF 00 09 41 81 00 09 41 91 00 "
             "85 21 95 1F 15 00 26 FF 00 09 42 81 00 09 42 91 00 C0"),
         true,
         {{0xFF00, 0x0001, 7, 7, 0}, {0xFF00, 0x0002, 20, 20, 0}, {0xFF00, 0x0004, 32, 32, 0}}},
        // Usage 0xFF000001 in four bytes carries its page; Push keeps size 8 and count 4 while the
        // input uses 16 x 2, and Pop brings them back for the feature: 4 + 1 and 4 + 1.
        {"push and pop",
         Hex("0B 01 00 00 FF A1 01 75 08 95 04 A4 75 10 95 02 81 02 B4 B1 02 C0"),
         false,
         {{0xFF00, 0x0001, 5, 0, 5}}},
        // A long item (0xFE, size 2, tag) in the middle is stepped over.
        {"long item",
         Hex("06 00 FF 09 01 A1 01 FE 02 10 AA BB 75 08 95 02 81 02 C0"),
         false,
         {{0xFF00, 0x0001, 3, 0, 0}}},
        // Report Size 0xFFFFFFFF x Report Count 0xFFFFFFFF, twice, is capped at 65535.
        {"huge",
         Hex("06 00 FF 09 01 A1 01 77 FF FF FF FF 97 FF FF FF FF 81 02 81 02 C0"),
         false,
         {{0xFF00, 0x0001, 0xFFFF, 0, 0}}}};
    for (const auto& c : cases) {
        const ReportDescriptorInfo info = ParseReportDescriptor(c.descriptor);
        EXPECT_EQ(info.numberedReports, c.numbered) << c.name;
        EXPECT_EQ(info.collections, c.collections) << c.name;
    }
}

} // namespace
} // namespace veldrane::test
