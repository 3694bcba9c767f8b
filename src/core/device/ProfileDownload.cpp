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

namespace {

DownloadResult FailedAt(std::uint8_t command)
{
    return {command};
}

} // namespace

DownloadResult WriteProfileToMouse(DeviceLink& link, DeviceImage& image, ProfileRecord& current)
{
    current.deviceProfile = kDownloadedProfile;
    image.bytes[kImageProfileNumber] = kDownloadedProfile;

    CommandReport select = CommandReport::Make(kCommandSelectProfile, kDownloadedProfile);
    if (!SendCommand(link, select)) {
        return FailedAt(kCommandSelectProfile);
    }
    link.Pauses().Sleep(kDownloadCommandPause);

    image.bytes[kImageReportRate] = current.reportRate;
    CommandReport reportRate =
        CommandReport::Make(kCommandReportRate, image.bytes[kImageProfileNumber], current.reportRate);
    if (!SendCommand(link, reportRate)) {
        return FailedAt(kCommandReportRate);
    }
    link.Pauses().Sleep(kDownloadCommandPause);

    image.bytes[kImageSideButtonLight] = current.sideButtonLight;
    CommandReport sideButtonLight = CommandReport::Make(kCommandSideButtonLight, current.sideButtonLight);
    if (!SendCommand(link, sideButtonLight)) {
        return FailedAt(kCommandSideButtonLight);
    }

    // The block goes back with the mouse's own values in every byte the system does not manage,
    // so it must have come whole.
    if (!TransferSettingsBlock(link, image, BlockDirection::Read)) {
        return FailedAt(kCommandReadSettingsBlock);
    }
    PatchSettingsBlock(current, image.SettingsArea(0));
    if (!TransferSettingsBlock(link, image, BlockDirection::Write)) {
        return FailedAt(kCommandWriteSettingsBlock);
    }

    const KeyMatrixBlock keyMatrix = BuildKeyMatrixBlock(current);
    std::copy(keyMatrix.begin(), keyMatrix.end(), image.KeyMatrix().begin());
    if (!WriteKeyMatrixBlock(link, image)) {
        return FailedAt(kCommandWriteKeyMatrix);
    }

    for (std::size_t number = 1; number <= kImageMacroCount; ++number) {
        const auto buffer = current.MacroBuffer(number - 1);
        std::copy(buffer.begin(), buffer.end(), image.MacroBuffer(number).begin());
    }
    if (!WriteMacroBlocks(link, image)) {
        return FailedAt(kCommandWriteMacro);
    }
    return {};
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
    result.failedCommand = WriteProfileToMouse(link, image, current).failedCommand;
    return result;
}

} // namespace veldrane
