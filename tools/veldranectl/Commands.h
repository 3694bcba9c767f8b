#pragma once

#include <iosfwd>

#include "CommandLine.h"

namespace veldrane::ctl {

// Each command returns the process's exit status (Diagnostics.h): 0 on success, 1 for a bad file
// or argument (one line on `err` naming the file and what is wrong, or for a profile the mouse did not take), 2 when the mouse is needed
// and absent, 3 when it is connected but may not be opened.

// Commands on files, no mouse needed.
int RunShow(CommandArgs args, std::ostream& out, std::ostream& err);
int RunKeyMatrix(CommandArgs args, std::ostream& out, std::ostream& err);
int RunSettingsBlock(CommandArgs args, std::ostream& out, std::ostream& err);
int RunMacros(CommandArgs args, std::ostream& out, std::ostream& err);

// Commands on the mouse (or the simulated one with --simulate).
int RunList(CommandArgs args, std::ostream& out, std::ostream& err);
int RunStatus(CommandArgs args, std::ostream& out, std::ostream& err);
int RunApply(CommandArgs args, std::ostream& out, std::ostream& err);
int RunListen(CommandArgs args, std::ostream& out, std::ostream& err);

} // namespace veldrane::ctl
