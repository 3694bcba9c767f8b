#pragma once

#include <QIcon>
#include <QMenu>
#include <QObject>
#include <QSocketNotifier>
#include <QString>
#include <QStringList>
#include <QSystemTrayIcon>
#include <QTimer>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "adapters/Backends.h"
#include "adapters/qt/QtKeyNameSource.h"
#include "adapters/qt/QtPointerSettings.h"
#include "adapters/qt/QtShell.h"
#include "adapters/qt/TrayMessageSink.h"
#include "core/device/DeviceChangeHandler.h"
#include "core/device/DeviceImage.h"
#include "core/device/DeviceNotice.h"
#include "core/profile/ProfileRecord.h"
#include "core/text/Language.h"
#include "gui/AppOptions.h"
#include "gui/QtProfileFileDialog.h"
#include "sim/SimulatedFault.h"

namespace veldrane {

class AppFocusUi;
class CHidMouseDlg;
class ConfigFiles;
class DBusNotifications;
class ProfileJsonTransfer;
class VeldraneBusService;
class DesktopPointerSettingsApplier;
class DeviceLink;
struct DeviceOutcome;
class DeviceLinkConnection;
class DeviceListener;
class DeviceNoticeHandler;
class DeviceNoticeHandlerTarget;
class MouseConnection;
class HidBackend;
class HotplugSource;
class PointerSettingsChain;
class ReportTrace;
class TracingHidBackend;
class SimulatedMouse;
class SingleInstanceLock;
class SkinImageCache;
struct AppContext;
class ButtonAssignmentUi;
class IniFile;
struct MacroManagerState;

// The application object: makes sure that only one instance runs, finds the mouse, starts the
// listener, loads the profile, the language and the skin, and keeps the main window in the
// system tray until "Exit". Without a system tray the window is shown at start and minimises
// instead of hiding; a second start brings it forward in either case. The user's files live in
// the data directory, seeded from the installed factory files on first use.
class CHidMouseApp : public QObject, private DeviceChangeHooks, private NoticeSink
{
    Q_OBJECT

public:
    explicit CHidMouseApp(AppOptions options, QObject* parent = nullptr);
    ~CHidMouseApp() override;

    // Runs the program until "Exit"; the process's exit status. A second instance returns 0 at
    // once, or 1 when the running one uses another data folder.
    int Run();

    // "Exit", the window's close button and a termination signal: the program ends. During a
    // "Save" it ends once the save is done (the transport's time-outs bound the wait); a request
    // made before the event loop runs (during a message box at start-up) ends it before it does.
    void RequestExit();

protected:
    // Every release of a button or key in the program may have edited the profile: the bus's
    // properties are read again once the event has been handled.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // DeviceChangeHooks, GUI thread.
    void SendDeviceNotice(const DeviceNotice& notice) override;
    void ReloadProfile() override;
    // NoticeSink, listener thread: hands the notice to the GUI thread and waits until handled.
    void DeliverNotice(DeviceNotice notice) override;

    void ConnectDevice();
    void TraceSimulatedMouse();
    void PrepareDataDirectory();
    // The start-up model's choices (StartupModel::LoadProfileAndSkin), its boxes shown.
    void LoadProfileAndSkin();
    void CreateWindow();
    // The main window and what shows its texts, in the interface language, from the kept records.
    void BuildWindow();
    // A language chosen on the help panel: every window shows it at once. The main window is built
    // anew in its place, with the edits not yet saved; the mouse, the bus name and the tray stay.
    void TakeLanguage(Language language);
    // The button assignment of the left panel's first row and the macro manager of its second.
    void AddButtonsAndMacros();
    // The session bus interface and the desktop's notifications, where there is a session bus.
    void CreateBusService();
    void CreateTrayIcon();
    // The tray's "Profiles" submenu, filled again each time the menu opens, and its tip.
    void FillProfilesMenu();
    void UpdateTrayTip();
    void RefreshSoon();
    void AddSimulatorActions(QMenu& menu);
    void AddAutostartAction(QMenu& menu);
    void AdoptLateTray();
    void WatchHotplug();
    void HandleHotplugEvents();
    // Logs why a mouse that was found could not be prepared; the search's own failure is shown elsewhere.
    void LogUnprepared(const DeviceOutcome& outcome);
    void ShowFromTray();
    void StopListener();
    // A second start with another data folder: said on standard error and in a box.
    int RefuseSecondStart();
    // "Save": the download runs beside the event loop, which meanwhile takes only what may come
    // during it (an exit request above all); what would touch the mouse or the profile waits.
    bool DownloadWhileResponsive(ProfileRecord& record);
    void FinishSave();

    AppOptions m_options;
    // What the system gives the program; everything below may hold references into it.
    Backends m_backends;
    std::string m_deniedNode; // a device node of the mouse this user may not open
    QIcon m_icon;
    bool m_trayAvailable = false;
    std::unique_ptr<SingleInstanceLock> m_instanceLock;

    std::unique_ptr<SimulatedMouse> m_simulated;
    std::ofstream m_traceFile;
    std::unique_ptr<ReportTrace> m_trace;
    std::unique_ptr<TracingHidBackend> m_tracing;
    HidBackend* m_backend = nullptr;
    HotplugSource* m_hotplug = nullptr;
    std::unique_ptr<DeviceLink> m_link;
    DeviceImage m_image{};

    TrayMessageSink m_messages;
    std::unique_ptr<ConfigFiles> m_files;
    ProfileRecords m_records{};
    Language m_language = Language::English;
    std::filesystem::path m_skinDirectory;

    std::unique_ptr<DeviceChangeHandler> m_changes;
    std::unique_ptr<DeviceNoticeHandler> m_noticeHandler;
    std::unique_ptr<DeviceNoticeHandlerTarget> m_noticeTarget;
    std::unique_ptr<DeviceListener> m_listener;
    std::atomic<bool> m_closing{false};
    bool m_exitRequested = false;
    bool m_saving = false;
    // What came during a save and is handled once it is done.
    std::vector<DeviceNotice> m_noticesAfterSave;
    bool m_activationAfterSave = false;
    std::unique_ptr<MouseConnection> m_savingConnection;
    std::unique_ptr<DeviceLinkConnection> m_connection;

    QtShell m_shell;
    QtPointerSettings m_qtPointer;
    std::unique_ptr<PointerSettingsChain> m_pointerChain;
    std::unique_ptr<DesktopPointerSettingsApplier> m_pointerApplier;

    std::unique_ptr<SkinImageCache> m_images;
    QtProfileFileDialog m_profileFileDialog; // the profile manager's import and export
    std::unique_ptr<AppContext> m_context;
    std::unique_ptr<CHidMouseDlg> m_window;
    QtKeyNameSource m_keyNames;
    std::unique_ptr<IniFile> m_macroFile;
    // The recorder's state outlives each run of the macro manager.
    std::unique_ptr<MacroManagerState> m_macroState;
    // Its lists are children of the window: it goes before the window does.
    std::unique_ptr<ButtonAssignmentUi> m_assignment;

    std::unique_ptr<DBusNotifications> m_notifications;
    std::unique_ptr<ProfileJsonTransfer> m_json;
    std::unique_ptr<VeldraneBusService> m_bus;
    std::unique_ptr<AppFocusUi> m_appFocus;
    bool m_refreshQueued = false;

    QTimer m_trayWatch;
    QMenu m_trayMenu;
    // The tray menu's entries and the texts they show in each language.
    std::vector<std::pair<QAction*, std::string_view (*)(Language)>> m_trayTexts;
    QMenu m_profilesMenu;
    std::unique_ptr<QSystemTrayIcon> m_tray;
    std::unique_ptr<QSocketNotifier> m_hotplugNotifier;
};

} // namespace veldrane
