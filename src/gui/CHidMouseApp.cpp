#include "gui/CHidMouseApp.h"

#include <QAction>
#include <QActionGroup>
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMetaObject>
#include <QScreen>
#include <QSignalBlocker>
#include <QTimer>

#include <QEventLoop>
#include <QMessageBox>
#include <QMouseEvent>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <future>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "adapters/qt/DBusNotifications.h"
#include "adapters/qt/SingleInstanceLock.h"
#include "adapters/qt/TerminationSignals.h"
#include "core/buttons/ButtonAssignment.h"
#include "core/device/DeviceError.h"
#include "core/device/DeviceLink.h"
#include "core/device/DeviceListener.h"
#include "core/device/DeviceNoticeHandler.h"
#include "core/device/ReportTrace.h"
#include "core/exchange/ProfileJsonTransfer.h"
#include "core/ini/AtomicFile.h"
#include "core/ini/IniFile.h"
#include "core/profile/ConfigFiles.h"
#include "core/profile/DataDirectory.h"
#include "core/profile/ProfileFileNames.h"
#include "core/profile/ProfileSlotMover.h"
#include "core/settings/DesktopPointerSettingsApplier.h"
#include "core/settings/PointerSettingsChain.h"
#include "core/text/AccessTexts.h"
#include "core/text/FileErrorTexts.h"
#include "core/text/MainWindowTexts.h"
#include "core/text/MessageTexts.h"
#include "core/text/TrayTexts.h"
#include "gui/AppFocusUi.h"
#include "gui/CAppRulesDialog.h"
#include "gui/CConfigDialog.h"
#include "gui/CHidMouseDlg.h"
#include "gui/ToolkitTranslations.h"
#include "gui/WindowPlacement.h"
#include "gui/bus/VeldraneBusService.h"
#include "gui/buttons/ButtonAssignmentUi.h"
#include "gui/macro/CMacroProgramDialog.h"
#include "gui/skin/SkinImageCache.h"
#include "gui/skin/SkinStyleSheet.h"
#include "screens/macro/MacroManagerModel.h"
#include "screens/main/AppContext.h"
#include "screens/main/DeviceLinkConnection.h"
#include "screens/main/MainWindowLayout.h"
#include "screens/startup/StartupModel.h"
#include "sim/SimulatedMouse.h"

namespace veldrane {

namespace {

// The tip of the tray icon, the same in every language.
constexpr char kTrayTip[] = "Tessaly VELDRANE";

constexpr int kCpiStageButtons = 4;
// How often the program looks for a tray that was not there at start.
constexpr int kTrayWatchMs = 2000;
constexpr int kMacroKeys = 12;

// The application's icon, drawn by the skin generator at every size into the icon theme folder
// beside the installed data; the desktop's theme has it when that folder is not there.
QIcon LoadAppIcon(const std::filesystem::path& installed)
{
    const QString appId = QStringLiteral(VELDRANE_APP_ID);
    const QDir theme(QString::fromStdString((installed.parent_path() / "icons" / "hicolor").string()));
    QIcon icon;
    for (const QString& size : theme.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QString file = theme.filePath(size + QStringLiteral("/apps/") + appId + QStringLiteral(".png"));
        if (QFileInfo::exists(file)) {
            icon.addFile(file);
        }
    }
    return icon.isNull() ? QIcon::fromTheme(appId) : icon;
}

QString FromUtf8(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The mouse as the window's commands see it, with the download handed to the application.
class ResponsiveConnection : public MouseConnection
{
public:
    ResponsiveConnection(MouseConnection& mouse, std::function<bool(ProfileRecord&)> download)
        : m_mouse(mouse), m_download(std::move(download))
    {}

    bool IsConnected() const override { return m_mouse.IsConnected(); }
    bool DownloadProfile(ProfileRecord& record) override { return m_download(record); }

private:
    MouseConnection& m_mouse;
    std::function<bool(ProfileRecord&)> m_download;
};

// The user's input while a save runs: the main window takes none but a press on its close button,
// which asks the program to end once the save is done; the tray icon, its menu and message boxes
// work as ever; every other window of the program waits.
class InputDuringSave : public QObject
{
public:
    InputDuringSave(CHidMouseApp& app, QWidget* window) : m_app(app), m_window(window) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (!IsInput(event->type()) || !watched->isWidgetType()) {
            return false;
        }
        QWidget* widget = static_cast<QWidget*>(watched);
        QWidget* window = widget->window();
        if (qobject_cast<QMenu*>(window) || qobject_cast<QMessageBox*>(window) ||
            window->inherits("QSystemTrayIconSys")) {
            return false;
        }
        if (window == m_window && event->type() == QEvent::MouseButtonPress) {
            const auto* press = static_cast<QMouseEvent*>(event);
            const QPoint at = widget->mapTo(window, press->position().toPoint());
            if (press->button() == Qt::LeftButton && kCloseButton.Contains({at.x(), at.y()})) {
                m_app.RequestExit();
            }
        }
        return true;
    }

private:
    static bool IsInput(QEvent::Type type)
    {
        switch (type) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
        case QEvent::Wheel:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::ContextMenu:
            return true;
        default:
            return false;
        }
    }

    CHidMouseApp& m_app;
    QWidget* m_window;
};

} // namespace

CHidMouseApp::CHidMouseApp(AppOptions options, QObject* parent) : QObject(parent), m_options(options) {}

CHidMouseApp::~CHidMouseApp()
{
    StopListener();
    m_hotplugNotifier.reset();
    if (m_tray) {
        m_tray->hide();
    }
    m_messages.SetTrayIcon(nullptr);
    m_messages.SetWindow(nullptr);
    m_messages.SetNotifications(nullptr);
    if (m_noticeHandler) {
        m_noticeHandler->SetObserver(nullptr);
    }
}

int CHidMouseApp::Run()
{
    m_trayAvailable = QSystemTrayIcon::isSystemTrayAvailable();
    m_messages.SetBoxStyle(MessageBoxStyleSheet());
    m_backends = MakeBackends(
        {QCoreApplication::applicationDirPath().toStdString(), m_options.dataDir.toStdString(), m_options.simulate});
    // The data folder is what a second start must share with the running program to be the same.
    const QString identity = QString::fromStdString(m_backends.folders.user.lexically_normal().string());
    m_instanceLock = std::make_unique<SingleInstanceLock>();
    if (!m_instanceLock->TryAcquire(identity)) {
        // A start from the desktop's menu while the program runs hidden: show the running one.
        if (m_instanceLock->RequestActivation(identity) == ActivationAnswer::OtherOptions) {
            return RefuseSecondStart();
        }
        return 0;
    }
    // The window is hidden most of the time; a message box closed while it is hidden must not end
    // the program.
    QGuiApplication::setQuitOnLastWindowClosed(false);

    PrepareDataDirectory();
    ConnectDevice();
    LoadProfileAndSkin();
    CreateWindow();
    CreateBusService();
    CreateTrayIcon();
    WatchHotplug();
    connect(m_instanceLock.get(), &SingleInstanceLock::ActivationRequested, this, &CHidMouseApp::ShowFromTray);

    if (!m_trayAvailable) {
        ShowFromTray();
    }
    if (const std::optional<UserMessage> denied = StartupModel::MouseDeniedMessage(m_language, m_deniedNode)) {
        m_messages.ShowMessage(denied->text, denied->title);
    }
    // An exit asked for during start-up (a termination signal while a message box was open) has
    // ended that box's loop; the main loop would forget it.
    if (m_exitRequested || TerminationSignals::Requested()) {
        StopListener();
        return 0;
    }
    const int status = QCoreApplication::exec();
    StopListener();
    return status;
}

void CHidMouseApp::RequestExit()
{
    m_exitRequested = true;
    // The program is ending: nothing may hold it in a message box any more.
    m_messages.SetQuiet(true);
    if (!m_saving) {
        QCoreApplication::exit(0);
    }
}

int CHidMouseApp::RefuseSecondStart()
{
    const std::string text =
        StartupModel(m_backends.folders.user, m_backends.folders.installed, *m_backends.codec).SecondStartRefusal();
    std::fprintf(stderr, "veldrane: %.*s\n", static_cast<int>(text.size()), text.data());
    std::fflush(stderr);
    m_messages.ShowMessage(text, kApplicationTitle);
    return 1;
}

bool CHidMouseApp::DownloadWhileResponsive(ProfileRecord& record)
{
    m_saving = true;
    if (m_hotplugNotifier) {
        m_hotplugNotifier->setEnabled(false);
    }
    bool taken = false;
    {
        InputDuringSave input(*this, m_window.get());
        qApp->installEventFilter(&input);
        // The download works on a copy: the window goes on painting the record meanwhile.
        ProfileRecord copy = record;
        QEventLoop loop;
        std::thread download([&] {
            taken = m_connection->DownloadProfile(copy);
            QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
        });
        loop.exec();
        download.join();
        record = copy;
    }
    FinishSave();
    return taken;
}

void CHidMouseApp::FinishSave()
{
    m_saving = false;
    if (m_exitRequested) {
        QCoreApplication::exit(0);
        return;
    }
    if (m_hotplugNotifier) {
        m_hotplugNotifier->setEnabled(true);
    }
    HandleHotplugEvents();
    for (const DeviceNotice& notice : std::exchange(m_noticesAfterSave, {})) {
        SendDeviceNotice(notice);
    }
    if (std::exchange(m_activationAfterSave, false)) {
        ShowFromTray();
    }
}

void CHidMouseApp::ConnectDevice()
{
    if (m_options.simulate) {
        m_simulated = std::make_unique<SimulatedMouse>(*m_backends.clock, m_backends.sleeper.get());
        if (m_options.simFault) {
            m_simulated->SetFault(*m_options.simFault);
        }
        m_backend = m_simulated.get();
        m_hotplug = m_simulated.get();
        if (!m_options.simTrace.isEmpty()) {
            TraceSimulatedMouse();
        }
    } else {
        m_backend = m_backends.hid.get();
        m_hotplug = m_backends.hotplug.get();
    }
    m_link = std::make_unique<DeviceLink>(*m_backend, *m_backends.sleeper);
    // The search at start-up reads the profile number and sends the mode byte when the mouse is
    // there; the profile itself stays in the mouse until the user saves.
    m_changes =
        std::make_unique<DeviceChangeHandler>(*m_link, m_image, m_records, static_cast<DeviceChangeHooks&>(*this));
    if (const DeviceOutcome connected = m_changes->ConnectAtStartUp();
        connected.error == DeviceError::NoMouse && m_backends.hid) {
        // The mouse may be there while this user may not open it: say so once the window is up.
        m_deniedNode = m_backends.deniedMouseNode(*m_backends.hid);
    } else {
        LogUnprepared(connected);
    }
    // The listener waits by itself until a search opens the notification interface.
    m_listener = std::make_unique<DeviceListener>(*m_link, static_cast<NoticeSink&>(*this));
    m_listener->Start();
}

void CHidMouseApp::TraceSimulatedMouse()
{
    m_traceFile.open(m_options.simTrace.toStdString(), std::ios::out | std::ios::trunc);
    if (!m_traceFile) {
        qWarning("veldrane: cannot write the trace to %s; running without it", qPrintable(m_options.simTrace));
        return;
    }
    m_trace = std::make_unique<ReportTrace>(
        [this](const std::string& line) { m_traceFile << line << '\n'
                                                      << std::flush; }, *m_backends.clock);
    m_tracing = std::make_unique<TracingHidBackend>(*m_backend, *m_trace);
    m_backend = m_tracing.get();
}

void CHidMouseApp::PrepareDataDirectory()
{
    m_icon = LoadAppIcon(m_backends.folders.installed);
    QGuiApplication::setWindowIcon(m_icon);
    const StartupModel startup(m_backends.folders.user, m_backends.folders.installed, *m_backends.codec);
    if (const std::optional<std::string> warning = startup.PrepareDataDirectory()) {
        qWarning("veldrane: %s", warning->c_str());
    }
}

void CHidMouseApp::LoadProfileAndSkin()
{
    const StartupModel startup(m_backends.folders.user, m_backends.folders.installed, *m_backends.codec);
    StartupChoice choice = startup.LoadProfileAndSkin(m_records);
    m_files = std::move(choice.files);
    m_language = choice.language;
    m_skinDirectory = choice.skinDirectory;
    m_messages.SetLanguage(m_language);
    for (const UserMessage& message : choice.messages) {
        m_messages.ShowMessage(message.text, message.title);
    }
    InstallToolkitTranslations(m_language);

    m_noticeHandler = std::make_unique<DeviceNoticeHandler>(*m_link, m_image, m_messages, m_language);
    m_noticeTarget = std::make_unique<DeviceNoticeHandlerTarget>(*m_noticeHandler);
    m_connection = std::make_unique<DeviceLinkConnection>(*m_link, m_image);

    // The desktop's own settings first, then the program's toolkit, which always follows.
    m_pointerChain = std::make_unique<PointerSettingsChain>(
        std::initializer_list<PointerSettingsBackend*>{m_backends.desktopPointer.get(), &m_qtPointer});
    m_pointerApplier = std::make_unique<DesktopPointerSettingsApplier>(*m_pointerChain);
}

void CHidMouseApp::CreateWindow()
{
    m_images = std::make_unique<SkinImageCache>(m_skinDirectory);
    // Pictures drawn outside a window's paint (the scroll thumb's) take the primary screen's ratio.
    m_images->SetDevicePixelRatio(qGuiApp->devicePixelRatio());
    m_savingConnection = std::make_unique<ResponsiveConnection>(
        *m_connection, [this](ProfileRecord& record) { return DownloadWhileResponsive(record); });
    BuildWindow();
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        m_window->move(PlaceWithin(screen->availableGeometry(), m_window->size()));
    }
}

void CHidMouseApp::BuildWindow()
{
    m_context = std::make_unique<AppContext>(AppContext{
        m_records, *m_files, *m_savingConnection, m_messages, *m_backends.clock, m_shell, *m_images, *m_pointerApplier,
        *m_noticeTarget, m_language, MainWindowTextsFor(m_language), m_skinDirectory, m_backends.folders.installed});
    m_window = std::make_unique<CHidMouseDlg>(*m_context, *m_images);
    m_window->setWindowIcon(m_icon);
    m_window->SetHideMinimises(!m_trayAvailable);
    m_window->SetExitHandler([this] { RequestExit(); });
    m_window->SetProfileManagerOpener([this] {
        // The manager's notices reach the main window posted, as message 0xB03 does.
        const auto notify = [this](ProfileManagerNotice notice) {
            QTimer::singleShot(0, m_window.get(), [this, notice] {
                m_window->Model().OnProfileManagerNotice(static_cast<int>(notice));
                RefreshSoon(); // the names, the loaded profile
            });
        };
        const auto applications = [this](const std::string& profile) {
            auto* dialog = new CAppRulesDialog(
                {profile, m_language, m_window->Model().TextColour(), m_messages,
                 [this] { return ReadAppRules(m_files->ModulePath()).rules; },
                 [this](const AppRules& rules) { return m_appFocus->Switching().StoreRules(rules); },
                 [this](std::function<void(const FocusedWindow&)> capture) {
                     m_appFocus->CaptureNextWindow(std::move(capture));
                 }},
                *m_images, m_window.get());
            dialog->show();
        };
        CConfigDialog::Open({*m_files, m_records, *m_backends.codec, m_messages, m_profileFileDialog, m_language,
                             m_window->Model().TextColour(), notify, m_macroFile.get(), applications},
                            *m_images, m_window.get());
    });
    m_messages.SetWindow(m_window.get());
    // The help panel's choice of language goes into the current profile's label file; the windows
    // take it once the panel's press is over.
    m_window->Model().HelpPanel().KeepLanguageIn(m_files->LabelPath(), *m_backends.codec, [this](Language language) {
        QTimer::singleShot(0, this, [this, language] { TakeLanguage(language); });
    });
    AddButtonsAndMacros();
}

void CHidMouseApp::AddButtonsAndMacros()
{
    if (!m_macroFile) {
        m_macroFile = std::make_unique<IniFile>(m_files->ModulePath() / kMacroFileName, *m_backends.codec);
        m_macroState = std::make_unique<MacroManagerState>(*m_backends.clock);
    }
    m_assignment = std::make_unique<ButtonAssignmentUi>(
        *m_window, ButtonAssignmentContext{m_records.Current, m_files->EditedLabels(), m_language,
                                           MainWindowTextsFor(m_language).buttonAssignment, m_messages, *m_images,
                                           m_window->Fonts(), m_keyNames, *m_macroFile});
    m_window->Model().SetLeftSection(LeftPanel::kButtonAssignment, m_assignment->TakeSection());
    m_window->SetMacroManagerRunner([this] {
        MacroProfiles profiles{m_records, m_files->EditedLabels(), *m_backends.codec};
        return CMacroProgramDialog::Run(
            {*m_macroFile, *m_macroState, m_messages, m_language, m_window->Model().TextColour(), &profiles}, *m_images,
            m_keyNames, m_window.get());
    });
}

void CHidMouseApp::TakeLanguage(Language language)
{
    if (language == m_language || !m_window) {
        return;
    }
    const QPoint place = m_window->pos();
    const bool shown = m_window->isVisible();
    const bool minimised = m_window->isMinimized();
    const bool helpOpen = m_window->Model().HelpOpen();
    const QObjectList& children = m_window->children();
    const bool managerOpen = std::ranges::any_of(children, [](const QObject* child) {
        const auto* manager = dynamic_cast<const CConfigDialog*>(child); // no meta-object of its own
        return manager != nullptr && manager->isVisible();
    });

    m_language = language;
    m_messages.SetLanguage(language);
    InstallToolkitTranslations(language);
    StartupModel::TakeLanguage(m_records, *m_files, language);
    // The old window's dialogs and lists go with it; what they edited is in the records already.
    m_messages.SetWindow(nullptr);
    // Hidden first: the focus leaves the help panel while the window's model is still there.
    m_window->hide();
    m_assignment.reset();
    m_window.reset();
    m_context.reset();
    m_noticeHandler = std::make_unique<DeviceNoticeHandler>(*m_link, m_image, m_messages, m_language);
    m_noticeTarget = std::make_unique<DeviceNoticeHandlerTarget>(*m_noticeHandler);
    BuildWindow();
    m_window->move(place);
    m_window->SetHideMinimises(!m_trayAvailable);
    if (m_bus) {
        m_noticeHandler->SetObserver(&m_bus->Observer());
        m_bus->TakeWindow(m_window->Model(), language);
    }
    if (m_appFocus) {
        m_appFocus->TakeWindow(m_window->Model(), language);
    }
    for (const auto& [action, text] : m_trayTexts) {
        action->setText(FromUtf8(text(language)));
    }
    m_profilesMenu.setTitle(FromUtf8(ProfilesMenuText(language)));
    if (minimised) {
        m_window->showMinimized();
    } else if (shown) {
        m_window->show();
        m_window->raise();
        m_window->activateWindow();
    }
    if (helpOpen) {
        m_window->Model().Press(
            {(kHelpButton.left + kHelpButton.right) / 2, (kHelpButton.top + kHelpButton.bottom) / 2});
    }
    if (managerOpen) {
        m_window->OpenProfileManager();
    }
    RefreshSoon();
}

void CHidMouseApp::CreateBusService()
{
    m_json = std::make_unique<ProfileJsonTransfer>(*m_files, *m_macroFile, *m_backends.codec);
    m_bus = std::make_unique<VeldraneBusService>(
        VeldraneBusService::Context{m_window->Model(), m_records, *m_files, *m_connection, m_messages, *m_json,
                                    m_language, m_options.simulate, [this] { ShowFromTray(); }});
    m_noticeHandler->SetObserver(&m_bus->Observer());
    m_bus->SetChangeHandler([this] { UpdateTrayTip(); });
    if (QDBusConnection::sessionBus().isConnected()) {
        m_notifications = std::make_unique<DBusNotifications>(kApplicationTitle, VELDRANE_APP_ID);
        m_messages.SetNotifications(m_notifications.get());
        (void)m_bus->Register(); // without the name the program runs as before; it has said why
    }
    QCoreApplication::instance()->installEventFilter(this);

    const QString kwinScript =
        QString::fromStdString((m_backends.folders.installed / "kwin" / "veldrane-focus.js").string());
    m_appFocus = std::make_unique<AppFocusUi>(AppFocusUi::Context{
        m_window->Model(), *m_files, m_messages, *m_backends.clock, m_language, *m_bus, kwinScript,
        QString::fromLatin1(VELDRANE_APP_ID), std::move(m_backends.focus), m_backends.programNameOf});
    m_appFocus->Start();
}

bool CHidMouseApp::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonRelease || event->type() == QEvent::KeyRelease) {
        RefreshSoon();
    }
    return QObject::eventFilter(watched, event);
}

void CHidMouseApp::RefreshSoon()
{
    if (!m_bus || std::exchange(m_refreshQueued, true)) {
        return;
    }
    QTimer::singleShot(0, this, [this] {
        m_refreshQueued = false;
        m_bus->Refresh();
    });
}

void CHidMouseApp::FillProfilesMenu()
{
    m_profilesMenu.clear();
    auto* group = new QActionGroup(&m_profilesMenu);
    group->setExclusive(true);
    const QStringList names = m_bus->Profiles();
    for (int index = 0; index < names.size(); ++index) {
        QAction* action = m_profilesMenu.addAction(names[index]);
        action->setCheckable(true);
        action->setChecked(index == m_bus->ActiveProfile());
        action->setActionGroup(group);
        connect(action, &QAction::triggered, this,
                [this, index] { m_bus->SwitchForUser(static_cast<std::size_t>(index), QStringLiteral("tray")); });
    }
}

void CHidMouseApp::UpdateTrayTip()
{
    if (!m_tray || !m_bus) {
        return;
    }
    // The program's title, then what the mouse holds now.
    m_tray->setToolTip(QString::fromLatin1(kTrayTip) + QLatin1Char('\n') + m_bus->ActiveProfileName() +
                       QStringLiteral(" \u2013 %1 CPI").arg(m_bus->Cpi()));
}

void CHidMouseApp::CreateTrayIcon()
{
    const MainWindowTexts& texts = MainWindowTextsFor(m_language);
    // Some desktops' trays only open the menu: its first entry shows the window, as a click does.
    QAction* open = m_trayMenu.addAction(FromUtf8(OpenWindowText(m_language)));
    m_trayTexts.emplace_back(open, &OpenWindowText);
    connect(open, &QAction::triggered, this, &CHidMouseApp::ShowFromTray);
    m_trayMenu.setDefaultAction(open);
    m_trayMenu.addSeparator();
    if (m_options.simulate) {
        AddSimulatorActions(m_trayMenu);
        m_trayMenu.addSeparator();
    }
    m_profilesMenu.setTitle(FromUtf8(ProfilesMenuText(m_language)));
    m_trayMenu.addMenu(&m_profilesMenu);
    connect(&m_trayMenu, &QMenu::aboutToShow, this, &CHidMouseApp::FillProfilesMenu);
    QAction* next = m_trayMenu.addAction(FromUtf8(NextProfileText(m_language)));
    m_trayTexts.emplace_back(next, &NextProfileText);
    connect(next, &QAction::triggered, this, [this] { m_bus->StepForUser(1, QStringLiteral("tray")); });
    QAction* previous = m_trayMenu.addAction(FromUtf8(PreviousProfileText(m_language)));
    m_trayTexts.emplace_back(previous, &PreviousProfileText);
    connect(previous, &QAction::triggered, this, [this] { m_bus->StepForUser(-1, QStringLiteral("tray")); });
    m_trayMenu.addSeparator();
    m_appFocus->AddTrayAction(m_trayMenu);
    AddAutostartAction(m_trayMenu);
    QAction* quit = m_trayMenu.addAction(FromUtf8(texts.exit));
    m_trayTexts.emplace_back(quit, [](Language language) { return MainWindowTextsFor(language).exit; });
    connect(quit, &QAction::triggered, this, [this] { RequestExit(); });

    m_tray = std::make_unique<QSystemTrayIcon>(m_icon);
    m_tray->setToolTip(QString::fromLatin1(kTrayTip));
    UpdateTrayTip();
    m_tray->setContextMenu(&m_trayMenu);
    connect(m_tray.get(), &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::Trigger || reason == QSystemTrayIcon::DoubleClick) {
            ShowFromTray();
        }
    });
    if (m_trayAvailable) {
        m_tray->show();
        m_messages.SetTrayIcon(m_tray.get());
    } else {
        // A panel that starts after the program (late at login) gets the icon once it is there.
        m_trayWatch.setInterval(kTrayWatchMs);
        connect(&m_trayWatch, &QTimer::timeout, this, &CHidMouseApp::AdoptLateTray);
        m_trayWatch.start();
    }
}

void CHidMouseApp::AdoptLateTray()
{
    if (!QSystemTrayIcon::isSystemTrayAvailable()) {
        return;
    }
    m_trayWatch.stop();
    m_trayAvailable = true;
    m_tray->show();
    m_messages.SetTrayIcon(m_tray.get());
    if (m_window) {
        m_window->SetHideMinimises(false);
    }
}

void CHidMouseApp::AddAutostartAction(QMenu& menu)
{
    QAction* action = menu.addAction(FromUtf8(StartWithDesktopText(m_language)));
    m_trayTexts.emplace_back(action, &StartWithDesktopText);
    action->setCheckable(true);
    action->setChecked(m_backends.autostart->IsEnabled());
    action->setEnabled(m_backends.autostart->Available());
    connect(action, &QAction::toggled, this, [this, action](bool on) {
        std::vector<std::string> command{QCoreApplication::applicationFilePath().toStdString()};
        if (!m_options.dataDir.isEmpty()) {
            command.insert(command.end(),
                           {"--data-dir", QFileInfo(m_options.dataDir).absoluteFilePath().toStdString()});
        }
        const bool done = on ? m_backends.autostart->Enable(command) : m_backends.autostart->Disable();
        if (!done) {
            const QSignalBlocker blocker(action);
            action->setChecked(m_backends.autostart->IsEnabled());
        }
    });
    menu.addSeparator();
}

void CHidMouseApp::AddSimulatorActions(QMenu& menu)
{
    for (int stage = 1; stage <= kCpiStageButtons; ++stage) {
        connect(menu.addAction(QStringLiteral("Press CPI stage %1").arg(stage)), &QAction::triggered, this,
                [this, stage] { m_simulated->PressCpiButton(static_cast<std::uint8_t>(stage)); });
    }
    for (int key = 1; key <= kMacroKeys; ++key) {
        connect(menu.addAction(QStringLiteral("Press macro key %1").arg(key)), &QAction::triggered, this,
                [this, key] { m_simulated->PressMacroKey(static_cast<std::uint8_t>(key)); });
    }
    connect(menu.addAction(QStringLiteral("Unplug")), &QAction::triggered, this, [this] {
        m_simulated->Unplug();
        HandleHotplugEvents();
    });
    connect(menu.addAction(QStringLiteral("Plug in")), &QAction::triggered, this, [this] {
        m_simulated->Plug();
        HandleHotplugEvents();
    });
    const std::pair<const char*, SimulatedFault::Kind> answers[] = {
        {"Stop answering", SimulatedFault::Kind::Silent},
        {"Answer garbage", SimulatedFault::Kind::Garbage},
        {"Answer normally", SimulatedFault::Kind::None},
    };
    for (const auto& [name, kind] : answers) {
        connect(menu.addAction(QString::fromLatin1(name)), &QAction::triggered, this,
                [this, kind] { m_simulated->SetFault(SimulatedFault{kind}); });
    }
}

void CHidMouseApp::WatchHotplug()
{
    const int descriptor = m_hotplug->PollDescriptor();
    if (descriptor < 0) {
        return; // the simulated mouse: its plug and unplug are handled where the menu asks for them
    }
    m_hotplugNotifier = std::make_unique<QSocketNotifier>(descriptor, QSocketNotifier::Read);
    connect(m_hotplugNotifier.get(), &QSocketNotifier::activated, this, &CHidMouseApp::HandleHotplugEvents);
}

void CHidMouseApp::HandleHotplugEvents()
{
    if (m_saving) {
        return; // the events wait in their source until the save is done
    }
    for (const HotplugEvent& event : m_hotplug->TakeEvents()) {
        // A mouse that could not be opened has its notice; one that was but did not answer goes on
        // as connected, and the next save tells the user whether it takes the profile.
        LogUnprepared(m_changes->HandleDeviceChange(event));
    }
}

void CHidMouseApp::LogUnprepared(const DeviceOutcome& outcome)
{
    if (!outcome.Done() && outcome.error != DeviceError::NoMouse) {
        qWarning("veldrane: command 0x%02X failed: %s", outcome.command, outcome.error.message().c_str());
    }
}

void CHidMouseApp::ShowFromTray()
{
    if (m_saving) {
        m_activationAfterSave = true;
        return;
    }
    if (m_window) {
        m_window->Model().ShowFromTray();
    }
}

void CHidMouseApp::SendDeviceNotice(const DeviceNotice& notice)
{
    if (m_noticeHandler) {
        m_noticeHandler->HandleDeviceNotice(notice);
    }
    if (m_window) {
        m_window->Redraw(kConnectionStateArea); // the mouse may have come or gone
    }
    RefreshSoon();
}

void CHidMouseApp::ReloadProfile()
{
    if (m_window) {
        m_window->Model().ReloadProfile();
    }
    RefreshSoon();
}

void CHidMouseApp::DeliverNotice(DeviceNotice notice)
{
    if (m_closing) {
        return;
    }
    // The listener starts no new read until the GUI thread has handled this one, which may talk
    // to the mouse.
    QMetaObject::invokeMethod(
        this,
        [this, notice] {
            if (m_saving) {
                // The notice's handler talks to the mouse, which the save has for itself.
                m_noticesAfterSave.push_back(notice);
            } else if (!m_closing) {
                SendDeviceNotice(notice);
            }
        },
        Qt::BlockingQueuedConnection);
}

void CHidMouseApp::StopListener()
{
    if (!m_listener) {
        return;
    }
    m_closing = true;
    // The listener may wait in a hand-over to this thread: keep handing over (now doing nothing)
    // until it has stopped.
    auto stopped = std::async(std::launch::async, [this] { m_listener->Stop(); });
    while (stopped.wait_for(std::chrono::milliseconds(10)) != std::future_status::ready) {
        QCoreApplication::processEvents();
    }
    m_listener.reset();
}

} // namespace veldrane
