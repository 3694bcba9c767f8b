#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace veldrane {

struct ProfileRecord;

inline constexpr std::size_t kSettingsBlockSize = 128;

// The settings block as the mouse moves it with 0x8C and 0x0C. The bytes a download sets:
//
//   2        1                   constant
//   50       0x42                constant
//   51       angle-snap code     angleSnap through the angle-snap table
//   64       0x0F                constant
//   70       4                   constant
//   71-73    lighting            lightMode and its level (see the lighting table in the .cpp)
//   74, 75   X and Y sensitivity sensitivityX, sensitivityY times 20, kept to 8 bits
//   84-87    CPI codes           cpiValue of stages 1 to 4 (CPI = code x 50)
//   92-95    the same four codes again
//   100      stage switches      bit n = cpiEnabled of stage n + 1, stages 1 to 4
//   104-115  stage colours       cpiColor bytes 0 to 11: red, green, blue of stages 1 to 4
//   116-127  0
//
// Every other byte keeps what the mouse returned. The CPI the mouse shows for stage n (1 to 6)
// is read from byte 84 + n - 1.
inline constexpr std::size_t kSettingsBlockCpiCodes = 84;
inline constexpr std::size_t kSettingsBlockCpiCodesAgain = 92;

// Replaces, in a settings block as the mouse returned it to 0x8C, the bytes that the system
// manages (angle snap, lighting, sensitivity, CPI stages, stage switches and colours); every
// other byte keeps the mouse's value.
void PatchSettingsBlock(const ProfileRecord& record, std::span<std::uint8_t, kSettingsBlockSize> block);

} // namespace veldrane
