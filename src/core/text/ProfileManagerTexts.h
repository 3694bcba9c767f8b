#pragma once

#include <string_view>

#include "core/text/Language.h"

namespace veldrane {

// The texts of the profile manager (CConfigDialog): its title row, the "New" row, the entries of
// the list's context menu, the base of new names and the limit warning. The copy entry is also
// the word put before a copied name ("Copy PROFILE_0").
struct ProfileManagerTexts
{
    std::string_view title;        // "Configuration"
    std::string_view baseName;     // "PROFILE"
    std::string_view newRow;       // "New"
    std::string_view deleteEntry;  // "Delete"
    std::string_view editEntry;    // "Edit"
    std::string_view copyEntry;    // "Copy"
    std::string_view loadEntry;    // "Load"
    std::string_view saveEntry;    // "Save"
    std::string_view warningTitle; // "Warning"
    std::string_view limitMessage; // "Profile numbers up to 6."
    std::string_view lastProfile;  // refusal to delete the only name
    std::string_view dropChanges;  // question before unsaved changes give way to another profile
    // An import whose values were brought to those of the controls; the changed sections follow.
    std::string_view importChanged;
    // A readable (".json") profile that could not be imported or written; the reasons follow.
    std::string_view readableNotImported;
    std::string_view readableNotExported;
};

const ProfileManagerTexts& ProfileManagerTextsFor(Language language);

// The filter of the file dialogs of profile import and export, in the platform's
// "description|pattern||" form: the binary profile file and its readable (JSON) form.
inline constexpr std::string_view kProfileFileFilter = "Gaming Mouse Profile(*.bin *.json)|*.bin;*.json||";
// The extension that chooses the readable form.
inline constexpr std::string_view kReadableProfileExtension = ".json";

} // namespace veldrane
