#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace veldrane {

// The files beside the executable and the INI sections and keys the program keeps in them.

inline constexpr std::string_view kFactoryConfigName = "config.bin"; // the factory profile
inline constexpr std::string_view kListName = "str.ini";             // the list, the factory labels
inline constexpr std::string_view kMacroFileName = "record.ini";

// "config%d.bin" and "str%d.ini" of the named profile at list position `index`.
inline std::string ProfileConfigName(std::size_t index)
{
    return "config" + std::to_string(index) + ".bin";
}
inline std::string ProfileLabelName(std::size_t index)
{
    return "str" + std::to_string(index) + ".ini";
}

// Section "Profile" of "str.ini": the names of the profiles in list order ("Item0" to "Item5").
inline constexpr std::string_view kProfileSection = "Profile";
inline constexpr std::string_view kCurrentProfileKey = "CurProfileName";
inline constexpr std::string_view kItemCountKey = "ItemCount";
inline std::string ProfileItemKey(std::size_t position)
{
    return "Item" + std::to_string(position);
}

// Label files: the label of button 1 to 12 under "Item1" to "Item12" of the language section.
inline std::string LabelKey(std::size_t button)
{
    return "Item" + std::to_string(button + 1);
}

inline constexpr std::string_view kSkinsSection = "Skins";
inline constexpr std::string_view kLanguageKey = "Lan";
inline constexpr std::string_view kSkinPathKey = "Path";
inline constexpr std::string_view kRedKey = "RColor";
inline constexpr std::string_view kGreenKey = "GColor";
inline constexpr std::string_view kBlueKey = "BColor";

inline constexpr std::string_view kPointSection = "Point";
inline constexpr std::string_view kSensitivityXKey = "SensitivityX_Y";
inline constexpr std::string_view kSensitivityYKey = "SensitivityY_Y";
inline constexpr std::string_view kSensitivityKey = "Sensitivity_Y";
inline constexpr std::string_view kMouseSpeedKey = "MouseSpeed_Y";

} // namespace veldrane
