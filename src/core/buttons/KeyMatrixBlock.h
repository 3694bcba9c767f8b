#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace veldrane {

struct ProfileRecord;

inline constexpr std::size_t kKeyMatrixBlockSize = 128;

using KeyMatrixEntry = std::array<std::uint8_t, 4>;
using KeyMatrixBlock = std::array<std::uint8_t, kKeyMatrixBlockSize>;

// The 4-byte device form of button `button` (0 to 11) of the record.
KeyMatrixEntry EncodeButton(const ProfileRecord& record, std::size_t button);

// The 128-byte block the mouse takes with command 0x0D: 32 entries, buttons in their slots,
// fixed entries in slots 14 and 15, zero elsewhere.
KeyMatrixBlock BuildKeyMatrixBlock(const ProfileRecord& record);

} // namespace veldrane
