#pragma once

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <initializer_list>
#include <iterator>
#include <memory>
#include <numeric>
#include <optional>
#include <span>
#include <vector>

#include <gtest/gtest.h>

#include "core/device/DeviceImage.h"
#include "core/device/DeviceLink.h"
#include "ports/HidBackend.h"
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
    const unsigned sum = std::accumulate(report.begin() + 1, report.begin() + 8, 0u);
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
    std::ranges::copy_if(mouse.Log(), std::back_inserter(reports),
                         [](const LoggedReport& report) { return report.interface == SimulatedInterface::Command; });
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

// What a scripted device is to answer and what it was asked, kept apart from the device so that
// a test still sees it once the link owns the device.
struct HidScript
{
    std::optional<std::vector<std::uint8_t>> featureAnswer; // nothing: the fetch fails
    std::deque<std::vector<std::uint8_t>> inputReports;     // an empty queue reads as a time-out
    bool refuseFeature = false;
    bool refuseAnswers = false;       // fetches and writes
    std::function<void()> beforeWait; // only a listener waits; without this a wait fails the test

    std::vector<std::vector<std::uint8_t>> featuresSent;
    std::size_t featureFetches = 0;
    std::vector<std::vector<std::uint8_t>> outputsWritten;
    std::vector<std::size_t> readSizes;
    std::vector<std::chrono::milliseconds> readTimeouts;
};

// A device that plays back a script, for the transport's edges that no sane mouse shows. A
// refused report is still recorded, as the platform saw it.
class ScriptedHidDevice : public HidDevice
{
public:
    explicit ScriptedHidDevice(std::shared_ptr<HidScript> script) : m_script(std::move(script)) {}

    bool SetFeature(std::span<const std::uint8_t> report) override
    {
        m_script->featuresSent.emplace_back(report.begin(), report.end());
        return !m_script->refuseFeature;
    }
    bool GetFeature(std::span<std::uint8_t> report) override
    {
        ++m_script->featureFetches;
        if (!m_script->featureAnswer || m_script->refuseAnswers) {
            return false;
        }
        std::copy_n(m_script->featureAnswer->begin(), std::min(report.size(), m_script->featureAnswer->size()),
                    report.begin());
        return true;
    }
    bool WriteOutput(std::span<const std::uint8_t> report) override
    {
        m_script->outputsWritten.emplace_back(report.begin(), report.end());
        return !m_script->refuseAnswers;
    }
    HidReadResult ReadInput(std::span<std::uint8_t> report, std::chrono::milliseconds timeout) override
    {
        m_script->readSizes.push_back(report.size());
        m_script->readTimeouts.push_back(timeout);
        if (m_script->inputReports.empty()) {
            return {};
        }
        const std::vector<std::uint8_t> next = m_script->inputReports.front();
        m_script->inputReports.pop_front();
        const std::size_t length = std::min(next.size(), report.size());
        std::copy_n(next.begin(), length, report.begin());
        return {length, false};
    }
    // The transport never waits without a time-out; a wait on a command interface is a fault of the caller.
    HidReadResult WaitInput(std::span<std::uint8_t> report) override
    {
        if (!m_script->beforeWait) {
            ADD_FAILURE() << "a read without a time-out on a command interface";
            return {0, true};
        }
        m_script->beforeWait();
        return ReadInput(report, {});
    }
    void Wake() override {}

private:
    std::shared_ptr<HidScript> m_script;
};

} // namespace veldrane::test
