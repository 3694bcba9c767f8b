#include "core/device/HidTransport.h"

#include <algorithm>
#include <array>

#include "core/device/DeviceLink.h"
#include "ports/HidBackend.h"
#include "ports/Sleeper.h"

namespace veldrane {

std::size_t ChunkCount(std::size_t length)
{
    return (length + kBlockChunkSize - 1) / kBlockChunkSize;
}

DeviceOutcome SendCommand(DeviceLink& link, CommandReport& command)
{
    const std::uint8_t code = command.bytes[kCommandCode];
    HidDevice* device = link.CommandDevice();
    const std::size_t featureLength = std::min<std::size_t>(link.CommandLengths().feature, kFeatureBufferSize);

    std::array<std::uint8_t, kFeatureBufferSize> buffer{};
    std::copy(command.bytes.begin(), command.bytes.end(), buffer.begin() + kReportDataOffset);
    buffer[kReportDataOffset + kCommandChecksum] = CommandChecksum(command.bytes);
    const bool sent = device != nullptr && device->SetFeature(std::span(buffer).first(featureLength));
    if (!command.IsRead()) {
        return sent ? DeviceOutcome{} : DeviceOutcome{DeviceError::ReportNotTaken, code};
    }

    // Neither the echoed code nor the answer's checksum is compared here: the mouse's answer is
    // taken as it comes, and a lost answer reads as eight zero bytes.
    buffer.fill(0);
    const bool answered = sent && device->GetFeature(std::span(buffer).first(featureLength));
    if (!answered) {
        buffer.fill(0);
    }
    std::copy_n(buffer.begin() + kReportDataOffset, kCommandReportSize, command.bytes.begin());
    return answered ? DeviceOutcome{} : DeviceOutcome{DeviceError::NoAnswer, code};
}

BlockTransfer TransferBlock(DeviceLink& link, CommandReport& command, std::span<std::uint8_t> block)
{
    const std::uint8_t code = command.bytes[kCommandCode];
    const DeviceOutcome failed{command.IsRead() ? DeviceError::ShortBlock : DeviceError::ReportNotTaken, code};
    if (!SendCommand(link, command).Done()) {
        return {failed};
    }
    HidDevice* device = link.CommandDevice();
    const std::size_t chunks = ChunkCount(command.BlockLength());
    std::array<std::uint8_t, kReceiveBufferSize> buffer{};

    if (command.IsRead()) {
        const std::size_t length = command.BlockLength();
        const std::size_t inputLength = std::min<std::size_t>(link.CommandLengths().input, kReceiveBufferSize);
        std::size_t received = 0;
        for (std::size_t i = 0; i < chunks; ++i) {
            const std::size_t offset = i * kBlockChunkSize;
            if (offset >= block.size()) {
                break; // the announced length is more than the caller has room for
            }
            buffer.fill(0);
            const HidReadResult read = device->ReadInput(std::span(buffer).first(inputLength), kChunkReadTimeout);
            const std::size_t arrived = std::min(read.length, inputLength);
            if (read.failed || arrived <= kReportDataOffset) {
                break; // a chunk that did not come brings no bytes, nor do the ones after it
            }
            const std::size_t count = std::min({kBlockChunkSize, block.size() - offset, arrived - kReportDataOffset});
            std::copy_n(buffer.begin() + kReportDataOffset, count, block.begin() + static_cast<std::ptrdiff_t>(offset));
            received = offset + count;
            if (count < kBlockChunkSize) {
                break;
            }
        }
        received = std::min(received, length);
        return {received == length ? DeviceOutcome{} : failed, received};
    }

    for (std::size_t i = 0; i < chunks; ++i) {
        const std::size_t offset = i * kBlockChunkSize;
        buffer.fill(0);
        if (offset < block.size()) {
            const std::size_t count = std::min(kBlockChunkSize, block.size() - offset);
            std::copy_n(block.begin() + static_cast<std::ptrdiff_t>(offset), count, buffer.begin() + kReportDataOffset);
        }
        if (!device->WriteOutput(std::span(buffer).first(kOutputReportLength))) {
            return {failed};
        }
        link.Pauses().Sleep(kChunkPause);
    }
    return {};
}

} // namespace veldrane
