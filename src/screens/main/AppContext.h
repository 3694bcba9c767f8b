#pragma once

#include <filesystem>

#include "core/text/Language.h"

namespace veldrane {

class Clock;
class ConfigFiles;
class DeviceNoticeTarget;
class MessageSink;
class MouseConnection;
class PointerSettingsApplier;
class Shell;
class SkinImageSizes;
struct MainWindowTexts;
struct ProfileRecords;

// The process-wide objects the main window works on, owned by the application object and
// handed over by reference so that tests can make their own.
struct AppContext
{
    ProfileRecords& records;
    ConfigFiles& files; // also the button labels, the skin settings and the user's data directory
    MouseConnection& mouse;
    MessageSink& messages;
    const Clock& clock;
    Shell& shell;
    SkinImageSizes& images; // sizes of the skin's pictures
    PointerSettingsApplier& pointerSettings;
    DeviceNoticeTarget& notices;
    Language language;
    const MainWindowTexts& texts;
    std::filesystem::path skinDirectory;
    // The installed, read-only data: the factory files, the skins, the updater.
    std::filesystem::path installedDirectory{};
};

// The skin directory: the executable's directory, then "Skins", then the folder that key "Path"
// of section "Skins" of the label file names. The folder name stays inside "Skins": leading
// separators are dropped, so a name like "/Default" does not lead away from the program's files.
std::filesystem::path SkinDirectoryOf(const std::filesystem::path& executableDirectory, std::string_view skinPath);

// The skin the program paints with: the user's own folder of that name in the data directory
// where there is one, the installed skin otherwise.
std::filesystem::path ChooseSkinDirectory(const std::filesystem::path& dataDirectory,
                                          const std::filesystem::path& installedDirectory, std::string_view skinPath);

} // namespace veldrane
