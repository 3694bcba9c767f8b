#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "MouseTestSupport.h"
#include "device/CommandSet.h"
#include "device/MouseSearch.h"
#include "device/ReportTrace.h"
#include "platform/HidBackend.h"

namespace veldrane::test {
namespace {

using namespace std::chrono_literals;

class ReportTraceTest : public ::testing::Test
{
protected:
    FakeClock clock;
    SimulatedMouse mouse{clock};
    std::vector<std::string> lines;
    ReportTrace trace{[this](const std::string& line) { lines.push_back(line); }, clock};
    TracingHidBackend tracing{mouse, trace};
    DeviceLink link{tracing, clock};
    DeviceImage image;
};

TEST_F(ReportTraceTest, WritesEachReportWithItsTimeKindAndBytes)
{
    std::unique_ptr<HidDevice> device;
    for (const HidInterfaceInfo& info : tracing.Enumerate()) {
        if (info.featureReportLength == 9) {
            device = tracing.Open(info.path, HidOpenMode::Commands);
        }
    }
    ASSERT_NE(device, nullptr);
    clock.Advance(250ms); // the trace counts from its own start
    ASSERT_TRUE(device->SetFeature(Feature({0x82})));
    clock.Advance(16ms);
    Bytes answer(9, 0);
    ASSERT_TRUE(device->GetFeature(answer));

    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "+250 SET_FEATURE 00 82 00 00 00 00 00 00 7D");
    // The mouse answers 0x82 with its profile number, 0 here.
    EXPECT_EQ(lines[1], "+266 GET_FEATURE 00 82 00 00 00 00 00 00 7D");
}

} // namespace
} // namespace veldrane::test
