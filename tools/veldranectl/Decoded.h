#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

namespace veldrane::ctl {

// The values behind the mouse's codes, as the JSON output shows them beside the codes.

// The report rate in Hz of a reportRate code (1, 2, 4, 8); null for any other code.
nlohmann::ordered_json ReportRateHz(std::uint8_t reportRate);
// The CPI of each stage's code (code x 50).
std::vector<int> CpiOf(std::span<const std::uint8_t> cpiValues);
// The name of a button's function code ("click", "macroKey", ...); "none" for codes the menus
// never give (16 to 255), which send nothing.
std::string_view FunctionName(std::uint8_t code);

// The JSON of every command names the same data alike: a field of the profile record by its
// name (cpiValue, cpiEnabled), a decoded value beside it (cpi, stageEnabled), truth values as
// true and false, colours as "#RRGGBB". A whole object carries "schema": kJsonSchema.
inline constexpr int kJsonSchema = 1;

// "#RRGGBB" of a red, green and blue byte.
std::string ColorText(std::span<const std::uint8_t, 3> rgb);

// The settings block the mouse returns to 0x8C, every byte the system knows by name (CPI in
// counts per inch beside the codes), and the whole block as "bytes".
nlohmann::ordered_json SettingsBlockJson(std::span<const std::uint8_t> block);

} // namespace veldrane::ctl
