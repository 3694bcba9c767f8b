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
    json["angleSnapCode"] = block[kSettingsBlockAngleSnapCode];
    json["lightMode"] = block[kSettingsBlockLightMode];
    json["lightParameter"] = block[kSettingsBlockLightParameter];
    json["lightExtra"] = block[kSettingsBlockLightExtra];
    json["sensitivityXCode"] = block[kSettingsBlockSensitivityX];
    json["sensitivityX"] = block[kSettingsBlockSensitivityX] / kSettingsBlockSensitivityFactor;
    json["sensitivityYCode"] = block[kSettingsBlockSensitivityY];
    json["sensitivityY"] = block[kSettingsBlockSensitivityY] / kSettingsBlockSensitivityFactor;
    const auto codes = block.subspan(kSettingsBlockCpiCodes, kSettingsBlockShownStages);
    json["cpiValue"] = std::vector<std::uint8_t>(codes.begin(), codes.end());
    json["cpi"] = CpiOf(codes);
    const auto again = block.subspan(kSettingsBlockCpiCodesAgain, kSettingsBlockDownloadedStages);
    json["cpiValueAgain"] = std::vector<std::uint8_t>(again.begin(), again.end());
    json["stageSwitches"] = block[kSettingsBlockStageSwitches];
    nlohmann::ordered_json enabled = nlohmann::ordered_json::array();
    nlohmann::ordered_json colours = nlohmann::ordered_json::array();
    for (std::size_t stage = 0; stage < kSettingsBlockDownloadedStages; ++stage) {
        enabled.push_back(((block[kSettingsBlockStageSwitches] >> stage) & 1) != 0);
        const std::size_t at = kSettingsBlockStageColours + 3 * stage;
        colours.push_back(ColorText(block.subspan(at).first<3>()));
    }
    json["stageEnabled"] = enabled;
    json["stageColor"] = colours;
    json["bytes"] = std::vector<std::uint8_t>(block.begin(), block.end());
    return json;
}

} // namespace veldrane::ctl
