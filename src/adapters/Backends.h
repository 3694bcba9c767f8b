#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "ports/AutostartEntry.h"
#include "ports/Clock.h"
#include "ports/FocusSource.h"
#include "ports/HidBackend.h"
#include "ports/HotplugSource.h"
#include "ports/PointerSettingsBackend.h"
#include "ports/Sleeper.h"
#include "ports/TextCodec.h"

namespace veldrane {

// How the application was started, as far as the backends care.
struct BackendOptions
{
    std::filesystem::path executableDirectory;
    std::string dataDir; // --data-dir, empty when not given
    bool simulate = false;
};

// Where the program's files are: the installed data it only reads (the factory files, the skins),
// and the user's data folder it reads and writes (empty when the system names none).
struct DataFolders
{
    std::filesystem::path installed;
    std::filesystem::path user;
};

// What the operating system gives the application, each behind its port. Each system's adapter
// folder makes them with its own MakeBackends; the views know only this header.
struct Backends
{
    DataFolders folders;
    std::unique_ptr<Clock> clock;
    std::unique_ptr<Sleeper> sleeper;
    std::unique_ptr<TextCodec> codec;
    // The real mouse and its plugging; none while the simulated mouse stands in.
    std::unique_ptr<HidBackend> hid;
    std::unique_ptr<HotplugSource> hotplug;
    // The device node of the mouse that this user may not open, or empty; asked once the search
    // at start-up found no mouse it could open.
    std::function<std::string(HidBackend&)> deniedMouseNode;
    // The desktop's own pointer settings.
    std::unique_ptr<PointerSettingsBackend> desktopPointer;
    // The window that has the focus, where the session lets the program see it; none otherwise.
    std::unique_ptr<FocusSource> focus;
    // The name of a process's program (for the focused window's), empty when it is gone or unknown.
    std::function<std::string(std::uint32_t)> programNameOf;
    std::unique_ptr<AutostartEntry> autostart;
};

// The data folders alone, opening nothing: what main() needs before the toolkit starts.
DataFolders FindDataFolders(const BackendOptions& options);

// The backends of this system.
Backends MakeBackends(const BackendOptions& options);

} // namespace veldrane
