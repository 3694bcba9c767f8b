#include "core/device/ReportTrace.h"

#include <algorithm>

#include "ports/Clock.h"

namespace veldrane {

namespace {

std::string HexBytes(std::span<const std::uint8_t> bytes)
{
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text;
    text.reserve(bytes.size() * 3);
    for (const std::uint8_t byte : bytes) {
        if (!text.empty()) {
            text += ' ';
        }
        text += kDigits[byte >> 4];
        text += kDigits[byte & 0x0F];
    }
    return text;
}

class TracingDevice : public HidDevice
{
public:
    TracingDevice(std::unique_ptr<HidDevice> device, ReportTrace& trace) : m_device(std::move(device)), m_trace(trace)
    {}

    bool SetFeature(std::span<const std::uint8_t> report) override
    {
        m_trace.Report("SET_FEATURE", report);
        return m_device->SetFeature(report);
    }
    bool GetFeature(std::span<std::uint8_t> report) override
    {
        const bool fetched = m_device->GetFeature(report);
        if (fetched) {
            m_trace.Report("GET_FEATURE", report);
        }
        return fetched;
    }
    bool WriteOutput(std::span<const std::uint8_t> report) override
    {
        m_trace.Report("WRITE", report);
        return m_device->WriteOutput(report);
    }
    HidReadResult ReadInput(std::span<std::uint8_t> report, std::chrono::milliseconds timeout) override
    {
        return Traced(report, m_device->ReadInput(report, timeout));
    }
    HidReadResult WaitInput(std::span<std::uint8_t> report) override
    {
        return Traced(report, m_device->WaitInput(report));
    }
    void Wake() override { m_device->Wake(); }

private:
    HidReadResult Traced(std::span<std::uint8_t> report, HidReadResult read)
    {
        if (!read.failed && read.length > 0) {
            m_trace.Report("READ", report.first(std::min(read.length, report.size())));
        }
        return read;
    }

    std::unique_ptr<HidDevice> m_device;
    ReportTrace& m_trace;
};

} // namespace

ReportTrace::ReportTrace(LineWriter writeLine, const Clock& clock)
    : m_writeLine(std::move(writeLine)), m_clock(clock), m_start(clock.Now())
{}

void ReportTrace::Report(std::string_view kind, std::span<const std::uint8_t> bytes)
{
    std::string line = '+' + std::to_string((m_clock.Now() - m_start).count()) + ' ';
    line += kind;
    if (!bytes.empty()) {
        line += ' ';
        line += HexBytes(bytes);
    }
    const std::lock_guard lock(m_mutex);
    m_writeLine(line);
}

std::unique_ptr<HidDevice> TracingHidBackend::Open(const std::string& path, HidOpenMode mode)
{
    auto device = m_backend.Open(path, mode);
    if (!device) {
        return nullptr;
    }
    return std::make_unique<TracingDevice>(std::move(device), m_trace);
}

} // namespace veldrane
