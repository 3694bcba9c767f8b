#include "text/ProfileManagerTexts.h"

namespace veldrane {
namespace {

// The profile manager has English texts only; they serve every interface language.
constexpr ProfileManagerTexts kEnglish{
    .title = "Configuration",
    .baseName = "PROFILE",
    .newRow = "New",
    .deleteEntry = "Delete",
    .editEntry = "Edit",
    .copyEntry = "Copy",
    .loadEntry = "Load",
    .saveEntry = "Save",
    .warningTitle = "Warning",
    .limitMessage = "Profile numbers up to 6.",
};

} // namespace

const ProfileManagerTexts& ProfileManagerTextsFor([[maybe_unused]] Language language)
{
    return kEnglish;
}

} // namespace veldrane
