#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "core/apps/FocusSession.h"
#include "core/text/AppSwitchTexts.h"
#include "core/text/Language.h"
#include "ports/FocusSource.h"
#include "screens/main/AppFocusSwitching.h"

class QAction;
class QMenu;
class QSocketNotifier;

namespace veldrane {

class Clock;
class ConfigFiles;
class MainWindowModel;
class MessageSink;
class VeldraneBusService;

// Switching profiles by application in the running program: where the session's focus reports
// come from (X11's root window, the KWin script, the GNOME Shell extension), the tray's check
// item, and the timer at which the switching looks again.
class AppFocusUi : public QObject
{
    Q_OBJECT

public:
    struct Context
    {
        MainWindowModel& window;
        ConfigFiles& files;
        MessageSink& messages;
        const Clock& clock;
        Language language;
        VeldraneBusService& bus;
        QString kwinScript;               // the installed KWin script
        QString ownAppId;                 // the program's own windows switch nothing
        std::unique_ptr<FocusSource> x11; // the X11 source where the session is X11
        // The name of a process's program, empty when it is gone or unknown.
        std::function<std::string(std::uint32_t)> programNameOf;
    };

    explicit AppFocusUi(Context context, QObject* parent = nullptr);
    ~AppFocusUi() override;

    // The rules, and the session's source of focus reports.
    void Start();
    // The main window built anew in another interface language: the switches run through it, the
    // user is told in that language and the tray's check item says it.
    void TakeWindow(MainWindowModel& window, Language language);
    // The tray menu's check item "Switch profiles by application".
    void AddTrayAction(QMenu& menu);
    AppFocusSwitching& Switching() { return m_switching; }

    // Hands the next window that takes the focus (not one of the program's) to `capture`.
    void CaptureNextWindow(std::function<void(const FocusedWindow&)> capture) { m_capture = std::move(capture); }

    // A focus report from whichever source.
    void Focus(const FocusReport& report);

private:
    void Schedule(std::optional<std::chrono::milliseconds> at);
    void Check();
    void UpdateAction();
    void LoadKWinScript();
    void UnloadKWinScript();
    bool GnomeExtensionEnabled() const;

    Context m_context;
    MainWindowModel* m_window;
    AppFocusSwitching m_switching;
    FocusSession m_session = FocusSession::Headless;
    std::optional<FocusUnavailable> m_unavailable;
    bool m_kwinScriptLoaded = false;
    std::unique_ptr<QSocketNotifier> m_notifier;
    QTimer m_timer;
    QAction* m_action = nullptr;
    std::function<void(const FocusedWindow&)> m_capture;
};

} // namespace veldrane
