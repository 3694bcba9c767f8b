#include "gui/AppFocusUi.h"

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusInterface>
#include <QDBusReply>
#include <QMenu>
#include <QSignalBlocker>
#include <QSocketNotifier>
#include <QVariantMap>

#include <utility>

#include "core/profile/ConfigFiles.h"
#include "core/text/MessageTexts.h"
#include "gui/bus/VeldraneBusService.h"
#include "ports/Clock.h"
#include "ports/MessageSink.h"
#include "screens/main/MainWindowModel.h"

namespace veldrane {

namespace {

constexpr char kKWinService[] = "org.kde.KWin";
constexpr char kKWinScripting[] = "/Scripting";
constexpr char kKWinScriptingInterface[] = "org.kde.kwin.Scripting";
constexpr char kKWinScriptName[] = "veldrane-focus";
constexpr char kGnomeExtensionUuid[] = "veldrane-focus@veldrane.github.io";
// GNOME Shell's extension state of an enabled, running extension.
constexpr double kGnomeExtensionActive = 1.0;

QString FromUtf8(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

AppFocusUi::AppFocusUi(Context context, QObject* parent)
    : QObject(parent), m_context(std::move(context)), m_window(&m_context.window),
      m_switching(
          m_window->Commands(), [this](std::size_t index) { return m_window->SwitchProfile(index); }, m_context.files,
          m_context.messages, m_context.clock, m_context.language)
{
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &AppFocusUi::Check);
}

AppFocusUi::~AppFocusUi()
{
    UnloadKWinScript();
}

void AppFocusUi::Start()
{
    m_switching.LoadRules();
    m_context.bus.SetFocusHandler([this](const FocusReport& report) {
        // A report on the bus shows that the desktop's script or extension runs.
        if (m_unavailable == FocusUnavailable::GnomeExtensionOff) {
            m_unavailable.reset();
            UpdateAction();
        }
        Focus(report);
    });
    m_session = FocusSessionOf(qEnvironmentVariable("WAYLAND_DISPLAY").toStdString(),
                               qEnvironmentVariable("DISPLAY").toStdString(),
                               qEnvironmentVariable("XDG_CURRENT_DESKTOP").toStdString());
    switch (m_session) {
    case FocusSession::X11:
        if (m_context.x11 && m_context.x11->PollDescriptor() >= 0) {
            m_notifier = std::make_unique<QSocketNotifier>(m_context.x11->PollDescriptor(), QSocketNotifier::Read);
            connect(m_notifier.get(), &QSocketNotifier::activated, this, [this] {
                if (const std::optional<FocusReport> report = m_context.x11->TakeFocus()) {
                    Focus(*report);
                }
            });
            if (const std::optional<FocusReport> report = m_context.x11->TakeFocus()) {
                Focus(*report);
            }
            if (!m_context.x11->Available()) {
                m_unavailable = FocusUnavailable::NoSession;
            }
        } else {
            m_unavailable = FocusUnavailable::NoSession;
        }
        break;
    case FocusSession::KdeWayland:
        LoadKWinScript();
        break;
    case FocusSession::GnomeWayland:
        if (!GnomeExtensionEnabled()) {
            m_unavailable = FocusUnavailable::GnomeExtensionOff;
        }
        break;
    case FocusSession::OtherWayland:
        m_unavailable = FocusUnavailable::OtherWayland;
        break;
    case FocusSession::Headless:
        m_unavailable = FocusUnavailable::NoSession;
        break;
    }
}

void AppFocusUi::TakeWindow(MainWindowModel& window, Language language)
{
    m_window = &window;
    m_context.language = language;
    m_switching.TakeWindow(window.Commands(), language);
    if (m_action != nullptr) {
        m_action->setText(FromUtf8(SwitchByApplicationText(language)));
        UpdateAction();
    }
}

void AppFocusUi::AddTrayAction(QMenu& menu)
{
    m_action = menu.addAction(FromUtf8(SwitchByApplicationText(m_context.language)));
    m_action->setCheckable(true);
    menu.setToolTipsVisible(true);
    connect(&menu, &QMenu::aboutToShow, this, [this] {
        // The user may have enabled the extension since.
        if (m_session == FocusSession::X11 && m_notifier) {
            m_unavailable = m_context.x11->Available() ? std::nullopt
                                                       : std::optional<FocusUnavailable>(FocusUnavailable::NoSession);
        }
        if (m_session == FocusSession::GnomeWayland) {
            m_unavailable = GnomeExtensionEnabled()
                                ? std::nullopt
                                : std::optional<FocusUnavailable>(FocusUnavailable::GnomeExtensionOff);
        }
        UpdateAction();
    });
    connect(m_action, &QAction::toggled, this, [this](bool on) {
        AppRules rules = m_switching.Rules();
        rules.SetEnabled(on);
        if (const std::error_code error = m_switching.StoreRules(rules)) {
            m_context.messages.ShowMessage(FormatWithErrorCode(kFileOpenErrorFormat, error.value()),
                                           kFileOpenErrorTitle);
        }
        UpdateAction();
        Check();
    });
    UpdateAction();
}

void AppFocusUi::UpdateAction()
{
    if (m_action == nullptr) {
        return;
    }
    const QSignalBlocker blocker(m_action);
    m_action->setChecked(m_switching.Rules().Enabled());
    m_action->setEnabled(!m_unavailable.has_value());
    m_action->setToolTip(m_unavailable ? FromUtf8(FocusUnavailableText(*m_unavailable, m_context.language))
                                       : m_action->text());
}

void AppFocusUi::Focus(const FocusReport& report)
{
    // The program's own windows switch nothing: the user is editing a profile there.
    if ((!m_context.ownAppId.isEmpty() && (QString::fromStdString(report.appId) == m_context.ownAppId ||
                                           QString::fromStdString(report.windowClass) == m_context.ownAppId)) ||
        (report.pid != 0 && report.pid == static_cast<std::uint32_t>(QCoreApplication::applicationPid()))) {
        return;
    }
    FocusedWindow window{report.appId, report.windowClass, report.instance,
                         m_context.programNameOf ? m_context.programNameOf(report.pid) : std::string()};
    if (m_capture) {
        std::exchange(m_capture, nullptr)(window);
    }
    Schedule(m_switching.FocusChanged(window, QApplication::activeModalWidget() != nullptr));
}

void AppFocusUi::Check()
{
    const std::optional<std::size_t> before = m_window->Commands().LastSentProfile();
    Schedule(m_switching.Check(QApplication::activeModalWidget() != nullptr));
    if (m_window->Commands().LastSentProfile() != before) {
        m_context.bus.Refresh();
    }
}

void AppFocusUi::Schedule(std::optional<std::chrono::milliseconds> at)
{
    if (!at) {
        m_timer.stop();
        return;
    }
    const std::chrono::milliseconds wait = std::max(std::chrono::milliseconds(0), *at - m_context.clock.Now());
    m_timer.start(static_cast<int>(wait.count()));
}

void AppFocusUi::LoadKWinScript()
{
    QDBusInterface scripting(QString::fromLatin1(kKWinService), QString::fromLatin1(kKWinScripting),
                             QString::fromLatin1(kKWinScriptingInterface), QDBusConnection::sessionBus());
    // A script of an earlier run that ended without unloading it goes first.
    scripting.call(QStringLiteral("unloadScript"), QString::fromLatin1(kKWinScriptName));
    const QDBusReply<int> id =
        scripting.call(QStringLiteral("loadScript"), m_context.kwinScript, QString::fromLatin1(kKWinScriptName));
    if (!id.isValid() || id.value() < 0) {
        m_unavailable = FocusUnavailable::NoSession;
        return;
    }
    // Plasma 6 puts the loaded script under /Scripting/Script<id>, Plasma 5 under /<id>.
    for (const QString& path :
         {QStringLiteral("/Scripting/Script%1").arg(id.value()), QStringLiteral("/%1").arg(id.value())}) {
        QDBusInterface script(QString::fromLatin1(kKWinService), path, QStringLiteral("org.kde.kwin.Script"),
                              QDBusConnection::sessionBus());
        if (script.call(QStringLiteral("run")).type() != QDBusMessage::ErrorMessage) {
            m_kwinScriptLoaded = true;
            return;
        }
    }
    m_unavailable = FocusUnavailable::NoSession;
}

void AppFocusUi::UnloadKWinScript()
{
    if (!m_kwinScriptLoaded) {
        return;
    }
    QDBusInterface scripting(QString::fromLatin1(kKWinService), QString::fromLatin1(kKWinScripting),
                             QString::fromLatin1(kKWinScriptingInterface), QDBusConnection::sessionBus());
    scripting.call(QStringLiteral("unloadScript"), QString::fromLatin1(kKWinScriptName));
    m_kwinScriptLoaded = false;
}

bool AppFocusUi::GnomeExtensionEnabled() const
{
    QDBusInterface extensions(QStringLiteral("org.gnome.Shell"), QStringLiteral("/org/gnome/Shell"),
                              QStringLiteral("org.gnome.Shell.Extensions"), QDBusConnection::sessionBus());
    const QDBusReply<QVariantMap> info =
        extensions.call(QStringLiteral("GetExtensionInfo"), QString::fromLatin1(kGnomeExtensionUuid));
    return info.isValid() && info.value().value(QStringLiteral("state")).toDouble() == kGnomeExtensionActive;
}

} // namespace veldrane
