#include "platform/linux/HidAccess.h"

#include <unistd.h>

#include "device/MouseSearch.h"
#include "platform/HidBackend.h"

namespace veldrane {

std::string FirstDeniedMouseNode(const std::vector<HidInterfaceInfo>& interfaces)
{
    for (const HidInterfaceInfo& info : interfaces) {
        if (ClassifyInterface(info) != MouseInterfaceRole::NotTheMouse && access(info.path.c_str(), R_OK | W_OK) != 0) {
            return info.path;
        }
    }
    return {};
}

} // namespace veldrane
