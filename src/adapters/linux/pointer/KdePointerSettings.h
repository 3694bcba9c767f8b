#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "adapters/linux/pointer/KdeConfigFile.h"
#include "ports/PointerSettingsBackend.h"

namespace veldrane {

// What of a Plasma session the adapter uses when it is there.
struct KdeTools
{
    // kwriteconfig6 or kwriteconfig5: writes entries with KConfig's own locking and escapes.
    // Without it the adapter edits the files itself.
    std::optional<std::filesystem::path> kwriteconfig;
    // The D-Bus address of the session bus, on which a change is announced to the running
    // session. Empty without one: the files change and the session reads them at the next login.
    std::string sessionBus;
};

// KDE Plasma's pointer settings, kept in its configuration files:
//
//   kcminputrc [Mouse]                   X11LibInputXAccelProfileFlat  acceleration off (X11, libinput)
//                                        XLbInptPointerAcceleration    speed -1..1 (X11, libinput)
//                                        Acceleration, Threshold       acceleration factor and threshold
//                                                                      (X11, evdev): 2 and 4 on, 1 off
//   kcminputrc [Libinput][vendor][product][name]
//                                        PointerAccelerationProfile    1 flat, 2 adaptive (Wayland)
//                                        PointerAcceleration           speed -1..1 (Wayland)
//   kdeglobals [KDE]                     WheelScrollLines              lines per notch
//                                        DoubleClickInterval           ms
//
// Plasma on Wayland keeps one [Libinput] group per device that its settings page has seen; every
// such group of a device that is not a touchpad is updated, and a device without one keeps its
// defaults. Each change is announced with KGlobalSettings' notifyChange(SettingsChanged = 3,
// SETTINGS_MOUSE = 0) signal, on which KWin re-reads the devices' settings and Plasma's Qt
// integration the wheel and double-click values. Plasma has no "one screen per notch" setting.
class KdePointerSettings : public PointerSettingsBackend
{
public:
    // configDirectory: where kcminputrc and kdeglobals live ($XDG_CONFIG_HOME or ~/.config).
    KdePointerSettings(std::filesystem::path configDirectory, KdeTools tools);

    PointerSettingResult SetMouse(const MouseAcceleration& acceleration) override;
    PointerSettingResult SetMouseSpeed(int speed) override;
    PointerSettingResult SetWheelScrollLines(std::uint32_t lines) override;
    PointerSettingResult SetDoubleClickTime(int milliseconds) override;

private:
    struct Entry
    {
        KdeConfigGroup group;
        std::string key;
        std::string value;
    };

    // The [Libinput] groups of kcminputrc that belong to pointer devices other than touchpads.
    std::vector<KdeConfigGroup> MouseDeviceGroups() const;
    PointerSettingResult Write(const std::string& fileName, const std::vector<Entry>& entries) const;
    bool WriteWithTool(const std::filesystem::path& file, const std::vector<Entry>& entries) const;
    void AnnounceChange() const;

    std::filesystem::path m_configDirectory;
    KdeTools m_tools;
};

} // namespace veldrane
