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
#include "core/ini/FileError.h"
#include "core/ini/IniFile.h"
#include "core/macro/MacroEncoder.h"
#include "core/macro/MacroFile.h"
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
    std::string path = InDataDirectory(parsed->Operands().front(), parsed->Value(kDataDirOption));
    if (line != nullptr) {
        *line = std::move(parsed);
    }
    return path;
}

// Every field in the order of the file, with the decoded values beside their raw codes, reserved
// bytes named by their offset.
nlohmann::ordered_json ProfileJson(const ConfigFileContents& contents)
{
    const ProfileRecord& r = contents.record;
    nlohmann::ordered_json json;
    json["schema"] = kJsonSchema;
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
    nlohmann::ordered_json enabled = nlohmann::ordered_json::array();
    nlohmann::ordered_json colors = nlohmann::ordered_json::array();
    for (std::size_t stage = 0; stage < r.cpiEnabled.size(); ++stage) {
        enabled.push_back(r.cpiEnabled[stage] != 0);
        colors.push_back(ColorText(std::span(r.cpiColor).subspan(3 * stage).first<3>()));
    }
    json["stageEnabled"] = enabled;
    json["stageColor"] = colors;
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
        return kUsage;
    }
    const auto contents = ReadProfileFile(*path, err);
    if (!contents) {
        return kFailed;
    }
    out << ProfileJson(*contents).dump(2) << '\n';
    return kSuccess;
}

int RunKeyMatrix(CommandArgs args, std::ostream& out, std::ostream& err)
{
    const auto path = SingleFileArgument("keymatrix", "FILE.bin", args, err);
    if (!path) {
        return kUsage;
    }
    const auto contents = ReadProfileFile(*path, err);
    if (!contents) {
        return kFailed;
    }
    out << FormatHexLines(BuildKeyMatrixBlock(contents->record));
    return kSuccess;
}

int RunSettingsBlock(CommandArgs args, std::ostream& out, std::ostream& err)
{
    std::optional<CommandLine> line;
    const auto path = SingleFileArgument("settings-block", "FILE.bin", args, err, &line, kSettingsBlockOptions);
    if (!path) {
        return kUsage;
    }
    const std::optional<std::string> from = line->Value(kFromOption);

    std::array<std::uint8_t, kSettingsBlockSize> block{};
    if (from) {
        std::string problem;
        const auto bytes = ParseHexBytes(*from, problem);
        if (!bytes) {
            Error(err, kFromOption) << problem << '\n';
            return kUsage;
        }
        if (bytes->size() != block.size()) {
            Error(err, kFromOption) << bytes->size() << " bytes, a settings block has " << block.size() << '\n';
            return kUsage;
        }
        std::copy(bytes->begin(), bytes->end(), block.begin());
    }
    const auto contents = ReadProfileFile(*path, err);
    if (!contents) {
        return kFailed;
    }
    PatchSettingsBlock(contents->record, block);
    out << FormatHexLines(block);
    return kSuccess;
}

int RunMacros(CommandArgs args, std::ostream& out, std::ostream& err)
{
    const auto path = SingleFileArgument("macros", "RECORD.INI", args, err);
    if (!path) {
        return kUsage;
    }
    std::error_code error;
    const auto status = std::filesystem::status(*path, error);
    if (!std::filesystem::exists(status)) {
        Error(err, *path) << "no such file\n";
        return kFailed;
    }
    // A FIFO would block the read until someone writes into it; nothing but a file is read.
    if (!std::filesystem::is_regular_file(status)) {
        const int code = std::filesystem::is_directory(status) ? EISDIR : static_cast<int>(FileError::NotRegularFile);
        Error(err, *path) << "cannot read: " << FileReason(code) << '\n';
        return kFailed;
    }
    errno = 0;
    if (!std::ifstream(*path)) {
        Error(err, *path) << "cannot read: " << FileReason(errno != 0 ? errno : EIO) << '\n';
        return kFailed;
    }
    if (const auto size = std::filesystem::file_size(*path, error); !error && size > kMaxMacroFileBytes) {
        Error(err, *path) << "size " << size << " bytes, a macro file has at most " << kMaxMacroFileBytes << '\n';
        return kFailed;
    }
    const IconvTextCodec codec;
    const IniFile macroFile(*path, codec);
    // Every section counts: RebuildMacroData encodes the first twelve whatever the number.
    out << FormatHexLines(RebuildMacroData(macroFile, 1));
    return kSuccess;
}

} // namespace veldrane::ctl
