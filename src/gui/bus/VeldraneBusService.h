#pragma once

#include <QDBusContext>
#include <QDBusMessage>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariantMap>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>

#include "core/device/DeviceNoticeHandler.h"
#include "core/text/Language.h"
#include "ports/FocusSource.h"
#include "screens/main/ProfileCommands.h"

namespace veldrane {

class ConfigFiles;
class MainWindowModel;
class MessageSink;
class MouseConnection;
class ProfileJsonTransfer;
struct ProfileRecords;

// The program at the desktop's command: the session bus name io.github.veldrane.Veldrane with the
// object /io/github/veldrane/Veldrane and its interface io.github.veldrane.Veldrane1
// (data/io.github.veldrane.Veldrane1.xml describes it; a change that breaks callers makes
// Veldrane2). Also the one place the tray's profile choices go through, with or without a bus.
//
// A switch, whoever asks, runs on the GUI thread as "Save" does, after the call that asked has
// returned to the event loop; the bus's caller gets its answer when the mouse has taken the
// profile. While one runs, every other switch is refused as busy: nothing queues behind it.
class VeldraneBusService : public QObject, protected QDBusContext, private MouseEventObserver
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "io.github.veldrane.Veldrane1")
    Q_PROPERTY(bool Connected READ Connected)
    Q_PROPERTY(bool Simulated READ Simulated)
    Q_PROPERTY(QStringList Profiles READ Profiles)
    Q_PROPERTY(int ActiveProfile READ ActiveProfile)
    Q_PROPERTY(bool Busy READ Busy)
    Q_PROPERTY(int CpiStage READ CpiStage)
    Q_PROPERTY(uint Cpi READ Cpi)
    Q_PROPERTY(uint ReportRateHz READ ReportRateHz)
    Q_PROPERTY(bool UnsavedEdits READ UnsavedEdits)

public:
    static constexpr char kServiceName[] = "io.github.veldrane.Veldrane";
    static constexpr char kObjectPath[] = "/io/github/veldrane/Veldrane";
    static constexpr char kInterfaceName[] = "io.github.veldrane.Veldrane1";

    struct Context
    {
        MainWindowModel& window;
        ProfileRecords& records;
        ConfigFiles& files;
        MouseConnection& mouse;
        MessageSink& messages;
        ProfileJsonTransfer& json;
        Language language;
        bool simulated;
        std::function<void()> showWindow;
    };

    explicit VeldraneBusService(Context context, QObject* parent = nullptr);

    // Takes the bus name and exports the object on the session bus. False, with a warning on
    // the standard error, without a session bus or when another program holds the name: the
    // tray's choices still work.
    bool Register();

    // The main window built anew in another interface language: the switches run through it and
    // the user is told in that language. The bus name stays.
    void TakeWindow(MainWindowModel& window, Language language);

    // The device-notice handler's observer, for the mouse's own switches.
    MouseEventObserver& Observer() { return *this; }

    // Reads every property again and announces those that changed (PropertiesChanged); a
    // download that the window ran for another profile than the last is announced as a switch
    // by "window".
    void Refresh();
    // Called after every Refresh that changed something: the tray follows.
    void SetChangeHandler(std::function<void()> handler) { m_changed = std::move(handler); }

    // A switch that the user chose outside the bus (the tray: reason "tray"); the user is told
    // of a refusal or a failure.
    void SwitchForUser(std::size_t index, const QString& reason);
    void StepForUser(int step, const QString& reason);

    // The properties.
    bool Connected() const;
    bool Simulated() const { return m_context.simulated; }
    QStringList Profiles() const;
    int ActiveProfile() const { return m_active; }
    bool Busy() const;
    int CpiStage() const { return m_stage; }
    uint Cpi() const { return m_cpi; }
    uint ReportRateHz() const;
    bool UnsavedEdits() const;

    // Where the focus reports of the desktop's KWin script or GNOME Shell extension go.
    void SetFocusHandler(std::function<void(const FocusReport&)> handler) { m_focusHandler = std::move(handler); }

    // The name of the active profile, for the tray's tip.
    QString ActiveProfileName() const;

public slots:
    // The methods of the interface.
    Q_SCRIPTABLE void SwitchProfile(int index);
    Q_SCRIPTABLE void SwitchProfileByName(const QString& name);
    Q_SCRIPTABLE void NextProfile();
    Q_SCRIPTABLE void PreviousProfile();
    Q_SCRIPTABLE void ShowWindow();
    Q_SCRIPTABLE QString ExportProfile(int index);
    Q_SCRIPTABLE void ImportProfile(int index, const QString& json);
    // The desktop's report of the focused window; only the same user's programs may call it.
    Q_SCRIPTABLE void FocusChanged(const QString& appId, const QString& windowClass, const QString& title, uint pid);

signals:
    Q_SCRIPTABLE void ProfileSwitched(int index, const QString& name, const QString& reason);
    Q_SCRIPTABLE void CpiStageChanged(int stage, uint cpi);
    Q_SCRIPTABLE void MacroKeyPressed(int number);

private:
    // MouseEventObserver.
    void CpiStageReported(std::uint8_t stage, unsigned cpi) override;
    void MacroKeyReported(std::uint8_t key) override;

    // A switch asked for on the bus: answered now when refused, later when the download ends.
    void SwitchForBus(std::optional<std::size_t> index);
    // Runs the switch once the event loop is back, then `done` with its outcome.
    void RunSwitch(std::size_t index, const QString& reason, std::function<void(const SwitchOutcome&)> done);
    void Announce(const SwitchOutcome& outcome, const QString& reason);
    QVariantMap Properties() const;
    void ReplyError(const QDBusMessage& call, const SwitchOutcome& outcome);

    Context m_context;
    MainWindowModel* m_window;
    ProfileCommands* m_commands;
    bool m_registered = false;
    bool m_pending = false; // a switch has been asked for and has not ended
    int m_active = 0;
    std::optional<std::size_t> m_lastSentSeen;
    int m_stage = 1;
    uint m_cpi = 0;
    QVariantMap m_announced;
    std::function<void(const FocusReport&)> m_focusHandler;
    std::function<void()> m_changed;
};

} // namespace veldrane
