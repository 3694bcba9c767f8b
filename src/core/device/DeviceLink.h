#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>

namespace veldrane {

class HidBackend;
class HidDevice;
class Sleeper;

// The report lengths of the command interface, as the search found them.
struct CommandReportLengths
{
    std::uint16_t feature = 0;
    std::uint16_t input = 0;
    std::uint16_t output = 0; // recorded, not used: output reports are always 65 bytes
};

// The notification interface as the listener takes it.
struct ListenerInterface
{
    std::shared_ptr<HidDevice> device;
    std::uint16_t inputLength = 0;
    // Changes with every search, so that a listener whose read failed knows when to try again.
    std::uint64_t generation = 0;
};

// The state of the connection to the mouse, one for the whole process, owned by the application:
// the backend and the sleeper that pace it, the open command interface and its report lengths,
// the notification interface for the listener, and the connected flag. The command interface
// belongs to the GUI thread; the connected flag and the notification interface are shared with the
// listener thread and guarded here.
class DeviceLink
{
public:
    DeviceLink(HidBackend& backend, Sleeper& sleeper);
    ~DeviceLink();
    DeviceLink(const DeviceLink&) = delete;
    DeviceLink& operator=(const DeviceLink&) = delete;

    HidBackend& Backend() const { return m_backend; }
    Sleeper& Pauses() const { return m_sleeper; }

    // GUI thread. Null while no command interface is open; the transport then talks to nobody.
    HidDevice* CommandDevice() const { return m_command.get(); }
    const CommandReportLengths& CommandLengths() const { return m_commandLengths; }
    void SetCommandInterface(std::unique_ptr<HidDevice> device, CommandReportLengths lengths);

    // Replaces the notification interface (null: none) and wakes the listener, also out of a read
    // of the old one.
    void SetListenerInterface(std::shared_ptr<HidDevice> device, std::uint16_t inputLength);

    bool IsConnected() const;
    // Wakes the listener: one that waits for the mouse starts reading once the search has set
    // the interfaces and then the flag; one that reads stops when the flag is cleared.
    void SetConnected(bool connected);

    // Listener thread: waits until the mouse is connected with a notification interface that is
    // not the one of `failedGeneration`, or until `stop` is set (then nothing).
    std::optional<ListenerInterface> WaitForListenerInterface(std::uint64_t failedGeneration,
                                                              const std::atomic<bool>& stop);
    // Wakes the listener, also out of a read that waits for a report, so that it looks at `stop`
    // again.
    void WakeListener();
    // Waits at most `timeout` until the listener waits for the mouse rather than reading; lets a
    // test on another thread know that the listener has finished with its last read.
    bool WaitUntilListenerWaits(std::chrono::milliseconds timeout) const;

private:
    HidBackend& m_backend;
    Sleeper& m_sleeper;
    std::unique_ptr<HidDevice> m_command;
    CommandReportLengths m_commandLengths;

    mutable std::mutex m_mutex;
    std::condition_variable m_listenerWake;
    mutable std::condition_variable m_listenerWaits;
    bool m_connected = false;
    bool m_listenerWaiting = false;
    ListenerInterface m_listener;
};

} // namespace veldrane
