// veldranectl: its commands driven in the process, and the built tool's dispatch, help, version
// and exit status. Every test runs in a fresh directory that holds a factory profile.bin.

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <sys/wait.h>

#include "Commands.h"
#include "HexBlock.h"
#include "core/profile/ConfigFile.h"
#include "core/profile/FactoryDefaults.h"
#include "support/TempDir.h"

namespace veldrane::ctl {
namespace {

using test::WriteFileBytes;
using Command = int (*)(CommandArgs, std::ostream&, std::ostream&);

struct Outcome
{
    int status;
    std::string out;
    std::string err; // empty for the built tool, whose stderr joins `out`
};

const std::string kFactoryFile = ConfigFile::Encode(0, FactoryProfile());

class Veldranectl : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::filesystem::current_path(m_dir.Path());
        WriteFileBytes("profile.bin", kFactoryFile);
    }
    void TearDown() override { std::filesystem::current_path(m_home); }

    static Outcome Run(Command command, const std::vector<std::string>& args)
    {
        std::ostringstream out;
        std::ostringstream err;
        const int status = command(args, out, err);
        return {status, out.str(), err.str()};
    }

    // Through the shell; stderr joins the pipe first, so that an argument may still send stdout elsewhere.
    static Outcome Tool(const std::string& arguments)
    {
        FILE* pipe = popen((VELDRANECTL_PATH " 2>&1 " + arguments).c_str(), "r");
        std::string out;
        std::array<char, 4096> chunk{};
        while (const std::size_t n = std::fread(chunk.data(), 1, chunk.size(), pipe)) {
            out.append(chunk.data(), n);
        }
        const int status = pclose(pipe);
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, out, ""};
    }

private:
    std::filesystem::path m_home = std::filesystem::current_path();
    test::TempDir m_dir;
};

std::string ZeroLines(int count)
{
    return FormatHexLines(std::vector<std::uint8_t>(16 * count));
}

TEST_F(Veldranectl, KeyMatrixAndMacroBuffersAreTheBytesTheMouseGets)
{
    const Outcome keys = Run(RunKeyMatrix, {"profile.bin"});
    EXPECT_EQ(keys.status, 0) << keys.err;
    EXPECT_EQ(keys.out, "01 00 F0 00 01 00 F1 00 01 00 F2 00 07 00 01 00\n"
                        "07 00 02 00 01 00 F5 00 01 00 F6 00 00 00 00 00\n" +
                            ZeroLines(1) + "00 00 00 00 00 00 00 00 01 00 F7 00 01 00 F8 00\n" + ZeroLines(4));
    // "--data-dir" places a relative name; "--" lets a name begin with a dash.
    std::filesystem::create_directory("data");
    WriteFileBytes("data/-profile.bin", kFactoryFile);
    EXPECT_EQ(Run(RunKeyMatrix, {"--data-dir", "data", "--", "-profile.bin"}).out, keys.out);

    // The twelve buffers of the macro file, in its section order.
    WriteFileBytes("record.ini", "[Macro_1]\r\nDelayTimeSelStatus=1\r\nLoopTimeSelStatus=0\r\nMacroLoopTimes=5\r\n"
                                 "ItemCount=3\r\nItem0=A   Dn\r\nItem1=120 ms\r\nItem2=A   Up\r\n"
                                 "[Macro_2]\r\nDelayTimeSelStatus=0\r\nLoopTimeSelStatus=1\r\nMacroLoopTimes=3\r\n"
                                 "ItemCount=2\r\nItem0=A   Dn\r\nItem1=A   Up\r\n");
    const Outcome macros = Run(RunMacros, {"record.ini"});
    EXPECT_EQ(macros.status, 0) << macros.err;
    EXPECT_EQ(macros.out, "00 01 0C 04 80 04 00 00 00 00 00 00 00 00 00 00\n" + ZeroLines(7) +
                              "00 03 05 04 85 04 00 00 00 00 00 00 00 00 00 00\n" + ZeroLines(7 + 10 * 8));
}

// Every byte of the file under its field, in file order; the decoded values stand beside their codes.
TEST_F(Veldranectl, ShowGivesEveryByteUnderItsFieldInFileOrder)
{
    std::string bytes(1825, '\0');
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<char>(i * 13 + 5);
    }
    bytes[6] = 8;       // the report rate: 125 Hz
    bytes[8] = 16;      // stage 1: 800 CPI
    bytes[61] = 12;     // button 1: the macro key
    bytes[62] = '\xC8'; // button 2: 200, a code the menus never give
    WriteFileBytes("pattern.bin", bytes);
    const Outcome run = Run(RunShow, {"pattern.bin"});
    ASSERT_EQ(run.status, 0) << run.err;

    const auto json = nlohmann::ordered_json::parse(run.out);
    std::vector<std::string> names;
    std::string collected;
    for (const auto& [name, value] : json.items()) {
        names.push_back(name);
        if (name == "reportRateHz" || name == "cpi" || name == "buttonFunctionName") {
            continue;
        }
        for (const auto& byte : value.is_array() ? value : nlohmann::ordered_json::array({value})) {
            collected.push_back(static_cast<char>(byte.get<int>()));
        }
    }
    EXPECT_EQ(collected, bytes);
    EXPECT_EQ(names, (std::vector<std::string>{
                         "firstRunFlag",       "deviceProfile",   "reserved001",  "reportRate",   "reportRateHz",
                         "sideButtonLight",    "cpiValue",        "cpi",          "reserved00D",  "cpiEnabled",
                         "reserved015",        "cpiColor",        "reserved029",  "lightMode",    "lightLevel",
                         "pointerPrecision",   "scrollOneScreen", "mouseSpeed",   "scrollLines",  "doubleClickSpeed",
                         "angleSnap",          "reserved039",     "sensitivityX", "sensitivityY", "buttonFunction",
                         "buttonFunctionName", "cpiAction",       "reserved054",  "mediaUsage",   "systemCommand",
                         "reserved078",        "reserved084",     "reserved090",  "editKey",      "singleKey",
                         "comboModifier",      "comboKey1",       "comboKey2",    "reserved0D8",  "reserved0E4",
                         "reserved0F0",        "reserved0FC",     "macroNumber",  "macroRepeat",  "macroData"}));
    EXPECT_EQ(json["reportRateHz"], 125);
    EXPECT_EQ(json["cpi"][0], 800);
    EXPECT_EQ(json["buttonFunctionName"][0], "macroKey");
    EXPECT_EQ(json["buttonFunctionName"][1], "none");
}

// The block starts from zeros, or from --from's bytes; byte 0 is the mouse's own, and sensitivity
// position 6 goes as 6 x 20.
TEST_F(Veldranectl, SettingsBlockIsPatchedOverTheGivenBytes)
{
    const Outcome zeros = Run(RunSettingsBlock, {"profile.bin"});
    ASSERT_EQ(zeros.status, 0) << zeros.err;
    EXPECT_EQ(zeros.out.substr(0, 6), "00 00 ");
    EXPECT_EQ(zeros.out.substr(0x4A * 3, 6), "78 78 ");
    std::string from = "ab";
    for (int i = 1; i < 128; ++i) {
        from += i % 2 == 0 ? " 5a" : "5A";
    }
    const Outcome spaced = Run(RunSettingsBlock, {"--from", from, "profile.bin"});
    ASSERT_EQ(spaced.out.size(), 8u * 48u);
    EXPECT_EQ(spaced.out.substr(0, 6), "AB 5A ");
    EXPECT_EQ(spaced.out.substr(0x4A * 3, 6), "78 78 ");
    EXPECT_EQ(Run(RunSettingsBlock, {"--from=" + from, "profile.bin"}).out, spaced.out);
}

struct BadRun
{
    const char* name;
    Command command;
    std::vector<std::string> args;
    std::string error;
};

class VeldranectlRefuses : public Veldranectl, public ::testing::WithParamInterface<BadRun>
{
};

TEST_P(VeldranectlRefuses, WithOneLineAndStatusOne)
{
    WriteFileBytes("short.bin", kFactoryFile.substr(1));
    const Outcome run = Run(GetParam().command, GetParam().args);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, GetParam().error);
}

INSTANTIATE_TEST_SUITE_P(
    Runs, VeldranectlRefuses,
    ::testing::Values(
        BadRun{"MissingFile", RunShow, {"absent.bin"}, "veldranectl: absent.bin: no such file\n"},
        BadRun{
            "ShortFile", RunShow, {"short.bin"}, "veldranectl: short.bin: size 1824 bytes, a profile file has 1825\n"},
        BadRun{"Directory", RunKeyMatrix, {"."}, "veldranectl: .: cannot read: Is a directory\n"},
        BadRun{"BadHex",
               RunSettingsBlock,
               {"profile.bin", "--from", "00 0g"},
               "veldranectl: --from: not a hex byte at character 5\n"},
        BadRun{"PrefixedHex",
               RunSettingsBlock,
               {"profile.bin", "--from", "0x00"},
               "veldranectl: --from: not a hex byte at character 2\n"},
        BadRun{"OddHex",
               RunSettingsBlock,
               {"profile.bin", "--from", "00 1"},
               "veldranectl: --from: odd number of hex digits\n"},
        BadRun{"ShortHex",
               RunSettingsBlock,
               {"profile.bin", "--from", std::string(254, '0')},
               "veldranectl: --from: 127 bytes, a settings block has 128\n"},
        BadRun{"MissingMacroFile", RunMacros, {"record.ini"}, "veldranectl: record.ini: no such file\n"},
        BadRun{"MacroDirectory", RunMacros, {"."}, "veldranectl: .: not a macro file\n"},
        BadRun{
            "UnknownOption", RunShow, {"--frob", "profile.bin"}, "veldranectl: show: unexpected argument '--frob'\n"},
        BadRun{"DashFileWithoutTwoDashes", RunShow, {"-p.bin"}, "veldranectl: show: unexpected argument '-p.bin'\n"},
        BadRun{"OptionWithoutItsValue",
               RunSettingsBlock,
               {"profile.bin", "--from"},
               "veldranectl: --from: needs the 128 bytes of a settings block in hex\n"},
        BadRun{"SecondFile",
               RunKeyMatrix,
               {"profile.bin", "--", "x"},
               "veldranectl: keymatrix: unexpected argument 'x'\n"},
        BadRun{"NoFile", RunKeyMatrix, {}, "veldranectl: keymatrix: needs FILE.bin\n"}),
    [](const auto& info) { return std::string(info.param.name); });

#ifdef VELDRANECTL_HAS_DEVICE_COMMANDS
const std::string kSecondsNeeds = "veldranectl: --seconds: needs a number of seconds from 0 to 86400\n";
const std::string kPressNeeds = "veldranectl: --press: needs cpi:N or macro:N with N from 0 to 255\n";
const std::string kPressSimulated = "veldranectl: --press: presses the buttons of the simulated mouse only; add "
                                    "--simulate\n";
const std::string kFaultNeeds = "veldranectl: --sim-fault: needs one of silent, garbage, unplug-after:N or slow:MS\n";

INSTANTIATE_TEST_SUITE_P(
    DeviceRuns, VeldranectlRefuses,
    ::testing::Values(BadRun{"SecondsOutOfRange", RunListen, {"--simulate", "--seconds=86401"}, kSecondsNeeds},
                      BadRun{"PressOfNoButton", RunListen, {"--simulate", "--press", "cpi:256"}, kPressNeeds},
                      BadRun{"PressWithoutTheSimulatedMouse", RunListen, {"--press", "macro:1"}, kPressSimulated},
                      BadRun{"FaultWithoutItsName", RunStatus, {"--sim-fault"}, kFaultNeeds},
                      BadRun{"UnknownFault", RunApply, {"profile.bin", "--sim-fault", "slow"}, kFaultNeeds}),
    [](const auto& info) { return std::string(info.param.name); });
#endif

TEST_F(Veldranectl, DispatchHelpVersionAndOutputThatCannotBeWritten)
{
    const Outcome help = Tool("--help");
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("\n  settings-block FILE.bin [--from HEX]\n"), std::string::npos) << help.out;
    const std::pair<std::string, Outcome> runs[] = {
        {"--version", {0, "veldranectl 1.0.0\n", ""}},
        {"frobnicate x", {1, "veldranectl: unknown command 'frobnicate' (veldranectl --help lists them)\n", ""}},
        {"keymatrix --help",
         {0, "usage: veldranectl keymatrix FILE.bin\n    the 128-byte key-matrix block the mouse gets\n", ""}},
        // After "--" a "--help" is a file name.
        {"show -- --help", {1, "veldranectl: --help: no such file\n", ""}},
        // A full disk: the output is lost, and the status says so.
        {"--version >/dev/full", {1, "veldranectl: cannot write the output: No space left on device\n", ""}},
    };
    for (const auto& [arguments, expected] : runs) {
        const Outcome run = Tool(arguments);
        EXPECT_EQ(run.status, expected.status) << arguments;
        EXPECT_EQ(run.out, expected.out) << arguments;
    }
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
    const Outcome run = Tool(std::string("apply profile.bin --simulate --trace ") + GetParam().fault);
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
    EXPECT_EQ(test::ReadFileBytes("profile.bin"), kFactoryFile);
}

INSTANTIATE_TEST_SUITE_P(Faults, VeldranectlApply,
                         ::testing::Values(ApplyCase{"Answering", "", 0, "downloaded profile.bin in ", 1},
                                           // the block the mouse garbled is not written back
                                           ApplyCase{"Garbage", "--sim-fault garbage", 1, kNotTaken + "0x8C failed", 0},
                                           ApplyCase{"Silent", "--sim-fault silent", 1, kNotTaken + "0x02 failed", 0},
                                           // 3 reports find the mouse, 11 more reach the key matrix
                                           ApplyCase{"UnplugAfter14", "--sim-fault unplug-after:14", 1,
                                                     kNotTaken + "0x0D failed", 1},
                                           ApplyCase{"GoneFromTheStart", "--sim-fault unplug-after:0", 2,
                                                     "The system did not detect the gaming mouse!", 0}),
                         [](const auto& info) { return std::string(info.param.name); });
#endif

} // namespace
} // namespace veldrane::ctl
