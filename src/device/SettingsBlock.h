#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace veldrane {

struct ProfileRecord;

inline constexpr std::size_t kSettingsBlockSize = 128;

// Replaces, in a settings block as the mouse returned it to 0x8C, the bytes that the system
// manages (angle snap, lighting, sensitivity, CPI stages, stage switches and colours); every
// other byte keeps the mouse's value.
void PatchSettingsBlock(const ProfileRecord& record, std::span<std::uint8_t, kSettingsBlockSize> block);

} // namespace veldrane
