#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "ports/HidBackend.h"

namespace veldrane {

// A hidraw node opened for reading input reports only, as the listener reads the notification
// interface. A read sleeps in poll(2) on the node together with an eventfd that Wake signals, so
// that a quiet mouse costs no wake-ups at all and a stop still ends the wait at once. Reports
// start with their report id, 0 on a node without numbered reports (hidraw leaves it out).
class HidrawReader : public HidDevice
{
public:
    // Nothing when the node or the eventfd cannot be opened.
    static std::unique_ptr<HidrawReader> Open(const std::string& path, bool numberedReports);
    ~HidrawReader() override;
    HidrawReader(const HidrawReader&) = delete;
    HidrawReader& operator=(const HidrawReader&) = delete;

    // A reading interface takes no commands.
    bool SetFeature(std::span<const std::uint8_t>) override { return false; }
    bool GetFeature(std::span<std::uint8_t>) override { return false; }
    bool WriteOutput(std::span<const std::uint8_t>) override { return false; }

    HidReadResult ReadInput(std::span<std::uint8_t> report, std::chrono::milliseconds timeout) override;
    HidReadResult WaitInput(std::span<std::uint8_t> report) override;
    void Wake() override;

private:
    HidrawReader(int node, int wake, bool numberedReports);
    // timeoutMs -1: no time-out.
    HidReadResult Read(std::span<std::uint8_t> report, int timeoutMs);

    int m_node;
    int m_wake;
    bool m_numbered;
};

} // namespace veldrane
