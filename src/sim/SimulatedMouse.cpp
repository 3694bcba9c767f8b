#include "sim/SimulatedMouse.h"

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <iomanip>
#include <mutex>
#include <optional>
#include <sstream>
#include <thread>

#include "core/device/CommandReport.h"
#include "core/device/CommandSet.h"
#include "core/device/DeviceNotice.h"
#include "core/device/HidTransport.h"
#include "core/device/MouseSearch.h"
#include "core/device/ReportDescriptorParser.h"
#include "core/device/SettingsBlock.h"
#include "ports/Clock.h"
#include "ports/Sleeper.h"

namespace veldrane {

namespace {

// A standard boot mouse: three buttons, X and Y, input report 3 bytes.
constexpr std::uint8_t kPointerDescriptor[] = {
    0x05, 0x01, 0x09, 0x02, 0xA1, 0x01, 0x09, 0x01, 0xA1, 0x00, 0x05, 0x09, 0x19, 0x01, 0x29, 0x03, 0x15,
    0x00, 0x25, 0x01, 0x95, 0x03, 0x75, 0x01, 0x81, 0x02, 0x95, 0x01, 0x75, 0x05, 0x81, 0x01, 0x05, 0x01,
    0x09, 0x30, 0x09, 0x31, 0x15, 0x81, 0x25, 0x7F, 0x75, 0x08, 0x95, 0x02, 0x81, 0x06, 0xC0, 0xC0,
};

// The command interface: vendor page 0xFF00, usage 0xFF00, no report ids; 64-byte input and output
// reports, 8-byte feature report.
constexpr std::uint8_t kCommandDescriptor[] = {
    0x06, 0x00, 0xFF, // Usage Page (0xFF00)
    0x0A, 0x00, 0xFF, // Usage (0xFF00)
    0xA1, 0x01,       // Collection (Application)
    0x15, 0x00,       //   Logical Minimum (0)
    0x26, 0xFF, 0x00, //   Logical Maximum (255)
    0x75, 0x08,       //   Report Size (8)
    0x95, 0x40,       //   Report Count (64)
    0x09, 0x01,       //   Usage (1)
    0x81, 0x02,       //   Input (Data, Variable, Absolute)
    0x95, 0x40,       //   Report Count (64)
    0x09, 0x02,       //   Usage (2)
    0x91, 0x02,       //   Output (Data, Variable, Absolute)
    0x95, 0x08,       //   Report Count (8)
    0x09, 0x03,       //   Usage (3)
    0xB1, 0x02,       //   Feature (Data, Variable, Absolute)
    0xC0,             // End Collection
};

// The notification interface: vendor page 0xFF01, usage 1, input report 6 with 7 data bytes.
constexpr std::uint8_t kNotificationDescriptor[] = {
    0x06, 0x01, 0xFF, // Usage Page (0xFF01)
    0x09, 0x01,       // Usage (1)
    0xA1, 0x01,       // Collection (Application)
    0x85, 0x06,       //   Report ID (6)
    0x15, 0x00,       //   Logical Minimum (0)
    0x26, 0xFF, 0x00, //   Logical Maximum (255)
    0x75, 0x08,       //   Report Size (8)
    0x95, 0x07,       //   Report Count (7)
    0x09, 0x01,       //   Usage (1)
    0x81, 0x02,       //   Input (Data, Variable, Absolute)
    0xC0,             // End Collection
};

// What a mouse in the Garbage fault answers to every read command: a wrong code, a profile number
// out of range, a block length of 255 and a wrong checksum.
constexpr std::array<std::uint8_t, kCommandReportSize> kGarbageAnswer = {0xA5, 0x3C, 0xFF, 0x96,
                                                                         0x5A, 0xC3, 0x0F, 0x77};
// ...and what comes in place of a block: one input report far shorter than a chunk.
constexpr std::size_t kGarbageInputLength = 23;
constexpr std::uint8_t kGarbageFill = 0xE7;

constexpr std::uint8_t kMacroKeyCode = 0x09;
constexpr std::uint8_t kCpiButtonCode = 0x01;

std::string Hex(std::uint8_t value)
{
    std::ostringstream text;
    text << "0x" << std::uppercase << std::hex << std::setw(2) << std::setfill('0') << static_cast<int>(value);
    return text.str();
}

// Without a sleeper of its own, a late answer keeps the calling thread waiting for real.
class ThreadSleeper : public Sleeper
{
public:
    void Sleep(std::chrono::milliseconds duration) override { std::this_thread::sleep_for(duration); }
};

struct OtherInterface
{
    HidInterfaceInfo info;
    bool openable = false;
};

// A block write waiting for its output reports.
struct DataPhase
{
    std::uint8_t code = 0;
    std::uint8_t parameter = 0;
    std::size_t length = 0;
    std::vector<std::uint8_t> received;
    // A refused command's chunks are still taken off the wire, and dropped.
    bool discard = false;
};

} // namespace

struct SimulatedMouse::State
{
    State(const Clock& c, Sleeper* s) : clock(c), sleeper(s != nullptr ? *s : threadSleeper)
    {
        for (std::size_t p = 0; p < kProfileCount; ++p) {
            settingsBlocks[p] = FactorySettingsBlock(p);
        }
    }

    const Clock& clock;
    ThreadSleeper threadSleeper;
    Sleeper& sleeper;
    mutable std::mutex mutex;
    std::condition_variable changed;

    bool plugged = true;
    std::uint64_t plugEpoch = 0;
    std::optional<std::size_t> unplugAfter;
    // None, Silent or Garbage: how it answers.
    SimulatedFault::Kind answering = SimulatedFault::Kind::None;
    std::chrono::milliseconds delay{0};
    std::vector<SimulatedInterface> order = {SimulatedInterface::Pointer, SimulatedInterface::Command,
                                             SimulatedInterface::Notification};
    std::vector<OtherInterface> others;
    std::deque<HotplugEvent> events;

    std::uint8_t profileNumber = 0;
    std::uint8_t modeByte = 0;
    std::uint8_t selectedProfile = 0;
    std::uint8_t reportRate = 1;
    std::uint8_t sideButtonLight = 1;
    std::uint8_t cpiStage = 1;
    std::array<Block, kProfileCount> settingsBlocks{};
    Block keyMatrix{};
    std::array<Block, kMacroSlotCount> macroSlots{};

    std::optional<std::array<std::uint8_t, kCommandReportSize>> answer;
    std::optional<DataPhase> dataPhase;
    std::deque<std::vector<std::uint8_t>> commandInput;
    // The queues of the open notification handles: like a hidraw node, every open handle gets its
    // own copy of each report.
    // Handles opened before an unplug get nothing more.
    struct NotificationQueue
    {
        std::deque<std::vector<std::uint8_t>>* reports;
        std::uint64_t epoch;
    };
    std::vector<NotificationQueue> notificationQueues;

    std::size_t waitingNotificationReads = 0;

    std::vector<LoggedReport> log;
    std::vector<std::string> errors;

    bool Alive(std::uint64_t epoch) const { return plugged && epoch == plugEpoch; }

    void Log(SimulatedInterface interface, ReportKind kind, std::span<const std::uint8_t> bytes, bool delivered,
             std::chrono::milliseconds timeout = std::chrono::milliseconds{0})
    {
        log.push_back({clock.Now(), interface, kind, {bytes.begin(), bytes.end()}, delivered, timeout});
    }

    void Error(std::string text) { errors.push_back(std::move(text)); }

    void PushEvents(HotplugEvent::Kind kind)
    {
        for (const SimulatedInterface interface : order) {
            events.push_back({kind, PathOf(interface), kMouseVendorId, kMouseProductId});
        }
    }

    void UnplugLocked()
    {
        if (!plugged) {
            return;
        }
        plugged = false;
        ++plugEpoch;
        answer.reset();
        dataPhase.reset();
        commandInput.clear();
        unplugAfter.reset();
        PushEvents(HotplugEvent::Kind::Removal);
        changed.notify_all();
    }

    // Counts a report that reached the command interface, for UnplugAfterCommandReports.
    void CountCommandReport()
    {
        if (unplugAfter && --*unplugAfter == 0) {
            UnplugLocked();
        }
    }

    void TakeCommand(std::span<const std::uint8_t> report)
    {
        if (report.size() != kCommandFeatureReportLength) {
            Error("feature report of " + std::to_string(report.size()) + " bytes, the mouse takes 9");
            return;
        }
        if (report[kReportIdOffset] != 0) {
            Error("feature report with report id " + Hex(report[kReportIdOffset]));
            return;
        }
        std::array<std::uint8_t, kCommandReportSize> command{};
        std::copy_n(report.begin() + kReportDataOffset, kCommandReportSize, command.begin());
        if (CommandChecksum(command) != command[kCommandChecksum]) {
            Error("command " + Hex(command[kCommandCode]) + " with checksum " + Hex(command[kCommandChecksum]) +
                  ", expected " + Hex(CommandChecksum(command)));
            return;
        }
        if (dataPhase) {
            Error("data phase of command " + Hex(dataPhase->code) + " cut short after " +
                  std::to_string(dataPhase->received.size()) + " bytes");
            dataPhase.reset();
        }
        answer.reset();

        const std::uint8_t code = command[kCommandCode];
        const std::uint8_t parameter = command[kCommandParameter];
        const std::uint8_t length = command[kCommandBlockLength];
        switch (code) {
        case kCommandModeByte:
            modeByte = parameter;
            break;
        case kCommandSelectProfile:
            if (parameter >= kProfileCount) {
                Error("profile number " + std::to_string(parameter) + " out of range");
                break;
            }
            selectedProfile = parameter;
            break;
        case kCommandReportRate:
            reportRate = length;
            break;
        case kCommandSideButtonLight:
            sideButtonLight = parameter;
            break;
        case kCommandWriteSettingsBlock:
        case kCommandWriteKeyMatrix:
        case kCommandWriteMacro:
            StartDataPhase(code, parameter, length);
            break;
        case kCommandReadProfile:
            Answer({kCommandReadProfile, profileNumber});
            break;
        case kCommandReadSettingsBlock:
            if (parameter >= kProfileCount) {
                Error("settings block " + std::to_string(parameter) + " out of range");
                Answer({kCommandReadSettingsBlock, parameter, 0});
                break;
            }
            Answer({kCommandReadSettingsBlock, parameter, static_cast<std::uint8_t>(kBlockSize)});
            if (answering == SimulatedFault::Kind::Garbage) {
                commandInput.emplace_back(kGarbageInputLength, kGarbageFill);
            } else {
                QueueBlock(settingsBlocks[parameter]);
            }
            break;
        default:
            Error("unknown command " + Hex(code));
            break;
        }
    }

    void Answer(std::initializer_list<std::uint8_t> bytes)
    {
        std::array<std::uint8_t, kCommandReportSize> reply{};
        std::copy(bytes.begin(), bytes.end(), reply.begin());
        reply[kCommandChecksum] = CommandChecksum(reply);
        answer = answering == SimulatedFault::Kind::Garbage ? kGarbageAnswer : reply;
    }

    void QueueBlock(const Block& block)
    {
        for (std::size_t offset = 0; offset < kBlockSize; offset += kBlockChunkSize) {
            std::vector<std::uint8_t> report(kOutputReportLength, 0);
            std::copy_n(block.begin() + static_cast<std::ptrdiff_t>(offset), kBlockChunkSize,
                        report.begin() + kReportDataOffset);
            commandInput.push_back(std::move(report));
        }
    }

    void StartDataPhase(std::uint8_t code, std::uint8_t parameter, std::uint8_t length)
    {
        bool refused = true;
        if (length > kBlockSize) {
            Error("command " + Hex(code) + " announces " + std::to_string(length) + " bytes, a block has 128");
        } else if (code == kCommandWriteSettingsBlock && parameter >= kProfileCount) {
            Error("settings block " + std::to_string(parameter) + " out of range");
        } else if (code == kCommandWriteMacro && (parameter < 1 || parameter > kMacroSlotCount)) {
            Error("macro slot " + std::to_string(parameter) + " out of range");
        } else {
            refused = false;
        }
        if (length == 0) {
            return;
        }
        dataPhase = DataPhase{code, parameter, length, {}, refused};
    }

    void TakeOutput(std::span<const std::uint8_t> report)
    {
        if (report.size() != kOutputReportLength || report[kReportIdOffset] != 0) {
            Error("output report of " + std::to_string(report.size()) + " bytes with report id " +
                  Hex(report.empty() ? 0 : report[kReportIdOffset]) + ", the mouse takes 65 bytes with id 0x00");
            return;
        }
        if (!dataPhase) {
            Error("output report without a block command before it");
            return;
        }
        dataPhase->received.insert(dataPhase->received.end(), report.begin() + kReportDataOffset, report.end());
        if (dataPhase->received.size() < dataPhase->length) {
            return;
        }
        if (dataPhase->discard) {
            dataPhase.reset();
            return;
        }
        Block* target = nullptr;
        switch (dataPhase->code) {
        case kCommandWriteSettingsBlock:
            target = &settingsBlocks[dataPhase->parameter];
            break;
        case kCommandWriteKeyMatrix:
            target = &keyMatrix;
            break;
        default:
            target = &macroSlots[dataPhase->parameter - 1];
            break;
        }
        std::copy_n(dataPhase->received.begin(), dataPhase->length, target->begin());
        dataPhase.reset();
    }

    void Notify(std::span<const std::uint8_t> report)
    {
        if (!plugged) {
            return;
        }
        const std::size_t length = std::min(report.size(), kNotificationReportLength);
        for (const NotificationQueue& queue : notificationQueues) {
            if (queue.epoch == plugEpoch) {
                queue.reports->emplace_back(report.begin(), report.begin() + static_cast<std::ptrdiff_t>(length));
            }
        }
        changed.notify_all();
    }
};

namespace {

HidInterfaceInfo InfoOf(SimulatedInterface interface)
{
    const ReportDescriptorInfo parsed = ParseReportDescriptor(SimulatedMouse::ReportDescriptor(interface));
    HidInterfaceInfo info;
    info.path = SimulatedMouse::PathOf(interface);
    info.vendorId = kMouseVendorId;
    info.productId = kMouseProductId;
    info.version = SimulatedMouse::kVersion;
    if (!parsed.collections.empty()) {
        const TopLevelCollection& top = parsed.collections.front();
        info.usagePage = top.usagePage;
        info.usage = top.usage;
        info.inputReportLength = top.inputReportLength;
        info.outputReportLength = top.outputReportLength;
        info.featureReportLength = top.featureReportLength;
    }
    return info;
}

std::optional<SimulatedInterface> InterfaceAt(const std::string& path)
{
    for (const SimulatedInterface interface :
         {SimulatedInterface::Pointer, SimulatedInterface::Command, SimulatedInterface::Notification}) {
        if (SimulatedMouse::PathOf(interface) == path) {
            return interface;
        }
    }
    return std::nullopt;
}

// An open interface of another device: it takes nothing and never has anything to read.
class InertDevice : public HidDevice
{
public:
    bool SetFeature(std::span<const std::uint8_t>) override { return false; }
    bool GetFeature(std::span<std::uint8_t>) override { return false; }
    bool WriteOutput(std::span<const std::uint8_t>) override { return false; }
    HidReadResult ReadInput(std::span<std::uint8_t>, std::chrono::milliseconds) override { return {}; }
    HidReadResult WaitInput(std::span<std::uint8_t>) override
    {
        std::unique_lock lock(m_mutex);
        m_wake.wait(lock, [&] { return m_woken; });
        m_woken = false;
        return {};
    }
    void Wake() override
    {
        const std::lock_guard lock(m_mutex);
        m_woken = true;
        m_wake.notify_all();
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_woken = false;
};

// An open interface of the simulated mouse. It stays bound to the plug-in during which it was
// opened: after an unplug every call fails, as on a removed device node.
class SimulatedDevice : public HidDevice
{
public:
    SimulatedDevice(std::shared_ptr<SimulatedMouse::State> state, SimulatedInterface interface)
        : m_state(std::move(state)), m_interface(interface)
    {
        const std::lock_guard lock(m_state->mutex);
        m_epoch = m_state->plugEpoch;
        if (m_interface == SimulatedInterface::Notification) {
            m_state->notificationQueues.push_back({&m_queue, m_epoch});
        }
    }

    ~SimulatedDevice() override
    {
        const std::lock_guard lock(m_state->mutex);
        auto& queues = m_state->notificationQueues;
        queues.erase(
            std::remove_if(queues.begin(), queues.end(), [&](const auto& queue) { return queue.reports == &m_queue; }),
            queues.end());
    }

    bool SetFeature(std::span<const std::uint8_t> report) override
    {
        const std::lock_guard lock(m_state->mutex);
        const bool taken = Reaches();
        m_state->Log(m_interface, ReportKind::SetFeature, report, taken);
        if (!taken) {
            return false;
        }
        if (m_interface != SimulatedInterface::Command) {
            m_state->Error("feature report sent to the " + Name() + " interface");
        } else {
            m_state->TakeCommand(report);
            m_state->CountCommandReport();
        }
        return true;
    }

    bool GetFeature(std::span<std::uint8_t> report) override
    {
        const std::chrono::milliseconds late = AnswerDelay();
        if (late > std::chrono::milliseconds{0}) {
            m_state->sleeper.Sleep(std::min(late, SimulatedMouse::kFeatureAnswerTimeout));
        }
        const std::lock_guard lock(m_state->mutex);
        if (late > SimulatedMouse::kFeatureAnswerTimeout) {
            m_state->answer.reset(); // it comes after the platform gave up waiting
            m_state->Log(m_interface, ReportKind::GetFeature, {}, false);
            return false;
        }
        if (!Reaches() || m_interface != SimulatedInterface::Command) {
            m_state->Log(m_interface, ReportKind::GetFeature, {}, false);
            return false;
        }
        bool answered = false;
        if (report.size() != kCommandFeatureReportLength) {
            m_state->Error("feature report fetched with " + std::to_string(report.size()) + " bytes, the mouse has 9");
        } else if (!m_state->answer) {
            m_state->Error("feature report fetched with no read command to answer");
        } else {
            report[kReportIdOffset] = 0;
            std::copy(m_state->answer->begin(), m_state->answer->end(), report.begin() + kReportDataOffset);
            m_state->answer.reset();
            answered = true;
        }
        m_state->Log(m_interface, ReportKind::GetFeature,
                     answered ? std::span<const std::uint8_t>(report) : std::span<const std::uint8_t>(), answered);
        m_state->CountCommandReport();
        return answered;
    }

    bool WriteOutput(std::span<const std::uint8_t> report) override
    {
        const std::lock_guard lock(m_state->mutex);
        const bool taken = Reaches();
        m_state->Log(m_interface, ReportKind::Write, report, taken);
        if (!taken) {
            return false;
        }
        if (m_interface != SimulatedInterface::Command) {
            m_state->Error("output report sent to the " + Name() + " interface");
        } else {
            m_state->TakeOutput(report);
            m_state->CountCommandReport();
        }
        return true;
    }

    HidReadResult ReadInput(std::span<std::uint8_t> report, std::chrono::milliseconds timeout) override
    {
        std::unique_lock lock(m_state->mutex);
        if (m_interface == SimulatedInterface::Notification) {
            return ReadNotification(lock, report, timeout);
        }

        if (!Reaches()) {
            m_state->Log(m_interface, ReportKind::Read, {}, false, timeout);
            return {0, !Alive()};
        }
        if (m_interface == SimulatedInterface::Pointer || m_state->commandInput.empty()) {
            // Nothing arrives on these unasked, so waiting would change nothing.
            m_state->Log(m_interface, ReportKind::Read, {}, true, timeout);
            return {};
        }
        if (const auto late = m_state->delay; late > std::chrono::milliseconds{0}) {
            lock.unlock();
            m_state->sleeper.Sleep(std::min(late, timeout));
            lock.lock();
            if (late > timeout || m_state->commandInput.empty()) {
                m_state->Log(m_interface, ReportKind::Read, {}, true, timeout);
                return {}; // the chunk is still on its way when the reader gives up
            }
        }
        const HidReadResult result = Hand(report, m_state->commandInput, timeout);
        m_state->CountCommandReport();
        return result;
    }

    HidReadResult WaitInput(std::span<std::uint8_t> report) override
    {
        if (m_interface != SimulatedInterface::Notification) {
            return ReadInput(report, std::chrono::milliseconds{0}); // nothing else is waited on
        }
        std::unique_lock lock(m_state->mutex);
        return ReadNotification(lock, report, std::nullopt);
    }

    void Wake() override
    {
        const std::lock_guard lock(m_state->mutex);
        m_woken = true;
        m_state->changed.notify_all();
    }

private:
    // Like a hidraw node: the reader sleeps until a report comes, the mouse goes, the time-out
    // (if any) passes or Wake is called, which ends this wait or else the next one.
    HidReadResult ReadNotification(std::unique_lock<std::mutex>& lock, std::span<std::uint8_t> report,
                                   std::optional<std::chrono::milliseconds> timeout)
    {
        ++m_state->waitingNotificationReads;
        m_state->changed.notify_all();
        const auto ready = [&] { return !m_queue.empty() || !Alive() || m_woken; };
        if (timeout) {
            m_state->changed.wait_for(lock, *timeout, ready);
        } else {
            m_state->changed.wait(lock, ready);
        }
        --m_state->waitingNotificationReads;
        m_woken = false;
        const std::chrono::milliseconds logged = timeout.value_or(std::chrono::milliseconds{0});
        if (!m_queue.empty()) {
            return Hand(report, m_queue, logged);
        }
        if (!Alive()) {
            m_state->Log(m_interface, ReportKind::Read, {}, false, logged);
            return {0, true};
        }
        return {}; // a quiet or woken read is not logged
    }

    bool Alive() const { return m_state->Alive(m_epoch); }
    bool Reaches() const { return Alive() && m_state->answering != SimulatedFault::Kind::Silent; }

    std::chrono::milliseconds AnswerDelay() const
    {
        const std::lock_guard lock(m_state->mutex);
        return m_interface == SimulatedInterface::Command ? m_state->delay : std::chrono::milliseconds{0};
    }

    HidReadResult Hand(std::span<std::uint8_t> report, std::deque<std::vector<std::uint8_t>>& queue,
                       std::chrono::milliseconds timeout)
    {
        const std::vector<std::uint8_t> next = std::move(queue.front());
        queue.pop_front();
        const std::size_t length = std::min(next.size(), report.size());
        std::copy_n(next.begin(), length, report.begin());
        m_state->Log(m_interface, ReportKind::Read, std::span(next).first(length), true, timeout);
        return {length, false};
    }

    std::string Name() const
    {
        switch (m_interface) {
        case SimulatedInterface::Pointer:
            return "pointer";
        case SimulatedInterface::Command:
            return "command";
        case SimulatedInterface::Notification:
            break;
        }
        return "notification";
    }

    std::shared_ptr<SimulatedMouse::State> m_state;
    SimulatedInterface m_interface;
    std::uint64_t m_epoch = 0;
    std::deque<std::vector<std::uint8_t>> m_queue;
    bool m_woken = false; // guarded by the mouse's mutex
};

} // namespace

SimulatedMouse::SimulatedMouse(const Clock& clock, Sleeper* sleeper) : m_state(std::make_shared<State>(clock, sleeper))
{}

SimulatedMouse::~SimulatedMouse() = default;

std::span<const std::uint8_t> SimulatedMouse::ReportDescriptor(SimulatedInterface interface)
{
    switch (interface) {
    case SimulatedInterface::Pointer:
        return kPointerDescriptor;
    case SimulatedInterface::Command:
        return kCommandDescriptor;
    case SimulatedInterface::Notification:
        break;
    }
    return kNotificationDescriptor;
}

std::string SimulatedMouse::PathOf(SimulatedInterface interface)
{
    switch (interface) {
    case SimulatedInterface::Pointer:
        return "sim:pointer";
    case SimulatedInterface::Command:
        return "sim:command";
    case SimulatedInterface::Notification:
        break;
    }
    return "sim:notification";
}

std::vector<HidInterfaceInfo> SimulatedMouse::Enumerate()
{
    const std::lock_guard lock(m_state->mutex);
    std::vector<HidInterfaceInfo> interfaces;
    for (const OtherInterface& other : m_state->others) {
        interfaces.push_back(other.info);
    }
    if (m_state->plugged) {
        for (const SimulatedInterface interface : m_state->order) {
            interfaces.push_back(InfoOf(interface));
        }
    }
    return interfaces;
}

std::unique_ptr<HidDevice> SimulatedMouse::Open(const std::string& path, HidOpenMode)
{
    {
        const std::lock_guard lock(m_state->mutex);
        for (const OtherInterface& other : m_state->others) {
            if (other.info.path == path) {
                return other.openable ? std::make_unique<InertDevice>() : nullptr;
            }
        }
        if (!m_state->plugged) {
            return nullptr;
        }
    }
    const auto interface = InterfaceAt(path);
    if (!interface) {
        return nullptr;
    }
    return std::make_unique<SimulatedDevice>(m_state, *interface);
}

std::vector<HotplugEvent> SimulatedMouse::TakeEvents()
{
    const std::lock_guard lock(m_state->mutex);
    std::vector<HotplugEvent> events(m_state->events.begin(), m_state->events.end());
    m_state->events.clear();
    return events;
}

bool SimulatedMouse::WaitForEvents(std::chrono::milliseconds timeout)
{
    std::unique_lock lock(m_state->mutex);
    return m_state->changed.wait_for(lock, timeout, [&] { return !m_state->events.empty(); });
}

void SimulatedMouse::SetInterfaceOrder(std::vector<SimulatedInterface> order)
{
    const std::lock_guard lock(m_state->mutex);
    m_state->order = std::move(order);
}

void SimulatedMouse::AddOtherInterface(const HidInterfaceInfo& info, bool openable)
{
    const std::lock_guard lock(m_state->mutex);
    m_state->others.push_back({info, openable});
}

void SimulatedMouse::Unplug()
{
    const std::lock_guard lock(m_state->mutex);
    m_state->UnplugLocked();
}

void SimulatedMouse::Plug()
{
    const std::lock_guard lock(m_state->mutex);
    if (m_state->plugged) {
        return;
    }
    m_state->plugged = true;
    m_state->PushEvents(HotplugEvent::Kind::Arrival);
    m_state->changed.notify_all();
}

bool SimulatedMouse::IsPlugged() const
{
    const std::lock_guard lock(m_state->mutex);
    return m_state->plugged;
}

void SimulatedMouse::UnplugAfterCommandReports(std::size_t count)
{
    const std::lock_guard lock(m_state->mutex);
    if (count == 0) {
        m_state->UnplugLocked();
        return;
    }
    m_state->unplugAfter = count;
}

void SimulatedMouse::SetFault(const SimulatedFault& fault)
{
    using Kind = SimulatedFault::Kind;
    switch (fault.kind) {
    case Kind::UnplugAfter:
        UnplugAfterCommandReports(fault.reports);
        return;
    case Kind::Slow: {
        const std::lock_guard lock(m_state->mutex);
        m_state->delay = fault.delay;
        return;
    }
    case Kind::None:
    case Kind::Silent:
    case Kind::Garbage:
        break;
    }
    const std::lock_guard lock(m_state->mutex);
    m_state->answering = fault.kind;
    if (fault.kind == Kind::None) {
        m_state->delay = std::chrono::milliseconds{0};
    }
}

void SimulatedMouse::PressCpiButton(std::uint8_t stage)
{
    const std::lock_guard lock(m_state->mutex);
    m_state->cpiStage = stage;
    const std::uint8_t report[kNotificationReportLength] = {kNotificationReportId, kNotificationMarker, kCpiButtonCode,
                                                            stage};
    m_state->Notify(report);
}

void SimulatedMouse::PressMacroKey(std::uint8_t number)
{
    PressButton(kMacroKeyCode, number);
}

void SimulatedMouse::PressButton(std::uint8_t code, std::uint8_t value)
{
    const std::uint8_t report[kNotificationReportLength] = {kNotificationReportId, kNotificationMarker, code, value};
    SendNotificationReport(report);
}

void SimulatedMouse::SendNotificationReport(std::span<const std::uint8_t> report)
{
    const std::lock_guard lock(m_state->mutex);
    m_state->Notify(report);
}

std::uint8_t SimulatedMouse::ProfileNumber() const
{
    const std::lock_guard lock(m_state->mutex);
    return m_state->profileNumber;
}

void SimulatedMouse::SetProfileNumber(std::uint8_t number)
{
    const std::lock_guard lock(m_state->mutex);
    m_state->profileNumber = number;
}

std::uint8_t SimulatedMouse::ModeByte() const
{
    const std::lock_guard lock(m_state->mutex);
    return m_state->modeByte;
}

std::uint8_t SimulatedMouse::SelectedProfile() const
{
    const std::lock_guard lock(m_state->mutex);
    return m_state->selectedProfile;
}

std::uint8_t SimulatedMouse::ReportRate() const
{
    const std::lock_guard lock(m_state->mutex);
    return m_state->reportRate;
}

std::uint8_t SimulatedMouse::SideButtonLight() const
{
    const std::lock_guard lock(m_state->mutex);
    return m_state->sideButtonLight;
}

std::uint8_t SimulatedMouse::CpiStage() const
{
    const std::lock_guard lock(m_state->mutex);
    return m_state->cpiStage;
}

SimulatedMouse::Block SimulatedMouse::SettingsBlock(std::size_t profile) const
{
    const std::lock_guard lock(m_state->mutex);
    return m_state->settingsBlocks[profile % kProfileCount];
}

void SimulatedMouse::SetSettingsBlock(std::size_t profile, const Block& block)
{
    const std::lock_guard lock(m_state->mutex);
    m_state->settingsBlocks[profile % kProfileCount] = block;
}

SimulatedMouse::Block SimulatedMouse::KeyMatrix() const
{
    const std::lock_guard lock(m_state->mutex);
    return m_state->keyMatrix;
}

SimulatedMouse::Block SimulatedMouse::MacroSlot(std::size_t number) const
{
    const std::lock_guard lock(m_state->mutex);
    return m_state->macroSlots[(number + kMacroSlotCount - 1) % kMacroSlotCount];
}

bool SimulatedMouse::WaitForNotificationReader(std::chrono::milliseconds timeout) const
{
    std::unique_lock lock(m_state->mutex);
    return m_state->changed.wait_for(lock, timeout, [&] { return m_state->waitingNotificationReads > 0; });
}

std::vector<LoggedReport> SimulatedMouse::Log() const
{
    const std::lock_guard lock(m_state->mutex);
    return m_state->log;
}

void SimulatedMouse::ClearLog()
{
    const std::lock_guard lock(m_state->mutex);
    m_state->log.clear();
}

std::vector<std::string> SimulatedMouse::Errors() const
{
    const std::lock_guard lock(m_state->mutex);
    return m_state->errors;
}

SimulatedMouse::Block SimulatedMouse::FactorySettingsBlock(std::size_t profile)
{
    constexpr std::array<std::uint8_t, kSettingsBlockShownStages> kCodes = {16, 32, 48, 64, 80, 96};
    Block block{};
    for (std::size_t i = 0; i < kBlockSize; ++i) {
        block[i] = static_cast<std::uint8_t>(i * 29 + 7 + profile);
    }
    std::copy(kCodes.begin(), kCodes.end(), block.begin() + kSettingsBlockCpiCodes);
    std::copy(kCodes.begin(), kCodes.end(), block.begin() + kSettingsBlockCpiCodesAgain);
    return block;
}

} // namespace veldrane
