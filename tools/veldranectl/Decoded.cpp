#include "Decoded.h"

#include <array>
#include <iomanip>
#include <sstream>

#include "core/buttons/ButtonFunctionCatalogue.h"
#include "core/device/SettingsBlock.h"
#include "core/settings/CpiStage.h"
#include "core/settings/ReportRate.h"

namespace veldrane::ctl {

namespace {

// In the order of the function codes.
constexpr std::array<std::string_view, kFunctionCount> kFunctionNames = {
    "click",    "menu",       "universalScroll", "ieForward",       "ieBackward", "doubleClick",
    "cpiCycle", "multimedia", "hotKey",          "windows",         "singleKey",  "comboKey",
    "macroKey", "buttonOff",  "leftTiltScroll",  "rightTiltScroll",
};

// Offsets of the settings block (its layout table is in device/SettingsBlock.h).
constexpr std::size_t kAngleSnapCode = 51;
constexpr std::size_t kLightMode = 71;
constexpr std::size_t kLightParameter = 72;
constexpr std::size_t kLightExtra = 73;
constexpr std::size_t kSensitivityX = 74;
constexpr std::size_t kSensitivityY = 75;
constexpr std::size_t kCpiStages = 6; // the mouse shows stage n from byte 84 + n - 1
constexpr std::size_t kDownloadedStages = 4;
constexpr std::size_t kStageSwitches = 100;
constexpr std::size_t kStageColours = 104;
constexpr std::size_t kSensitivityFactor = 20;

} // namespace

nlohmann::ordered_json ReportRateHz(std::uint8_t reportRate)
{
    const auto hz = ReportFrequencyOf(reportRate);
    return hz ? nlohmann::ordered_json(*hz) : nlohmann::ordered_json(nullptr);
}

std::vector<int> CpiOf(std::span<const std::uint8_t> cpiValues)
{
    std::vector<int> cpi;
    for (const std::uint8_t value : cpiValues) {
        cpi.push_back(DisplayedCpiOf(value));
    }
    return cpi;
}

std::string_view FunctionName(std::uint8_t code)
{
    return code < kFunctionNames.size() ? kFunctionNames[code] : "none";
}

std::string ColorText(std::span<const std::uint8_t, 3> rgb)
{
    std::ostringstream text;
    text << '#' << std::uppercase << std::hex << std::setfill('0');
    for (const std::uint8_t part : rgb) {
        text << std::setw(2) << static_cast<int>(part);
    }
    return text.str();
}

nlohmann::ordered_json SettingsBlockJson(std::span<const std::uint8_t> block)
{
    nlohmann::ordered_json json;
    if (block.size() != kSettingsBlockSize) {
        return json;
    }
    json["angleSnapCode"] = block[kAngleSnapCode];
    json["lightMode"] = block[kLightMode];
    json["lightParameter"] = block[kLightParameter];
    json["lightExtra"] = block[kLightExtra];
    json["sensitivityXCode"] = block[kSensitivityX];
    json["sensitivityX"] = block[kSensitivityX] / kSensitivityFactor;
    json["sensitivityYCode"] = block[kSensitivityY];
    json["sensitivityY"] = block[kSensitivityY] / kSensitivityFactor;
    const auto codes = block.subspan(kSettingsBlockCpiCodes, kCpiStages);
    json["cpiValue"] = std::vector<std::uint8_t>(codes.begin(), codes.end());
    json["cpi"] = CpiOf(codes);
    const auto again = block.subspan(kSettingsBlockCpiCodesAgain, kDownloadedStages);
    json["cpiValueAgain"] = std::vector<std::uint8_t>(again.begin(), again.end());
    json["stageSwitches"] = block[kStageSwitches];
    nlohmann::ordered_json enabled = nlohmann::ordered_json::array();
    nlohmann::ordered_json colours = nlohmann::ordered_json::array();
    for (std::size_t stage = 0; stage < kDownloadedStages; ++stage) {
        enabled.push_back(((block[kStageSwitches] >> stage) & 1) != 0);
        const std::size_t at = kStageColours + 3 * stage;
        colours.push_back(ColorText(block.subspan(at).first<3>()));
    }
    json["stageEnabled"] = enabled;
    json["stageColor"] = colours;
    json["bytes"] = std::vector<std::uint8_t>(block.begin(), block.end());
    return json;
}

} // namespace veldrane::ctl
