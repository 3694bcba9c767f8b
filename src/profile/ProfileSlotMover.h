#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace veldrane {

class TextCodec;

// Where the files of one list position come from when the list of names is stored: the files
// that a position had when the list was last stored (a name that stayed or moved, or the source
// of a copy), or nothing for a new name, which starts with the factory files.
using ProfileFileSource = std::optional<std::size_t>;

// Makes each profile's files ("config%d.bin", "str%d.ini") follow its name to its new list
// position, so that every name keeps its own settings and labels. The factory files are
// "config.bin" and the labels, "Skins" and "Point" of "str.ini" (what "Reset" brings back).
class ProfileSlotMover
{
public:
    ProfileSlotMover(std::filesystem::path directory, const TextCodec& codec);

    // Gives position p the files that sources[p] names, as they are now; the positions from
    // sources.size() up to storedCount, which deletes freed, get the factory files; the others
    // are left alone. A file that was missing at its source is missing at its new position.
    // Every file is replaced whole and atomically. When a file cannot be read or written, the
    // files already replaced are put back, so the old layout stays whole; the result is then the
    // error number of the failure, otherwise 0.
    int Move(std::span<const ProfileFileSource> sources, std::size_t storedCount);

    // Puts back every file the last Move replaced: for when the list that goes with the new
    // layout could not be stored.
    void Undo();

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
};

} // namespace veldrane
