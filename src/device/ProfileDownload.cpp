#include "device/ProfileDownload.h"

#include <algorithm>

#include "buttons/KeyMatrixBlock.h"
#include "device/CommandReport.h"
#include "device/CommandSet.h"
#include "device/DeviceImage.h"
#include "device/DeviceLink.h"
#include "device/HidTransport.h"
#include "device/SettingsBlock.h"
#include "platform/Sleeper.h"
#include "profile/ConfigFiles.h"
#include "profile/ProfileRecord.h"

namespace veldrane {

namespace {

// The download always writes profile 0 of the mouse.
constexpr std::uint8_t kDownloadedProfile = 0;

void Send(DeviceLink& link, CommandReport command)
{
    SendCommand(link, command);
}

} // namespace

void WriteProfileToMouse(DeviceLink& link, DeviceImage& image, ProfileRecord& current)
{
    current.deviceProfile = kDownloadedProfile;
    image.bytes[kImageProfileNumber] = kDownloadedProfile;

    Send(link, CommandReport::Make(kCommandSelectProfile, kDownloadedProfile));
    link.Pauses().Sleep(kDownloadCommandPause);

    image.bytes[kImageReportRate] = current.reportRate;
    Send(link, CommandReport::Make(kCommandReportRate, image.bytes[kImageProfileNumber], current.reportRate));
    link.Pauses().Sleep(kDownloadCommandPause);

    image.bytes[kImageSideButtonLight] = current.sideButtonLight;
    Send(link, CommandReport::Make(kCommandSideButtonLight, current.sideButtonLight));

    // The block goes back with the mouse's own values in every byte the system does not manage.
    TransferSettingsBlock(link, image, BlockDirection::Read);
    PatchSettingsBlock(current, image.SettingsArea(0));
    TransferSettingsBlock(link, image, BlockDirection::Write);

    const KeyMatrixBlock keyMatrix = BuildKeyMatrixBlock(current);
    std::copy(keyMatrix.begin(), keyMatrix.end(), image.KeyMatrix().begin());
    WriteKeyMatrixBlock(link, image);

    for (std::size_t number = 1; number <= kImageMacroCount; ++number) {
        const auto buffer = current.MacroBuffer(number - 1);
        std::copy(buffer.begin(), buffer.end(), image.MacroBuffer(number).begin());
    }
    WriteMacroBlocks(link, image);
}

void DownloadProfile(DeviceLink& link, DeviceImage& image, ProfileRecord& current, ConfigFiles& files)
{
    WriteProfileToMouse(link, image, current);
    files.SaveConfig(current);
    files.SaveLabels(files.language);
}

} // namespace veldrane
