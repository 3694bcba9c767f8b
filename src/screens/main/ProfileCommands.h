#pragma once

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

// "Save", "Reset" and the first-run labels: the operations on the whole profile.
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

private:
    // Tells the user when the mouse did not take the settings that the download saved.
    void WarnUnlessTaken(bool taken);
    // Writes the current record and labels to the profile's files; false (the user told that
    // nothing was sent) when the configuration file could not be written.
    [[nodiscard]] bool StoreProfile();

    ProfileRecords& m_records;
    ConfigFiles& m_files;
    MouseConnection& m_mouse;
    MessageSink& m_messages;
    PointerSettingsApplier& m_pointerSettings;
    Language m_language;
};

} // namespace veldrane
