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

DeviceOutcome SendModeByte(DeviceLink& link, const DeviceImage& image)
{
    CommandReport command = CommandReport::Make(kCommandModeByte, image.bytes[kImageModeByte]);
    return SendCommand(link, command);
}

DeviceOutcome ReadCurrentProfile(DeviceLink& link, DeviceImage& image)
{
    CommandReport command = CommandReport::Make(kCommandReadProfile);
    if (const DeviceOutcome answered = SendCommand(link, command); !answered.Done()) {
        return answered; // a lost answer says nothing of the profile: the image keeps its number
    }
    image.bytes[kImageProfileNumber] = command.bytes[kCommandParameter];
    if (image.bytes[kImageProfileNumber] >= kSettingsAreaCount) {
        return {DeviceError::WrongAnswer, kCommandReadProfile};
    }
    return {};
}

DeviceOutcome TransferSettingsBlock(DeviceLink& link, DeviceImage& image, BlockDirection direction)
{
    const auto area = image.SettingsArea(0);
    DeviceOutcome outcome;
    if (direction == BlockDirection::Write) {
        BlockBuffer buffer = CopyOf(area);
        CommandReport command = CommandReport::Make(kCommandWriteSettingsBlock, 0, kCommandBlockBytes);
        outcome = TransferBlock(link, command, buffer).outcome;
    } else {
        BlockBuffer buffer{};
        CommandReport command = CommandReport::Make(kCommandReadSettingsBlock, 0);
        const BlockTransfer read = TransferBlock(link, command, buffer);
        // A shorter block the mouse announced arrives whole all the same, but it is no settings block.
        const bool whole = read.outcome.Done() && read.received == kImageBlockSize;
        if (whole) {
            std::copy(buffer.begin(), buffer.end(), area.begin());
        } else {
            outcome = {DeviceError::ShortBlock, kCommandReadSettingsBlock};
        }
    }
    if (outcome.Done()) {
        link.Pauses().Sleep(kSettingsBlockPause);
    }
    return outcome;
}

DeviceOutcome WriteKeyMatrixBlock(DeviceLink& link, const DeviceImage& image)
{
    BlockBuffer buffer = CopyOf(image.KeyMatrix());
    CommandReport command =
        CommandReport::Make(kCommandWriteKeyMatrix, image.bytes[kImageProfileNumber], kCommandBlockBytes);
    const DeviceOutcome outcome = TransferBlock(link, command, buffer).outcome;
    if (outcome.Done()) {
        link.Pauses().Sleep(kKeyMatrixPause);
    }
    return outcome;
}

DeviceOutcome WriteMacroBlocks(DeviceLink& link, const DeviceImage& image)
{
    for (std::uint8_t number = 1; number <= kImageMacroCount; ++number) {
        BlockBuffer buffer = CopyOf(image.MacroBuffer(number));
        CommandReport command = CommandReport::Make(kCommandWriteMacro, number, kCommandBlockBytes);
        if (const DeviceOutcome outcome = TransferBlock(link, command, buffer).outcome; !outcome.Done()) {
            return outcome;
        }
        link.Pauses().Sleep(kMacroBlockPause);
    }
    return {};
}

} // namespace veldrane
