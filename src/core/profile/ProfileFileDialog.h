#pragma once

#include <filesystem>
#include <optional>

namespace veldrane {

// The platform's standard open and save dialogs for profile files, with the filter
// kProfileFileFilter (text/ProfileManagerTexts.h). Each returns the chosen full path, or nothing
// when the user cancels. `proposed` is the file name the dialog starts with.
class ProfileFileDialog
{
public:
    virtual ~ProfileFileDialog() = default;

    // The open dialog: only an existing file can be chosen.
    virtual std::optional<std::filesystem::path> AskOpenFile(const std::filesystem::path& proposed) = 0;
    // The save dialog: asks before an existing file is replaced.
    virtual std::optional<std::filesystem::path> AskSaveFile(const std::filesystem::path& proposed) = 0;
};

} // namespace veldrane
