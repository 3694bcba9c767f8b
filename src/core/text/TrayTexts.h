#pragma once

#include <string_view>

#include "core/text/Language.h"

namespace veldrane {

// The tray menu's check item that starts the program with the desktop session.
std::string_view StartWithDesktopText(Language language);

// A second start whose data folder is not the one the running program uses.
std::string_view AlreadyRunningElsewhereText(Language language);

} // namespace veldrane
