#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/text/Language.h"

namespace veldrane {

// The fixed texts and titles of message boxes and balloons that are the same in every language.
// Boxes without a title of their own here are titled kApplicationTitle (text/Language.h).

// Balloon titles at the tray icon.
inline constexpr std::string_view kInfoTitle = "Info";
inline constexpr std::string_view kWarningTitle = "Warning"; // also the pointer-settings and assignment warnings

// The balloon and warning captions in the interface language ("Info" and "Warning" in English).
struct MessageCaptions
{
    std::string_view info;
    std::string_view warning;
};
const MessageCaptions& MessageCaptionsFor(Language language);

// The buttons of message boxes and questions in the interface language; OK is worded as the
// dialogs' own OK buttons.
struct MessageBoxButtons
{
    std::string_view ok;
    std::string_view yes;
    std::string_view no;
};
const MessageBoxButtons& MessageBoxButtonsFor(Language language);

// Configuration files, import and export.
inline constexpr std::string_view kConfigFileNotExist = "Config file is not exist.";
inline constexpr std::string_view kFileOpenErrorFormat = "Error Code is: %d \n"; // FormatWithErrorCode
inline constexpr std::string_view kFileOpenErrorTitle = "NULL ==fp ";

// Applying the pointer settings, titled kWarningTitle, one per call in call order.
inline constexpr std::string_view kSetMouseFailed = "SETMOUSE failed.";
inline constexpr std::string_view kSetMouseSpeedFailed = "SETMOUSESPEED failed.";
inline constexpr std::string_view kSetWheelScrollLinesFailed = "SETWHEELSCROLLLINES failed.";
inline constexpr std::string_view kSetDoubleClickTimeFailed = "SPI_SETDOUBLECLICKTIME failed.";

// A skinned dialog whose background picture is missing shows kImageError under a title that names
// the dialog.
inline constexpr std::string_view kImageError = "error";
inline constexpr std::string_view kHelpDialogImageFailed = "Help Dialog Load background image failed!!!";
inline constexpr std::string_view kConfigDialogImageFailed = "Config Dialog Load background image failed!!!";
inline constexpr std::string_view kSingleKeyDialogImageFailed = "Single Key Dialog Load background image failed!!!";
inline constexpr std::string_view kComboDialogImageFailed = "Combo Dialog Load background image failed!!!";
inline constexpr std::string_view kMacroManagerDialogImageFailed =
    "Macro Manager Dialog Load background image failed!!!";
inline constexpr std::string_view kMacroKeyDialogImageFailed = "Macro Key Dialog Load background image failed!!!";

// Refusals of macro names in the macro manager.
inline constexpr std::string_view kMacroNameBlank = "Macro name is blank";
inline constexpr std::string_view kMacroNameExists = "Macro name already exists";

// What a message box or balloon says about itself, for the icon it carries.
enum class MessageKind
{
    Information,
    Warning,
    Error,
};

// The kind of a message by its title and text: a "Warning" caption in any of the languages warns;
// the "error" of a missing picture, a missing configuration file, a failure that names itself
// ("... failed", "error code") or a file that could not be opened reports an error;
// everything else informs.
MessageKind KindOfMessage(std::string_view text, std::string_view title);

// The text of one of the "...%d..." formats above with the error code written in decimal in place
// of the first "%d"; a format without "%d" comes back unchanged.
std::string FormatWithErrorCode(std::string_view format, std::int64_t errorCode);

} // namespace veldrane
