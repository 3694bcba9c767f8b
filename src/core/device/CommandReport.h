#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace veldrane {

// The mouse's 8-byte command, carried in bytes 1 to 8 of a feature report:
//
//   0     command code; bit 7 set marks a read command, which the mouse answers
//   1-6   parameters; with a data phase, byte 2 is the block length (0 to 255), and in a read
//         command the length comes from byte 2 of the mouse's answer
//   7     checksum: 0xFF minus the sum of bytes 0 to 6, so that all eight sum to 0xFF
inline constexpr std::size_t kCommandReportSize = 8;
inline constexpr std::size_t kCommandCode = 0;
inline constexpr std::size_t kCommandParameter = 1;
inline constexpr std::size_t kCommandBlockLength = 2;
inline constexpr std::size_t kCommandChecksum = 7;
inline constexpr std::uint8_t kReadCommandBit = 0x80;

struct CommandReport
{
    std::array<std::uint8_t, kCommandReportSize> bytes{};

    // A cleared command with its code and first two parameters.
    static CommandReport Make(std::uint8_t code, std::uint8_t parameter = 0, std::uint8_t blockLength = 0);

    bool IsRead() const { return (bytes[kCommandCode] & kReadCommandBit) != 0; }
    std::uint8_t BlockLength() const { return bytes[kCommandBlockLength]; }

    friend bool operator==(const CommandReport&, const CommandReport&) = default;
};

// The checksum of command bytes 0 to 6; byte 7 is not looked at.
std::uint8_t CommandChecksum(std::span<const std::uint8_t, kCommandReportSize> command);

} // namespace veldrane
