#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/text/Language.h"

namespace veldrane {

class ConfigFiles;
class MessageSink;
class MouseConnection;
class PointerSettingsApplier;
struct ProfileRecords;

// The timers of the main window that the commands start.
enum class WindowTimer
{
    ApplyLock = 1, // 2000 ms after "Save": further presses are ignored
};

// What the commands need of the window that runs them.
class ProfileCommandsHost
{
public:
    virtual ~ProfileCommandsHost() = default;

    // The wait cursor while a command runs (true), the arrow again once it has ended (false).
    virtual void SetWaitCursor(bool wait) = 0;
    // Back to the first page, redrawn from the record.
    virtual void ReturnToFirstPage() = 0;
};

// How a switch to another profile ended.
enum class SwitchResult
{
    Switched,      // loaded, and the mouse took it
    NotTaken,      // loaded and saved, but the mouse did not take every report
    NoMouse,       // the mouse is not connected: nothing changed
    Busy,          // a download or the profile manager is running: nothing changed
    NoSuchProfile, // no name at that position of the list
    UnsavedEdits,  // the window holds edits that are neither saved nor cancelled: nothing changed
    Failed,        // the profile's file could not be read or the list not stored: nothing changed
};

struct [[nodiscard]] SwitchOutcome
{
    SwitchResult result = SwitchResult::Failed;
    std::size_t index = 0; // the profile now loaded (Switched, NotTaken)
    std::string name;
    std::string reason; // for Failed: what went wrong, in words

    bool Loaded() const { return result == SwitchResult::Switched || result == SwitchResult::NotTaken; }
};

// "Save", "Reset", the first-run labels and the switch to another named profile: the operations
// on the whole profile.
class ProfileCommands
{
public:
    ProfileCommands(ProfileRecords& records, ConfigFiles& files, MouseConnection& mouse, MessageSink& messages,
                    PointerSettingsApplier& pointerSettings, Language language);

    // "Save": nothing happens (false) for a record that no profile file filled. Otherwise the
    // current record is saved into its files, taken as the new backup and the pointer settings
    // are applied. The files come first: when the configuration file cannot be written, the user
    // is told that nothing was sent, and nothing else happens. While the mouse is connected the
    // record then goes to it; without the mouse the user is told that the settings wait for the
    // next "Save". When the mouse did not take them the user is warned. True only when the mouse
    // took the settings.
    bool ApplyProfile(ProfileCommandsHost& host);

    // "Reset": the factory settings with the current `deviceProfile` and macros, the factory
    // labels; saved, downloaded and taken as the backup only while the mouse is connected, with
    // the same messages as "Save". Without the mouse the user is told that the factory settings
    // are shown but not saved.
    void ResetProfile(ProfileCommandsHost& host);

    // A profile that was never saved (first-run flag 0) gets the default labels in the interface
    // language, written to its label file.
    void FillFirstRunLabels();

    // The switch to the named profile at `index` of the list, the one operation behind the tray's
    // and the bus's profile choices: it becomes the selected profile ("CurProfileName"), its files
    // are loaded into the record and its labels, and it is downloaded as "Save" does (wait cursor,
    // the files stored, the backup taken, the pointer settings applied). Refused, with nothing
    // changed, without the mouse, while another download runs, or while the record holds edits
    // that were neither saved nor cancelled: they are never dropped nor stored unasked. Shows
    // no message: ReportSwitch does, once the caller has answered whoever asked.
    [[nodiscard]] SwitchOutcome SwitchProfile(ProfileCommandsHost& host, std::size_t index);
    // What the user is told of a switch they asked for in the window or the tray: the warning of
    // "Save" when the mouse did not take it, the mouse's absence, the unsaved edits.
    void ReportSwitch(const SwitchOutcome& outcome);

    // The names of the list in "str.ini", in list order.
    std::vector<std::string> ProfileNames() const;
    // The position of the name equal to `name` (the loader's rule: the last one equal with case).
    std::optional<std::size_t> ProfileIndexOf(std::string_view name) const;
    // Whether the current record differs from the backup in anything but `deviceProfile`, which
    // the mouse sets.
    bool HasUnsavedEdits() const;
    // The list position of the profile last downloaded into the mouse (by Save, Reset or a
    // switch); none before the first download.
    std::optional<std::size_t> LastSentProfile() const { return m_lastSent; }
    // The position `step` places after (or, negative, before) the selected profile, going round
    // the list; none when the list is empty.
    std::optional<std::size_t> StepProfile(int step) const;
    // Whether a download (Save, Reset, a switch) is running.
    bool Busy() const { return m_busy; }
    // Another window that owns the profile list (the profile manager) is open: switches are
    // refused as busy until it closes.
    void SetListOwnedElsewhere(bool owned) { m_listOwnedElsewhere = owned; }

private:
    // Tells the user when the mouse did not take the settings that the download saved.
    void WarnUnlessTaken(bool taken);
    // The current record's pointer settings to the desktop; a warning for each it refused.
    void ApplyPointerSettings();
    // Writes the current record and labels to the profile's files; false (the user told that
    // nothing was sent) when the configuration file could not be written.
    [[nodiscard]] bool StoreProfile();

    ProfileRecords& m_records;
    ConfigFiles& m_files;
    MouseConnection& m_mouse;
    MessageSink& m_messages;
    PointerSettingsApplier& m_pointerSettings;
    Language m_language;
    bool m_busy = false;
    std::optional<std::size_t> m_lastSent;
    bool m_listOwnedElsewhere = false;
};

} // namespace veldrane
