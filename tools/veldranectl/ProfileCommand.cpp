// The named profiles from the command line: listed, switched, exported and imported through the
// running configurator when it runs, so that the two programs never talk to the mouse at once,
// and on the data folder and the mouse directly, under the configurator's lock, when it does not.

#include <charconv>
#include <fstream>
#include <iostream>
#include <iterator>
#include <nlohmann/json.hpp>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "BusClient.h"
#include "Commands.h"
#include "Decoded.h"
#include "Diagnostics.h"
#include "ProgramLock.h"
#include "adapters/linux/DataLocations.h"
#include "adapters/linux/IconvTextCodec.h"
#include "adapters/linux/pointer/DesktopPointerSettings.h"
#include "core/buttons/ButtonAssignment.h"
#include "core/exchange/ProfileJsonTransfer.h"
#include "core/ini/AtomicFile.h"
#include "core/ini/IniFile.h"
#include "core/profile/ConfigFiles.h"
#include "core/profile/DataDirectory.h"
#include "core/profile/ProfileFileNames.h"
#include "core/profile/ProfileRecord.h"
#include "core/profile/ProfileSlotMover.h"
#include "core/settings/DesktopPointerSettingsApplier.h"
#include "core/settings/PointerSettingsChain.h"
#include "ports/MessageSink.h"
#include "screens/common/FileMessages.h"
#include "screens/main/DeviceLinkConnection.h"
#include "screens/main/ProfileCommands.h"
#include "sim/SimulatedFault.h"

namespace veldrane::ctl {

namespace {

constexpr std::string_view kJsonOption = "--json";
constexpr std::string_view kDataDirOption = "--data-dir";
constexpr std::string_view kSimulateOption = "--simulate";
constexpr std::string_view kSimFaultOption = "--sim-fault";
constexpr std::string_view kTraceOption = "--trace";
constexpr std::string_view kNext = "next";
constexpr std::string_view kPrevious = "prev";
constexpr std::string_view kStandardStream = "-";
// A readable profile with twelve long macros stays far below this.
constexpr std::uintmax_t kMaxProfileJsonBytes = 4 * 1024 * 1024;

const std::string kSimFaultNeeds = "one of " + std::string(kSimulatedFaultChoices);
const OptionSpec kSimFault{kSimFaultOption, kSimFaultNeeds,
                           [](std::string_view text) { return SimulatedFault::Parse(text).has_value(); }};
const OptionSpec kProfilesOptions[] = {{kJsonOption}, {kDataDirOption, "a folder"}, {kSimulateOption}, kSimFault};
const OptionSpec kSwitchOptions[] = {{kDataDirOption, "a folder"}, {kSimulateOption}, kSimFault, {kTraceOption}};
const OptionSpec kFileOptions[] = {{kDataDirOption, "a folder"}, {kSimulateOption}, kSimFault};

// Messages of the core become error lines.
class ConsoleMessages : public MessageSink
{
public:
    explicit ConsoleMessages(std::ostream& err) : m_err(err) {}

    void ShowMessage(std::string_view text, std::string_view) override { m_err << kToolName << ": " << text << '\n'; }
    void ShowBalloon(std::string_view text, std::string_view, std::chrono::milliseconds) override
    {
        ShowMessage(text, {});
    }

private:
    std::ostream& m_err;
};

// A console has no cursor to change and no page to go back to.
class ConsoleHost : public ProfileCommandsHost
{
public:
    void SetWaitCursor(bool) override {}
    void ReturnToFirstPage() override {}
};

struct Options
{
    std::vector<std::string> operands;
    bool json = false;
    bool trace = false;
    bool simulate = false;
    std::optional<std::string> fault;
    std::optional<std::string> dataDir;
};

std::optional<Options> Parse(std::string_view command, CommandArgs args, std::span<const OptionSpec> known,
                             std::string_view operand, std::size_t least, std::size_t most, std::ostream& err)
{
    const auto line = CommandLine::Parse(command, args, known, operand, least, most, err);
    if (!line) {
        return std::nullopt;
    }
    Options options;
    options.operands = line->Operands();
    options.json = line->Has(kJsonOption);
    options.trace = line->Has(kTraceOption);
    options.fault = line->Value(kSimFaultOption);
    options.simulate = line->Has(kSimulateOption) || options.fault.has_value();
    options.dataDir = line->Value(kDataDirOption);
    return options;
}

// Which profile an argument names: the position of a name of the list (the last one equal, as
// the configurator's loader takes it), otherwise a position counted from 0.
std::optional<std::size_t> FindProfile(std::string_view argument, const std::vector<std::string>& names)
{
    for (std::size_t i = names.size(); i-- > 0;) {
        if (names[i] == argument) {
            return i;
        }
    }
    std::size_t index = 0;
    const auto [end, problem] = std::from_chars(argument.data(), argument.data() + argument.size(), index);
    if (problem != std::errc() || end != argument.data() + argument.size() || index >= names.size()) {
        return std::nullopt;
    }
    return index;
}

int NoSuchProfile(std::string_view command, std::string_view argument, std::ostream& err)
{
    Error(err, command) << "there is no profile '" << argument << "' (" << kToolName << " profiles lists them)\n";
    return kFailed;
}

void PrintProfiles(const std::vector<std::string>& names, std::size_t active, bool json, std::ostream& out)
{
    if (json) {
        nlohmann::ordered_json document;
        document["schema"] = kJsonSchema;
        document["active"] = active;
        document["profiles"] = nlohmann::ordered_json::array();
        for (std::size_t i = 0; i < names.size(); ++i) {
            document["profiles"].push_back({{"index", i}, {"name", names[i]}, {"active", i == active}});
        }
        out << document.dump(2) << '\n';
        return;
    }
    for (std::size_t i = 0; i < names.size(); ++i) {
        out << (i == active ? "* " : "  ") << i << ' ' << names[i] << '\n';
    }
}

// The whole of FILE, or of the standard input for "-"; nothing after an error line.
std::optional<std::string> ReadDocument(const std::string& path, std::ostream& err)
{
    if (path == kStandardStream) {
        std::string text((std::istreambuf_iterator<char>(std::cin)), std::istreambuf_iterator<char>());
        if (text.size() > kMaxProfileJsonBytes) {
            Error(err, "standard input") << "more than " << kMaxProfileJsonBytes << " bytes, not a profile\n";
            return std::nullopt;
        }
        return text;
    }
    std::error_code error;
    const auto size = std::filesystem::file_size(path, error);
    if (!error && size > kMaxProfileJsonBytes) {
        Error(err, path) << "size " << size << " bytes, a readable profile has at most " << kMaxProfileJsonBytes
                         << '\n';
        return std::nullopt;
    }
    std::ifstream file(path, std::ios::binary);
    if (error || !file) {
        Error(err, path) << FileReason(error ? error.value() : errno) << '\n';
        return std::nullopt;
    }
    std::ostringstream text;
    text << file.rdbuf();
    if (file.bad()) {
        Error(err, path) << FileReason(EIO) << '\n';
        return std::nullopt;
    }
    return text.str();
}

// The readable profile to FILE (written whole or not at all), or to the standard output.
int WriteDocument(const std::optional<std::string>& path, const std::string& json, std::ostream& out, std::ostream& err)
{
    if (!path || *path == kStandardStream) {
        out << json;
        return kSuccess;
    }
    if (const std::error_code error = WriteFileAtomically(*path, json)) {
        Error(err, *path) << error.message() << '\n';
        return kFailed;
    }
    return kSuccess;
}

// The profile commands through the running configurator.
class ThroughProgram
{
public:
    ThroughProgram(BusClient& bus, BusClient::State state, std::ostream& out, std::ostream& err)
        : m_bus(bus), m_state(std::move(state)), m_out(out), m_err(err)
    {}

    int Profiles(bool json)
    {
        PrintProfiles(m_state.profiles, static_cast<std::size_t>(m_state.activeProfile), json, m_out);
        return kSuccess;
    }

    int Switch(std::string_view argument)
    {
        BusClient::Answer answer;
        std::optional<std::size_t> index;
        if (argument == kNext || argument == kPrevious) {
            answer = argument == kNext ? m_bus.NextProfile() : m_bus.PreviousProfile();
        } else {
            index = FindProfile(argument, m_state.profiles);
            if (!index) {
                return NoSuchProfile("profile switch", argument, m_err);
            }
            answer = m_bus.SwitchProfile(static_cast<int>(*index));
        }
        if (!answer.done) {
            return Failed("profile switch", answer);
        }
        if (!index) {
            // Which one the step reached: the program's answer to the switch carries none.
            BusClient::Answer read;
            if (const auto now = m_bus.ReadState(read)) {
                m_state = *now;
            }
            index = static_cast<std::size_t>(m_state.activeProfile);
        }
        m_out << "switched to " << *index << ' ' << NameOf(*index) << '\n';
        return kSuccess;
    }

    int Export(std::string_view argument, const std::optional<std::string>& path)
    {
        const auto index = FindProfile(argument, m_state.profiles);
        if (!index) {
            return NoSuchProfile("profile export", argument, m_err);
        }
        const BusClient::Answer answer = m_bus.ExportProfile(static_cast<int>(*index));
        if (!answer.done) {
            return Failed("profile export", answer);
        }
        return WriteDocument(path, answer.text, m_out, m_err);
    }

    int Import(std::string_view argument, const std::string& path)
    {
        const auto index = FindProfile(argument, m_state.profiles);
        if (!index) {
            return NoSuchProfile("profile import", argument, m_err);
        }
        const auto json = ReadDocument(path, m_err);
        if (!json) {
            return kFailed;
        }
        const BusClient::Answer answer = m_bus.ImportProfile(static_cast<int>(*index), *json);
        if (!answer.done) {
            return Failed("profile import", answer);
        }
        m_out << "imported into " << *index << ' ' << NameOf(*index) << '\n';
        return kSuccess;
    }

private:
    std::string NameOf(std::size_t index) const
    {
        return index < m_state.profiles.size() ? m_state.profiles[index] : std::string();
    }

    // One error line per line of the program's words (an invalid profile lists its fields).
    int Failed(std::string_view command, const BusClient::Answer& answer)
    {
        std::istringstream lines(answer.message);
        for (std::string line; std::getline(lines, line);) {
            Error(m_err, command) << line << '\n';
        }
        return ExitStatusOf(answer);
    }

    BusClient& m_bus;
    BusClient::State m_state;
    std::ostream& m_out;
    std::ostream& m_err;
};

// The profile commands on the data folder, as the configurator reads it at start-up.
class OnDataFolder
{
public:
    OnDataFolder(const Options& options, std::ostream& out, std::ostream& err, const DeviceClock& time)
        : m_options(options), m_out(out), m_err(err), m_time(time), m_messages(err)
    {}

    // The folder prepared and the selected profile loaded; false after an error line.
    bool Open()
    {
        const DataLocations locations = DataLocations::Resolve(DataLocations::ExecutableDirectory(),
                                                               m_options.dataDir.value_or(""), m_options.simulate);
        if (locations.user.empty()) {
            Error(m_err, "data folder") << "neither XDG_DATA_HOME nor HOME names one; use " << kDataDirOption << '\n';
            return false;
        }
        if (const FileOutcome seeded = DataDirectory::Seed(locations.installed, locations.user); !seeded.Done()) {
            Error(m_err, seeded.file.string()) << seeded.error.message() << '\n';
            return false;
        }
        // What the configurator does first at start-up: leftovers of a killed write go, profile
        // files whose move was cut off get their places back.
        RemoveLeftoverTemporaryFiles(locations.user);
        const ProfileSlotMover::Recovery recovery = ProfileSlotMover::Recover(locations.user);
        if (recovery.error) {
            Error(m_err, (locations.user / ProfileSlotMover::kJournalName).string())
                << recovery.error.message() << '\n';
            return false;
        }
        m_files = std::make_unique<ConfigFiles>(locations.user, m_codec);
        m_files->SetButtonRepair(&BringButtonsIntoMenuRange);
        const FileOutcome loaded = m_files->LoadConfig(m_records.Current);
        const IniFile labels(m_files->LabelPath(), m_codec);
        m_language = LanguageFromCode(labels.GetString(kSkinsSection, kLanguageKey));
        m_files->SetInterfaceLanguage(m_language);
        m_files->LoadLabels(m_language);
        // An unreadable profile shows the factory settings, as in the window, without a word here;
        // the switch itself reads the profile it goes to again.
        if (!m_files->FactoryStandsIn()) {
            ShowFileFailure(m_messages, loaded, m_language);
        }
        m_records.Snapshot();
        m_names = m_files->ReadProfileList().names;
        return true;
    }

    int Profiles(bool json)
    {
        PrintProfiles(m_names, m_files->CurrentProfileIndex(), json, m_out);
        return kSuccess;
    }

    int Switch(std::string_view argument)
    {
        DesktopPointerSettings desktop(DesktopEnvironment::FromProcess());
        PointerSettingsChain chain({&desktop});
        DesktopPointerSettingsApplier pointer(chain);
        std::optional<std::size_t> index;
        if (argument == kNext || argument == kPrevious) {
            if (!m_names.empty()) {
                const auto count = static_cast<long>(m_names.size());
                const long from = std::min<long>(m_files->CurrentProfileIndex(), count - 1);
                const long step = argument == kNext ? 1 : -1;
                index = static_cast<std::size_t>(((from + step) % count + count) % count);
            }
        } else {
            index = FindProfile(argument, m_names);
        }
        if (!index) {
            return NoSuchProfile("profile switch", argument, m_err);
        }
        const MouseChoice choice{m_options.simulate, m_options.fault, m_options.trace};
        return WithPreparedMouse(
            "profile switch", choice, m_out, m_err, m_time, [&](DeviceLink& link, DeviceImage& image) {
                DeviceLinkConnection connection(link, image);
                ProfileCommands commands(m_records, *m_files, connection, m_messages, pointer, m_language);
                ConsoleHost host;
                const SwitchOutcome outcome = commands.SwitchProfile(host, *index);
                switch (outcome.result) {
                case SwitchResult::Switched:
                    m_out << "switched to " << outcome.index << ' ' << outcome.name << '\n';
                    return kSuccess;
                case SwitchResult::NotTaken:
                    Error(m_err, "profile switch")
                        << "the gaming mouse did not take the profile; it is loaded and saved\n";
                    return kFailed;
                case SwitchResult::NoMouse:
                    Error(m_err, "profile switch") << "the gaming mouse is not connected\n";
                    return kMouseAbsent;
                case SwitchResult::NoSuchProfile:
                    return NoSuchProfile("profile switch", argument, m_err);
                case SwitchResult::Busy:
                case SwitchResult::UnsavedEdits:
                case SwitchResult::Failed:
                    break;
                }
                Error(m_err, "profile switch") << (outcome.reason.empty() ? "failed" : outcome.reason) << '\n';
                return kFailed;
            });
    }

    int Export(std::string_view argument, const std::optional<std::string>& path)
    {
        const auto index = FindProfile(argument, m_names);
        if (!index) {
            return NoSuchProfile("profile export", argument, m_err);
        }
        IniFile macroFile(m_files->ModulePath() / kMacroFileName, m_codec);
        const ProfileJsonTransfer transfer(*m_files, macroFile, m_codec);
        const JsonExport exported = transfer.ExportStored(*index);
        if (!exported.error.empty()) {
            Error(m_err, "profile export") << exported.error << '\n';
            return kFailed;
        }
        return WriteDocument(path, exported.json, m_out, m_err);
    }

    int Import(std::string_view argument, const std::string& path)
    {
        const auto index = FindProfile(argument, m_names);
        if (!index) {
            return NoSuchProfile("profile import", argument, m_err);
        }
        const auto json = ReadDocument(path, m_err);
        if (!json) {
            return kFailed;
        }
        IniFile macroFile(m_files->ModulePath() / kMacroFileName, m_codec);
        ProfileJsonTransfer transfer(*m_files, macroFile, m_codec);
        const JsonImport imported = transfer.ImportInto(*index, *json);
        for (const std::string& problem : imported.problems) {
            Error(m_err, path) << problem << '\n';
        }
        if (!imported.error.empty()) {
            Error(m_err, "profile import") << imported.error << '\n';
        }
        if (!imported.Done()) {
            return kFailed;
        }
        for (const auto& [from, to] : imported.renamedMacros) {
            m_out << "macro \"" << from << "\" added as \"" << to << "\"\n";
        }
        m_out << "imported into " << *index << ' ' << m_names[*index] << '\n';
        return kSuccess;
    }

private:
    const Options& m_options;
    std::ostream& m_out;
    std::ostream& m_err;
    DeviceClock m_time;
    ConsoleMessages m_messages;
    IconvTextCodec m_codec;
    std::unique_ptr<ConfigFiles> m_files;
    ProfileRecords m_records{};
    Language m_language = Language::English;
    std::vector<std::string> m_names;
};

// Runs `through` on the running configurator, or `direct` on the data folder under its lock.
template <typename Action>
int Dispatch(std::string_view command, const Options& options, std::ostream& out, std::ostream& err,
             const DeviceClock& time, Action action)
{
    BusClient bus;
    BusClient::Answer answer;
    if (auto state = bus.ReadState(answer)) {
        if (state->simulated != options.simulate) {
            Error(err, command) << "the running configurator uses "
                                << (state->simulated ? "the simulated mouse; add " : "the real mouse; leave out ")
                                << kSimulateOption << '\n';
            return kUsage;
        }
        ThroughProgram program(bus, std::move(*state), out, err);
        return action(program);
    }
    if (!answer.absent) {
        Error(err, command) << "the running configurator does not answer: " << answer.message << '\n';
        return kFailed;
    }
    ProgramLock lock;
    if (!lock.TryAcquire()) {
        Error(err, command) << "the configurator runs (it holds " << lock.Path()
                            << ") but is not on the session bus; try again once it has started, or quit it\n";
        return kFailed;
    }
    OnDataFolder folder(options, out, err, time);
    if (!folder.Open()) {
        return kFailed;
    }
    return action(folder);
}

} // namespace

int RunProfiles(CommandArgs args, std::ostream& out, std::ostream& err, const DeviceClock& time)
{
    const auto options = Parse("profiles", args, kProfilesOptions, "", 0, 0, err);
    if (!options) {
        return kUsage;
    }
    return Dispatch("profiles", *options, out, err, time, [&](auto& target) { return target.Profiles(options->json); });
}

int RunProfile(CommandArgs args, std::ostream& out, std::ostream& err, const DeviceClock& time)
{
    const std::string action = args.empty() ? std::string() : args.front();
    const CommandArgs rest = args.empty() ? args : args.subspan(1);
    if (action == "switch") {
        const auto options = Parse("profile switch", rest, kSwitchOptions, "NAME|INDEX|next|prev", 1, 1, err);
        if (!options) {
            return kUsage;
        }
        const std::string& which = options->operands.front();
        return Dispatch("profile switch", *options, out, err, time, [&](auto& target) { return target.Switch(which); });
    }
    if (action == "export") {
        const auto options = Parse("profile export", rest, kFileOptions, "NAME|INDEX [FILE]", 1, 2, err);
        if (!options) {
            return kUsage;
        }
        const std::string& which = options->operands.front();
        const std::optional<std::string> file =
            options->operands.size() > 1 ? std::optional(options->operands[1]) : std::nullopt;
        return Dispatch("profile export", *options, out, err, time,
                        [&](auto& target) { return target.Export(which, file); });
    }
    if (action == "import") {
        const auto options = Parse("profile import", rest, kFileOptions, "NAME|INDEX FILE", 2, 2, err);
        if (!options) {
            return kUsage;
        }
        const std::string& which = options->operands.front();
        const std::string& file = options->operands[1];
        return Dispatch("profile import", *options, out, err, time,
                        [&](auto& target) { return target.Import(which, file); });
    }
    Error(err, "profile") << (action.empty() ? "needs switch, export or import" : "unknown action '" + action + "'")
                          << '\n';
    return kUsage;
}

} // namespace veldrane::ctl
