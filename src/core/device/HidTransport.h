#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <span>

#include "core/device/CommandReport.h"
#include "core/device/DeviceError.h"

namespace veldrane {

class DeviceLink;

// Framing on the command interface. Byte 0 of every report is the report id 0:
//
//   feature report  9 bytes   1-8 the CommandReport, its answer comes back the same way
//   output report   65 bytes  1-64 the next 64 bytes of a written block
//   input report    as long as the interface's input report, 1-64 the next 64 bytes of a read block
inline constexpr std::size_t kReportIdOffset = 0;
inline constexpr std::size_t kReportDataOffset = 1;
inline constexpr std::uint16_t kCommandFeatureReportLength = 9;
inline constexpr std::size_t kOutputReportLength = 65;
inline constexpr std::size_t kBlockChunkSize = 64;
inline constexpr std::size_t kFeatureBufferSize = 16;
// A command interface with longer input reports than this buffer is not taken by the search.
inline constexpr std::size_t kReceiveBufferSize = 80;

// The mouse needs this long after each written chunk before it takes the next report.
inline constexpr std::chrono::milliseconds kChunkPause{20};
// A chunk that has not come within this time will not come: the mouse is gone or silent.
inline constexpr std::chrono::milliseconds kChunkReadTimeout{1000};

// Number of 64-byte chunks that carry a block of `length` bytes: 0 for 0, at most 4.
std::size_t ChunkCount(std::size_t length);

// What became of a block transfer: done when every report was taken and, for a read, the whole
// block the mouse announced arrived (ShortBlock otherwise); `received` counts the bytes of a read
// that did arrive.
struct [[nodiscard]] BlockTransfer
{
    DeviceOutcome outcome;
    std::size_t received = 0;
};

// Sends `command` as a feature report, with the checksum in byte 7 whatever the caller left there;
// for a read command, fetches the mouse's answer into `command` (eight zero bytes when none
// comes). Fails, naming the command, when there is no command interface or the platform refused
// the report (ReportNotTaken), and for a read also when the answer did not come (NoAnswer, which
// a read gets for the refused request too: either way the mouse said nothing).
DeviceOutcome SendCommand(DeviceLink& link, CommandReport& command);

// SendCommand, then the data phase in 64-byte chunks; stops at the first report that fails.
// Writing: the block length of `command` in chunks taken from `block` (zeros past its end), each
// followed by kChunkPause. Reading: the length the mouse announced in its answer, but never more
// than `block` holds; a chunk that does not come in time, or comes short, ends the read, and so
// does an announced length beyond the room. A read that fails anywhere is ShortBlock.
BlockTransfer TransferBlock(DeviceLink& link, CommandReport& command, std::span<std::uint8_t> block);

} // namespace veldrane
