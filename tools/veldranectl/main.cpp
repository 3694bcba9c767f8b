// veldranectl: the command-line companion of the configurator, for people who script their
// mouse or need to see inside their files.

#include <array>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "Commands.h"
#include "Diagnostics.h"

namespace {

using veldrane::ctl::CommandArgs;

struct Command
{
    std::string_view name;
    std::string_view arguments;
    std::string_view what;
    int (*run)(CommandArgs, std::ostream&, std::ostream&);
};

// Only the commands this build can carry out are offered.
constexpr Command kCommands[] = {
    {"show", "FILE.bin", "every field of a profile file, as JSON, with the decoded values beside the codes",
     veldrane::ctl::RunShow},
    {"keymatrix", "FILE.bin", "the 128-byte key-matrix block the mouse gets", veldrane::ctl::RunKeyMatrix},
    {"settings-block", "FILE.bin [--from HEX]",
     "the 128-byte settings block a download would write, patched over HEX (zeros without it)",
     veldrane::ctl::RunSettingsBlock},
    {"macros", "RECORD.INI", "the twelve 128-byte macro buffers made from a macro file", veldrane::ctl::RunMacros},
#ifdef VELDRANECTL_HAS_DEVICE_COMMANDS
    {"list", "[--json] [--simulate] [--sim-fault FAULT]",
     "the mouse's HID interfaces; with --json an empty list when there is no mouse",
     [](CommandArgs args, std::ostream& out, std::ostream& err) { return veldrane::ctl::RunList(args, out, err); }},
    {"status", "[--json] [--simulate] [--sim-fault FAULT]", "the mouse's profile number and settings block",
     [](CommandArgs args, std::ostream& out, std::ostream& err) { return veldrane::ctl::RunStatus(args, out, err); }},
    {"apply", "FILE.bin [--data-dir DIR] [--simulate] [--sim-fault FAULT] [--trace]",
     "download a profile file into the mouse; exit status 1 when the mouse did not take it",
     [](CommandArgs args, std::ostream& out, std::ostream& err) { return veldrane::ctl::RunApply(args, out, err); }},
    {"listen", "[--seconds N] [--simulate] [--sim-fault FAULT] [--trace] [--press cpi:1-6|macro:1-12]",
     "print the mouse's CPI and macro-key notices",
     [](CommandArgs args, std::ostream& out, std::ostream& err) { return veldrane::ctl::RunListen(args, out, err); }},
    {"doctor", "[--json] [--data-dir DIR] [--simulate] [--sim-fault FAULT]",
     "what stands between you and a working mouse, one line per check with its fix; exit status 1 when "
     "something does",
     veldrane::ctl::RunDoctor},
#endif
#ifdef VELDRANECTL_HAS_PROFILE_COMMANDS
    {"profiles", "[--json] [--data-dir DIR] [--simulate]",
     "the named profiles, the active one marked with '*', through the running configurator when there is one",
     [](CommandArgs args, std::ostream& out, std::ostream& err) { return veldrane::ctl::RunProfiles(args, out, err); }},
    {"profile",
     "switch NAME|INDEX|next|prev [--trace] | export NAME|INDEX [FILE] | import NAME|INDEX FILE "
     "[--data-dir DIR] [--simulate]",
     "load a profile and send it to the mouse, or write it as readable JSON (to standard output without FILE), or "
     "read one into its files; through the running configurator when there is one",
     [](CommandArgs args, std::ostream& out, std::ostream& err) { return veldrane::ctl::RunProfile(args, out, err); }},
#endif
};

void PrintCommandUsage(std::ostream& out, const Command& command)
{
    out << "usage: veldranectl " << command.name << ' ' << command.arguments << "\n    " << command.what << '\n';
}

void PrintUsage(std::ostream& out)
{
    out << "usage: veldranectl COMMAND [ARGUMENTS] [--] [FILE]\n"
           "       veldranectl --version | COMMAND --help\n\ncommands:\n";
    for (const Command& command : kCommands) {
        out << "  " << command.name << ' ' << command.arguments << "\n      " << command.what << '\n';
    }
    out << "\nOptions take their value as --opt VALUE or --opt=VALUE. --data-dir DIR takes relative file\n"
           "names inside DIR, the user's data folder as the configurator's --data-dir takes it, seeded\n"
           "with the factory files it lacks; without it they are taken as they stand.\n"
           "Blocks print as upper-case hex bytes, 16 to a line; JSON carries \"schema\": 1.\n"
#ifdef VELDRANECTL_HAS_DEVICE_COMMANDS
           "Device commands take --simulate, --sim-fault FAULT and --trace. --sim-fault makes the simulated\n"
           "mouse misbehave (implies --simulate): silent, garbage, unplug-after:N (it leaves after the N-th\n"
           "report) or slow:MS (each answer MS milliseconds late).\n"
        << veldrane::ctl::DeviceCommandsTimeText() <<
#endif
#ifdef VELDRANECTL_HAS_PROFILE_COMMANDS
        "\nprofiles and profile go through the running configurator on the session bus; without it they\n"
        "use the data folder and the mouse themselves, holding the configurator's lock. A NAME that is\n"
        "not in the list is taken as an INDEX counted from 0.\n"
#endif
        "\nExit status: 0 done; 1 the operation failed (a bad file, an exchange with the mouse, output that\n"
        "could not be written); 2 a usage error; 3 no permission to open the mouse; 4 no mouse found.\n";
}

// The command's status, or 1 when its output could not be written whole (a full disk, a closed
// pipe): a script must not take a cut-off answer for the whole one.
int Finish(int status)
{
    errno = 0;
    std::cout.flush();
    if (!std::cout) {
        std::cerr << veldrane::ctl::kToolName
                  << ": cannot write the output: " << std::strerror(errno != 0 ? errno : EIO) << '\n';
        return veldrane::ctl::kFailed;
    }
    return status;
}

} // namespace

int main(int argc, char** argv)
{
    // A closed pipe is a failed write, reported as such, not a silent death.
    std::signal(SIGPIPE, SIG_IGN);
    const std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
    if (arguments.empty()) {
        PrintUsage(std::cerr);
        return veldrane::ctl::kUsage;
    }
    const std::string& name = arguments.front();
    if (name == "--help" || name == "-h" || name == "help") {
        PrintUsage(std::cout);
        return Finish(0);
    }
    if (name == "--version") {
        std::cout << veldrane::ctl::kToolName << ' ' << VELDRANE_VERSION << '\n';
        return Finish(0);
    }
    for (const Command& command : kCommands) {
        if (command.name == name) {
            const CommandArgs args(arguments.begin() + 1, arguments.end());
            if (veldrane::ctl::CommandLine::AsksForHelp(args)) {
                PrintCommandUsage(std::cout, command);
                return Finish(0);
            }
            return Finish(command.run(args, std::cout, std::cerr));
        }
    }
    const bool option = name.size() > 1 && name.front() == '-';
    std::cerr << veldrane::ctl::kToolName << ": unknown " << (option ? "option" : "command") << " '" << name << "' ("
              << veldrane::ctl::kToolName << " --help lists them)\n";
    return veldrane::ctl::kUsage;
}
