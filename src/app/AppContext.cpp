#include "app/AppContext.h"

namespace veldrane {

std::filesystem::path SkinDirectoryOf(const std::filesystem::path& executableDirectory, std::string_view skinPath)
{
    while (!skinPath.empty() && (skinPath.front() == '/' || skinPath.front() == '\\')) {
        skinPath.remove_prefix(1);
    }
    return executableDirectory / "Skins" / std::filesystem::path(skinPath);
}

} // namespace veldrane
