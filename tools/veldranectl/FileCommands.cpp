// The commands on files: they read a profile or macro file and print what the program makes of
// it, so that a script or a person can see the bytes the mouse would get.

#include <cerrno>
#include <cstring>
#include <fstream>
#include <optional>
#include <ostream>
#include <system_error>

#include <nlohmann/json.hpp>

#include "Commands.h"
#include "Decoded.h"
#include "Diagnostics.h"
#include "HexBlock.h"
#include "core/buttons/KeyMatrixBlock.h"
#include "core/device/SettingsBlock.h"
#include "core/ini/IniFile.h"
#include "core/macro/MacroEncoder.h"
#include "adapters/linux/IconvTextCodec.h"
#include "core/profile/ConfigFile.h"

namespace veldrane::ctl {

namespace {

constexpr std::string_view kFromOption = "--from";
constexpr std::string_view kDataDirOption = "--data-dir";

constexpr OptionSpec kFileOptions[] = {{kDataDirOption, "a folder"}};
constexpr OptionSpec kSettingsBlockOptions[] = {{kDataDirOption, "a folder"},
                                                {kFromOption, "the 128 bytes of a settings block in hex"}};

// The one file a command works on, relative names taken inside --data-dir where it is given;
// nothing (after the error line) when the arguments are not exactly that.
std::optional<std::string> SingleFileArgument(std::string_view command, std::string_view fileKind, CommandArgs args,
                                              std::ostream& err, std::optional<CommandLine>* line = nullptr,
                                              std::span<const OptionSpec> options = kFileOptions)
{
    auto parsed = CommandLine::Parse(command, args, options, fileKind, 1, 1, err);
    if (!parsed) {
        return std::nullopt;
    }
    std::filesystem::path path = parsed->Operands().front();
    if (const auto dataDir = parsed->Value(kDataDirOption); dataDir && path.is_relative()) {
        path = std::filesystem::path(*dataDir) / path;
    }
    if (line != nullptr) {
        *line = std::move(parsed);
    }
    return path.string();
}

// Every field in the order of the file, with the decoded values beside their raw codes, reserved
// bytes named by their offset.
nlohmann::ordered_json ProfileJson(const ConfigFileContents& contents)
{
    const ProfileRecord& r = contents.record;
    nlohmann::ordered_json json;
    json["firstRunFlag"] = contents.firstRunFlag;
    json["deviceProfile"] = r.deviceProfile;
    json["reserved001"] = r.reserved001;
    json["reportRate"] = r.reportRate;
    json["reportRateHz"] = ReportRateHz(r.reportRate);
    json["sideButtonLight"] = r.sideButtonLight;
    json["cpiValue"] = r.cpiValue;
    json["cpi"] = CpiOf(r.cpiValue);
    json["reserved00D"] = r.reserved00D;
    json["cpiEnabled"] = r.cpiEnabled;
    json["reserved015"] = r.reserved015;
    json["cpiColor"] = r.cpiColor;
    json["reserved029"] = r.reserved029;
    json["lightMode"] = r.lightMode;
    json["lightLevel"] = r.lightLevel;
    json["pointerPrecision"] = r.pointerPrecision;
    json["scrollOneScreen"] = r.scrollOneScreen;
    json["mouseSpeed"] = r.mouseSpeed;
    json["scrollLines"] = r.scrollLines;
    json["doubleClickSpeed"] = r.doubleClickSpeed;
    json["angleSnap"] = r.angleSnap;
    json["reserved039"] = r.reserved039;
    json["sensitivityX"] = r.sensitivityX;
    json["sensitivityY"] = r.sensitivityY;
    json["buttonFunction"] = r.buttonFunction;
    nlohmann::ordered_json names = nlohmann::ordered_json::array();
    for (const std::uint8_t code : r.buttonFunction) {
        names.push_back(FunctionName(code));
    }
    json["buttonFunctionName"] = names;
    json["cpiAction"] = r.cpiAction;
    json["reserved054"] = r.reserved054;
    json["mediaUsage"] = r.mediaUsage;
    json["systemCommand"] = r.systemCommand;
    json["reserved078"] = r.reserved078;
    json["reserved084"] = r.reserved084;
    json["reserved090"] = r.reserved090;
    json["editKey"] = r.editKey;
    json["singleKey"] = r.singleKey;
    json["comboModifier"] = r.comboModifier;
    json["comboKey1"] = r.comboKey1;
    json["comboKey2"] = r.comboKey2;
    json["reserved0D8"] = r.reserved0D8;
    json["reserved0E4"] = r.reserved0E4;
    json["reserved0F0"] = r.reserved0F0;
    json["reserved0FC"] = r.reserved0FC;
    json["macroNumber"] = r.macroNumber;
    json["macroRepeat"] = r.macroRepeat;
    json["macroData"] = r.macroData;
    return json;
}

} // namespace

int RunShow(CommandArgs args, std::ostream& out, std::ostream& err)
{
    const auto path = SingleFileArgument("show", "FILE.bin", args, err);
    if (!path) {
        return 1;
    }
    const auto contents = ReadProfileFile(*path, err);
    if (!contents) {
        return 1;
    }
    out << ProfileJson(*contents).dump(2) << '\n';
    return 0;
}

int RunKeyMatrix(CommandArgs args, std::ostream& out, std::ostream& err)
{
    const auto path = SingleFileArgument("keymatrix", "FILE.bin", args, err);
    if (!path) {
        return 1;
    }
    const auto contents = ReadProfileFile(*path, err);
    if (!contents) {
        return 1;
    }
    out << FormatHexLines(BuildKeyMatrixBlock(contents->record));
    return 0;
}

int RunSettingsBlock(CommandArgs args, std::ostream& out, std::ostream& err)
{
    std::optional<CommandLine> line;
    const auto path = SingleFileArgument("settings-block", "FILE.bin", args, err, &line, kSettingsBlockOptions);
    if (!path) {
        return 1;
    }
    const std::optional<std::string> from = line->Value(kFromOption);

    std::array<std::uint8_t, kSettingsBlockSize> block{};
    if (from) {
        std::string problem;
        const auto bytes = ParseHexBytes(*from, problem);
        if (!bytes) {
            Error(err, kFromOption) << problem << '\n';
            return 1;
        }
        if (bytes->size() != block.size()) {
            Error(err, kFromOption) << bytes->size() << " bytes, a settings block has " << block.size() << '\n';
            return 1;
        }
        std::copy(bytes->begin(), bytes->end(), block.begin());
    }
    const auto contents = ReadProfileFile(*path, err);
    if (!contents) {
        return 1;
    }
    PatchSettingsBlock(contents->record, block);
    out << FormatHexLines(block);
    return 0;
}

int RunMacros(CommandArgs args, std::ostream& out, std::ostream& err)
{
    const auto path = SingleFileArgument("macros", "RECORD.INI", args, err);
    if (!path) {
        return 1;
    }
    std::error_code error;
    const auto status = std::filesystem::status(*path, error);
    if (!std::filesystem::exists(status)) {
        Error(err, *path) << "no such file\n";
        return 1;
    }
    if (!std::filesystem::is_regular_file(status)) {
        Error(err, *path) << "not a macro file\n";
        return 1;
    }
    errno = 0;
    if (!std::ifstream(*path)) {
        Error(err, *path) << "cannot read: " << std::strerror(errno != 0 ? errno : EIO) << '\n';
        return 1;
    }
    const IconvTextCodec codec;
    const IniFile macroFile(*path, codec);
    out << FormatHexLines(RebuildMacroData(macroFile, macroFile.SectionNames().size()));
    return 0;
}

} // namespace veldrane::ctl
