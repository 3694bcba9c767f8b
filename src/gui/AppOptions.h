#pragma once

#include <QString>
#include <QStringList>

#include <optional>

#include "sim/SimulatedFault.h"

namespace veldrane {

// What the command line asks for.
struct AppOptions
{
    bool simulate = false; // "--simulate": the simulated mouse instead of the real one
    // "--sim-trace FILE": every report between the program and the simulated mouse, one line
    // each, in the trace format of veldranectl. Implies the simulated mouse.
    QString simTrace;
    // "--sim-fault FAULT": the simulated mouse misbehaves from the start. Implies the simulated mouse.
    std::optional<SimulatedFault> simFault;
    // "--data-dir DIR": the user's files live in DIR instead of the data directory.
    QString dataDir;
};

// The command line read: the options to run with, or, when the program is to end at once
// (--help, --version, a bad option), its exit status after the text went to `out` or `err`.
struct AppCommandLine
{
    std::optional<AppOptions> options;
    int exitStatus = 0;
    QString out;
    QString err;
};

// Reads the arguments (the program's name first). A bad option gives the usage on `err` and
// status 2.
AppCommandLine ParseAppCommandLine(const QStringList& arguments);

} // namespace veldrane
