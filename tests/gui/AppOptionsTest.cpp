// The program's command line: what it runs with, and where it ends at once.

#include "gui/AppOptions.h"

#include <gtest/gtest.h>

namespace veldrane {
namespace {

// The desktop tests start the program with --simulate, --sim-trace, --sim-fault and --data-dir; the
// simulator's options also imply --simulate. --help ends with 0 and its text on the output; a bad
// command line with the usage on the error output and 2.
TEST(AppCommandLine, HelpAndBadOptionsEndAtOnce)
{
    const auto fault = ParseAppCommandLine({"veldrane", "--sim-trace=/tmp/t", "--sim-fault", "silent"});
    EXPECT_TRUE(fault.options && fault.options->simulate && fault.options->simTrace == "/tmp/t");
    const auto help = ParseAppCommandLine({"veldrane", "--help"});
    EXPECT_TRUE(!help.options && help.exitStatus == 0 && help.err.isEmpty());
    EXPECT_TRUE(help.out.contains("--data-dir <dir>"));
    for (const QStringList& bad : {QStringList{"veldrane", "--frob"}, QStringList{"veldrane", "--sim-trace"},
                                   QStringList{"veldrane", "--sim-fault", "slow"}, QStringList{"veldrane", "stray"}}) {
        const auto run = ParseAppCommandLine(bad);
        EXPECT_TRUE(!run.options && run.exitStatus == 2 && run.out.isEmpty()) << bad.join(' ').toStdString();
        EXPECT_TRUE(run.err.contains("--simulate")) << "no usage";
    }
}

} // namespace
} // namespace veldrane
