// The built tool: dispatch by the first argument, help and version, and its exit status.

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/wait.h>

#include "profile/ConfigFile.h"
#include "profile/FactoryDefaults.h"
#include "support/TempDir.h"

namespace {

struct Outcome
{
    int status;
    std::string out;
};

// Runs the tool from the directory of the executables with `arguments`; stderr joins stdout.
Outcome RunTool(const std::string& arguments)
{
    // stderr joins the pipe first, so that an argument may still send stdout elsewhere.
    const std::string command = std::string(std::getenv("VELDRANE_BIN_DIR")) + "/veldranectl 2>&1 " + arguments;
    FILE* pipe = popen(command.c_str(), "r");
    std::string out;
    std::array<char, 4096> chunk{};
    while (const std::size_t n = std::fread(chunk.data(), 1, chunk.size(), pipe)) {
        out.append(chunk.data(), n);
    }
    const int status = pclose(pipe);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, out};
}

class Veldranectl : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (std::getenv("VELDRANE_BIN_DIR") == nullptr) {
            GTEST_SKIP() << "VELDRANE_BIN_DIR is not set (run through ctest)";
        }
    }
};

TEST_F(Veldranectl, HelpListsTheCommandsAndSucceeds)
{
    const Outcome help = RunTool("--help");
    EXPECT_EQ(help.status, 0);
    for (const char* command :
         {"show FILE.bin", "keymatrix FILE.bin", "settings-block FILE.bin [--from HEX]", "macros RECORD.INI"}) {
        EXPECT_NE(help.out.find(std::string("  ") + command + "\n"), std::string::npos) << command;
    }
}

TEST_F(Veldranectl, UnknownCommandFailsWithOneLine)
{
    const Outcome unknown = RunTool("frobnicate x");
    EXPECT_EQ(unknown.status, 1);
    EXPECT_EQ(unknown.out, "veldranectl: unknown command 'frobnicate' (veldranectl --help lists them)\n");
}

#ifdef VELDRANECTL_HAS_DEVICE_COMMANDS
// Trace lines ("+MS KIND BYTES") whose kind and bytes begin with `start`.
std::size_t CountLines(const std::string& text, const std::string& start)
{
    std::size_t count = 0;
    for (std::size_t at = text.find(' ' + start); at != std::string::npos; at = text.find(' ' + start, at + 1)) {
        const std::size_t line = text.rfind('\n', at);
        count += text[line == std::string::npos ? 0 : line + 1] == '+';
    }
    return count;
}

struct ApplyCase
{
    const char* name;
    const char* fault; // --sim-fault and its value, or nothing
    int status;
    std::string message; // in the last line
    std::size_t settingsWrites;
};

const std::string kNotTaken = "profile.bin: the mouse did not take the profile: command ";

class VeldranectlApply : public Veldranectl, public ::testing::WithParamInterface<ApplyCase>
{
};

// "apply" succeeds only when the mouse took every report; its trace shows what went out.
TEST_P(VeldranectlApply, ExitStatusTellsWhetherTheMouseTookTheProfile)
{
    veldrane::test::TempDir dir;
    const auto file = dir / "profile.bin";
    veldrane::test::WriteFileBytes(file, veldrane::ConfigFile::Encode(0, veldrane::FactoryProfile()));
    const std::string before = veldrane::test::ReadFileBytes(file);
    const Outcome run = RunTool("apply " + file.string() + " --simulate --trace " + GetParam().fault);

    EXPECT_EQ(run.status, GetParam().status) << run.out;
    const std::string last = run.out.substr(run.out.rfind('\n', run.out.size() - 2) + 1);
    EXPECT_NE(last.find(GetParam().message), std::string::npos) << last;
    EXPECT_EQ(CountLines(run.out, "SET_FEATURE 00 0C"), GetParam().settingsWrites);
    if (GetParam().status == 0) {
        // the mode byte and the profile number at the start, then the download's 49 reports
        EXPECT_EQ(CountLines(run.out, "SET_FEATURE") + CountLines(run.out, "GET_FEATURE") +
                      CountLines(run.out, "WRITE") + CountLines(run.out, "READ"),
                  52u);
    }
    EXPECT_EQ(veldrane::test::ReadFileBytes(file), before);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, VeldranectlApply,
    ::testing::Values(ApplyCase{"Answering", "", 0, "downloaded ", 1},
                      // the block the mouse garbled is not written back
                      ApplyCase{"Garbage", "--sim-fault garbage", 1, kNotTaken + "0x8C failed", 0},
                      ApplyCase{"Silent", "--sim-fault silent", 1, kNotTaken + "0x02 failed", 0},
                      // 3 reports find the mouse, 11 more reach the key matrix
                      ApplyCase{"UnplugAfter14", "--sim-fault unplug-after:14", 1, kNotTaken + "0x0D failed", 1},
                      ApplyCase{"GoneFromTheStart", "--sim-fault unplug-after:0", 2,
                                "The system did not detect the gaming mouse!", 0},
                      ApplyCase{"BadFault", "--sim-fault slow", 1,
                                "veldranectl: --sim-fault: needs one of silent, garbage, unplug-after:N or slow:MS",
                                0}),
    [](const auto& info) { return std::string(info.param.name); });
#endif

struct ToolRun
{
    const char* name;
    std::string arguments;
    int status;
    std::string out; // the whole output, stderr included
};

class VeldranectlRuns : public Veldranectl, public ::testing::WithParamInterface<ToolRun>
{
};

TEST_P(VeldranectlRuns, StatusAndOutput)
{
    const Outcome run = RunTool(GetParam().arguments);
    EXPECT_EQ(run.status, GetParam().status);
    EXPECT_EQ(run.out, GetParam().out);
}

INSTANTIATE_TEST_SUITE_P(
    Runs, VeldranectlRuns,
    ::testing::Values(ToolRun{"Version", "--version", 0, "veldranectl 1.0.0\n"},
                      ToolRun{
                          "CommandHelp", "keymatrix --help", 0,
                          "usage: veldranectl keymatrix FILE.bin\n    the 128-byte key-matrix block the mouse gets\n"},
                      // After "--" a "--help" is a file name.
                      ToolRun{"HelpAfterTwoDashesIsAFile", "show -- --help", 1, "veldranectl: --help: no such file\n"},
                      // A full disk: the output is lost, and the status says so.
                      ToolRun{"OutputNotWritten", "--version >/dev/full", 1,
                              "veldranectl: cannot write the output: No space left on device\n"}),
    [](const ::testing::TestParamInfo<ToolRun>& info) { return std::string(info.param.name); });

} // namespace
