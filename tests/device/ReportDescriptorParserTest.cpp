#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "device/ReportDescriptorParser.h"
#include "sim/SimulatedMouse.h"

namespace veldrane {
namespace {

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
        // Bits are summed per report and rounded up once: 3 + 2 bits = 1 byte, so 2.
        {"bits", Hex("05 01 09 02 A1 01 75 01 95 03 81 02 95 02 81 02 C0"), false, {{0x0001, 0x0002, 2, 0, 0}}},
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
} // namespace veldrane
