#include "core/device/CommandSet.h"

#include <algorithm>
#include <array>

#include "core/device/DeviceImage.h"
#include "core/device/DeviceLink.h"
#include "core/device/HidTransport.h"
#include "ports/Sleeper.h"

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

bool SendModeByte(DeviceLink& link, const DeviceImage& image)
{
    CommandReport command = CommandReport::Make(kCommandModeByte, image.bytes[kImageModeByte]);
    return SendCommand(link, command);
}

bool ReadCurrentProfile(DeviceLink& link, DeviceImage& image)
{
    CommandReport command = CommandReport::Make(kCommandReadProfile);
    const bool answered = SendCommand(link, command);
    image.bytes[kImageProfileNumber] = command.bytes[kCommandParameter];
    return answered;
}

bool TransferSettingsBlock(DeviceLink& link, DeviceImage& image, BlockDirection direction)
{
    const auto area = image.SettingsArea(0);
    bool taken = false;
    if (direction == BlockDirection::Write) {
        BlockBuffer buffer = CopyOf(area);
        CommandReport command = CommandReport::Make(kCommandWriteSettingsBlock, 0, kCommandBlockBytes);
        taken = TransferBlock(link, command, buffer).ok;
    } else {
        BlockBuffer buffer{};
        CommandReport command = CommandReport::Make(kCommandReadSettingsBlock, 0);
        const BlockTransfer read = TransferBlock(link, command, buffer);
        taken = read.ok && read.received == kImageBlockSize;
        if (taken) {
            std::copy(buffer.begin(), buffer.end(), area.begin());
        }
    }
    if (taken) {
        link.Pauses().Sleep(kSettingsBlockPause);
    }
    return taken;
}

bool WriteKeyMatrixBlock(DeviceLink& link, const DeviceImage& image)
{
    BlockBuffer buffer = CopyOf(image.KeyMatrix());
    CommandReport command =
        CommandReport::Make(kCommandWriteKeyMatrix, image.bytes[kImageProfileNumber], kCommandBlockBytes);
    const bool taken = TransferBlock(link, command, buffer).ok;
    if (taken) {
        link.Pauses().Sleep(kKeyMatrixPause);
    }
    return taken;
}

bool WriteMacroBlocks(DeviceLink& link, const DeviceImage& image)
{
    for (std::uint8_t number = 1; number <= kImageMacroCount; ++number) {
        BlockBuffer buffer = CopyOf(image.MacroBuffer(number));
        CommandReport command = CommandReport::Make(kCommandWriteMacro, number, kCommandBlockBytes);
        if (!TransferBlock(link, command, buffer).ok) {
            return false;
        }
        link.Pauses().Sleep(kMacroBlockPause);
    }
    return true;
}

} // namespace veldrane
