#include "gui/CHidMouseApp.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMetaObject>
#include <QSignalBlocker>
#include <QTimer>

#include <chrono>
#include <future>

#include "adapters/linux/HidAccess.h"
#include "adapters/linux/HidapiBackend.h"
#include "adapters/linux/UdevHotplugSource.h"
#include "adapters/linux/pointer/DesktopPointerSettings.h"
#include "adapters/qt/SingleInstanceLock.h"
#include "core/buttons/ButtonAssignment.h"
#include "core/device/DeviceLink.h"
#include "core/device/DeviceListener.h"
#include "core/device/DeviceNoticeHandler.h"
#include "core/device/ReportTrace.h"
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
#include "gui/CConfigDialog.h"
#include "gui/CHidMouseDlg.h"
#include "gui/ToolkitTranslations.h"
#include "gui/buttons/ButtonAssignmentUi.h"
#include "gui/macro/CMacroProgramDialog.h"
#include "gui/skin/SkinImageCache.h"
#include "screens/macro/MacroManagerModel.h"
#include "screens/main/AppContext.h"
#include "screens/main/DeviceLinkConnection.h"
#include "screens/main/MainWindowLayout.h"
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
}

int CHidMouseApp::Run()
{
    m_trayAvailable = QSystemTrayIcon::isSystemTrayAvailable();
    m_instanceLock = std::make_unique<SingleInstanceLock>();
    if (!m_instanceLock->TryAcquire()) {
        // A start from the desktop's menu while the program runs hidden: show the running one.
        m_instanceLock->RequestActivation();
        return 0;
    }
    // The window is hidden most of the time; a message box closed while it is hidden must not end
    // the program.
    QGuiApplication::setQuitOnLastWindowClosed(false);

    PrepareDataDirectory();
    ConnectDevice();
    LoadProfileAndSkin();
    CreateWindow();
    CreateTrayIcon();
    WatchHotplug();
    connect(m_instanceLock.get(), &SingleInstanceLock::ActivationRequested, this, &CHidMouseApp::ShowFromTray);

    if (!m_trayAvailable) {
        ShowFromTray();
    }
    if (!m_deniedNode.empty()) {
        m_messages.ShowMessage(MouseNotPermittedText(m_language, m_deniedNode), kApplicationTitle);
    }
    const int status = QCoreApplication::exec();
    StopListener();
    return status;
}

void CHidMouseApp::ConnectDevice()
{
    if (m_options.simulate) {
        m_simulated = std::make_unique<SimulatedMouse>(m_clock, &m_clock);
        if (m_options.simFault) {
            m_simulated->SetFault(*m_options.simFault);
        }
        m_backend = m_simulated.get();
        m_hotplug = m_simulated.get();
        if (!m_options.simTrace.isEmpty()) {
            TraceSimulatedMouse();
        }
    } else {
        m_hidapi = std::make_unique<HidapiBackend>();
        m_udev = std::make_unique<UdevHotplugSource>();
        m_backend = m_hidapi.get();
        m_hotplug = m_udev.get();
    }
    m_link = std::make_unique<DeviceLink>(*m_backend, m_clock);
    // The search at start-up reads the profile number and sends the mode byte when the mouse is
    // there; the profile itself stays in the mouse until the user saves.
    m_changes =
        std::make_unique<DeviceChangeHandler>(*m_link, m_image, m_records, static_cast<DeviceChangeHooks&>(*this));
    if (!m_changes->ConnectAtStartUp() && m_hidapi) {
        // The mouse may be there while this user may not open it: say so once the window is up.
        m_deniedNode = FirstDeniedMouseNode(m_hidapi->Enumerate());
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
                                                      << std::flush; }, m_clock);
    m_tracing = std::make_unique<TracingHidBackend>(*m_backend, *m_trace);
    m_backend = m_tracing.get();
}

void CHidMouseApp::PrepareDataDirectory()
{
    m_locations = DataLocations::Resolve(QCoreApplication::applicationDirPath().toStdString(),
                                         m_options.dataDir.toStdString(), m_options.simulate);
    m_icon = LoadAppIcon(m_locations.installed);
    QGuiApplication::setWindowIcon(m_icon);
    if (m_locations.user.empty()) {
        qWarning("veldrane: neither XDG_DATA_HOME nor HOME names a folder for the profiles; use --data-dir");
        return;
    }
    const std::string failure = DataDirectory::Seed(m_locations.installed, m_locations.user);
    if (!failure.empty()) {
        qWarning("veldrane: cannot prepare the data directory: %s", failure.c_str());
    }
}

void CHidMouseApp::LoadProfileAndSkin()
{
    const std::filesystem::path& directory = m_locations.user;
    // What a write cut short by a crash or a kill left behind is never read and goes first.
    RemoveLeftoverTemporaryFiles(directory);
    m_files = std::make_unique<ConfigFiles>(directory, m_messages, m_codec);
    m_files->repairButtons = &BringButtonsIntoMenuRange;
    // Profile files whose move was cut off get their old places back before anything is loaded.
    const ProfileSlotMover::Recovery recovery = ProfileSlotMover::Recover(directory);
    const std::error_code unreadable = m_files->LoadConfig(m_records.Current);
    m_records.Snapshot();
    const IniFile labels(m_files->labelPath, m_codec);
    m_language = LanguageFromCode(labels.GetString(kSkinsSection, kLanguageKey));
    m_files->language = m_language;
    m_files->LoadLabels(m_language);
    // Both are told in the interface language, which the label file has just named.
    if (recovery.error) {
        m_messages.ShowMessage(JournalRecoveryMessage(directory / ProfileSlotMover::kJournalName, recovery.error,
                                                      recovery.keptAside, m_language),
                               kFileOpenErrorTitle);
    }
    if (unreadable) {
        m_messages.ShowMessage(UnreadableProfileMessage(m_files->configPath, unreadable, m_language),
                               MessageCaptionsFor(m_language).warning);
    }
    InstallToolkitTranslations(m_language);
    m_skinDirectory = ChooseSkinDirectory(directory, m_locations.installed, m_files->skin.path);

    m_noticeHandler = std::make_unique<DeviceNoticeHandler>(*m_link, m_image, m_messages, m_language);
    m_noticeTarget = std::make_unique<DeviceNoticeHandlerTarget>(*m_noticeHandler);
    m_connection = std::make_unique<DeviceLinkConnection>(*m_link, m_image);

    // The desktop's own settings first, then the program's toolkit, which always follows.
    m_desktopPointer = std::make_unique<DesktopPointerSettings>(DesktopEnvironment::FromProcess());
    m_pointerChain = std::make_unique<PointerSettingsChain>(
        std::initializer_list<PointerSettingsBackend*>{m_desktopPointer.get(), &m_qtPointer});
    m_pointerApplier = std::make_unique<DesktopPointerSettingsApplier>(*m_pointerChain, m_messages);
}

void CHidMouseApp::CreateWindow()
{
    m_images = std::make_unique<SkinImageCache>(m_skinDirectory);
    m_context = std::make_unique<AppContext>(AppContext{
        m_records, *m_files, *m_connection, m_messages, m_clock, m_shell, *m_images, *m_pointerApplier, *m_noticeTarget,
        m_language, MainWindowTextsFor(m_language), m_skinDirectory, m_locations.installed});
    m_window = std::make_unique<CHidMouseDlg>(*m_context, *m_images);
    m_window->setWindowIcon(m_icon);
    m_window->SetHideMinimises(!m_trayAvailable);
    m_window->SetExitHandler([] { QCoreApplication::exit(0); });
    m_window->SetProfileManagerOpener([this] {
        // The manager's notices reach the main window posted, as message 0xB03 does.
        const auto notify = [this](ProfileManagerNotice notice) {
            QTimer::singleShot(0, m_window.get(),
                               [this, notice] { m_window->Model().OnProfileManagerNotice(static_cast<int>(notice)); });
        };
        CConfigDialog::Open({*m_files, m_records, m_codec, m_messages, m_profileFileDialog, m_language,
                             m_window->Model().TextColour(), notify},
                            *m_images, m_window.get());
    });
    m_messages.SetWindow(m_window.get());
    AddButtonsAndMacros();
}

void CHidMouseApp::AddButtonsAndMacros()
{
    m_macroFile = std::make_unique<IniFile>(m_files->modulePath / kMacroFileName, m_codec);
    m_macroState = std::make_unique<MacroManagerState>(m_clock);
    m_assignment = std::make_unique<ButtonAssignmentUi>(
        *m_window, ButtonAssignmentContext{m_records.Current, m_files->buttonLabel, m_language,
                                           MainWindowTextsFor(m_language).buttonAssignment, m_messages, *m_images,
                                           m_window->Fonts(), m_keyNames, *m_macroFile});
    m_window->Model().SetLeftSection(LeftPanel::kButtonAssignment, m_assignment->TakeSection());
    m_window->SetMacroManagerRunner([this] {
        MacroProfiles profiles{m_records, m_files->buttonLabel, m_codec};
        return CMacroProgramDialog::Run(
            {*m_macroFile, *m_macroState, m_messages, m_language, m_window->Model().TextColour(), &profiles}, *m_images,
            m_keyNames, m_window.get());
    });
}

void CHidMouseApp::CreateTrayIcon()
{
    const MainWindowTexts& texts = MainWindowTextsFor(m_language);
    if (m_options.simulate) {
        AddSimulatorActions(m_trayMenu);
        m_trayMenu.addSeparator();
    }
    AddAutostartAction(m_trayMenu);
    connect(m_trayMenu.addAction(FromUtf8(texts.exit)), &QAction::triggered, this, [] { QCoreApplication::exit(0); });

    m_tray = std::make_unique<QSystemTrayIcon>(m_icon);
    m_tray->setToolTip(QString::fromLatin1(kTrayTip));
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
    action->setCheckable(true);
    action->setChecked(m_autostart.IsEnabled());
    action->setEnabled(!m_autostart.File().empty());
    connect(action, &QAction::toggled, this, [this, action](bool on) {
        QStringList command{QCoreApplication::applicationFilePath()};
        if (!m_options.dataDir.isEmpty()) {
            command << QStringLiteral("--data-dir") << QFileInfo(m_options.dataDir).absoluteFilePath();
        }
        QStringList quoted;
        for (QString word : command) {
            // Quoted as a desktop entry's Exec line wants it.
            word.replace(QLatin1Char('\\'), QStringLiteral("\\\\"))
                .replace(QLatin1Char('"'), QStringLiteral("\\\""))
                .replace(QLatin1Char('`'), QStringLiteral("\\`"))
                .replace(QLatin1Char('$'), QStringLiteral("\\$"));
            quoted << QLatin1Char('"') + word + QLatin1Char('"');
        }
        const bool done = on ? m_autostart.Enable(quoted.join(QLatin1Char(' ')).toStdString()) : m_autostart.Disable();
        if (!done) {
            const QSignalBlocker blocker(action);
            action->setChecked(m_autostart.IsEnabled());
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
    for (const HotplugEvent& event : m_hotplug->TakeEvents()) {
        m_changes->HandleDeviceChange(event);
    }
}

void CHidMouseApp::ShowFromTray()
{
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
}

void CHidMouseApp::ReloadProfile()
{
    if (m_window) {
        m_window->Model().ReloadProfile();
    }
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
            if (!m_closing) {
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
