#include "core/device/CommandReport.h"

namespace veldrane {

CommandReport CommandReport::Make(std::uint8_t code, std::uint8_t parameter, std::uint8_t blockLength)
{
    CommandReport command;
    command.bytes[kCommandCode] = code;
    command.bytes[kCommandParameter] = parameter;
    command.bytes[kCommandBlockLength] = blockLength;
    return command;
}

std::uint8_t CommandChecksum(std::span<const std::uint8_t, kCommandReportSize> command)
{
    std::uint8_t checksum = 0xFF;
    for (std::size_t i = 0; i < kCommandChecksum; ++i) {
        checksum = static_cast<std::uint8_t>(checksum - command[i]);
    }
    return checksum;
}

} // namespace veldrane
