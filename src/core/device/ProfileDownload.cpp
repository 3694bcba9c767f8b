#include "core/device/ProfileDownload.h"

#include <algorithm>

#include "core/buttons/KeyMatrixBlock.h"
#include "core/device/CommandReport.h"
#include "core/device/CommandSet.h"
#include "core/device/DeviceImage.h"
#include "core/device/DeviceLink.h"
#include "core/device/HidTransport.h"
#include "core/device/SettingsBlock.h"
#include "core/profile/ConfigFiles.h"
#include "core/profile/ProfileRecord.h"
#include "ports/Sleeper.h"

namespace veldrane {

DownloadResult WriteProfileToMouse(DeviceLink& link, DeviceImage& image, ProfileRecord& current)
{
    current.deviceProfile = kDownloadedProfile;
    image.bytes[kImageProfileNumber] = kDownloadedProfile;

    CommandReport select = CommandReport::Make(kCommandSelectProfile, kDownloadedProfile);
    if (DeviceOutcome sent = SendCommand(link, select); !sent.Done()) {
        return {sent};
    }
    link.Pauses().Sleep(kDownloadCommandPause);

    image.bytes[kImageReportRate] = current.reportRate;
    CommandReport reportRate =
        CommandReport::Make(kCommandReportRate, image.bytes[kImageProfileNumber], current.reportRate);
    if (DeviceOutcome sent = SendCommand(link, reportRate); !sent.Done()) {
        return {sent};
    }
    link.Pauses().Sleep(kDownloadCommandPause);

    image.bytes[kImageSideButtonLight] = current.sideButtonLight;
    CommandReport sideButtonLight = CommandReport::Make(kCommandSideButtonLight, current.sideButtonLight);
    if (DeviceOutcome sent = SendCommand(link, sideButtonLight); !sent.Done()) {
        return {sent};
    }

    // The block goes back with the mouse's own values in every byte the system does not manage,
    // so it must have come whole.
    if (DeviceOutcome read = TransferSettingsBlock(link, image, BlockDirection::Read); !read.Done()) {
        return {read};
    }
    PatchSettingsBlock(current, image.SettingsArea(0));
    if (DeviceOutcome sent = TransferSettingsBlock(link, image, BlockDirection::Write); !sent.Done()) {
        return {sent};
    }

    const KeyMatrixBlock keyMatrix = BuildKeyMatrixBlock(current);
    std::copy(keyMatrix.begin(), keyMatrix.end(), image.KeyMatrix().begin());
    if (DeviceOutcome sent = WriteKeyMatrixBlock(link, image); !sent.Done()) {
        return {sent};
    }

    for (std::size_t number = 1; number <= kImageMacroCount; ++number) {
        const auto buffer = current.MacroBuffer(number - 1);
        std::copy(buffer.begin(), buffer.end(), image.MacroBuffer(number).begin());
    }
    return {WriteMacroBlocks(link, image)};
}

DownloadResult DownloadProfile(DeviceLink& link, DeviceImage& image, ProfileRecord& current, ConfigFiles& files)
{
    current.deviceProfile = kDownloadedProfile;
    DownloadResult result;
    result.stored = files.SaveConfig(current);
    if (!result.stored.Done()) {
        return result;
    }
    result.labelsStored = files.SaveLabels(files.InterfaceLanguage()); // the settings are kept all the same
    result.sent = WriteProfileToMouse(link, image, current).sent;
    return result;
}

} // namespace veldrane
