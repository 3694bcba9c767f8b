#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "MouseTestSupport.h"
#include "device/ReportTrace.h"

namespace veldrane::test {
namespace {

using namespace std::chrono_literals;

TEST(ReportTrace, WritesEachReportWithItsTimeKindAndBytes)
{
    FakeClock clock;
    SimulatedMouse mouse{clock};
    std::vector<std::string> lines;
    ReportTrace trace{[&](const std::string& line) { lines.push_back(line); }, clock};
    TracingHidBackend tracing{mouse, trace};
    const auto device = tracing.Open(SimulatedMouse::PathOf(SimulatedInterface::Command), HidOpenMode::Commands);
    ASSERT_NE(device, nullptr);
    clock.Advance(250ms); // the trace counts from its own start
    ASSERT_TRUE(device->SetFeature(Feature({0x82})));
    clock.Advance(16ms);
    Bytes answer(9, 0);
    ASSERT_TRUE(device->GetFeature(answer));
    // The mouse answers 0x82 with its profile number, 0 here.
    EXPECT_EQ(lines, (std::vector<std::string>{"+250 SET_FEATURE 00 82 00 00 00 00 00 00 7D",
                                               "+266 GET_FEATURE 00 82 00 00 00 00 00 00 7D"}));
}

} // namespace
} // namespace veldrane::test
