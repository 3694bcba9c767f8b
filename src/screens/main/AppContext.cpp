#include "screens/main/AppContext.h"

#include <system_error>

namespace veldrane {

std::filesystem::path SkinDirectoryOf(const std::filesystem::path& executableDirectory, std::string_view skinPath)
{
    while (!skinPath.empty() && (skinPath.front() == '/' || skinPath.front() == '\\')) {
        skinPath.remove_prefix(1);
    }
    return executableDirectory / "Skins" / std::filesystem::path(skinPath);
}

std::filesystem::path ChooseSkinDirectory(const std::filesystem::path& dataDirectory,
                                          const std::filesystem::path& installedDirectory, std::string_view skinPath)
{
    const std::filesystem::path own = SkinDirectoryOf(dataDirectory, skinPath);
    std::error_code error;
    return std::filesystem::is_directory(own, error) ? own : SkinDirectoryOf(installedDirectory, skinPath);
}

} // namespace veldrane
