// The commands on the mouse: they find it (or, with --simulate, the simulated one), talk to it
// exactly as the configurator does, and print what happened; --trace prints every report.

#include <algorithm>
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
#include "core/device/CommandSet.h"
#include "core/device/DeviceChangeHandler.h"
#include "core/device/DeviceImage.h"
#include "core/device/DeviceLink.h"
#include "core/device/DeviceListener.h"
#include "core/device/DeviceNotice.h"
#include "core/device/DeviceNoticeHandler.h"
#include "core/device/MouseSearch.h"
#include "core/device/NoticeQueue.h"
#include "core/device/ProfileDownload.h"
#include "core/device/ReportTrace.h"
#include "ports/HidBackend.h"
#include "ports/MessageSink.h"
#include "adapters/linux/HidAccess.h"
#include "adapters/linux/HidapiBackend.h"
#include "adapters/linux/SteadyClock.h"
#include "adapters/linux/UdevHotplugSource.h"
#include "core/profile/ConfigFile.h"
#include "core/profile/ProfileRecord.h"
#include "sim/SimulatedFault.h"
#include "sim/SimulatedMouse.h"
#include "core/text/AccessTexts.h"
#include "core/text/MainWindowTexts.h"

namespace veldrane::ctl {

namespace {

using namespace std::chrono_literals;

constexpr std::string_view kSimulateOption = "--simulate";
constexpr std::string_view kSimFaultOption = "--sim-fault";
constexpr std::string_view kTraceOption = "--trace";
constexpr int kDownloadFailed = 1;
constexpr std::string_view kJsonOption = "--json";
constexpr std::string_view kSecondsOption = "--seconds";
constexpr std::string_view kPressOption = "--press";
constexpr long kLongestListen = 24 * 3600;

std::optional<long> ParseNumber(std::string_view text, long lowest, long highest)
{
    long value = 0;
    const auto [end, problem] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (problem != std::errc() || end != text.data() + text.size() || value < lowest || value > highest) {
        return std::nullopt;
    }
    return value;
}

// "cpi:N" (the CPI button, stage N) or "macro:N" (the macro key N), N from 0 to 255.
std::optional<DeviceNotice> ParsePress(std::string_view text)
{
    constexpr std::string_view kCpi = "cpi:";
    constexpr std::string_view kMacro = "macro:";
    std::uint8_t code = 0;
    if (text.substr(0, kCpi.size()) == kCpi) {
        code = kNoticeCpiStageFirst;
        text.remove_prefix(kCpi.size());
    } else if (text.substr(0, kMacro.size()) == kMacro) {
        code = kNoticeMacroKey;
        text.remove_prefix(kMacro.size());
    } else {
        return std::nullopt;
    }
    const auto value = ParseNumber(text, 0, 255);
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
const OptionSpec kDeviceOptions[] = {kSimulate, kSimFault, kTrace};
const OptionSpec kQueryOptions[] = {kSimulate, kSimFault, kTrace, {kJsonOption}};
const OptionSpec kListenOptions[] = {
    kSimulate,
    kSimFault,
    kTrace,
    {kSecondsOption, "a number of seconds from 0 to 86400",
     [](std::string_view text) { return ParseNumber(text, 0, kLongestListen).has_value(); }},
    {kPressOption, "cpi:N or macro:N with N from 0 to 255",
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
    void ShowBalloon(std::string_view text, std::string_view, std::chrono::milliseconds) override { m_writer.Line(std::string(text)); }

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

// What the configurator sees as its device link: the backend (real or simulated, traced or
// not), the real clock and pauses, the link and the image.
class DeviceSession
{
public:
    DeviceSession(const DeviceOptions& options, std::ostream& out)
        : m_writer(out), m_trace([this](const std::string& line) { m_writer.Line(line); }, m_clock)
    {
        if (options.simulate) {
            m_simulated = std::make_unique<SimulatedMouse>(m_clock, &m_clock);
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
        m_link = std::make_unique<DeviceLink>(*m_backend, m_clock);
    }

    LockedWriter& Writer() { return m_writer; }
    SteadyClock& Clock() { return m_clock; }
    HidBackend& Backend() { return *m_backend; }
    DeviceLink& Link() { return *m_link; }
    DeviceImage& Image() { return m_image; }
    SimulatedMouse* Simulated() { return m_simulated.get(); }

private:
    LockedWriter m_writer;
    SteadyClock m_clock;
    ReportTrace m_trace;
    std::unique_ptr<SimulatedMouse> m_simulated;
    std::unique_ptr<HidapiBackend> m_hidapi;
    std::unique_ptr<TracingHidBackend> m_tracing;
    HidBackend* m_backend = nullptr;
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

} // namespace

int RunList(CommandArgs args, std::ostream& out, std::ostream& err)
{
    const auto options = ParseOptions("list", args, kQueryOptions, 0, err);
    if (!options) {
        return kBadArgument;
    }
    DeviceSession session(*options, out);
    if (!FindMouse(session.Link())) {
        return MouseAbsent(session.Backend(), err);
    }
    nlohmann::ordered_json json = nlohmann::ordered_json::array();
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
    return 0;
}

int RunStatus(CommandArgs args, std::ostream& out, std::ostream& err)
{
    const auto options = ParseOptions("status", args, kQueryOptions, 0, err);
    if (!options) {
        return kBadArgument;
    }
    DeviceSession session(*options, out);
    ProfileRecords records{};
    ConsoleBalloons balloons(session.Writer());
    DeviceNoticeHandler notices(session.Link(), session.Image(), balloons, Language::English);
    ConsoleDeviceHooks hooks(notices);
    DeviceChangeHandler changes(session.Link(), session.Image(), records, hooks);
    // Found as at start-up: the profile number read, the mode byte sent.
    if (!changes.ConnectAtStartUp()) {
        return MouseAbsent(session.Backend(), err);
    }
    TransferSettingsBlock(session.Link(), session.Image(), BlockDirection::Read);
    if (options->json) {
        nlohmann::ordered_json json;
        json["connected"] = true;
        json["profile"] = session.Image().bytes[kImageProfileNumber];
        json["settingsBlock"] = SettingsBlockJson(session.Image().SettingsArea(0));
        session.Writer().Line(json.dump(2));
        return 0;
    }
    session.Writer().Line("connected");
    session.Writer().Line("profile " + std::to_string(session.Image().bytes[kImageProfileNumber]));
    session.Writer().Line("settings block");
    std::string block = FormatHexLines(session.Image().SettingsArea(0));
    block.pop_back();
    session.Writer().Line(block);
    return 0;
}

int RunApply(CommandArgs args, std::ostream& out, std::ostream& err)
{
    const auto options = ParseOptions("apply", args, kDeviceOptions, 1, err);
    if (!options) {
        return kBadArgument;
    }
    const std::string& path = options->files.front();
    const auto file = ReadProfileFile(path, err);
    if (!file) {
        return kBadArgument;
    }

    DeviceSession session(*options, out);
    ProfileRecords records{};
    ConsoleBalloons balloons(session.Writer());
    DeviceNoticeHandler notices(session.Link(), session.Image(), balloons, Language::English);
    ConsoleDeviceHooks hooks(notices);
    DeviceChangeHandler changes(session.Link(), session.Image(), records, hooks);
    if (!changes.ConnectAtStartUp()) {
        return MouseAbsent(session.Backend(), err);
    }
    // The profile of the file goes to the mouse as "Save" sends it, its settings brought into the
    // controls' range as a load brings them; the configurator's own files are not this command's
    // to rewrite.
    ProfileRecord record = file->record;
    BringIntoControlRange(record);
    const auto start = session.Clock().Now();
    const DownloadResult result = WriteProfileToMouse(session.Link(), session.Image(), record);
    const auto took = session.Clock().Now() - start;
    if (!result.Taken()) {
        Error(err, path) << "the mouse did not take the profile: command " << Hex8(*result.failedCommand)
                         << " failed after " << took.count() << " ms\n";
        return kDownloadFailed;
    }
    session.Writer().Line("downloaded " + path + " in " + std::to_string(took.count()) + " ms");
    return 0;
}

int RunListen(CommandArgs args, std::ostream& out, std::ostream& err)
{
    const auto options = ParseOptions("listen", args, kListenOptions, 0, err);
    if (!options) {
        return kBadArgument;
    }
    DeviceSession session(*options, out);
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
    if (!changes.ConnectAtStartUp()) {
        return MouseAbsent(session.Backend(), err);
    }

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

    const auto handle = [&](const DeviceNotice& notice) { notices.HandleDeviceNotice(notice); };
    const std::optional<std::chrono::milliseconds> end =
        options->seconds ? std::optional(session.Clock().Now() + std::chrono::seconds(*options->seconds))
                         : std::nullopt;
    for (;;) {
        auto slice = std::chrono::milliseconds(kListenSlice);
        if (end) {
            const auto now = session.Clock().Now();
            if (now >= *end) {
                break;
            }
            slice = std::min(slice, *end - now);
        }
        queue.HandleNext(handle, slice);
        for (const HotplugEvent& event : hotplug->TakeEvents()) {
            changes.HandleDeviceChange(event);
        }
    }
    queue.Close();
    listener.Stop();
    return 0;
}

} // namespace veldrane::ctl
