#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "core/ini/FileError.h"

namespace veldrane {

class TextCodec;

// Where the files of one list position come from when the list of names is stored: the files
// that a position had when the list was last stored (a name that stayed or moved, or the source
// of a copy), or nothing for a new name, which starts with the factory files.
using ProfileFileSource = std::optional<std::size_t>;

// Makes each profile's files ("config%d.bin", "str%d.ini") follow its name to its new list
// position, so that every name keeps its own settings and labels. The factory files are
// "config.bin" and the labels, "Skins" and "Point" of "str.ini" (what "Reset" brings back).
//
// The moves and the list written after them are one recoverable step: before the first file is
// replaced, a journal beside the files ("profiles.journal", written atomically) keeps every
// profile file and "str.ini" as they were. Commit removes it once the list is stored; a journal
// found later means the step was cut off, and Recover puts every file back from it, so that each
// name has its own settings again whatever moment the program stopped at.
class ProfileSlotMover
{
public:
    static constexpr std::string_view kJournalName = "profiles.journal";

    ProfileSlotMover(std::filesystem::path directory, const TextCodec& codec);

    // How a recovery ended: nothing to say (empty error), a file that could not be put back (the
    // journal stays for another try at the next start), or a journal that cannot be read whole
    // (FileError::DamagedJournal): the files are left as they are and the journal is kept aside
    // under `keptAside`, so that no later start meets it again.
    struct [[nodiscard]] Recovery
    {
        std::error_code error;
        std::filesystem::path keptAside;
    };

    // Finishes a step that was cut off: every file the journal holds gets its old bytes back (or
    // is removed when it did not exist), then the journal goes.
    [[nodiscard]] static Recovery Recover(const std::filesystem::path& directory);

    // Other steps that change several files of the folder at once (a deleted macro and the
    // profiles whose buttons follow it) use the same journal: BeginStep keeps the files named
    // as they are now, EndStep removes the journal once every file is written, and after a
    // failure Recover puts them all back. BeginStep's error names the file it could not read,
    // or the journal it could not write.
    struct [[nodiscard]] StepError
    {
        std::error_code error;
        std::filesystem::path file;
    };
    [[nodiscard]] static StepError BeginStep(const std::filesystem::path& directory,
                                             std::span<const std::string> fileNames);
    [[nodiscard]] static std::error_code EndStep(const std::filesystem::path& directory);

    // Gives position p the files that sources[p] names, as they are now; the positions from
    // sources.size() up to storedCount, which deletes freed, get the factory files; the others
    // are left alone. A file that was missing at its source is missing at its new position.
    // Every file is replaced whole and atomically, after the journal. When a file cannot be read
    // or written, the files already replaced are put back, so the old layout stays whole; the
    // result then names the failure and its file. UndoFailure says whether that putting back
    // failed too.
    // `alongside` are other files of the folder that follow the names (the rules of "apps.ini"):
    // they are kept in the same journal and replaced with the profile files.
    struct AlongsideFile
    {
        std::string name;
        std::string bytes;
    };
    FileOutcome Move(std::span<const ProfileFileSource> sources, std::size_t storedCount,
                     std::span<const AlongsideFile> alongside = {});

    // The list that goes with the new layout is stored: the step is complete and its journal goes.
    // A failure when the journal could not be removed.
    FileOutcome Commit();

    // Puts back every file the last Move replaced: for when the list that goes with the new
    // layout could not be stored. A failure names a file that could not be put back (the journal
    // then stays, and the next Recover finishes the undo).
    FileOutcome Undo();
    const FileOutcome& UndoFailure() const { return m_undoFailure; }

private:
    // One file as it was before the move: its bytes, or nothing when it did not exist.
    struct Replaced
    {
        std::filesystem::path path;
        std::optional<std::string> before;
    };

    std::filesystem::path m_directory;
    const TextCodec& m_codec;
    std::vector<Replaced> m_replaced;
    FileOutcome m_undoFailure;
};

} // namespace veldrane
