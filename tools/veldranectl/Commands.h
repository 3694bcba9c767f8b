#pragma once

#include <functional>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>

#include "CommandLine.h"

namespace veldrane {
class Clock;
class DeviceLink;
class Sleeper;
struct DeviceImage;
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

// The mouse as the device commands take it: the real one, or the simulated one (--simulate,
// --sim-fault), traced or not.
struct MouseChoice
{
    bool simulate = false;
    std::optional<std::string> fault; // a fault of SimulatedFault::Parse; implies `simulate`
    bool trace = false;
};
// Finds and prepares the mouse as the device commands do and runs `use` with its link and image,
// within the time of an apply; the exit status of `use`, or that of the search (3, 4, or 1 after
// one error line naming `command`) when it failed.
int WithPreparedMouse(std::string_view command, const MouseChoice& choice, std::ostream& out, std::ostream& err,
                      const DeviceClock& time, const std::function<int(DeviceLink&, DeviceImage&)>& use);

// The named profiles of the data folder: `profiles` lists them, `profile` switches, exports and
// imports. While the configurator runs they go through its session-bus interface; otherwise they
// act on the data folder and the mouse themselves, holding the configurator's single-instance
// lock meanwhile.
int RunProfiles(CommandArgs args, std::ostream& out, std::ostream& err, const DeviceClock& time = {});
int RunProfile(CommandArgs args, std::ostream& out, std::ostream& err, const DeviceClock& time = {});

// What stands between the user and a working mouse, one line per check with its fix.
int RunDoctor(CommandArgs args, std::ostream& out, std::ostream& err);

} // namespace veldrane::ctl
