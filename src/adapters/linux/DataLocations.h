#pragma once

#include <filesystem>
#include <functional>
#include <string>

namespace veldrane {

// Where the program's files are: the installed data it only reads, and the user's data
// directory it reads and writes.
struct DataLocations
{
    // The factory files, the skin and the updater: "../share/veldrane" from the folder of the
    // executable, in an installation and in the build tree alike.
    std::filesystem::path installed;
    // The user's files: the folder given on the command line; otherwise
    // $XDG_DATA_HOME/veldrane (~/.local/share/veldrane), and its "simulated" folder for the
    // simulated mouse, so that trying the program leaves a real mouse's profiles alone. Empty
    // when neither a folder was given nor a home is known.
    std::filesystem::path user;

    // `environment` looks up a variable (nullptr when unset); std::getenv by default.
    static DataLocations Resolve(const std::filesystem::path& executableDirectory, const std::string& dataDirOption,
                                 bool simulate,
                                 const std::function<const char*(const char*)>& environment = std::getenv);
    // The folder of the running executable.
    static std::filesystem::path ExecutableDirectory();
};

} // namespace veldrane
