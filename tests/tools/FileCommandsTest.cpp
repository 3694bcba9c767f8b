#include "Commands.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <nlohmann/json.hpp>
#include <set>
#include <sstream>

#include "platform/linux/IconvTextCodec.h"
#include "profile/ConfigFile.h"
#include "profile/FactoryDefaults.h"
#include "support/TempDir.h"

namespace veldrane::ctl {
namespace {

using test::TempDir;
using test::WriteFileBytes;

struct CommandRun
{
    int status;
    std::string out;
    std::string err;
};

CommandRun RunCommand(int (*command)(CommandArgs, std::ostream&, std::ostream&), std::vector<std::string> args)
{
    std::ostringstream out;
    std::ostringstream err;
    const int status = command(args, out, err);
    return {status, out.str(), err.str()};
}

std::string ZeroLines(int count)
{
    std::string text;
    for (int i = 0; i < count; ++i) {
        text += "00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00\n";
    }
    return text;
}

class FileCommandsTest : public ::testing::Test
{
protected:
    std::string Factory()
    {
        const auto path = dir / "factory.bin";
        WriteFileBytes(path, ConfigFile::Encode(0, FactoryProfile()));
        return path.string();
    }

    TempDir dir;
};

TEST_F(FileCommandsTest, KeyMatrixOfTheFactoryProfile)
{
    const CommandRun run = RunCommand(RunKeyMatrix, {Factory()});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out, "01 00 F0 00 01 00 F1 00 01 00 F2 00 07 00 01 00\n"
                       "07 00 02 00 01 00 F5 00 01 00 F6 00 00 00 00 00\n" +
                           ZeroLines(1) + "00 00 00 00 00 00 00 00 01 00 F7 00 01 00 F8 00\n" + ZeroLines(4));
}

TEST_F(FileCommandsTest, ShowGivesEveryByteOfTheFileUnderItsFieldInFileOrder)
{
    std::string bytes(1825, '\0');
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<char>(i * 13 + 5);
    }
    const auto path = dir / "pattern.bin";
    WriteFileBytes(path, bytes);
    const CommandRun run = RunCommand(RunShow, {path.string()});
    ASSERT_EQ(run.status, 0) << run.err;

    const auto json = nlohmann::ordered_json::parse(run.out);
    std::vector<std::string> names;
    std::string collected;
    // The decoded values stand beside their codes.
    const std::set<std::string> decoded{"reportRateHz", "cpi", "buttonFunctionName"};
    for (const auto& [name, value] : json.items()) {
        if (decoded.contains(name)) {
            continue;
        }
        names.push_back(name);
        if (value.is_array()) {
            for (const auto& byte : value) {
                collected.push_back(static_cast<char>(byte.get<int>()));
            }
        } else {
            collected.push_back(static_cast<char>(value.get<int>()));
        }
    }
    EXPECT_EQ(collected, bytes);
    EXPECT_EQ(names, (std::vector<std::string>{
                         "firstRunFlag", "deviceProfile", "reserved001",      "reportRate",       "sideButtonLight",
                         "cpiValue",     "reserved00D",   "cpiEnabled",       "reserved015",      "cpiColor",
                         "reserved029",  "lightMode",     "lightLevel",       "pointerPrecision", "scrollOneScreen",
                         "mouseSpeed",   "scrollLines",   "doubleClickSpeed", "angleSnap",        "reserved039",
                         "sensitivityX", "sensitivityY",  "buttonFunction",   "cpiAction",        "reserved054",
                         "mediaUsage",   "systemCommand", "reserved078",      "reserved084",      "reserved090",
                         "editKey",      "singleKey",     "comboModifier",    "comboKey1",        "comboKey2",
                         "reserved0D8",  "reserved0E4",   "reserved0F0",      "reserved0FC",      "macroNumber",
                         "macroRepeat",  "macroData"}));
    EXPECT_EQ(json["firstRunFlag"], 5);
    EXPECT_EQ(json["reportRate"], static_cast<std::uint8_t>(6 * 13 + 5));
    EXPECT_TRUE(json["reportRateHz"].is_null()); // 83 is no rate the mouse knows
}

TEST_F(FileCommandsTest, ShowDecodesRateCpiAndFunctionsBesideTheCodes)
{
    ProfileRecord record = FactoryProfile();
    record.reportRate = 8;
    record.buttonFunction[0] = 12;
    record.buttonFunction[1] = 200;
    const auto path = dir / "decoded.bin";
    WriteFileBytes(path, ConfigFile::Encode(1, record));
    const CommandRun run = RunCommand(RunShow, {path.string()});
    ASSERT_EQ(run.status, 0) << run.err;
    const auto json = nlohmann::ordered_json::parse(run.out);
    EXPECT_EQ(json["reportRateHz"], 125);
    EXPECT_EQ(json["cpi"], nlohmann::ordered_json({800, 1600, 2400, 3200, 4000, 4800}));
    EXPECT_EQ(json["buttonFunctionName"][0], "macroKey");
    EXPECT_EQ(json["buttonFunctionName"][1], "none");
    std::vector<std::string> order;
    for (const auto& [name, value] : json.items()) {
        order.push_back(name);
    }
    const auto at = [&](const char* name) { return std::find(order.begin(), order.end(), name) - order.begin(); };
    EXPECT_EQ(at("reportRateHz"), at("reportRate") + 1);
    EXPECT_EQ(at("cpi"), at("cpiValue") + 1);
}

TEST_F(FileCommandsTest, OptionValuesAfterAnEqualsSignAndFilesAfterTwoDashes)
{
    std::string zeros;
    for (int i = 0; i < 128; ++i) {
        zeros += "00";
    }
    const std::string dash = (dir / "-profile.bin").string();
    WriteFileBytes(dash, ConfigFile::Encode(1, FactoryProfile()));
    const CommandRun spaced = RunCommand(RunSettingsBlock, {"--from", zeros, Factory()});
    const CommandRun joined = RunCommand(RunSettingsBlock, {"--from=" + zeros, Factory()});
    ASSERT_EQ(joined.status, 0) << joined.err;
    EXPECT_EQ(joined.out, spaced.out);
    // "--data-dir" places a relative name; "--" lets a name begin with a dash.
    const CommandRun relative = RunCommand(RunKeyMatrix, {"--data-dir", dir.Path().string(), "--", "-profile.bin"});
    EXPECT_EQ(relative.status, 0) << relative.err;
    EXPECT_EQ(relative.out, RunCommand(RunKeyMatrix, {Factory()}).out);
}

TEST_F(FileCommandsTest, SettingsBlockIsPatchedOverTheGivenBytes)
{
    std::string from = "ab";
    for (int i = 1; i < 128; ++i) {
        from += i % 2 == 0 ? " 5a" : "5A";
    }
    const CommandRun run = RunCommand(RunSettingsBlock, {"--from", from, Factory()});
    ASSERT_EQ(run.status, 0) << run.err;
    ASSERT_EQ(run.out.size(), 8u * 48u);
    EXPECT_EQ(run.out.substr(0, 6), "AB 5A ");        // byte 0 is the mouse's own
    EXPECT_EQ(run.out.substr(0x4A * 3, 6), "78 78 "); // sensitivity position 6 goes as 6 x 20
}

TEST_F(FileCommandsTest, SettingsBlockStartsFromZerosWithoutFrom)
{
    const CommandRun run = RunCommand(RunSettingsBlock, {Factory()});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out.substr(0, 6), "00 00 ");
    EXPECT_EQ(run.out.substr(0x4A * 3, 6), "78 78 ");
}

TEST_F(FileCommandsTest, MacrosAreTheTwelveBuffersOfTheFileInSectionOrder)
{
    const auto path = dir / "record.ini";
    WriteFileBytes(path, "[Macro_1]\r\nDelayTimeSelStatus=1\r\nLoopTimeSelStatus=0\r\nMacroLoopTimes=5\r\n"
                         "ItemCount=3\r\nItem0=A   Dn\r\nItem1=120 ms\r\nItem2=A   Up\r\n"
                         "[Macro_2]\r\nDelayTimeSelStatus=0\r\nLoopTimeSelStatus=1\r\nMacroLoopTimes=3\r\n"
                         "ItemCount=2\r\nItem0=A   Dn\r\nItem1=A   Up\r\n");
    const CommandRun run = RunCommand(RunMacros, {path.string()});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "00 01 0C 04 80 04 00 00 00 00 00 00 00 00 00 00\n" + ZeroLines(7) +
                           "00 03 05 04 85 04 00 00 00 00 00 00 00 00 00 00\n" + ZeroLines(7 + 10 * 8));
}

struct BadRun
{
    const char* name;
    int (*command)(CommandArgs, std::ostream&, std::ostream&);
    std::vector<std::string> args; // "@" stands for the test's directory
    std::string fileBytes;         // written to @/profile.bin
    std::string error;
};

class FileCommandsErrorTest : public FileCommandsTest, public ::testing::WithParamInterface<BadRun>
{
};

TEST_P(FileCommandsErrorTest, ReportsOneLineAndFails)
{
    const std::string base = dir.Path().string();
    WriteFileBytes(dir / "profile.bin", GetParam().fileBytes);
    std::vector<std::string> args = GetParam().args;
    for (std::string& arg : args) {
        if (arg.starts_with('@')) {
            arg = base + arg.substr(1);
        }
    }
    std::string expected = GetParam().error;
    if (const auto at = expected.find('@'); at != std::string::npos) {
        expected.replace(at, 1, base);
    }
    const CommandRun run = RunCommand(GetParam().command, args);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, expected);
}

const std::string kGoodFile = ConfigFile::Encode(1, FactoryProfile());
const std::string kBlock127 = [] {
    std::string text;
    for (int i = 0; i < 127; ++i) {
        text += "00 ";
    }
    return text;
}();

INSTANTIATE_TEST_SUITE_P(
    Runs, FileCommandsErrorTest,
    ::testing::Values(
        BadRun{"ShowMissingFile", RunShow, {"@/absent.bin"}, kGoodFile, "veldranectl: @/absent.bin: no such file\n"},
        BadRun{"ShowShortFile",
               RunShow,
               {"@/profile.bin"},
               kGoodFile.substr(1),
               "veldranectl: @/profile.bin: size 1824 bytes, a profile file has 1825\n"},
        BadRun{"KeyMatrixDirectory", RunKeyMatrix, {"@"}, kGoodFile, "veldranectl: @: cannot read: Is a directory\n"},
        BadRun{"SettingsBlockBadHex",
               RunSettingsBlock,
               {"@/profile.bin", "--from", "00 0g"},
               kGoodFile,
               "veldranectl: --from: not a hex byte at character 5\n"},
        BadRun{"SettingsBlockShortHex",
               RunSettingsBlock,
               {"@/profile.bin", "--from", kBlock127},
               kGoodFile,
               "veldranectl: --from: 127 bytes, a settings block has 128\n"},
        BadRun{
            "MacrosMissingFile", RunMacros, {"@/record.ini"}, kGoodFile, "veldranectl: @/record.ini: no such file\n"},
        BadRun{"MacrosDirectory", RunMacros, {"@"}, kGoodFile, "veldranectl: @: not a macro file\n"},
        BadRun{"UnknownOption",
               RunShow,
               {"--frob", "@/profile.bin"},
               kGoodFile,
               "veldranectl: show: unexpected argument '--frob'\n"},
        BadRun{"DashFileWithoutTwoDashes",
               RunShow,
               {"-p.bin"},
               kGoodFile,
               "veldranectl: show: unexpected argument '-p.bin'\n"},
        BadRun{"OptionWithoutItsValue",
               RunSettingsBlock,
               {"@/profile.bin", "--from"},
               kGoodFile,
               "veldranectl: --from: needs the 128 bytes of a settings block in hex\n"},
        BadRun{"SecondFile",
               RunKeyMatrix,
               {"@/profile.bin", "--", "x"},
               kGoodFile,
               "veldranectl: keymatrix: unexpected argument 'x'\n"}),
    [](const ::testing::TestParamInfo<BadRun>& info) { return std::string(info.param.name); });

} // namespace
} // namespace veldrane::ctl
