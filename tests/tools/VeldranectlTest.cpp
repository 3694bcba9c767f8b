// veldranectl: its commands driven in the process, and the built tool's dispatch, help, version
// and exit status. Every test runs in a fresh directory that holds a factory profile.bin.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>

#include "Commands.h"
#include "HexBlock.h"
#include "ProgramLock.h"
#include "adapters/linux/IconvTextCodec.h"
#include "core/ini/IniFile.h"
#include "core/macro/MacroFile.h"
#include "core/profile/ConfigFile.h"
#include "core/profile/FactoryDefaults.h"
#include "core/profile/ProfileFileNames.h"
#include "support/FakeClock.h"
#include "support/Parameterised.h"
#include "support/TempDir.h"

namespace veldrane::ctl {
namespace {

using test::WriteFileBytes;
using testing::HasSubstr;
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

#ifdef VELDRANECTL_HAS_DEVICE_COMMANDS
// The device commands on the machine's clock.
using DeviceCommand = int (*)(CommandArgs, std::ostream&, std::ostream&, const DeviceClock&);
template <DeviceCommand run> int OnTheMachinesClock(CommandArgs args, std::ostream& out, std::ostream& err)
{
    return run(args, out, err, {});
}
constexpr Command kList = OnTheMachinesClock<RunList>;
constexpr Command kStatus = OnTheMachinesClock<RunStatus>;
constexpr Command kApply = OnTheMachinesClock<RunApply>;
constexpr Command kListen = OnTheMachinesClock<RunListen>;
#endif

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
    std::ranges::generate(bytes, [i = 0]() mutable { return static_cast<char>(i++ * 13 + 5); });
    bytes[6] = 8;       // the report rate: 125 Hz
    bytes[8] = 16;      // stage 1: 800 CPI
    bytes[61] = 12;     // button 1: the macro key
    bytes[62] = '\xC8'; // button 2: 200, a code the menus never give
    WriteFileBytes("pattern.bin", bytes);
    const Outcome run = Run(RunShow, {"pattern.bin"});
    ASSERT_EQ(run.status, 0) << run.err;

    const auto json = nlohmann::ordered_json::parse(run.out);
    std::string names;
    std::string collected;
    for (const auto& [name, value] : json.items()) {
        names += name + " ";
        if (name == "schema" || name == "reportRateHz" || name == "cpi" || name == "stageEnabled" ||
            name == "stageColor" || name == "buttonFunctionName") {
            continue;
        }
        for (const auto& byte : value.is_array() ? value : nlohmann::ordered_json::array({value})) {
            collected.push_back(static_cast<char>(byte.get<int>()));
        }
    }
    EXPECT_EQ(collected, bytes);
    EXPECT_EQ(names, "schema firstRunFlag deviceProfile reserved001 reportRate reportRateHz sideButtonLight cpiValue "
                     "cpi reserved00D cpiEnabled reserved015 cpiColor stageEnabled stageColor reserved029 lightMode "
                     "lightLevel pointerPrecision scrollOneScreen mouseSpeed scrollLines doubleClickSpeed angleSnap "
                     "reserved039 sensitivityX sensitivityY buttonFunction buttonFunctionName cpiAction reserved054 "
                     "mediaUsage systemCommand reserved078 reserved084 reserved090 editKey singleKey comboModifier "
                     "comboKey1 comboKey2 reserved0D8 reserved0E4 reserved0F0 reserved0FC macroNumber macroRepeat "
                     "macroData ");
    EXPECT_EQ(json["reportRateHz"], 125);
    EXPECT_EQ(json["cpi"][0], 800);
    EXPECT_EQ(json["buttonFunctionName"][0], "macroKey");
    EXPECT_EQ(json["buttonFunctionName"][1], "none");
    // Decoded beside the codes: any byte but 0 switches a stage on; colours as "#RRGGBB".
    EXPECT_EQ(json["schema"], 1);
    EXPECT_EQ(json["stageEnabled"][0], true);    // file byte 0x10: 213
    EXPECT_EQ(json["stageColor"][0], "#3D4A57"); // file bytes 0x18 to 0x1A
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
}

struct BadRun
{
    const char* name;
    Command command;
    std::vector<std::string> args;
    std::string error; // after "veldranectl: "
    int status = 2;    // a usage error; 1 for a file the command could not use
};

using VeldranectlRefuses = test::Parameterised<Veldranectl, BadRun>;

TEST_P(VeldranectlRefuses, WithOneLineAndItsStatus)
{
    WriteFileBytes("short.bin", kFactoryFile.substr(1));
    WriteFileBytes("h.ini", std::string(kMaxMacroFileBytes + 1, ';'));
    ASSERT_EQ(mkfifo("fifo", 0600), 0);
    const Outcome run = Run(GetParam().command, GetParam().args);
    EXPECT_EQ(run.status, GetParam().status);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "veldranectl: " + GetParam().error);
}

constexpr Command kBlock = RunSettingsBlock;

INSTANTIATE_TEST_SUITE_P(
    Runs, VeldranectlRefuses,
    ::testing::Values(
        BadRun{"MissingFile", RunShow, {"absent.bin"}, "absent.bin: no such file\n", 1},
        BadRun{"ShortFile", RunShow, {"short.bin"}, "short.bin: size 1824 bytes, a profile file has 1825\n", 1},
        BadRun{"Fifo", RunShow, {"fifo"}, "fifo: cannot read: Not a regular file\n", 1},
        BadRun{"HugeMacros", RunMacros, {"h.ini"}, "h.ini: size 4194305 bytes, a macro file has at most 4194304\n", 1},
        BadRun{"BadHex", kBlock, {"profile.bin", "--from", "00 0g"}, "--from: not a hex byte at character 5\n"},
        BadRun{"OddHex", kBlock, {"profile.bin", "--from", "00 1"}, "--from: odd number of hex digits\n"},
        BadRun{"ShortHex",
               kBlock,
               {"profile.bin", "--from", std::string(254, '0')},
               "--from: 127 bytes, a settings block has 128\n"},
        BadRun{"MacroDirectory", RunMacros, {"."}, ".: cannot read: It is a folder, not a file\n", 1},
        BadRun{"UnknownOption", RunShow, {"--frob", "profile.bin"}, "show: unknown option '--frob'\n"},
        BadRun{"NoHex", kBlock, {"profile.bin", "--from"}, "--from: needs the 128 bytes of a settings block in hex\n"},
        BadRun{"SecondFile", RunKeyMatrix, {"profile.bin", "--", "x"}, "keymatrix: unexpected argument 'x'\n"},
        BadRun{"NoFile", RunKeyMatrix, {}, "keymatrix: needs FILE.bin\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Veldranectl, DispatchHelpVersionAndOutputThatCannotBeWritten)
{
    const Outcome help = Tool("--help");
    EXPECT_EQ(help.status, 0);
    EXPECT_THAT(help.out, HasSubstr("\n  settings-block FILE.bin [--from HEX]\n"));
    EXPECT_THAT(help.out,
                HasSubstr("Exit status: 0 done; 1 the operation failed (a bad file, an exchange with the mouse, "
                          "output that\ncould not be written); 2 a usage error; 3 no permission to open the mouse; 4 "
                          "no mouse found.\n"));
    const std::pair<std::string, Outcome> runs[] = {
        {"--version", {0, "veldranectl 1.0.0\n", ""}},
        {"frobnicate x", {2, "veldranectl: unknown command 'frobnicate' (veldranectl --help lists them)\n", ""}},
        {"--bogus", {2, "veldranectl: unknown option '--bogus' (veldranectl --help lists them)\n", ""}},
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
// Trace lines ("+MS KIND BYTES") whose kind and bytes begin with `start`; all of them for "".
std::size_t CountLines(const std::string& text, const std::string& start)
{
    std::size_t count = 0;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        count += line.starts_with('+') && line.find(' ' + start) == line.find(' ');
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

using VeldranectlApply = test::Parameterised<Veldranectl, ApplyCase>;

// "apply" succeeds only when the mouse took every report; its trace shows what went out.
TEST_P(VeldranectlApply, ExitStatusTellsWhetherTheMouseTookTheProfile)
{
    const Outcome run = Tool(std::string("apply profile.bin --simulate --trace ") + GetParam().fault);
    EXPECT_EQ(run.status, GetParam().status) << run.out;
    const std::string last = run.out.substr(run.out.rfind('\n', run.out.size() - 2) + 1);
    EXPECT_THAT(last, HasSubstr(GetParam().message));
    EXPECT_EQ(CountLines(run.out, "SET_FEATURE 00 0C"), GetParam().settingsWrites);
    if (GetParam().status == 0) {
        // the mode byte and the profile number at the start, then the download's 49 reports
        EXPECT_EQ(CountLines(run.out, ""), 52u);
    }
    EXPECT_EQ(test::ReadFileBytes("profile.bin"), kFactoryFile);
}

INSTANTIATE_TEST_SUITE_P(Faults, VeldranectlApply,
                         ::testing::Values(ApplyCase{"Answering", "", 0, "downloaded profile.bin in ", 1},
                                           // the block the mouse garbled is not written back
                                           // the first exchange that failed is named, not a later one
                                           ApplyCase{"Garbage", "--sim-fault garbage", 1, kNotTaken + "0x82 failed", 0},
                                           // 3 reports find the mouse, 11 more reach the key matrix
                                           ApplyCase{"UnplugAfter14", "--sim-fault unplug-after:14", 1,
                                                     kNotTaken + "0x0D failed", 1},
                                           ApplyCase{"GoneFromTheStart", "--sim-fault unplug-after:0", 4,
                                                     "The system did not detect the gaming mouse!", 0}),
                         [](const auto& info) { return std::string(info.param.name); });

const std::string kSecondsNeeds = "--seconds: needs a number of seconds from 0 to 86400\n";
const std::string kPressNeeds = "--press: needs cpi:N with N from 1 to 6 or macro:N with N from 1 to 12\n";
const std::string kPressSimulated = "--press: presses the buttons of the simulated mouse only; add --simulate\n";
const std::string kFaultNeeds = "--sim-fault: needs one of silent, garbage, unplug-after:N or slow:MS\n";

INSTANTIATE_TEST_SUITE_P(
    DeviceRuns, VeldranectlRefuses,
    ::testing::Values(BadRun{"SecondsOutOfRange", kListen, {"--simulate", "--seconds=86401"}, kSecondsNeeds},
                      BadRun{"PressOfNoStage", kListen, {"--simulate", "--press", "cpi:99"}, kPressNeeds},
                      BadRun{"PressWithoutTheSimulatedMouse", kListen, {"--press", "macro:1"}, kPressSimulated},
                      BadRun{"UnknownFault", kApply, {"profile.bin", "--sim-fault", "slow"}, kFaultNeeds}),
    [](const auto& info) { return std::string(info.param.name); });

// A clock that runs with the machine's but skips every pause and late answer: the simulated
// mouse's waits cost no time, while the listener's own waits pass as they do.
class SkippingClock : public Clock, public Sleeper
{
public:
    std::chrono::milliseconds Now() const override
    {
        return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - m_start) +
               std::chrono::milliseconds(m_skipped.load());
    }
    void Sleep(std::chrono::milliseconds duration) override { m_skipped += duration.count(); }

private:
    std::chrono::steady_clock::time_point m_start = std::chrono::steady_clock::now();
    std::atomic<long long> m_skipped{0};
};

struct TimedRun
{
    const char* name;
    DeviceCommand command;
    std::vector<std::string> args;
    int status;
    std::string out;   // the start of the output
    std::string error; // the whole error output after "veldranectl: status: command "
    std::chrono::milliseconds took;
};

using VeldranectlTimed = test::Parameterised<Veldranectl, TimedRun>;

// Every failed exchange fails the command and names the first that failed; one answer is awaited
// at most 1 s, and no mouse makes a command outlast its bound. Pauses and late answers run on a
// clock that only counts them, so the times are exact.
TEST_P(VeldranectlTimed, FailsHonestlyWithinItsTime)
{
    test::FakeClock clock;
    std::ostringstream out;
    std::ostringstream err;
    const int status = GetParam().command(GetParam().args, out, err, DeviceClock{&clock, &clock});
    EXPECT_EQ(status, GetParam().status);
    EXPECT_EQ(out.str().substr(0, GetParam().out.size()), GetParam().out);
    EXPECT_EQ(err.str(), GetParam().error.empty() ? "" : "veldranectl: status: command " + GetParam().error);
    EXPECT_EQ(clock.now, GetParam().took);
}

using namespace std::chrono_literals;
using std::chrono::milliseconds;

// The words of `line`, split at its spaces.
std::vector<std::string> Words(const std::string& line)
{
    std::vector<std::string> words;
    std::istringstream in(line);
    for (std::string word; in >> word;) {
        words.push_back(word);
    }
    return words;
}

std::vector<std::string> Fault(const std::string& fault)
{
    return Words("--simulate --sim-fault " + fault);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, VeldranectlTimed,
    ::testing::Values(TimedRun{"StatusAnswered", RunStatus, {"--simulate"}, 0, "connected\nprofile 0\n", "", 10ms},
                      TimedRun{"StatusGarbage", RunStatus, Fault("garbage"), 1, "",
                               "0x82 failed after 0 ms: the mouse answered profile 60, it has profiles 0 to 5\n", 0ms},
                      TimedRun{"StatusSilent", RunStatus, Fault("silent"), 1, "",
                               "0x82 failed after 0 ms: the mouse did not answer\n", 0ms},
                      TimedRun{"StatusGoneAfterTheProfileNumber", RunStatus, Fault("unplug-after:2"), 1, "",
                               "0x01 failed after 0 ms: the mouse did not take it\n", 0ms},
                      TimedRun{"StatusGoneBeforeTheBlock", RunStatus, Fault("unplug-after:3"), 1, "",
                               "0x8C failed after 0 ms: the mouse did not answer with a whole block\n", 0ms},
                      TimedRun{"StatusThreeSecondsLate", RunStatus, Fault("slow:3000"), 1, "",
                               "0x82 failed after 3000 ms: the answer came after 1000 ms\n", 3000ms},
                      // the platform gives up on an answer after 5 s
                      TimedRun{"StatusTenSecondsLate", RunStatus, Fault("slow:10000"), 1, "",
                               "0x82 failed after 5000 ms: the mouse did not answer\n", 5000ms},
                      // four answers 900 ms late each, and the download: within its bound
                      TimedRun{"ApplySlowButInTime", RunApply, Words("profile.bin --sim-fault=slow:900"), 0,
                               "downloaded profile.bin in 4442 ms\n", "", 4 * 900ms + 842ms}),
    [](const auto& info) { return std::string(info.param.name); });

struct ListenRun
{
    const char* name;
    std::vector<std::string> args;
    int status;
    std::string out;
    std::string error;                 // the start of the error output
    std::chrono::milliseconds longest; // on a clock that skips the mouse's late answers
};

using VeldranectlListen = test::Parameterised<Veldranectl, ListenRun>;

// `listen` prints only what it read from the mouse, fails when an exchange fails and ends when
// its seconds are up, counted from the start.
TEST_P(VeldranectlListen, PrintsWhatItHeardAndEndsInTime)
{
    SkippingClock clock;
    std::ostringstream out;
    std::ostringstream err;
    const int status = RunListen(GetParam().args, out, err, DeviceClock{&clock, &clock});
    EXPECT_EQ(status, GetParam().status);
    EXPECT_EQ(out.str(), GetParam().out);
    EXPECT_EQ(err.str().substr(0, GetParam().error.size()), GetParam().error);
    EXPECT_LT(clock.Now(), GetParam().longest);
}

INSTANTIATE_TEST_SUITE_P(
    Runs, VeldranectlListen,
    ::testing::Values(ListenRun{"Presses", Words("--simulate --seconds=2 --press cpi:3 --press macro:2"), 0,
                                "Switch CPI into the third stage 2400\nSwitch to macro key2\n", "", 2500ms},
                      // The mouse goes while its CPI is read: nothing is made up.
                      ListenRun{"GoneWhileRead", Words("--sim-fault unplug-after:4 --seconds 2 --press cpi:3"), 1,
                                "The system did not detect the gaming mouse!\n",
                                "veldranectl: listen: command 0x82 failed after ", 2500ms},
                      ListenRun{"GoneBeforeAnyPress", Words("--sim-fault unplug-after:3 --seconds 1 --press cpi:3"), 4,
                                "The system did not detect the gaming mouse!\n", "", 1500ms},
                      // Finding the mouse took the whole second: the CPI is not asked for after it.
                      ListenRun{"SlowMouseTookTheSeconds", Words("--sim-fault slow:1000 --seconds 1 --press cpi:3"), 0,
                                "", "", 1500ms}),
    [](const auto& info) { return std::string(info.param.name); });

// The same data under the same names in every command, truth values and colours alike; no mouse
// is an empty list.
TEST_F(Veldranectl, JsonOfStatusAndListShareOneShape)
{
    const Outcome status = Run(kStatus, {"--simulate", "--json"});
    ASSERT_EQ(status.status, 0) << status.err;
    const auto json = nlohmann::ordered_json::parse(status.out);
    EXPECT_EQ(json["schema"], 1);
    EXPECT_EQ(json["connected"], true);
    EXPECT_EQ(json["deviceProfile"], 0);
    const auto& block = json["settingsBlock"];
    EXPECT_EQ(block["cpiValue"], nlohmann::ordered_json({16, 32, 48, 64, 80, 96}));
    EXPECT_EQ(block["bytes"].size(), 128u);
    const Outcome show = Run(RunShow, {"profile.bin"});
    const auto profile = nlohmann::ordered_json::parse(show.out);
    for (const char* shared : {"schema", "cpiValue", "cpi", "stageEnabled", "stageColor"}) {
        EXPECT_TRUE(profile.contains(shared) && (block.contains(shared) || json.contains(shared))) << shared;
    }

    const Outcome none = Run(kList, {"--json", "--sim-fault", "unplug-after:0"});
    EXPECT_EQ(none.status, 0);
    EXPECT_EQ(none.out, "[]\n");
    EXPECT_EQ(Run(kList, {"--sim-fault", "unplug-after:0"}).status, 4);
}

// doctor names each broken file of the data folder with its fix and fails; its JSON parses.
TEST_F(Veldranectl, DoctorNamesBrokenFilesAndSwitchesByApplicationWithTheirFix)
{
    std::filesystem::create_directory("data");
    WriteFileBytes("data/config0.bin", kFactoryFile.substr(7));
    ASSERT_EQ(mkfifo("data/record.ini", 0600), 0);
    const Outcome text = Run(RunDoctor, {"--simulate", "--data-dir", "data"});
    EXPECT_EQ(text.status, 1) << text.out;
    const std::string dir = (std::filesystem::current_path() / "data").string();
    EXPECT_THAT(text.out,
                HasSubstr("PROBLEM  file config0.bin: size 1818 bytes, a profile file has 1825 -- fix: move " + dir +
                          "/config0.bin away; the configurator copies the factory file there at its next start\n"));
    EXPECT_THAT(text.out,
                HasSubstr("PROBLEM  file record.ini: Not a regular file -- fix: move " + dir + "/record.ini"));
    EXPECT_THAT(text.out, HasSubstr("ok       command interface: sim:command usage-page=0xFF00 usage=0xFF00 input=65 "
                                    "output=65 feature=9\n"));

    const Outcome json = Run(RunDoctor, {"--json", "--simulate", "--data-dir=data"});
    EXPECT_EQ(json.status, 1);
    const auto parsed = nlohmann::ordered_json::parse(json.out);
    EXPECT_EQ(parsed["schema"], 1);
    EXPECT_EQ(parsed["ok"], false);
    std::filesystem::remove("data/record.ini");
    std::filesystem::remove("data/config0.bin");
    const Outcome healthy = Run(RunDoctor, {"--simulate", "--data-dir", "data"});
    EXPECT_EQ(healthy.status, 0) << healthy.out;

    // doctor counts the profile switches by application, each a write of the mouse's memory, and
    // says why a session without a way to learn the focused window cannot switch, a problem once it
    // is on.
    unsetenv("DISPLAY"); // no test after this one needs a display
    unsetenv("WAYLAND_DISPLAY");
    const std::string why = "No desktop session tells which window has the focus. Switching profiles by application "
                            "works on X11, KDE Plasma and GNOME.";
    WriteFileBytes("data/apps.ini", "[Settings]\r\nEnabled=1\r\nSwitches=8\r\n");
    const Outcome on = Run(RunDoctor, {"--simulate", "--data-dir", "data"});
    EXPECT_EQ(on.status, 1);
    EXPECT_THAT(on.out,
                HasSubstr("PROBLEM  switch by application: on, 8 switches so far, each one a write of the mouse's "
                          "memory; " +
                          why + " -- fix: " + why + "\n"));
}
#endif

#ifdef VELDRANECTL_HAS_PROFILE_COMMANDS
constexpr Command kProfiles = OnTheMachinesClock<RunProfiles>;
constexpr Command kProfile = OnTheMachinesClock<RunProfile>;

// Without the configurator on a session bus: the data folder and the
// simulated mouse, under a lock in a runtime folder of the test's own.
class VeldranectlProfiles : public Veldranectl
{
protected:
    void SetUp() override
    {
        Veldranectl::SetUp();
        setenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/bus", 1);
        const std::filesystem::path runtime = std::filesystem::current_path() / "run";
        std::filesystem::create_directory(runtime);
        std::filesystem::permissions(runtime, std::filesystem::perms::owner_all);
        setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
        // Seeded by a first command, then given two names; the second runs stage 1 at 3200 CPI.
        ASSERT_EQ(Run(kProfiles, {"--data-dir", "data", "--simulate"}).status, 0);
        IniFile list(Folder() / kListName, m_codec);
        for (const auto& [key, value] : std::initializer_list<std::pair<std::string, std::string>>{
                 {"CurProfileName", "PROFILE_0"}, {"ItemCount", "2"}, {"Item0", "PROFILE_0"}, {"Item1", "Game"}}) {
            ASSERT_EQ(list.WriteString("Profile", key, value), IniWriteResult::Written);
        }
        ConfigFileReadResult game = ConfigFile::Read(Folder() / ProfileConfigName(1));
        game.contents.record.cpiValue[0] = 64;
        ASSERT_FALSE(ConfigFile::Write(Folder() / ProfileConfigName(1), 1, game.contents.record));
    }

    static std::filesystem::path Folder() { return std::filesystem::current_path() / "data"; }
    std::string Selected() const
    {
        return IniFile(Folder() / kListName, m_codec).GetString("Profile", "CurProfileName");
    }

    IconvTextCodec m_codec;
};

TEST_F(VeldranectlProfiles, SwitchGoesRoundTheListAndStoresTheSelection)
{
    const std::vector<std::string> where = {"--data-dir", "data", "--simulate"};
    const auto with = [&](std::vector<std::string> args) {
        args.insert(args.end(), where.begin(), where.end());
        return args;
    };
    EXPECT_EQ(Run(kProfiles, with({})).out, "* 0 PROFILE_0\n  1 Game\n");
    struct Step
    {
        std::string argument;
        int status;
        std::string out;
        std::string selected;
    };
    for (const Step& step : std::vector<Step>{{"next", 0, "switched to 1 Game\n", "Game"},
                                              {"next", 0, "switched to 0 PROFILE_0\n", "PROFILE_0"},
                                              {"prev", 0, "switched to 1 Game\n", "Game"},
                                              {"PROFILE_0", 0, "switched to 0 PROFILE_0\n", "PROFILE_0"},
                                              {"1", 0, "switched to 1 Game\n", "Game"},
                                              {"2", 1, "", "Game"},
                                              {"Gam", 1, "", "Game"}}) {
        const Outcome outcome = Run(kProfile, with({"switch", step.argument}));
        EXPECT_EQ(outcome.status, step.status) << step.argument << ": " << outcome.err;
        EXPECT_EQ(outcome.out, step.out) << step.argument;
        EXPECT_EQ(Selected(), step.selected) << step.argument;
    }
    EXPECT_EQ(Run(kProfile, with({"switch", "2"})).err,
              "veldranectl: profile switch: there is no profile '2' (veldranectl profiles lists them)\n");
    // The switch saved what it sent: Game's file holds its 3200 CPI, and the list marks it.
    EXPECT_EQ(ConfigFile::Read(Folder() / ProfileConfigName(1)).contents.record.cpiValue[0], 64);
    const auto json = nlohmann::json::parse(Run(kProfiles, with({"--json"})).out);
    EXPECT_EQ(json["active"], 1);
    EXPECT_EQ(json["profiles"][1]["name"], "Game");
    EXPECT_EQ(json["profiles"][1]["active"], true);
    EXPECT_EQ(json["profiles"][0]["active"], false);
}

TEST_F(VeldranectlProfiles, ExportThenImportCarriesTheProfileAcross)
{
    EXPECT_EQ(Tool("profile export Game game.json --data-dir data --simulate").status, 0);
    const Outcome imported = Tool("profile import 0 game.json --data-dir data --simulate");
    EXPECT_EQ(imported.status, 0) << imported.out;
    EXPECT_EQ(imported.out, "imported into 0 PROFILE_0\n");
    EXPECT_EQ(ConfigFile::Read(Folder() / ProfileConfigName(0)).contents.record.cpiValue[0], 64);
    WriteFileBytes("broken.json", "{\"format\": 1");
    EXPECT_EQ(Tool("profile import 0 broken.json --data-dir data --simulate").status, 1);
    EXPECT_EQ(Tool("profile frobnicate --simulate").status, 2);
}

TEST_F(VeldranectlProfiles, TheRunningConfiguratorsLockKeepsTheToolOff)
{
    ProgramLock held;
    ASSERT_TRUE(held.TryAcquire());
    const Outcome outcome = Tool("profile switch next --data-dir data --simulate");
    EXPECT_EQ(outcome.status, 1);
    EXPECT_THAT(outcome.out, HasSubstr("veldranectl: profile switch: the configurator runs (it holds "));
    EXPECT_EQ(Selected(), "PROFILE_0");
}

#endif

} // namespace
} // namespace veldrane::ctl
