#pragma once

#include <string_view>

#include "core/text/Language.h"

namespace veldrane {

// The tray menu's first item, also what a click on the icon does: shows the main window.
std::string_view OpenWindowText(Language language);

// The tray menu's check item that starts the program with the desktop session.
std::string_view StartWithDesktopText(Language language);

} // namespace veldrane
