// The commands on the mouse: they find it (or, with --simulate, the simulated one), talk to it
// exactly as the configurator does, and print what happened; --trace prints every report.

#include <algorithm>
#include <atomic>
#include <charconv>
#include <chrono>
#include <cstring>
#include <iomanip>
#include <memory>
#include <mutex>
#include <optional>
#include <ostream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "Commands.h"
#include "Decoded.h"
#include "Diagnostics.h"
#include "HexBlock.h"
#include "adapters/linux/HidAccess.h"
#include "adapters/linux/HidapiBackend.h"
#include "adapters/linux/SteadyClock.h"
#include "adapters/linux/UdevHotplugSource.h"
#include "core/device/CommandReport.h"
#include "core/device/CommandSet.h"
#include "core/device/DeviceChangeHandler.h"
#include "core/device/DeviceError.h"
#include "core/device/DeviceImage.h"
#include "core/device/DeviceLink.h"
#include "core/device/DeviceListener.h"
#include "core/device/DeviceNotice.h"
#include "core/device/DeviceNoticeHandler.h"
#include "core/device/HidTransport.h"
#include "core/device/MouseSearch.h"
#include "core/device/NoticeQueue.h"
#include "core/device/ProfileDownload.h"
#include "core/device/ReportTrace.h"
#include "core/device/SettingsBlock.h"
#include "core/profile/ConfigFile.h"
#include "core/profile/ProfileRecord.h"
#include "core/text/AccessTexts.h"
#include "core/text/MainWindowTexts.h"
#include "ports/Clock.h"
#include "ports/HidBackend.h"
#include "ports/MessageSink.h"
#include "sim/SimulatedFault.h"
#include "sim/SimulatedMouse.h"

namespace veldrane::ctl {

namespace {

using namespace std::chrono_literals;

constexpr std::string_view kSimulateOption = "--simulate";
constexpr std::string_view kSimFaultOption = "--sim-fault";
constexpr std::string_view kTraceOption = "--trace";
constexpr std::string_view kJsonOption = "--json";
constexpr std::string_view kSecondsOption = "--seconds";
constexpr std::string_view kPressOption = "--press";
constexpr std::string_view kDataDirOption = "--data-dir";
constexpr long kLongestListen = 24 * 3600;
// The mouse reports CPI stages 1 to 6 and has twelve macro keys.
constexpr long kHighestStage = 6;
constexpr long kHighestMacroKey = 12;

// The longest wait for one answer of the mouse: a feature answer or a chunk of a block.
constexpr std::chrono::milliseconds kAnswerTimeout = kChunkReadTimeout;
// The time of a whole command: finding and preparing the mouse (0x82, 0x01), a status query
// (that and 0x8C), a download (that and the 49 reports of a profile, 842 ms of them pauses).
constexpr std::chrono::milliseconds kConnectTime{2000};
constexpr std::chrono::milliseconds kStatusTime{5000};
constexpr std::chrono::milliseconds kApplyTime{10000};

std::optional<long> ParseNumber(std::string_view text, long lowest, long highest)
{
    long value = 0;
    const auto [end, problem] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (problem != std::errc() || end != text.data() + text.size() || value < lowest || value > highest) {
        return std::nullopt;
    }
    return value;
}

// "cpi:N" (the CPI button, stage N from 1 to 6) or "macro:N" (the macro key N from 1 to 12): the
// presses the mouse can make, each of which the listener reports.
std::optional<DeviceNotice> ParsePress(std::string_view text)
{
    constexpr std::string_view kCpi = "cpi:";
    constexpr std::string_view kMacro = "macro:";
    std::uint8_t code = 0;
    long highest = 0;
    if (text.starts_with(kCpi)) {
        code = kNoticeCpiStageFirst;
        highest = kHighestStage;
        text.remove_prefix(kCpi.size());
    } else if (text.starts_with(kMacro)) {
        code = kNoticeMacroKey;
        highest = kHighestMacroKey;
        text.remove_prefix(kMacro.size());
    } else {
        return std::nullopt;
    }
    const auto value = ParseNumber(text, 1, highest);
    if (!value) {
        return std::nullopt;
    }
    return DeviceNotice{code, static_cast<std::uint8_t>(*value)};
}

const std::string kSimFaultNeeds = "one of " + std::string(kSimulatedFaultChoices);

// Every device command talks to the real or the simulated mouse and may trace; some say more.
// The parser refuses the values these options cannot take, so that they are read here unchecked.
const OptionSpec kSimulate{kSimulateOption};
const OptionSpec kSimFault{kSimFaultOption, kSimFaultNeeds,
                           [](std::string_view text) { return SimulatedFault::Parse(text).has_value(); }};
const OptionSpec kTrace{kTraceOption};
const OptionSpec kApplyOptions[] = {kSimulate, kSimFault, kTrace, {kDataDirOption, "a folder"}};
const OptionSpec kQueryOptions[] = {kSimulate, kSimFault, kTrace, {kJsonOption}};
const OptionSpec kListenOptions[] = {
    kSimulate,
    kSimFault,
    kTrace,
    {kSecondsOption, "a number of seconds from 0 to 86400",
     [](std::string_view text) { return ParseNumber(text, 0, kLongestListen).has_value(); }},
    {kPressOption, "cpi:N with N from 1 to 6 or macro:N with N from 1 to 12",
     [](std::string_view text) { return ParsePress(text).has_value(); }}};

// How long `listen` waits at a time before it looks at the clock and at hot-plug events.
constexpr auto kListenSlice = 100ms;

// One line at a time on a stream that the listener thread and the main thread share.
class LockedWriter
{
public:
    explicit LockedWriter(std::ostream& out) : m_out(out) {}

    void Line(const std::string& line)
    {
        const std::lock_guard lock(m_mutex);
        m_out << line << '\n' << std::flush;
    }

private:
    std::mutex m_mutex;
    std::ostream& m_out;
};

// Balloons become lines: the text a balloon would show.
class ConsoleBalloons : public MessageSink
{
public:
    explicit ConsoleBalloons(LockedWriter& writer) : m_writer(writer) {}

    void ShowMessage(std::string_view text, std::string_view) override { m_writer.Line(std::string(text)); }
    void ShowBalloon(std::string_view text, std::string_view, std::chrono::milliseconds) override
    {
        m_writer.Line(std::string(text));
    }

private:
    LockedWriter& m_writer;
};

struct DeviceOptions
{
    bool simulate = false;
    bool trace = false;
    std::optional<SimulatedFault> fault;
    bool json = false;
    std::optional<long> seconds;
    std::vector<DeviceNotice> presses;
    std::vector<std::string> files;
    std::optional<std::string> dataDir;
};

// The options of a device command; `listen` also takes --seconds and --press, `apply` one file.
std::optional<DeviceOptions> ParseOptions(std::string_view command, CommandArgs args, std::span<const OptionSpec> known,
                                          std::size_t fileCount, std::ostream& err)
{
    const auto line = CommandLine::Parse(command, args, known, "FILE.bin", fileCount, fileCount, err);
    if (!line) {
        return std::nullopt;
    }
    DeviceOptions options;
    if (const auto fault = line->Value(kSimFaultOption)) {
        options.fault = SimulatedFault::Parse(*fault);
    }
    options.simulate = line->Has(kSimulateOption) || line->Has(kSimFaultOption);
    options.trace = line->Has(kTraceOption);
    options.json = line->Has(kJsonOption);
    options.files = line->Operands();
    options.dataDir = line->Value(kDataDirOption);
    if (const auto seconds = line->Value(kSecondsOption)) {
        options.seconds = ParseNumber(*seconds, 0, kLongestListen);
    }
    for (const std::string& text : line->Values(kPressOption)) {
        options.presses.push_back(*ParsePress(text));
    }
    if (!options.presses.empty() && !options.simulate) {
        Error(err, kPressOption) << "presses the buttons of the simulated mouse only; add " << kSimulateOption << '\n';
        return std::nullopt;
    }
    return options;
}

// Why the last report of the command interface failed, beyond the mouse's own refusal.
enum class TimeFailure
{
    None,
    Late,   // the answer came, but after kAnswerTimeout
    TimeUp, // the command's time was up: the report was not sent
};

// The time of one command: every answer of the mouse is awaited at most kAnswerTimeout, and no
// report is sent once the command's time is up, nor a request whose answer could not come before
// then. The platform holds an unanswered feature request up to its own limit (5 s) and cannot be
// cut short; the late answer then fails the exchange.
class CommandTime
{
public:
    CommandTime(const Clock& clock, std::optional<std::chrono::milliseconds> length)
        : m_clock(clock), m_start(clock.Now())
    {
        SetLength(length);
    }

    std::chrono::milliseconds Now() const { return m_clock.Now(); }
    std::chrono::milliseconds Elapsed() const { return m_clock.Now() - m_start; }
    std::chrono::milliseconds Left() const { return m_end - m_clock.Now(); }
    // From the command's start; nothing: no end.
    void SetLength(std::optional<std::chrono::milliseconds> length)
    {
        m_end = length ? m_start + *length : std::chrono::milliseconds::max();
    }

    TimeFailure LastFailure() const { return m_failure; }
    void Record(TimeFailure failure) { m_failure = failure; }

private:
    const Clock& m_clock;
    std::chrono::milliseconds m_start;
    std::chrono::milliseconds m_end{};
    TimeFailure m_failure = TimeFailure::None;
};

// An open interface whose reports keep to the command's time. Only the GUI thread's reports are
// timed; the listener's wait passes through.
class TimedDevice : public HidDevice
{
public:
    TimedDevice(std::unique_ptr<HidDevice> device, CommandTime& time) : m_device(std::move(device)), m_time(time) {}

    bool SetFeature(std::span<const std::uint8_t> report) override { return Fits(0ms) && m_device->SetFeature(report); }
    bool GetFeature(std::span<std::uint8_t> report) override
    {
        if (!Fits(kAnswerTimeout)) {
            return false;
        }
        const auto asked = m_time.Now();
        const bool answered = m_device->GetFeature(report);
        if (answered && m_time.Now() - asked > kAnswerTimeout) {
            m_time.Record(TimeFailure::Late);
            return false;
        }
        return answered;
    }
    bool WriteOutput(std::span<const std::uint8_t> report) override
    {
        return Fits(0ms) && m_device->WriteOutput(report);
    }
    HidReadResult ReadInput(std::span<std::uint8_t> report, std::chrono::milliseconds timeout) override
    {
        const auto left = m_time.Left();
        if (left <= 0ms) {
            m_time.Record(TimeFailure::TimeUp);
            return {};
        }
        return m_device->ReadInput(report, std::min({timeout, kAnswerTimeout, left}));
    }
    HidReadResult WaitInput(std::span<std::uint8_t> report) override { return m_device->WaitInput(report); }
    void Wake() override { m_device->Wake(); }

private:
    // Whether a report that waits `wait` for its answer may still go out.
    bool Fits(std::chrono::milliseconds wait)
    {
        const auto left = m_time.Left();
        if (left <= 0ms || left < wait) {
            m_time.Record(TimeFailure::TimeUp);
            return false;
        }
        m_time.Record(TimeFailure::None);
        return true;
    }

    std::unique_ptr<HidDevice> m_device;
    CommandTime& m_time;
};

class TimedBackend : public HidBackend
{
public:
    TimedBackend(HidBackend& backend, CommandTime& time) : m_backend(backend), m_time(time) {}

    std::vector<HidInterfaceInfo> Enumerate() override { return m_backend.Enumerate(); }
    std::unique_ptr<HidDevice> Open(const std::string& path, HidOpenMode mode) override
    {
        auto device = m_backend.Open(path, mode);
        if (!device || mode != HidOpenMode::Commands) {
            return device;
        }
        return std::make_unique<TimedDevice>(std::move(device), m_time);
    }

private:
    HidBackend& m_backend;
    CommandTime& m_time;
};

// What the configurator sees as its device link: the backend (real or simulated, traced or
// not, always timed), the clock and pauses, the link and the image.
class DeviceSession
{
public:
    DeviceSession(const DeviceOptions& options, std::ostream& out, const DeviceClock& time,
                  std::optional<std::chrono::milliseconds> length)
        : m_writer(out), m_clock(time.clock != nullptr ? *time.clock : m_steady),
          m_sleeper(time.sleeper != nullptr ? *time.sleeper : m_steady), m_time(m_clock, length),
          m_trace([this](const std::string& line) { m_writer.Line(line); }, m_clock)
    {
        if (options.simulate) {
            m_simulated = std::make_unique<SimulatedMouse>(m_clock, &m_sleeper);
            if (options.fault) {
                m_simulated->SetFault(*options.fault);
            }
            m_backend = m_simulated.get();
        } else {
            m_hidapi = std::make_unique<HidapiBackend>();
            m_backend = m_hidapi.get();
        }
        if (options.trace) {
            m_tracing = std::make_unique<TracingHidBackend>(*m_backend, m_trace);
            m_backend = m_tracing.get();
        }
        m_timed = std::make_unique<TimedBackend>(*m_backend, m_time);
        m_link = std::make_unique<DeviceLink>(*m_timed, m_sleeper);
    }

    LockedWriter& Writer() { return m_writer; }
    CommandTime& Time() { return m_time; }
    HidBackend& Backend() { return *m_backend; }
    DeviceLink& Link() { return *m_link; }
    DeviceImage& Image() { return m_image; }
    SimulatedMouse* Simulated() { return m_simulated.get(); }

private:
    LockedWriter m_writer;
    SteadyClock m_steady;
    const Clock& m_clock;
    Sleeper& m_sleeper;
    CommandTime m_time;
    ReportTrace m_trace;
    std::unique_ptr<SimulatedMouse> m_simulated;
    std::unique_ptr<HidapiBackend> m_hidapi;
    std::unique_ptr<TracingHidBackend> m_tracing;
    HidBackend* m_backend = nullptr;
    std::unique_ptr<TimedBackend> m_timed;
    std::unique_ptr<DeviceLink> m_link;
    DeviceImage m_image;
};

// The mouse was not found: absent, or there but not to be opened by this user.
int MouseAbsent(HidBackend& backend, std::ostream& err)
{
    if (const std::string node = FirstDeniedMouseNode(backend.Enumerate()); !node.empty()) {
        err << MouseNotPermittedText(Language::English, node) << '\n';
        return kMouseNotPermitted;
    }
    err << MainWindowTextsFor(Language::English).mouseNotDetected << '\n';
    return kMouseAbsent;
}

std::string_view RoleName(MouseInterfaceRole role)
{
    switch (role) {
    case MouseInterfaceRole::Command:
        return "command";
    case MouseInterfaceRole::Notification:
        return "notification";
    case MouseInterfaceRole::Other:
    case MouseInterfaceRole::NotTheMouse:
        break;
    }
    return "other";
}

std::string Hex8(std::uint8_t value)
{
    std::ostringstream text;
    text << "0x" << std::uppercase << std::hex << std::setw(2) << std::setfill('0') << static_cast<int>(value);
    return text.str();
}

std::string Hex16(std::uint16_t value)
{
    std::ostringstream text;
    text << "0x" << std::uppercase << std::hex << std::setw(4) << std::setfill('0') << value;
    return text.str();
}

// The exchange that failed first, and why as far as the command can tell.
struct FailedExchange
{
    std::uint8_t command = 0;
    TimeFailure time = TimeFailure::None;
    std::string detail;
};

// "command 0x82 failed after 1000 ms: the answer came after 1000 ms".
std::string Describe(const FailedExchange& failed, std::chrono::milliseconds took, std::chrono::milliseconds length)
{
    std::string text = "command " + Hex8(failed.command) + " failed after " + std::to_string(took.count()) + " ms";
    switch (failed.time) {
    case TimeFailure::Late:
        text += ": the answer came after " + std::to_string(kAnswerTimeout.count()) + " ms";
        break;
    case TimeFailure::TimeUp:
        text += ": the command's " + std::to_string(length.count() / 1000) + " s were up";
        break;
    case TimeFailure::None:
        if (!failed.detail.empty()) {
            text += ": " + failed.detail;
        }
        break;
    }
    return text;
}

// The exchange `outcome` names; a profile number the mouse does not have is named with the image's.
FailedExchange Failure(const DeviceOutcome& outcome, const CommandTime& time, const DeviceImage& image)
{
    std::string detail = outcome.error.message();
    if (outcome.error == DeviceError::WrongAnswer) {
        detail = "the mouse answered profile " + std::to_string(image.bytes[kImageProfileNumber]) +
                 ", it has profiles 0 to " + std::to_string(kSettingsAreaCount - 1);
    }
    return {outcome.command, time.LastFailure(), std::move(detail)};
}

// Found as the configurator finds it at start-up: the profile number read (0x82), the mode byte
// sent (0x01); each must succeed.
std::optional<FailedExchange> PrepareMouse(DeviceSession& session)
{
    DeviceImage& image = session.Image();
    image.Clear();
    DeviceOutcome outcome = ReadCurrentProfile(session.Link(), image);
    if (outcome.Done()) {
        image.bytes[kImageModeByte] = kModeByteValue;
        outcome = SendModeByte(session.Link(), image);
    }
    if (!outcome.Done()) {
        return Failure(outcome, session.Time(), image);
    }
    return std::nullopt;
}

// 0x82 and 0x8C as a CPI notice needs them: the mouse's settings block lands in area 0.
std::optional<FailedExchange> ReadProfileAndBlock(DeviceSession& session)
{
    DeviceOutcome outcome = ReadCurrentProfile(session.Link(), session.Image());
    if (outcome.Done()) {
        outcome = TransferSettingsBlock(session.Link(), session.Image(), BlockDirection::Read);
    }
    if (!outcome.Done()) {
        return Failure(outcome, session.Time(), session.Image());
    }
    return std::nullopt;
}

// The main window's side of a device change, as far as a console has one.
class ConsoleDeviceHooks : public DeviceChangeHooks
{
public:
    explicit ConsoleDeviceHooks(DeviceNoticeHandler& notices) : m_notices(notices) {}

    void SendDeviceNotice(const DeviceNotice& notice) override { m_notices.HandleDeviceNotice(notice); }
    void ReloadProfile() override {}

private:
    DeviceNoticeHandler& m_notices;
};

// Finds the mouse and prepares it; the exit status when that failed (after the error line).
std::optional<int> Connect(DeviceSession& session, std::string_view command, std::chrono::milliseconds length,
                           std::ostream& err)
{
    if (!FindMouse(session.Link()).Done()) {
        session.Link().SetConnected(false);
        return MouseAbsent(session.Backend(), err);
    }
    if (const auto failed = PrepareMouse(session)) {
        Error(err, command) << Describe(*failed, session.Time().Elapsed(), length) << '\n';
        return kFailed;
    }
    return std::nullopt;
}

} // namespace

std::string_view DeviceCommandsTimeText()
{
    return "Each answer of the mouse is awaited at most 1 s, and a command stops at the first exchange\n"
           "that fails: status ends within 5 s, apply within 10 s, listen when its --seconds are up (a\n"
           "mouse that holds a request up fails the command once the system gets it back, within 5 s).\n";
}

int WithPreparedMouse(std::string_view command, const MouseChoice& choice, std::ostream& out, std::ostream& err,
                      const DeviceClock& time, const std::function<int(DeviceLink&, DeviceImage&)>& use)
{
    DeviceOptions options;
    options.simulate = choice.simulate || choice.fault.has_value();
    options.trace = choice.trace;
    if (choice.fault) {
        options.fault = SimulatedFault::Parse(*choice.fault);
    }
    DeviceSession session(options, out, time, kApplyTime);
    if (const auto status = Connect(session, command, kApplyTime, err)) {
        return *status;
    }
    return use(session.Link(), session.Image());
}

int RunList(CommandArgs args, std::ostream& out, std::ostream& err, const DeviceClock& time)
{
    const auto options = ParseOptions("list", args, kQueryOptions, 0, err);
    if (!options) {
        return kUsage;
    }
    DeviceSession session(*options, out, time, kStatusTime);
    nlohmann::ordered_json json = nlohmann::ordered_json::array();
    if (!FindMouse(session.Link()).Done()) {
        if (options->json && FirstDeniedMouseNode(session.Backend().Enumerate()).empty()) {
            session.Writer().Line(json.dump(2));
            return kSuccess;
        }
        return MouseAbsent(session.Backend(), err);
    }
    for (const HidInterfaceInfo& info : session.Backend().Enumerate()) {
        const MouseInterfaceRole role = ClassifyInterface(info);
        if (role == MouseInterfaceRole::NotTheMouse) {
            continue;
        }
        if (options->json) {
            json.push_back({{"path", info.path},
                            {"usagePage", info.usagePage},
                            {"usage", info.usage},
                            {"input", info.inputReportLength},
                            {"output", info.outputReportLength},
                            {"feature", info.featureReportLength},
                            {"role", RoleName(role)}});
            continue;
        }
        std::ostringstream line;
        line << info.path << " usage-page=" << Hex16(info.usagePage) << " usage=" << Hex16(info.usage)
             << " input=" << info.inputReportLength << " output=" << info.outputReportLength
             << " feature=" << info.featureReportLength << " role=" << RoleName(role);
        session.Writer().Line(line.str());
    }
    if (options->json) {
        session.Writer().Line(json.dump(2));
    }
    return kSuccess;
}

int RunStatus(CommandArgs args, std::ostream& out, std::ostream& err, const DeviceClock& time)
{
    const auto options = ParseOptions("status", args, kQueryOptions, 0, err);
    if (!options) {
        return kUsage;
    }
    DeviceSession session(*options, out, time, kStatusTime);
    if (const auto status = Connect(session, "status", kStatusTime, err)) {
        return *status;
    }
    if (const DeviceOutcome read = TransferSettingsBlock(session.Link(), session.Image(), BlockDirection::Read);
        !read.Done()) {
        const FailedExchange failed = Failure(read, session.Time(), session.Image());
        Error(err, "status") << Describe(failed, session.Time().Elapsed(), kStatusTime) << '\n';
        return kFailed;
    }
    const std::uint8_t profile = session.Image().bytes[kImageProfileNumber];
    if (options->json) {
        nlohmann::ordered_json json;
        json["schema"] = kJsonSchema;
        json["connected"] = true;
        json["deviceProfile"] = profile;
        json["settingsBlock"] = SettingsBlockJson(session.Image().SettingsArea(0));
        session.Writer().Line(json.dump(2));
        return kSuccess;
    }
    session.Writer().Line("connected");
    session.Writer().Line("profile " + std::to_string(profile));
    session.Writer().Line("settings block");
    std::string block = FormatHexLines(session.Image().SettingsArea(0));
    block.pop_back();
    session.Writer().Line(block);
    return kSuccess;
}

int RunApply(CommandArgs args, std::ostream& out, std::ostream& err, const DeviceClock& time)
{
    const auto options = ParseOptions("apply", args, kApplyOptions, 1, err);
    if (!options) {
        return kUsage;
    }
    const std::string path = InDataDirectory(options->files.front(), options->dataDir);
    const auto file = ReadProfileFile(path, err);
    if (!file) {
        return kFailed;
    }

    DeviceSession session(*options, out, time, kApplyTime);
    const auto notTaken = [&](const FailedExchange& failed) {
        Error(err, path) << "the mouse did not take the profile: "
                         << Describe(failed, session.Time().Elapsed(), kApplyTime) << '\n';
        return kFailed;
    };
    if (!FindMouse(session.Link()).Done()) {
        return MouseAbsent(session.Backend(), err);
    }
    if (const auto failed = PrepareMouse(session)) {
        return notTaken(*failed);
    }
    // The profile of the file goes to the mouse as "Save" sends it, its settings brought into the
    // controls' range as a load brings them; the configurator's own files are not this command's
    // to rewrite.
    ProfileRecord record = file->record;
    BringIntoControlRange(record);
    const DownloadResult result = WriteProfileToMouse(session.Link(), session.Image(), record);
    if (!result.Taken()) {
        return notTaken(Failure(result.sent, session.Time(), session.Image()));
    }
    session.Writer().Line("downloaded " + path + " in " + std::to_string(session.Time().Elapsed().count()) + " ms");
    return kSuccess;
}

int RunListen(CommandArgs args, std::ostream& out, std::ostream& err, const DeviceClock& time)
{
    const auto options = ParseOptions("listen", args, kListenOptions, 0, err);
    if (!options) {
        return kUsage;
    }
    // The seconds count from the start; finding the mouse may take the time of one status
    // query even when they are fewer.
    const std::optional<std::chrono::milliseconds> listening =
        options->seconds ? std::optional<std::chrono::milliseconds>(std::chrono::seconds(*options->seconds))
                         : std::nullopt;
    DeviceSession session(*options, out, time,
                          listening ? std::optional(std::max(*listening, kConnectTime)) : std::nullopt);
    ProfileRecords records{};
    ConsoleBalloons balloons(session.Writer());
    DeviceNoticeHandler notices(session.Link(), session.Image(), balloons, Language::English);
    ConsoleDeviceHooks hooks(notices);
    DeviceChangeHandler changes(session.Link(), session.Image(), records, hooks);

    std::unique_ptr<UdevHotplugSource> udev;
    HotplugSource* hotplug = session.Simulated();
    if (hotplug == nullptr) {
        udev = std::make_unique<UdevHotplugSource>();
        hotplug = udev.get();
    }
    const std::chrono::milliseconds shownLength = listening.value_or(0ms);
    if (const auto status = Connect(session, "listen", std::max(shownLength, kConnectTime), err)) {
        return *status;
    }
    session.Time().SetLength(listening);

    NoticeQueue queue;
    DeviceListener listener(session.Link(), queue);
    listener.Start();
    if (SimulatedMouse* mouse = session.Simulated(); mouse != nullptr && !options->presses.empty()) {
        // The reports go out once the listener reads, so that none is missed.
        mouse->WaitForNotificationReader(1s);
        for (const DeviceNotice& press : options->presses) {
            if (press.code == kNoticeCpiStageFirst) {
                mouse->PressCpiButton(press.value);
            } else {
                mouse->PressMacroKey(press.value);
            }
        }
    }

    // A CPI notice reads the mouse; its answer is printed only when both exchanges succeeded, and
    // one that fails ends the command, unless the seconds ran out while it was asked.
    std::optional<FailedExchange> failed;
    const auto handle = [&](const DeviceNotice& notice) {
        const bool cpiStage = notice.code >= kNoticeCpiStageFirst && notice.code <= kNoticeCpiStageLast &&
                              notice.value >= 1 && notice.value <= kHighestStage;
        if (!cpiStage) {
            notices.HandleDeviceNotice(notice);
            return;
        }
        if (auto readFailed = ReadProfileAndBlock(session)) {
            if (readFailed->time != TimeFailure::TimeUp) {
                failed = std::move(readFailed);
            }
            return;
        }
        const unsigned code = session.Image().SettingsArea(0)[kSettingsBlockCpiCodes + notice.value - 1];
        session.Writer().Line(std::string(MainWindowTextsFor(Language::English).cpiStageNotices[notice.value - 1]) +
                              std::to_string(code * static_cast<unsigned>(kCpiUnit)));
    };
    // A mouse that comes back but cannot be opened has its line (notice 15); one that was opened
    // but does not answer ends the command as a CPI read that fails does.
    const auto followChanges = [&] {
        for (const HotplugEvent& event : hotplug->TakeEvents()) {
            const DeviceOutcome arrived = changes.HandleDeviceChange(event);
            if (!arrived.Done() && arrived.error != DeviceError::NoMouse && !failed) {
                failed = Failure(arrived, session.Time(), session.Image());
            }
        }
    };
    while (!failed) {
        auto slice = std::chrono::milliseconds(kListenSlice);
        if (listening) {
            const auto left = session.Time().Left();
            if (left <= 0ms) {
                break;
            }
            slice = std::min(slice, left);
        }
        queue.HandleNext(handle, slice);
        followChanges();
    }
    // A removal that came as the seconds ran out still counts.
    followChanges();
    queue.Close();
    listener.Stop();
    if (failed) {
        Error(err, "listen") << Describe(*failed, session.Time().Elapsed(), shownLength) << '\n';
        return kFailed;
    }
    // The mouse left and did not come back: what was heard is all there was.
    return session.Link().IsConnected() ? kSuccess : kMouseAbsent;
}

} // namespace veldrane::ctl
