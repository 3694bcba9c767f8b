#include "gui/CHidMouseApp.h"

#include <QAction>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QMetaObject>
#include <QPainter>
#include <QPixmap>
#include <QTimer>

#include <chrono>
#include <future>

#include "app/AppContext.h"
#include "app/DeviceLinkConnection.h"
#include "app/MainWindowLayout.h"
#include "device/DeviceLink.h"
#include "device/DeviceListener.h"
#include "device/DeviceNoticeHandler.h"
#include "device/ReportTrace.h"
#include "gui/CConfigDialog.h"
#include "gui/CHidMouseDlg.h"
#include "gui/buttons/ButtonAssignmentUi.h"
#include "gui/macro/CMacroProgramDialog.h"
#include "gui/skin/SkinImageCache.h"
#include "ini/IniFile.h"
#include "platform/linux/HidapiBackend.h"
#include "platform/linux/UdevHotplugSource.h"
#include "platform/linux/pointer/DesktopPointerSettings.h"
#include "platform/qt/SingleInstanceLock.h"
#include "profile/ConfigFiles.h"
#include "profile/ProfileFileNames.h"
#include "settings/DesktopPointerSettingsApplier.h"
#include "settings/PointerSettingsChain.h"
#include "sim/SimulatedMouse.h"
#include "macro/MacroManagerModel.h"
#include "text/MainWindowTexts.h"

namespace veldrane {

namespace {

constexpr char kSimulateOption[] = "--simulate";
constexpr char kSimTraceOption[] = "--sim-trace";
// The tip of the tray icon, the same in every language.
constexpr char kTrayTip[] = "Tessaly VELDRANE";

constexpr int kCpiStageButtons = 4;
constexpr int kMacroKeys = 12;

// The tray icon: the letter V in the accent colour on a dark rounded square.
QIcon DrawTrayIcon()
{
    constexpr int kSize = 64;
    QPixmap pixmap(kSize, kSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x20, 0x20, 0x20));
    painter.drawRoundedRect(QRectF(2, 2, kSize - 4, kSize - 4), 12, 12);
    QPen pen(QColor(0x3f, 0xa9, 0xf5));
    pen.setWidth(8);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    painter.setPen(pen);
    const QPointF v[] = {{16, 16}, {32, 48}, {48, 16}};
    painter.drawPolyline(v, 3);
    painter.end();
    return QIcon(pixmap);
}

QString FromUtf8(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

AppOptions ParseAppOptions(const QStringList& arguments)
{
    AppOptions options;
    options.simulate = arguments.contains(QLatin1String(kSimulateOption));
    const qsizetype trace = arguments.indexOf(QLatin1String(kSimTraceOption));
    if (trace >= 0 && trace + 1 < arguments.size()) {
        options.simTrace = arguments[trace + 1];
        options.simulate = true;
    }
    return options;
}

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
        // Without a tray the running instance could not be found by the user: bring it forward.
        if (!m_trayAvailable) {
            m_instanceLock->RequestActivation();
        }
        return 0;
    }
    // The window is hidden most of the time; a message box closed while it is hidden must not end
    // the program.
    QGuiApplication::setQuitOnLastWindowClosed(false);

    ConnectDevice();
    LoadProfileAndSkin();
    CreateWindow();
    CreateTrayIcon();
    WatchHotplug();
    connect(m_instanceLock.get(), &SingleInstanceLock::ActivationRequested, this, &CHidMouseApp::ShowFromTray);

    if (!m_trayAvailable) {
        ShowFromTray();
    }
    const int status = QCoreApplication::exec();
    StopListener();
    return status;
}

void CHidMouseApp::ConnectDevice()
{
    if (m_options.simulate) {
        m_simulated = std::make_unique<SimulatedMouse>(m_clock);
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
    m_changes = std::make_unique<DeviceChangeHandler>(*m_link, m_image, m_records.Current,
                                                      static_cast<DeviceChangeHooks&>(*this));
    m_changes->ConnectAtStartUp();
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
    m_trace = std::make_unique<ReportTrace>([this](const std::string& line) { m_traceFile << line << '\n' << std::flush; },
                                            m_clock);
    m_tracing = std::make_unique<TracingHidBackend>(*m_backend, *m_trace);
    m_backend = m_tracing.get();
}

void CHidMouseApp::LoadProfileAndSkin()
{
    const std::filesystem::path directory = QCoreApplication::applicationDirPath().toStdString();
    m_files = std::make_unique<ConfigFiles>(directory, m_messages, m_codec);
    m_files->LoadConfig(m_records.Current);
    m_records.Snapshot();
    const IniFile labels(m_files->labelPath, m_codec);
    m_language = LanguageFromCode(labels.GetString(kSkinsSection, kLanguageKey));
    m_files->language = m_language;
    m_files->LoadLabels(m_language);
    m_skinDirectory = SkinDirectoryOf(directory, m_files->skin.path);

    m_noticeHandler =
        std::make_unique<DeviceNoticeHandler>(*m_link, m_image, m_records.Current, m_messages, m_language);
    m_noticeTarget = std::make_unique<DeviceNoticeHandlerTarget>(*m_noticeHandler);
    m_connection = std::make_unique<DeviceLinkConnection>(*m_link, m_image, *m_files);

    // The desktop's own settings first, then the program's toolkit, which always follows.
    m_desktopPointer = std::make_unique<DesktopPointerSettings>(DesktopEnvironment::FromProcess());
    m_pointerChain = std::make_unique<PointerSettingsChain>(
        std::initializer_list<PointerSettingsBackend*>{m_desktopPointer.get(), &m_qtPointer});
    m_pointerApplier = std::make_unique<DesktopPointerSettingsApplier>(*m_pointerChain, m_messages);
}

void CHidMouseApp::CreateWindow()
{
    m_images = std::make_unique<SkinImageCache>(m_skinDirectory);
    m_context = std::make_unique<AppContext>(AppContext{m_records, *m_files, *m_connection, m_messages, m_clock,
                                                        m_shell, *m_images, *m_pointerApplier, *m_noticeTarget,
                                                        m_language, MainWindowTextsFor(m_language), m_skinDirectory});
    m_window = std::make_unique<CHidMouseDlg>(*m_context, *m_images);
    m_window->SetHideMinimises(!m_trayAvailable);
    m_window->SetExitHandler([] { QCoreApplication::exit(0); });
    m_window->SetProfileManagerOpener([this] {
        // The manager's notices reach the main window posted, as message 0xB03 does.
        const auto notify = [this](ProfileManagerNotice notice) {
            QTimer::singleShot(0, m_window.get(),
                               [this, notice] { m_window->Model().OnProfileManagerNotice(static_cast<int>(notice)); });
        };
        CConfigDialog::Open({*m_files, m_records.Current, m_codec, m_messages, m_profileFileDialog, m_language,
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
        return CMacroProgramDialog::Run({*m_macroFile, *m_macroState, m_messages, m_language,
                                         m_window->Model().TextColour()},
                                        *m_images, m_keyNames, m_window.get());
    });
}

void CHidMouseApp::CreateTrayIcon()
{
    const MainWindowTexts& texts = MainWindowTextsFor(m_language);
    if (m_options.simulate) {
        AddSimulatorActions(m_trayMenu);
        m_trayMenu.addSeparator();
    }
    connect(m_trayMenu.addAction(FromUtf8(texts.exit)), &QAction::triggered, this, [] { QCoreApplication::exit(0); });

    m_tray = std::make_unique<QSystemTrayIcon>(DrawTrayIcon());
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
    }
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

void CHidMouseApp::HideMainWindow()
{
    if (m_window) {
        m_window->Hide();
    }
}

void CHidMouseApp::ReloadProfile()
{
    if (!m_files) {
        return;
    }
    m_files->LoadConfig(m_records.Current);
    m_files->LoadLabels(m_language);
    if (m_window) {
        m_window->Redraw(std::nullopt);
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
