#pragma once

#include <string>
#include <string_view>

#include "core/text/Language.h"

namespace veldrane {

// What the user is told when the mouse's interfaces are there but this user may not open the
// device node `node` ("/dev/hidraw3"): the udev rule is missing.
std::string MouseNotPermittedText(Language language, std::string_view node);

} // namespace veldrane
