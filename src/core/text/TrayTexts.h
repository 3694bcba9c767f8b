#pragma once

#include <string_view>

#include "core/text/Language.h"

namespace veldrane {

// The tray menu's first item, also what a click on the icon does: shows the main window.
std::string_view OpenWindowText(Language language);

// The tray menu's check item that starts the program with the desktop session.
std::string_view StartWithDesktopText(Language language);

// The tray menu's submenu of the named profiles ("Profiles") and its neighbours that step through
// the list ("Next profile", "Previous profile").
std::string_view ProfilesMenuText(Language language);
std::string_view NextProfileText(Language language);
std::string_view PreviousProfileText(Language language);

// The notice after the mouse took another profile: this text, then the profile's name.
std::string_view SwitchToProfileText(Language language);

// Why a switch of profile was refused: the window holds edits that were neither saved nor
// cancelled.
std::string_view UnsavedEditsText(Language language);

// A second start whose data folder is not the one the running program uses.
std::string_view AlreadyRunningElsewhereText(Language language);

} // namespace veldrane
