#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/ini/FileError.h"
#include "core/profile/ConfigFiles.h"
#include "core/profile/ProfileRecord.h"
#include "core/text/Language.h"

namespace veldrane {

class ProfileFileDialog;
class TextCodec;
struct ProfileRecord;

// What an import changed to make the file's values those of the window's controls: the groups of
// settings brought into range, and the buttons given their factory function and label.
struct ImportRepairs
{
    std::vector<SettingGroup> settings;
    std::vector<std::size_t> buttons;

    bool Any() const { return !settings.empty() || !buttons.empty(); }
};

// How an import or export ended, for the screen to tell the user: whether something was imported
// (or written), and every file that failed, in the order it failed. An import of a file that is
// not one configuration file long fails with FileError::WrongProfileSize and the size the file
// has; an export under a name of one of the program's own files writes nothing and names it.
struct [[nodiscard]] TransferOutcome
{
    bool changed = false;
    std::vector<FileOutcome> failures;
    std::uintmax_t wrongSize = 0;
    std::string refusedName;
};

// Profile import and export: a profile travels as a ".bin" file of the configuration file's form
// (flag byte 1 and the ProfileRecord) with an ".ini" label file beside it under the same name
// ("Item1" to "Item12" of the interface language's section).
class ProfileTransfer
{
public:
    ProfileTransfer(ConfigFiles& files, const TextCodec& codec, Language language);

    // ImportProfile: asks for a file and reads it into `record` and the button labels. The
    // values stay in memory until "Save". Changed when something was imported.
    TransferOutcome ImportProfile(ProfileFileDialog& dialog, ProfileRecord& record);
    // ExportProfile: asks for a file (proposing `profileName` with ".bin" beside the executable)
    // and writes `record` and the labels there and, under the same name, beside the executable.
    TransferOutcome ExportProfile(ProfileFileDialog& dialog, const ProfileRecord& record, std::string_view profileName);

    // Import into a profile that is not the current one: asks for a file and writes what it holds
    // into that profile's files, `configFile` and the labels of `labelFile`. The current record
    // and labels stay as they are. Changed when the profile was changed.
    TransferOutcome ImportInto(ProfileFileDialog& dialog, const std::filesystem::path& configFile,
                               const std::filesystem::path& labelFile);
    // Export of a profile as its files hold it (`configFile`, the labels of `labelFile`), whatever
    // the current record holds. A stored profile that is missing or of another size fails with
    // FileError::FileMissing.
    TransferOutcome ExportStored(ProfileFileDialog& dialog, const std::filesystem::path& configFile,
                                 const std::filesystem::path& labelFile, std::string_view profileName);

    // The two operations after the dialog, with the path the user chose.
    //
    // A name without ".bin" is not a profile file and is ignored. A file that is not exactly one
    // configuration file long is refused, with its name and size in the outcome, and nothing
    // changes, labels included (FileError::WrongProfileSize). The skin and layout keys ("Skins", "Point") are taken
    // from the label file only where it has them: an exported label file holds only the labels. Every value is brought
    // into what the controls produce (LastImportRepairs says what changed).
    TransferOutcome ImportFrom(const std::filesystem::path& chosen, ProfileRecord& record);
    // What the last import that read a file changed; empty after one that changed nothing.
    const ImportRepairs& LastImportRepairs() const { return m_lastRepairs; }
    // ".bin" is added to a file name without it. A name that is, or whose label file would be,
    // one of the program's own files ("config.bin", "config0.bin" to "config5.bin", "str.ini",
    // "str0.ini" to "str5.ini", "record.ini") is refused (refusedName) and nothing is written.
    // A file that cannot be written is among the failures and the others are still written.
    TransferOutcome ExportTo(const std::filesystem::path& chosen, const ProfileRecord& record);

    // The label file beside a profile file: the first ".bin" of its file name becomes ".ini".
    static std::filesystem::path LabelFileBeside(const std::filesystem::path& profileFile);
    // Whether a file name (without folder) names one of the program's own files; case does not
    // count, as on the file systems of Windows.
    static bool IsProgramFileName(std::string_view fileName);

private:
    // The file an import chose, brought into what the controls produce (LastImportRepairs); nothing
    // when it was refused, and why in `outcome`.
    std::optional<ConfigFileContents> ReadImport(const std::filesystem::path& chosen, TransferOutcome& outcome);
    TransferOutcome ExportTo(const std::filesystem::path& chosen, const ProfileRecord& record,
                             const ConfigFiles::Labels& labels);

    ConfigFiles& m_files;
    const TextCodec& m_codec;
    Language m_language;
    ImportRepairs m_lastRepairs;
};

} // namespace veldrane
