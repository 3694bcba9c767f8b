#include "adapters/linux/DataLocations.h"

#include <cstdlib>
#include <system_error>

#ifndef VELDRANE_SHARE_FROM_BIN
#define VELDRANE_SHARE_FROM_BIN "../share/veldrane"
#endif

namespace veldrane {

namespace {

constexpr char kApplicationFolder[] = "veldrane";
constexpr char kSimulatedFolder[] = "simulated";

// A variable of the base-directory convention counts only when it holds an absolute path.
std::filesystem::path AbsoluteFrom(const char* value)
{
    if (value == nullptr || *value == '\0') {
        return {};
    }
    std::filesystem::path path(value);
    return path.is_absolute() ? path : std::filesystem::path();
}

} // namespace

DataLocations DataLocations::Resolve(const std::filesystem::path& executableDirectory, const std::string& dataDirOption,
                                     bool simulate, const std::function<const char*(const char*)>& environment)
{
    DataLocations locations;
    locations.installed = (executableDirectory / VELDRANE_SHARE_FROM_BIN).lexically_normal();
    if (!dataDirOption.empty()) {
        locations.user = std::filesystem::absolute(dataDirOption).lexically_normal();
        return locations;
    }
    std::filesystem::path base = AbsoluteFrom(environment("XDG_DATA_HOME"));
    if (base.empty()) {
        const std::filesystem::path home = AbsoluteFrom(environment("HOME"));
        if (home.empty()) {
            return locations;
        }
        base = home / ".local" / "share";
    }
    locations.user = base / kApplicationFolder;
    if (simulate) {
        locations.user /= kSimulatedFolder;
    }
    return locations;
}

std::filesystem::path DataLocations::ExecutableDirectory()
{
    std::error_code error;
    const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::current_path(error) : executable.parent_path();
}

} // namespace veldrane
