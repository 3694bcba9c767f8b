#pragma once

#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "ports/HidBackend.h"
#include "ports/HotplugSource.h"
#include "sim/SimulatedFault.h"

namespace veldrane {

class Clock;
class Sleeper;

// The mouse's HID interfaces: a standard pointer, the command interface, the notification interface.
enum class SimulatedInterface
{
    Pointer,
    Command,
    Notification,
};

enum class ReportKind
{
    SetFeature,
    GetFeature,
    Write,
    Read,
};

// One report on one of the mouse's interfaces, in the order they happened.
struct LoggedReport
{
    std::chrono::milliseconds time{0};
    SimulatedInterface interface = SimulatedInterface::Command;
    ReportKind kind = ReportKind::SetFeature;
    // As sent, or as handed to the reader (empty for a read that brought nothing).
    std::vector<std::uint8_t> bytes;
    // False when the mouse was not there (unplugged, or the handle is from before a re-plug) or
    // stayed silent.
    bool delivered = true;
    // For reads: the time-out the reader asked for.
    std::chrono::milliseconds timeout{0};
};

// The mouse's side of the protocol, behind the same interface as the real backend. It holds what
// the mouse holds (profile number, mode byte, six settings blocks, key matrix, twelve macro slots,
// current CPI stage), checks the framing and checksum of every report (a malformed one is
// recorded in Errors() and not taken), answers 0x82 and 0x8C, stores 0x01, 0x02, 0x03, 0x05,
// 0x0C, 0x0D and 0x0F, and logs every report with the time of the injected clock. It can be
// unplugged and plugged (with hot-plug events), fail on purpose and press its own buttons. Late
// answers wait on the sleeper it is given (on the calling thread, for real without one).
//
// Any thread may call any method: the listener thread reads the notification interface while
// the GUI thread commands the mouse and a test presses buttons. A read of the notification
// interface waits (for real: at most its time-out, or without one until woken) until a report
// comes or the mouse goes away; the command interface never waits, since nothing arrives there
// unasked.
class SimulatedMouse : public HidBackend, public HotplugSource
{
public:
    static constexpr std::size_t kBlockSize = 128;
    static constexpr std::size_t kProfileCount = 6;
    static constexpr std::size_t kMacroSlotCount = 12;
    static constexpr std::size_t kNotificationReportLength = 8;
    static constexpr std::uint16_t kVersion = 0x0104;

    using Block = std::array<std::uint8_t, kBlockSize>;

    // The platform gives up on a feature answer that has not come within this time.
    static constexpr std::chrono::milliseconds kFeatureAnswerTimeout{5000};

    explicit SimulatedMouse(const Clock& clock, Sleeper* sleeper = nullptr);
    ~SimulatedMouse() override;
    SimulatedMouse(const SimulatedMouse&) = delete;
    SimulatedMouse& operator=(const SimulatedMouse&) = delete;

    // HidBackend: the interfaces of other devices first, then the mouse's while it is plugged.
    std::vector<HidInterfaceInfo> Enumerate() override;
    std::unique_ptr<HidDevice> Open(const std::string& path, HidOpenMode mode) override;

    // HotplugSource: one event per interface of the mouse on each plug and unplug.
    std::vector<HotplugEvent> TakeEvents() override;
    bool WaitForEvents(std::chrono::milliseconds timeout) override;
    int PollDescriptor() const override { return -1; }

    static std::span<const std::uint8_t> ReportDescriptor(SimulatedInterface interface);
    static std::string PathOf(SimulatedInterface interface);

    // The order in which Enumerate lists the mouse's interfaces.
    void SetInterfaceOrder(std::vector<SimulatedInterface> order);
    // An interface of another device; one that is not `openable` cannot be opened, like the
    // nodes of other people's devices.
    void AddOtherInterface(const HidInterfaceInfo& info, bool openable);

    void Unplug();
    void Plug();
    bool IsPlugged() const;
    // Unplugs the mouse right after `count` more reports have reached its command interface.
    void UnplugAfterCommandReports(std::size_t count);
    // Silent and Garbage change how it answers until the next of them or None; None also ends
    // Slow. UnplugAfter counts from now, like UnplugAfterCommandReports.
    void SetFault(const SimulatedFault& fault);

    // Buttons. A CPI button sets the current stage and reports 06 07 01 stage; the macro key
    // reports 06 07 09 number. SendNotificationReport sends any bytes as they are.
    void PressCpiButton(std::uint8_t stage);
    void PressMacroKey(std::uint8_t number);
    void PressButton(std::uint8_t code, std::uint8_t value);
    void SendNotificationReport(std::span<const std::uint8_t> report);

    // What the mouse holds.
    std::uint8_t ProfileNumber() const;
    void SetProfileNumber(std::uint8_t number);
    std::uint8_t ModeByte() const;
    std::uint8_t SelectedProfile() const;
    std::uint8_t ReportRate() const;
    std::uint8_t SideButtonLight() const;
    std::uint8_t CpiStage() const;
    Block SettingsBlock(std::size_t profile) const;
    void SetSettingsBlock(std::size_t profile, const Block& block);
    Block KeyMatrix() const;
    // Slot 1 to 12.
    Block MacroSlot(std::size_t number) const;

    // Waits at most `timeout` (for real) until a reader waits on the notification interface, so a
    // test on another thread knows the listener is inside its read. True when one does.
    bool WaitForNotificationReader(std::chrono::milliseconds timeout) const;

    std::vector<LoggedReport> Log() const;
    void ClearLog();
    // What was wrong with the reports the mouse refused, one line each.
    std::vector<std::string> Errors() const;

    // The settings block the mouse comes with for profile `profile`: CPI codes 16, 32, 48, 64,
    // 80, 96 in bytes 84 to 89 and again from 92, every other byte a pattern that differs from
    // its neighbours.
    static Block FactorySettingsBlock(std::size_t profile);

    struct State;

private:
    std::shared_ptr<State> m_state;
};

} // namespace veldrane
