// The built tool: dispatch by the first argument, help and version, and its exit status.

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/wait.h>

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
