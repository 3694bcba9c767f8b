#include "device/CommandSet.h"

#include <algorithm>
#include <array>

#include "device/DeviceImage.h"
#include "device/DeviceLink.h"
#include "device/HidTransport.h"
#include "platform/Sleeper.h"

namespace veldrane {

namespace {

using BlockBuffer = std::array<std::uint8_t, kImageBlockSize>;

BlockBuffer CopyOf(std::span<const std::uint8_t, kImageBlockSize> block)
{
    BlockBuffer buffer{};
    std::copy(block.begin(), block.end(), buffer.begin());
    return buffer;
}

} // namespace

void SendModeByte(DeviceLink& link, const DeviceImage& image)
{
    CommandReport command = CommandReport::Make(kCommandModeByte, image.bytes[kImageModeByte]);
    SendCommand(link, command);
}

void ReadCurrentProfile(DeviceLink& link, DeviceImage& image)
{
    CommandReport command = CommandReport::Make(kCommandReadProfile);
    SendCommand(link, command);
    image.bytes[kImageProfileNumber] = command.bytes[kCommandParameter];
}

void TransferSettingsBlock(DeviceLink& link, DeviceImage& image, BlockDirection direction)
{
    const auto area = image.SettingsArea(0);
    if (direction == BlockDirection::Write) {
        BlockBuffer buffer = CopyOf(area);
        CommandReport command = CommandReport::Make(kCommandWriteSettingsBlock, 0, kCommandBlockBytes);
        TransferBlock(link, command, buffer);
    } else {
        BlockBuffer buffer{};
        CommandReport command = CommandReport::Make(kCommandReadSettingsBlock, 0);
        const std::size_t received = TransferBlock(link, command, buffer);
        std::copy_n(buffer.begin(), received, area.begin());
    }
    link.Pauses().Sleep(kSettingsBlockPause);
}

void WriteKeyMatrixBlock(DeviceLink& link, const DeviceImage& image)
{
    BlockBuffer buffer = CopyOf(image.KeyMatrix());
    CommandReport command =
        CommandReport::Make(kCommandWriteKeyMatrix, image.bytes[kImageProfileNumber], kCommandBlockBytes);
    TransferBlock(link, command, buffer);
    link.Pauses().Sleep(kKeyMatrixPause);
}

void WriteMacroBlocks(DeviceLink& link, const DeviceImage& image)
{
    for (std::uint8_t number = 1; number <= kImageMacroCount; ++number) {
        BlockBuffer buffer = CopyOf(image.MacroBuffer(number));
        CommandReport command = CommandReport::Make(kCommandWriteMacro, number, kCommandBlockBytes);
        TransferBlock(link, command, buffer);
        link.Pauses().Sleep(kMacroBlockPause);
    }
}

} // namespace veldrane
