// The backends of Linux: hidapi and udev for the mouse, iconv, the desktops' pointer settings,
// X11 for the focused window, the XDG autostart folder and data folders.
#include <cstdlib>

#include "adapters/Backends.h"
#include "adapters/linux/Autostart.h"
#include "adapters/linux/DataLocations.h"
#include "adapters/linux/HidAccess.h"
#include "adapters/linux/HidapiBackend.h"
#include "adapters/linux/IconvTextCodec.h"
#include "adapters/linux/SteadyClock.h"
#include "adapters/linux/UdevHotplugSource.h"
#include "adapters/linux/X11FocusSource.h"
#include "adapters/linux/pointer/DesktopPointerSettings.h"

namespace veldrane {

DataFolders FindDataFolders(const BackendOptions& options)
{
    const DataLocations locations =
        DataLocations::Resolve(options.executableDirectory, options.dataDir, options.simulate);
    return {locations.installed, locations.user};
}

Backends MakeBackends(const BackendOptions& options)
{
    Backends backends;
    backends.folders = FindDataFolders(options);
    backends.clock = std::make_unique<SteadyClock>();
    backends.sleeper = std::make_unique<SteadyClock>();
    backends.codec = std::make_unique<IconvTextCodec>();
    if (!options.simulate) {
        backends.hid = std::make_unique<HidapiBackend>();
        backends.hotplug = std::make_unique<UdevHotplugSource>();
    }
    backends.deniedMouseNode = [](HidBackend& hid) { return FirstDeniedMouseNode(hid.Enumerate()); };
    backends.desktopPointer = std::make_unique<DesktopPointerSettings>(DesktopEnvironment::FromProcess());
    // Under Wayland an X11 connection (Xwayland) would see only its own windows.
    if (const char* wayland = std::getenv("WAYLAND_DISPLAY"); wayland == nullptr || *wayland == '\0') {
        backends.focus = std::make_unique<X11FocusSource>();
    }
    backends.programNameOf = &ExecutableNameOf;
    backends.autostart = std::make_unique<Autostart>();
    return backends;
}

} // namespace veldrane
