#pragma once

#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <span>
#include <vector>

#include <gtest/gtest.h>

#include "device/DeviceImage.h"
#include "device/DeviceLink.h"
#include "sim/SimulatedMouse.h"
#include "support/FakeClock.h"

namespace veldrane::test {

using Bytes = std::vector<std::uint8_t>;

// The 9-byte feature report that carries a command: report id 0, the command bytes (the rest 0)
// and byte 7 chosen so that the eight command bytes add up to 0xFF.
inline Bytes Feature(std::initializer_list<std::uint8_t> command)
{
    Bytes report(9, 0);
    std::copy(command.begin(), command.end(), report.begin() + 1);
    unsigned sum = 0;
    for (std::size_t i = 1; i < 8; ++i) {
        sum += report[i];
    }
    report[8] = static_cast<std::uint8_t>(0xFF - sum % 256);
    return report;
}

// The 65-byte output report that carries `chunk` (64 bytes).
inline Bytes Output(std::span<const std::uint8_t> chunk)
{
    Bytes report(65, 0);
    std::copy(chunk.begin(), chunk.end(), report.begin() + 1);
    return report;
}

inline std::vector<LoggedReport> CommandReports(const SimulatedMouse& mouse)
{
    std::vector<LoggedReport> reports;
    for (const LoggedReport& report : mouse.Log()) {
        if (report.interface == SimulatedInterface::Command) {
            reports.push_back(report);
        }
    }
    return reports;
}

// A simulated mouse on a fake clock, found and ready, as every device test starts.
class MouseTest : public ::testing::Test
{
protected:
    FakeClock clock;
    SimulatedMouse mouse{clock, &clock}; // late answers wait on the test's clock
    DeviceLink link{mouse, clock};
    DeviceImage image;
};

} // namespace veldrane::test
