#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/ini/FileError.h"
#include "core/profile/ProfileSlotMover.h"
#include "core/text/Language.h"

namespace veldrane {

class ConfigFiles;
class TextCodec;
struct ProfileManagerTexts;

// What the profile manager tells the main window (message 0xB03, the number is its first
// parameter): run the import or the export of the selected profile, or the manager has closed.
enum class ProfileManagerNotice
{
    Import = 0,
    Export = 1,
    Closed = 2,
};

struct ProfileManagerContext
{
    ConfigFiles& files; // "str.ini" and the profile files beside the executable; currentProfileIndex
    const TextCodec& codec;
    Language language;
};

// How a store of the list ended, for the screen to tell the user: a failure (nothing was changed)
// and, after it, a file that could not be put back (the journal stays for the next start); or,
// when stored, a journal that could not be removed and the names whose rules in "apps.ini" went
// with them.
struct [[nodiscard]] ProfileListStore
{
    FileOutcome failure;
    FileOutcome undoFailure;
    FileOutcome commitFailure;
    std::vector<std::string> droppedRules;

    bool Stored() const { return failure.Done(); }
};

// The rules of the profile manager's list (CConfigDialog): up to six names, the selection, the
// remembered position of the rename gesture, the naming of new names and copies, and the close
// that stores the list in section "Profile" of "str.ini". While the manager is open the list
// exists only here.
//
// Each name keeps its own files: storing the list moves the profile files to the names' new
// positions (a copy gets a copy of its source's files, a new name and a freed position the
// factory ones), so deleting a name never hands its neighbours' settings to the others.
//
// The list is never empty: the only name cannot be deleted, and a list read empty or broken
// shows PROFILE_0 on the files numbered 0. The manager follows the loaded profile (the one
// currentProfileIndex names when it opens, whose record the main window holds) through every
// edit, so that storing the list keeps currentProfileIndex on that profile's files until the
// close makes the selected profile the current one. The rules of "apps.ini" follow their
// profile's name in the same step, and go with a deleted name (the user is told which).
class ProfileManager
{
public:
    explicit ProfileManager(ProfileManagerContext context);

    const ProfileManagerTexts& Texts() const { return m_texts; }

    // LoadProfileList, when the dialog opens: the stored names, and the stored selected name
    // selected. A move of the files that was cut off is taken back first: how that ended.
    [[nodiscard]] ProfileSlotMover::Recovery LoadProfileList();

    std::vector<std::string> Names() const;
    std::optional<std::size_t> Selected() const { return m_selected; }
    std::optional<std::size_t> RememberedPosition() const { return m_remembered; }
    // Whether the six-name limit has been reached.
    bool Full() const;
    // Where the loaded profile now stands in the list; none once its name was deleted.
    std::optional<std::size_t> LoadedPosition() const { return m_loaded; }
    // Where the files of the name at `position` are until the list is stored: a profile number,
    // or none for a name whose files are to be the factory ones.
    ProfileFileSource FilesOf(std::size_t position) const;

    // OnListClick: a selection change to `position` or a double click on it. The second such
    // gesture on the same position (or "Edit" after one) asks for the in-place editor over that
    // line: the result is the line to edit.
    std::optional<std::size_t> OnListClick(std::size_t position);
    // RenameProfile ("Edit"): the same gesture on the selected line.
    std::optional<std::size_t> RenameProfile();
    // The in-place editor's committed text for `line`: it replaces the name and selects it. A
    // text that is blank or could not be stored as a name keeps the old name.
    void CommitRename(std::size_t line, std::string_view text);

    // NewProfile: the "New" row. False with six names, where the user is warned "Profile numbers
    // up to 6."
    [[nodiscard]] bool NewProfile();
    // DeleteProfile, CopyProfile: the menu entries; nothing without a selection. The only name is
    // not deleted: false then, and the user is told "At least one profile must remain." A copy
    // beyond the sixth name is silently not made.
    [[nodiscard]] bool DeleteProfile();
    void CopyProfile();
    // LoadSelected, SaveSelected: whether an import or export of the selected profile can run;
    // false without a selection. Neither changes which profile is the current one.
    [[nodiscard]] bool LoadSelected();
    [[nodiscard]] bool SaveSelected();

    // Stores the list (when "str.ini" exists) with the loaded profile still the current one, so
    // that every name's files stand at its position: for an import into a profile that has none
    // there yet. Not Stored() when it could not be stored.
    ProfileListStore StoreKeepingCurrent();

    // CloseManager: stores the list when "str.ini" exists and makes the selected position (0
    // without a selection) currentProfileIndex. When the list cannot be stored with its files,
    // the names, files and currentProfileIndex stay as they were: not Stored() then, and the
    // manager stays open with the user's names.
    ProfileListStore CloseManager();

    // The name the "New" row would add; the rule on its own, for the tests and the view.
    static std::string NewProfileName(const std::vector<std::string>& names, std::string_view baseName);

private:
    struct Entry
    {
        std::string name;
        ProfileFileSource files; // where this name's files are until the list is stored
    };

    // Stores the list with `current` as the selected name and currentProfileIndex, and moves the
    // files; not Stored() when nothing was changed.
    ProfileListStore StoreList(std::size_t current);
    // The old and new name of every stored name that the list now holds under another name.
    std::vector<std::pair<std::string, std::string>> Renames() const;

    ProfileManagerContext m_context;
    const ProfileManagerTexts& m_texts;
    std::vector<Entry> m_entries;
    // How many names the list had when it was last read or stored: the positions whose files
    // belong to a name.
    std::size_t m_storedCount = 0;
    // The names as they were last read or stored, by position: the names that the rules of
    // "apps.ini" know, so that they follow a rename and go with a deleted name.
    std::vector<std::string> m_storedNames;
    std::optional<std::size_t> m_selected;
    std::optional<std::size_t> m_remembered;
    std::optional<std::size_t> m_loaded;
};

} // namespace veldrane
