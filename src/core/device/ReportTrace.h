#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <string_view>

#include "ports/HidBackend.h"

namespace veldrane {

class Clock;

// A line for every report between the configurator and the mouse, "+MS KIND HEX": the
// milliseconds since the trace began, SET_FEATURE, GET_FEATURE, WRITE or READ, and the report's
// bytes in upper-case hex separated by blanks. Reports sent are written whether or not the
// mouse took them; reports fetched only when they came. The listener thread and the GUI thread
// both talk to the mouse, so lines are written one at a time.
class ReportTrace
{
public:
    using LineWriter = std::function<void(const std::string& line)>;

    ReportTrace(LineWriter writeLine, const Clock& clock);

    void Report(std::string_view kind, std::span<const std::uint8_t> bytes);

private:
    std::mutex m_mutex;
    LineWriter m_writeLine;
    const Clock& m_clock;
    std::chrono::milliseconds m_start;
};

// A backend that traces every report of the devices it opens and otherwise passes everything to
// the backend it wraps.
class TracingHidBackend : public HidBackend
{
public:
    TracingHidBackend(HidBackend& backend, ReportTrace& trace) : m_backend(backend), m_trace(trace) {}

    std::vector<HidInterfaceInfo> Enumerate() override { return m_backend.Enumerate(); }
    std::unique_ptr<HidDevice> Open(const std::string& path, HidOpenMode mode) override;

private:
    HidBackend& m_backend;
    ReportTrace& m_trace;
};

} // namespace veldrane
