#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "device/ReportDescriptorParser.h"
#include "sim/SimulatedMouse.h"

namespace veldrane {
namespace {

using Descriptor = std::vector<std::uint8_t>;

// A wireless receiver's vendor collections, three top-level collections on one node. Short
// reports (id 0x10, 6 bytes) give 7, long ones (id 0x11, 19 bytes) 20; the third collection has
// reports 0x20 (14 bytes) and 0x21 (31 bytes), and the longest counts: 32.
const Descriptor kReceiverVendorCollections = {
    0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x85, 0x10, 0x75, 0x08, 0x95, 0x06, 0x15, 0x00, 0x26, 0xFF,
    0x00, 0x09, 0x01, 0x81, 0x00, 0x09, 0x01, 0x91, 0x00, 0xC0, 0x06, 0x00, 0xFF, 0x09, 0x02, 0xA1, 0x01,
    0x85, 0x11, 0x75, 0x08, 0x95, 0x13, 0x15, 0x00, 0x26, 0xFF, 0x00, 0x09, 0x02, 0x81, 0x00, 0x09, 0x02,
    0x91, 0x00, 0xC0, 0x06, 0x00, 0xFF, 0x09, 0x04, 0xA1, 0x01, 0x85, 0x20, 0x75, 0x08, 0x95, 0x0E, 0x15,
    0x00, 0x26, 0xFF, 0x00, 0x09, 0x41, 0x81, 0x00, 0x09, 0x41, 0x91, 0x00, 0x85, 0x21, 0x95, 0x1F, 0x15,
    0x00, 0x26, 0xFF, 0x00, 0x09, 0x42, 0x81, 0x00, 0x09, 0x42, 0x91, 0x00, 0xC0,
};

Descriptor Of(std::span<const std::uint8_t> bytes)
{
    return {bytes.begin(), bytes.end()};
}

struct DescriptorCase
{
    std::string name;
    Descriptor descriptor;
    bool numbered;
    std::vector<TopLevelCollection> collections;
};

class ReportDescriptorParserTest : public ::testing::TestWithParam<DescriptorCase>
{
};

TEST_P(ReportDescriptorParserTest, GivesTheWindowsLengthsOfEveryTopLevelCollection)
{
    const ReportDescriptorInfo info = ParseReportDescriptor(GetParam().descriptor);
    EXPECT_EQ(info.numberedReports, GetParam().numbered);
    EXPECT_EQ(info.collections, GetParam().collections);
}

INSTANTIATE_TEST_SUITE_P(Descriptors, ReportDescriptorParserTest,
                         ::testing::Values(
                             // The boot mouse: 3 button bits + 5 padding bits + X + Y = 3 bytes, so 4. Its physical
                             // collection inside the application collection is not a top-level collection.
                             DescriptorCase{"BootMouse",
                                            Of(SimulatedMouse::ReportDescriptor(SimulatedInterface::Pointer)),
                                            false,
                                            {{0x0001, 0x0002, 4, 0, 0}}},
                             DescriptorCase{
                                 "ReceiverVendorCollections",
                                 kReceiverVendorCollections,
                                 true,
                                 {{0xFF00, 0x0001, 7, 7, 0}, {0xFF00, 0x0002, 20, 20, 0}, {0xFF00, 0x0004, 32, 32, 0}}},
                             // Usage (0xFF000001) in four bytes carries its page; Push keeps size 8 and count 4 while
                             // the input uses 16 x 2, and Pop brings them back for the feature: 4 + 1 and 4 + 1.
                             DescriptorCase{"ExtendedUsageAndPushPop",
                                            {0x0B, 0x01, 0x00, 0x00, 0xFF, 0xA1, 0x01, 0x75, 0x08, 0x95, 0x04,
                                             0xA4, 0x75, 0x10, 0x95, 0x02, 0x81, 0x02, 0xB4, 0xB1, 0x02, 0xC0},
                                            false,
                                            {{0xFF00, 0x0001, 5, 0, 5}}},
                             // A long item (0xFE, size 2, tag) in the middle is stepped over.
                             DescriptorCase{"LongItemSkipped",
                                            {0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0xFE, 0x02, 0x10, 0xAA, 0xBB,
                                             0x75, 0x08, 0x95, 0x02, 0x81, 0x02, 0xC0},
                                            false,
                                            {{0xFF00, 0x0001, 3, 0, 0}}},
                             // Bits are summed per report and rounded up once: 3 + 2 bits = 1 byte, so 2.
                             DescriptorCase{"BitsRoundedUpPerReport",
                                            {0x05, 0x01, 0x09, 0x02, 0xA1, 0x01, 0x75, 0x01, 0x95, 0x03, 0x81, 0x02,
                                             0x95, 0x02, 0x81, 0x02, 0xC0},
                                            false,
                                            {{0x0001, 0x0002, 2, 0, 0}}},
                             // Report Size 0xFFFFFFFF x Report Count 0xFFFFFFFF, twice, is capped at 65535.
                             DescriptorCase{"HugeReportCapped",
                                            {0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x77, 0xFF, 0xFF, 0xFF,
                                             0xFF, 0x97, 0xFF, 0xFF, 0xFF, 0xFF, 0x81, 0x02, 0x81, 0x02, 0xC0},
                                            false,
                                            {{0xFF00, 0x0001, 0xFFFF, 0, 0}}}),
                         [](const auto& info) { return info.param.name; });

} // namespace
} // namespace veldrane
