#pragma once

#include <string>
#include <vector>

namespace veldrane {

struct HidInterfaceInfo;

// The device node of the first interface of the mouse among `interfaces` that this user may not
// open for reading and writing; empty when the user may open them all or the mouse is absent.
std::string FirstDeniedMouseNode(const std::vector<HidInterfaceInfo>& interfaces);

} // namespace veldrane
