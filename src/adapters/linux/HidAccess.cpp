#include "adapters/linux/HidAccess.h"

#include <cerrno>

#include <unistd.h>

#include "core/device/MouseSearch.h"
#include "ports/HidBackend.h"

namespace veldrane {

std::string FirstDeniedMouseNode(const std::vector<HidInterfaceInfo>& interfaces)
{
    for (const HidInterfaceInfo& info : interfaces) {
        if (ClassifyInterface(info) == MouseInterfaceRole::NotTheMouse) {
            continue;
        }
        // A node that vanished meanwhile is an unplugged mouse, not a refused one.
        if (access(info.path.c_str(), R_OK | W_OK) != 0 && (errno == EACCES || errno == EPERM)) {
            return info.path;
        }
    }
    return {};
}

} // namespace veldrane
