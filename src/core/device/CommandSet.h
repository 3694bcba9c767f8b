#pragma once

#include <chrono>
#include <cstdint>

#include "core/device/DeviceError.h"

namespace veldrane {

class DeviceLink;
struct DeviceImage;

// The mouse's commands (byte 0 of the CommandReport; unnamed parameter bytes are 0):
//
//   0x01  write  1: mode byte (DeviceImage byte 2, always 0xFC)     once the mouse has been found
//   0x82  read   answer 1: the mouse's current profile number
//   0x02  write  1: profile number (0)                              first step of a download
//   0x03  write  1: DeviceImage byte 0; 2: reportRate
//   0x05  write  1: sideButtonLight
//   0x0C  write  1: 0; 2: 0x80; 128 bytes from settings area 0
//   0x8C  read   1: 0; answer 2: the length; that many bytes into settings area 0
//   0x0D  write  1: DeviceImage byte 0; 2: 0x80; the KeyMatrixBlock
//   0x0F  write  1: macro number 1 to 12; 2: 0x80; that MacroBuffer
inline constexpr std::uint8_t kCommandModeByte = 0x01;
inline constexpr std::uint8_t kCommandReadProfile = 0x82;
inline constexpr std::uint8_t kCommandSelectProfile = 0x02;
inline constexpr std::uint8_t kCommandReportRate = 0x03;
inline constexpr std::uint8_t kCommandSideButtonLight = 0x05;
inline constexpr std::uint8_t kCommandWriteSettingsBlock = 0x0C;
inline constexpr std::uint8_t kCommandReadSettingsBlock = 0x8C;
inline constexpr std::uint8_t kCommandWriteKeyMatrix = 0x0D;
inline constexpr std::uint8_t kCommandWriteMacro = 0x0F;
inline constexpr std::uint8_t kCommandBlockBytes = 0x80;

// Pauses after each operation, on top of those after every written chunk.
inline constexpr std::chrono::milliseconds kSettingsBlockPause{10};
inline constexpr std::chrono::milliseconds kKeyMatrixPause{2};
inline constexpr std::chrono::milliseconds kMacroBlockPause{20};

enum class BlockDirection
{
    Write,
    Read,
};

// None of these looks at the connected flag; their callers do. Each tells whether the mouse took
// every report of it (and, for a read, answered in full), naming the command that failed; it stops
// at the first report that failed and then makes no pause.

// 0x01 with the mode byte of the image.
DeviceOutcome SendModeByte(DeviceLink& link, const DeviceImage& image);
// 0x82; the answer's byte 1 becomes image byte 0, as it comes, and a number beyond the mouse's six
// profiles is WrongAnswer. Without an answer the image keeps its number.
DeviceOutcome ReadCurrentProfile(DeviceLink& link, DeviceImage& image);
// 0x0C from, or 0x8C into, settings area 0, then kSettingsBlockPause. A read counts only when the
// mouse announced a whole block and all of it arrived; only then does it replace the area, so a
// lost, short or garbled answer leaves the area as it was.
DeviceOutcome TransferSettingsBlock(DeviceLink& link, DeviceImage& image, BlockDirection direction);
// 0x0D with the image's KeyMatrixBlock, then kKeyMatrixPause.
DeviceOutcome WriteKeyMatrixBlock(DeviceLink& link, const DeviceImage& image);
// 0x0F 1 to 0x0F 12 with the image's MacroBuffers, each followed by kMacroBlockPause.
DeviceOutcome WriteMacroBlocks(DeviceLink& link, const DeviceImage& image);

} // namespace veldrane
