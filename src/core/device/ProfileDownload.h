#pragma once

#include <chrono>
#include <cstdint>

#include "core/device/DeviceError.h"
#include "core/ini/FileError.h"

namespace veldrane {

class ConfigFiles;
class DeviceLink;
struct DeviceImage;
struct ProfileRecord;

// The download always writes profile 0 of the mouse; the record it sends says so in deviceProfile.
inline constexpr std::uint8_t kDownloadedProfile = 0;

// The pause after each of the small commands 0x02 and 0x03 of a download.
inline constexpr std::chrono::milliseconds kDownloadCommandPause{10};
// Every pause a download makes, end to end: 10 + 10 + 10 + 50 + 42 + 12 x 60.
inline constexpr std::chrono::milliseconds kDownloadPauseTotal{842};

// How a download ended: `sent` names the first exchange that failed, if one did.
struct [[nodiscard]] DownloadResult
{
    DeviceOutcome sent{};
    // DownloadProfile: why the configuration file could not be written, so that nothing was sent;
    // and why the label file could not be (the settings were still stored and sent).
    FileOutcome stored{};
    FileOutcome labelsStored{};

    bool Taken() const { return stored.Done() && sent.Done(); }
};

// Steps 1 to 9 of a download: sends `current` to the mouse through the image, in this order:
// 0x02 0 (10 ms), 0x03 with reportRate (10 ms), 0x05 with sideButtonLight, the settings block
// read back (0x8C, 10 ms), patched and written (0x0C, 10 ms), the KeyMatrixBlock (0x0D, 2 ms) and
// the twelve MacroBuffers (0x0F 1 to 12, 20 ms each). Sets deviceProfile and image byte 0 to 0.
// Stops at the first report the mouse does not take and sends nothing after it; the settings
// block goes out only when it was read back whole, since every byte the system does not manage
// is the mouse's own.
DownloadResult WriteProfileToMouse(DeviceLink& link, DeviceImage& image, ProfileRecord& current);

// The whole download: the profile's configuration file and the labels of its buttons are stored
// first (with deviceProfile 0, as the mouse gets it), then WriteProfileToMouse, so the user's
// settings are kept even when the mouse does not take them, and the mouse never holds settings
// that the files lack: when the configuration file cannot be written nothing is sent
// (`stored` says why, nothing in `sent`). Callers run it only while the connected flag is set.
DownloadResult DownloadProfile(DeviceLink& link, DeviceImage& image, ProfileRecord& current, ConfigFiles& files);

} // namespace veldrane
