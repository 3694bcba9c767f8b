#pragma once

#include <iosfwd>
#include <string_view>

#include "CommandLine.h"

namespace veldrane {
class Clock;
class Sleeper;
} // namespace veldrane

namespace veldrane::ctl {

// Each command returns the process's exit status (Diagnostics.h): 0 done; 1 the operation failed
// (a bad file, an exchange with the mouse that failed, one error line on `err` naming the file or
// the command that failed first); 2 a usage error; 3 the mouse is there but may not be opened; 4
// the mouse is needed and absent.

// Commands on files, no mouse needed.
int RunShow(CommandArgs args, std::ostream& out, std::ostream& err);
int RunKeyMatrix(CommandArgs args, std::ostream& out, std::ostream& err);
int RunSettingsBlock(CommandArgs args, std::ostream& out, std::ostream& err);
int RunMacros(CommandArgs args, std::ostream& out, std::ostream& err);

// What the device commands measure time with and pause on: the machine's clock when not given.
struct DeviceClock
{
    const Clock* clock = nullptr;
    Sleeper* sleeper = nullptr;
};

// Commands on the mouse (or the simulated one with --simulate).
int RunList(CommandArgs args, std::ostream& out, std::ostream& err, const DeviceClock& time = {});
int RunStatus(CommandArgs args, std::ostream& out, std::ostream& err, const DeviceClock& time = {});
int RunApply(CommandArgs args, std::ostream& out, std::ostream& err, const DeviceClock& time = {});
int RunListen(CommandArgs args, std::ostream& out, std::ostream& err, const DeviceClock& time = {});
// The time bounds of the device commands, for --help.
std::string_view DeviceCommandsTimeText();

// What stands between the user and a working mouse, one line per check with its fix.
int RunDoctor(CommandArgs args, std::ostream& out, std::ostream& err);

} // namespace veldrane::ctl
