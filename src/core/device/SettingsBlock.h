#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace veldrane {

struct ProfileRecord;

inline constexpr std::size_t kSettingsBlockSize = 128;

// The settings block as the mouse moves it with 0x8C and 0x0C. The bytes a download sets:
//
//   2, 50, 64, 70  1, 0x42, 0x0F, 4    fixed values the mouse expects (kSettingsBlockFixedBytes)
//   51             angle-snap code     angleSnap through the angle-snap table
//   71-73          lighting            lightMode and its level (see the lighting table in the .cpp)
//   74, 75         X and Y sensitivity sensitivityX, sensitivityY times 20, kept to 8 bits
//   84-87          CPI codes           cpiValue of stages 1 to 4 (CPI = code x kCpiUnit)
//   92-95          the same four codes again
//   100            stage switches      bit n = cpiEnabled of stage n + 1, stages 1 to 4
//   104-115        stage colours       cpiColor bytes 0 to 11: red, green, blue of stages 1 to 4
//   116-127        0
//
// Every other byte keeps what the mouse returned. The CPI the mouse shows for stage n (1 to 6)
// is read from byte 84 + n - 1.
struct SettingsBlockFixedByte
{
    std::size_t offset;
    std::uint8_t value;
};
inline constexpr std::array<SettingsBlockFixedByte, 4> kSettingsBlockFixedBytes = {{
    {2, 0x01},
    {50, 0x42},
    {64, 0x0F},
    {70, 0x04},
}};
inline constexpr std::size_t kSettingsBlockAngleSnapCode = 51;
inline constexpr std::size_t kSettingsBlockLightMode = 71;
inline constexpr std::size_t kSettingsBlockLightParameter = 72;
inline constexpr std::size_t kSettingsBlockLightExtra = 73;
inline constexpr std::size_t kSettingsBlockSensitivityX = 74;
inline constexpr std::size_t kSettingsBlockSensitivityY = 75;
inline constexpr std::uint8_t kSettingsBlockSensitivityFactor = 20;
inline constexpr std::size_t kSettingsBlockCpiCodes = 84;
inline constexpr std::size_t kSettingsBlockShownStages = 6; // stages 1 to 6 from kSettingsBlockCpiCodes
inline constexpr std::size_t kSettingsBlockCpiCodesAgain = 92;
inline constexpr std::size_t kSettingsBlockDownloadedStages = 4;
inline constexpr std::size_t kSettingsBlockStageSwitches = 100;
inline constexpr std::size_t kSettingsBlockStageColours = 104; // red, green, blue per downloaded stage
inline constexpr std::size_t kSettingsBlockClearedFrom = 104;  // 104-127 cleared before the colours go in

// Replaces, in a settings block as the mouse returned it to 0x8C, the bytes that the system
// manages (angle snap, lighting, sensitivity, CPI stages, stage switches and colours); every
// other byte keeps the mouse's value.
void PatchSettingsBlock(const ProfileRecord& record, std::span<std::uint8_t, kSettingsBlockSize> block);

} // namespace veldrane
