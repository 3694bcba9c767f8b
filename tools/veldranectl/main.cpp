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
    {"list", "[--json] [--simulate] [--sim-fault FAULT]", "the mouse's HID interfaces", veldrane::ctl::RunList},
    {"status", "[--json] [--simulate] [--sim-fault FAULT]", "the mouse's profile number and settings block",
     veldrane::ctl::RunStatus},
    {"apply", "FILE.bin [--simulate] [--sim-fault FAULT] [--trace]",
     "download a profile file into the mouse; exit status 1 when the mouse did not take it", veldrane::ctl::RunApply},
    {"listen", "[--seconds N] [--simulate] [--sim-fault FAULT] [--trace] [--press cpi:N|macro:N]",
     "print the mouse's CPI and macro-key notices", veldrane::ctl::RunListen},
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
    out << "\nOptions take their value as --opt VALUE or --opt=VALUE; file commands take --data-dir DIR for\n"
           "relative file names, device commands --simulate, --sim-fault FAULT and --trace.\n"
           "Blocks print as upper-case hex bytes, 16 to a line. Exit status 0 on success, 1 for a bad file "
           "or argument or output that could not be written"
#ifdef VELDRANECTL_HAS_DEVICE_COMMANDS
           ", 2 when the mouse is needed and absent, 3 when it may not be opened.\n"
           "--sim-fault FAULT makes the simulated mouse misbehave (implies --simulate): silent, garbage,\n"
           "unplug-after:N (it leaves after the N-th report) or slow:MS (each answer MS milliseconds late)"
#endif
           ".\n";
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
        return veldrane::ctl::kBadArgument;
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
        return 1;
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
    std::cerr << veldrane::ctl::kToolName << ": unknown command '" << name << "' (" << veldrane::ctl::kToolName
              << " --help lists them)\n";
    return 1;
}
