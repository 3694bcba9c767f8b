// veldranectl: the command-line companion of the configurator, for people who script their
// mouse or need to see inside their files.

#include <array>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "Commands.h"

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
    {"show", "FILE.bin", "every field of a profile file, as JSON", veldrane::ctl::RunShow},
    {"keymatrix", "FILE.bin", "the 128-byte key-matrix block the mouse gets", veldrane::ctl::RunKeyMatrix},
    {"settings-block", "FILE.bin [--from HEX]",
     "the 128-byte settings block a download would write, patched over HEX (zeros without it)",
     veldrane::ctl::RunSettingsBlock},
    {"macros", "RECORD.INI", "the twelve 128-byte macro buffers made from a macro file", veldrane::ctl::RunMacros},
#ifdef VELDRANECTL_HAS_DEVICE_COMMANDS
    {"list", "[--simulate] [--sim-fault FAULT]", "the mouse's HID interfaces", veldrane::ctl::RunList},
    {"status", "[--simulate] [--sim-fault FAULT]", "the mouse's profile number and settings block",
     veldrane::ctl::RunStatus},
    {"apply", "FILE.bin [--simulate] [--sim-fault FAULT] [--trace]",
     "download a profile file into the mouse; exit status 1 when the mouse did not take it", veldrane::ctl::RunApply},
    {"listen", "[--seconds N] [--simulate] [--sim-fault FAULT] [--trace] [--press cpi:N|macro:N]",
     "print the mouse's CPI and macro-key notices", veldrane::ctl::RunListen},
#endif
};

void PrintUsage(std::ostream& out)
{
    out << "usage: veldranectl COMMAND [ARGUMENTS]\n\ncommands:\n";
    for (const Command& command : kCommands) {
        out << "  " << command.name << ' ' << command.arguments << "\n      " << command.what << '\n';
    }
    out << "\nBlocks print as upper-case hex bytes, 16 to a line. Exit status 0 on success, 1 for a bad file "
           "or argument"
#ifdef VELDRANECTL_HAS_DEVICE_COMMANDS
           ", 2 when the mouse is needed and absent.\n"
           "--sim-fault FAULT makes the simulated mouse misbehave (implies --simulate): silent, garbage,\n"
           "unplug-after:N (it leaves after the N-th report) or slow:MS (each answer MS milliseconds late)"
#endif
           ".\n";
}

} // namespace

int main(int argc, char** argv)
{
    const std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
    if (arguments.empty()) {
        PrintUsage(std::cerr);
        return 1;
    }
    const std::string& name = arguments.front();
    if (name == "--help" || name == "-h" || name == "help") {
        PrintUsage(std::cout);
        return 0;
    }
    for (const Command& command : kCommands) {
        if (command.name == name) {
            const CommandArgs args(arguments.begin() + 1, arguments.end());
            return command.run(args, std::cout, std::cerr);
        }
    }
    std::cerr << "veldranectl: unknown command '" << name << "' (veldranectl --help lists them)\n";
    return 1;
}
