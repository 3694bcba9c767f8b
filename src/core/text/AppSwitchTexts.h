#pragma once

#include <string_view>

#include "core/text/Language.h"

namespace veldrane {

// The tray menu's check item that switches the profile by the focused application.
std::string_view SwitchByApplicationText(Language language);

// Why switching by application cannot work in this session, with what would make it work: the
// tooltip of the disabled tray item and what `veldranectl doctor` says.
enum class FocusUnavailable
{
    GnomeExtensionOff, // GNOME on Wayland without the program's Shell extension enabled
    OtherWayland,      // a Wayland desktop that tells no program which window has the focus
    NoSession,         // neither X11 nor a supported Wayland desktop
};
std::string_view FocusUnavailableText(FocusUnavailable why, Language language);

// The note after storing the profile list dropped the rules of profiles that are gone: this
// text, then their names.
std::string_view AppRulesDroppedText(Language language);

// The profile manager's menu entry and its dialog of the applications that bring a profile.
struct AppRulesDialogTexts
{
    std::string_view menuEntry;    // "Applications..."
    std::string_view addNext;      // "Add the next window I click"
    std::string_view remove;       // "Remove"
    std::string_view useAsDefault; // "Use this profile when no rule matches"
};
const AppRulesDialogTexts& AppRulesDialogTextsFor(Language language);

} // namespace veldrane
