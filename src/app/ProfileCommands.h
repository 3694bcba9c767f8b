#pragma once

#include "text/Language.h"

namespace veldrane {

class ConfigFiles;
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
    ProfileCommands(ProfileRecords& records, ConfigFiles& files, MouseConnection& mouse,
                    PointerSettingsApplier& pointerSettings, Language language);

    // "Save": while the mouse is connected, downloads the current record (which saves its files),
    // takes it as the new backup and applies the pointer settings. Without the mouse nothing at
    // all happens and false comes back.
    bool ApplyProfile(ProfileCommandsHost& host);

    // "Reset": the factory settings with the current `deviceProfile` and macros, the factory
    // labels; downloaded, saved and taken as the backup only while the mouse is connected.
    void ResetProfile(ProfileCommandsHost& host);

    // A profile that was never saved (first-run flag 0) gets the default labels in the interface
    // language, written to its label file.
    void FillFirstRunLabels();

private:
    ProfileRecords& m_records;
    ConfigFiles& m_files;
    MouseConnection& m_mouse;
    PointerSettingsApplier& m_pointerSettings;
    Language m_language;
};

} // namespace veldrane
