#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "core/device/SettingsBlock.h"

namespace veldrane {

// What the system last sent to or read from the mouse, 2450 bytes:
//
//   0x000  1        current profile number of the mouse (answer of 0x82); 0 after a download
//   0x001  1        last value sent with 0x05 (sideButtonLight)
//   0x002  1        mode byte, 0xFC before 0x01 goes out
//   0x003  1        last value sent with 0x03 (reportRate)
//   0x004  14       not used
//   0x012  6 x 128  settings areas, one per profile number; 0x0C and 0x8C move area 0
//   0x312  128      KeyMatrixBlock, sent with 0x0D
//   0x392  12 x 128 MacroBuffers 1 to 12, sent with 0x0F n
inline constexpr std::size_t kDeviceImageSize = 2450;
inline constexpr std::size_t kImageProfileNumber = 0x000;
inline constexpr std::size_t kImageSideButtonLight = 0x001;
inline constexpr std::size_t kImageModeByte = 0x002;
inline constexpr std::size_t kImageReportRate = 0x003;
inline constexpr std::size_t kImageSettingsAreas = 0x012;
inline constexpr std::size_t kSettingsAreaCount = 6;
inline constexpr std::size_t kImageKeyMatrix = 0x312;
inline constexpr std::size_t kImageMacroBuffers = 0x392;
inline constexpr std::size_t kImageBlockSize = 128;
inline constexpr std::size_t kImageMacroCount = 12;

static_assert(kImageSettingsAreas + kSettingsAreaCount * kImageBlockSize == kImageKeyMatrix);
static_assert(kImageMacroBuffers + kImageMacroCount * kImageBlockSize == kDeviceImageSize);
static_assert(kSettingsBlockSize == kImageBlockSize);

// The mode byte the system always sends with 0x01.
inline constexpr std::uint8_t kModeByteValue = 0xFC;

struct DeviceImage
{
    std::array<std::uint8_t, kDeviceImageSize> bytes{};

    void Clear() { bytes.fill(0); }

    // The settings area of profile number `profile`; a number the mouse may report outside 0 to 5
    // names area 0, the one every command moves.
    std::span<std::uint8_t, kImageBlockSize> SettingsArea(std::size_t profile = 0);
    std::span<const std::uint8_t, kImageBlockSize> SettingsArea(std::size_t profile = 0) const;
    std::span<std::uint8_t, kImageBlockSize> KeyMatrix();
    std::span<const std::uint8_t, kImageBlockSize> KeyMatrix() const;
    // MacroBuffer `number`, 1 to 12.
    std::span<std::uint8_t, kImageBlockSize> MacroBuffer(std::size_t number);
    std::span<const std::uint8_t, kImageBlockSize> MacroBuffer(std::size_t number) const;
};

} // namespace veldrane
