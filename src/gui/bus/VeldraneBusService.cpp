#include "gui/bus/VeldraneBusService.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QMetaObject>

#include <algorithm>
#include <string>

#include "core/exchange/ProfileJsonTransfer.h"
#include "core/profile/ConfigFiles.h"
#include "core/profile/ProfileRecord.h"
#include "core/text/MessageTexts.h"
#include "core/text/TrayTexts.h"
#include "ports/MessageSink.h"
#include "screens/main/MainWindowModel.h"
#include "screens/main/MouseConnection.h"

namespace veldrane {

namespace {

constexpr char kPropertiesInterface[] = "org.freedesktop.DBus.Properties";
// The errors of the interface, under io.github.veldrane.Veldrane1.Error.
constexpr char kErrorNoMouse[] = "io.github.veldrane.Veldrane1.Error.NoMouse";
constexpr char kErrorBusy[] = "io.github.veldrane.Veldrane1.Error.Busy";
constexpr char kErrorNoSuchProfile[] = "io.github.veldrane.Veldrane1.Error.NoSuchProfile";
constexpr char kErrorUnsavedEdits[] = "io.github.veldrane.Veldrane1.Error.UnsavedEdits";
constexpr char kErrorInvalidProfile[] = "io.github.veldrane.Veldrane1.Error.InvalidProfile";
constexpr char kErrorFailed[] = "io.github.veldrane.Veldrane1.Error.Failed";
// How long a notice about a switch stays, as the mouse's own notices do.
constexpr std::chrono::milliseconds kSwitchNotice{5000};
// The report-rate codes are intervals in milliseconds.
constexpr unsigned kMillisecondsPerSecond = 1000;

QString FromUtf8(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Which error answers an outcome, and the words that go with it.
std::pair<const char*, QString> ErrorOf(const SwitchOutcome& outcome)
{
    switch (outcome.result) {
    case SwitchResult::NoMouse:
        return {kErrorNoMouse, QStringLiteral("The gaming mouse is not connected")};
    case SwitchResult::Busy:
        return {kErrorBusy, QStringLiteral("A download to the mouse or the profile manager is running")};
    case SwitchResult::NoSuchProfile:
        return {kErrorNoSuchProfile, QStringLiteral("There is no profile at that position")};
    case SwitchResult::UnsavedEdits:
        return {kErrorUnsavedEdits, QStringLiteral("The window holds settings that are not saved")};
    case SwitchResult::NotTaken:
        return {kErrorFailed, QStringLiteral("The gaming mouse did not take the profile; it is loaded and saved")};
    case SwitchResult::Failed:
    case SwitchResult::Switched:
        break;
    }
    return {kErrorFailed, FromUtf8(outcome.reason)};
}

} // namespace

VeldraneBusService::VeldraneBusService(Context context, QObject* parent)
    : QObject(parent), m_context(std::move(context)), m_window(&m_context.window), m_commands(&m_window->Commands())
{
    m_active = m_context.files.CurrentProfileIndex();
    m_lastSentSeen = m_commands->LastSentProfile();
    // Until the mouse reports a switch it is taken to be on its first stage.
    m_cpi = m_context.records.Current.cpiValue[0] * static_cast<unsigned>(kCpiUnit);
    m_announced = Properties();
}

void VeldraneBusService::TakeWindow(MainWindowModel& window, Language language)
{
    m_window = &window;
    m_commands = &window.Commands();
    m_context.language = language;
}

bool VeldraneBusService::Register()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        qWarning("veldrane: no session bus; the D-Bus interface is not offered");
        return false;
    }
    if (!bus.registerObject(QString::fromLatin1(kObjectPath), this,
                            QDBusConnection::ExportScriptableSlots | QDBusConnection::ExportScriptableSignals |
                                QDBusConnection::ExportScriptableProperties)) {
        qWarning("veldrane: cannot export %s on the session bus", kObjectPath);
        return false;
    }
    if (!bus.registerService(QString::fromLatin1(kServiceName))) {
        qWarning("veldrane: %s is taken on the session bus; the D-Bus interface is not offered", kServiceName);
        bus.unregisterObject(QString::fromLatin1(kObjectPath));
        return false;
    }
    m_registered = true;
    return true;
}

// Properties -------------------------------------------------------------------------------------

bool VeldraneBusService::Connected() const
{
    return m_context.mouse.IsConnected();
}

QStringList VeldraneBusService::Profiles() const
{
    QStringList names;
    for (const std::string& name : m_commands->ProfileNames()) {
        names << QString::fromStdString(name);
    }
    return names;
}

bool VeldraneBusService::Busy() const
{
    return m_pending || m_commands->Busy();
}

uint VeldraneBusService::ReportRateHz() const
{
    const unsigned interval = m_context.records.Current.reportRate;
    return interval == 0 ? 0 : kMillisecondsPerSecond / interval;
}

bool VeldraneBusService::UnsavedEdits() const
{
    return m_commands->HasUnsavedEdits();
}

QString VeldraneBusService::ActiveProfileName() const
{
    return Profiles().value(m_active);
}

QVariantMap VeldraneBusService::Properties() const
{
    return {{QStringLiteral("Connected"), Connected()},
            {QStringLiteral("Simulated"), Simulated()},
            {QStringLiteral("Profiles"), Profiles()},
            {QStringLiteral("ActiveProfile"), ActiveProfile()},
            {QStringLiteral("Busy"), Busy()},
            {QStringLiteral("CpiStage"), CpiStage()},
            {QStringLiteral("Cpi"), QVariant::fromValue(Cpi())},
            {QStringLiteral("ReportRateHz"), QVariant::fromValue(ReportRateHz())},
            {QStringLiteral("UnsavedEdits"), UnsavedEdits()}};
}

void VeldraneBusService::Refresh()
{
    // A download that "Save" or "Reset" ran for a profile other than the last one sent.
    const std::optional<std::size_t> lastSent = m_commands->LastSentProfile();
    if (lastSent != m_lastSentSeen && !m_pending) {
        m_lastSentSeen = lastSent;
        if (lastSent && static_cast<int>(*lastSent) != m_active) {
            SwitchOutcome outcome;
            outcome.result = SwitchResult::Switched;
            outcome.index = *lastSent;
            outcome.name = Profiles().value(static_cast<int>(*lastSent)).toStdString();
            Announce(outcome, QStringLiteral("window"));
        }
    }
    const QVariantMap now = Properties();
    QVariantMap changed;
    for (auto it = now.begin(); it != now.end(); ++it) {
        if (m_announced.value(it.key()) != it.value()) {
            changed.insert(it.key(), it.value());
        }
    }
    if (changed.isEmpty()) {
        return;
    }
    m_announced = now;
    if (m_registered) {
        QDBusMessage signal =
            QDBusMessage::createSignal(QString::fromLatin1(kObjectPath), QString::fromLatin1(kPropertiesInterface),
                                       QStringLiteral("PropertiesChanged"));
        signal << QString::fromLatin1(kInterfaceName) << changed << QStringList();
        QDBusConnection::sessionBus().send(signal);
    }
    if (m_changed) {
        m_changed();
    }
}

// Switching --------------------------------------------------------------------------------------

void VeldraneBusService::RunSwitch(std::size_t index, const QString& reason,
                                   std::function<void(const SwitchOutcome&)> done)
{
    m_pending = true;
    Refresh(); // Busy
    // Posted, not timed: a call that is already waiting is served first, and finds the switch
    // running.
    QMetaObject::invokeMethod(
        this,
        [this, index, reason, done = std::move(done)] {
            const SwitchOutcome outcome = m_window->SwitchProfile(index);
            if (outcome.Loaded()) {
                m_lastSentSeen = m_commands->LastSentProfile();
                Announce(outcome, reason);
            }
            // The calls that came while the download held the GUI thread wait in the queue ahead
            // of this: they are refused as busy, not run one after the other.
            QMetaObject::invokeMethod(
                this,
                [this] {
                    m_pending = false;
                    Refresh();
                },
                Qt::QueuedConnection);
            done(outcome);
        },
        Qt::QueuedConnection);
}

void VeldraneBusService::Announce(const SwitchOutcome& outcome, const QString& reason)
{
    m_active = static_cast<int>(outcome.index);
    // The mouse stays on its stage; the stage now has the new profile's CPI.
    m_cpi = m_context.records.Current.cpiValue[static_cast<std::size_t>(std::clamp(m_stage, 1, 6) - 1)] *
            static_cast<unsigned>(kCpiUnit);
    const QString name = QString::fromStdString(outcome.name);
    emit ProfileSwitched(m_active, name, reason);
    m_context.messages.ShowNotice(NoticeKind::ProfileSwitched,
                                  std::string(SwitchToProfileText(m_context.language)) + outcome.name,
                                  MessageCaptionsFor(m_context.language).info, kSwitchNotice);
}

void VeldraneBusService::SwitchForUser(std::size_t index, const QString& reason)
{
    if (Busy()) {
        return; // the running switch or download is what the user sees
    }
    RunSwitch(index, reason, [this](const SwitchOutcome& outcome) { m_commands->ReportSwitch(outcome); });
}

void VeldraneBusService::StepForUser(int step, const QString& reason)
{
    if (const auto index = m_commands->StepProfile(step)) {
        SwitchForUser(*index, reason);
    }
}

void VeldraneBusService::ReplyError(const QDBusMessage& call, const SwitchOutcome& outcome)
{
    const auto [name, words] = ErrorOf(outcome);
    QDBusConnection::sessionBus().send(call.createErrorReply(QString::fromLatin1(name), words));
}

void VeldraneBusService::SwitchForBus(std::optional<std::size_t> index)
{
    if (!calledFromDBus()) {
        return;
    }
    SwitchOutcome refused;
    if (!index) {
        refused.result = SwitchResult::NoSuchProfile;
        ReplyError(message(), refused);
        return;
    }
    if (Busy()) {
        refused.result = SwitchResult::Busy;
        ReplyError(message(), refused);
        return;
    }
    setDelayedReply(true);
    RunSwitch(*index, QStringLiteral("bus"), [this, call = message()](const SwitchOutcome& outcome) {
        if (outcome.result == SwitchResult::Switched) {
            QDBusConnection::sessionBus().send(call.createReply());
            return;
        }
        ReplyError(call, outcome);
        if (outcome.result == SwitchResult::NotTaken) {
            m_commands->ReportSwitch(outcome); // the warning of "Save"
        }
    });
}

void VeldraneBusService::SwitchProfile(int index)
{
    SwitchForBus(index < 0 ? std::nullopt : std::optional<std::size_t>(static_cast<std::size_t>(index)));
}

void VeldraneBusService::SwitchProfileByName(const QString& name)
{
    SwitchForBus(m_commands->ProfileIndexOf(name.toStdString()));
}

void VeldraneBusService::NextProfile()
{
    SwitchForBus(m_commands->StepProfile(1));
}

void VeldraneBusService::PreviousProfile()
{
    SwitchForBus(m_commands->StepProfile(-1));
}

void VeldraneBusService::ShowWindow()
{
    if (m_context.showWindow) {
        m_context.showWindow();
    }
}

void VeldraneBusService::FocusChanged(const QString& appId, const QString& windowClass, const QString& /*title*/,
                                      uint pid)
{
    if (calledFromDBus()) {
        // The session bus is the user's own, but a bus can be shared: only a program of the user
        // that runs the configurator may steer its profiles.
        QDBusConnectionInterface* bus = connection().interface();
        if (bus == nullptr ||
            bus->serviceUid(message().service()).value() != bus->serviceUid(connection().baseService()).value()) {
            sendErrorReply(QDBusError::AccessDenied,
                           QStringLiteral("Only the user's own session may report the focus"));
            return;
        }
    }
    if (m_focusHandler) {
        m_focusHandler(FocusReport{appId.toStdString(), windowClass.toStdString(), {}, pid});
    }
}

// Readable profiles ------------------------------------------------------------------------------

QString VeldraneBusService::ExportProfile(int index)
{
    const std::size_t count = m_commands->ProfileNames().size();
    if (index < 0 || static_cast<std::size_t>(index) >= count) {
        sendErrorReply(QString::fromLatin1(kErrorNoSuchProfile),
                       QStringLiteral("There is no profile at that position"));
        return {};
    }
    const JsonExport exported = m_context.json.ExportStored(static_cast<std::size_t>(index));
    if (!exported.error.empty()) {
        sendErrorReply(QString::fromLatin1(kErrorFailed), FromUtf8(exported.error));
        return {};
    }
    return QString::fromStdString(exported.json);
}

void VeldraneBusService::ImportProfile(int index, const QString& json)
{
    const std::size_t count = m_commands->ProfileNames().size();
    if (index < 0 || static_cast<std::size_t>(index) >= count) {
        sendErrorReply(QString::fromLatin1(kErrorNoSuchProfile),
                       QStringLiteral("There is no profile at that position"));
        return;
    }
    if (Busy()) {
        sendErrorReply(QString::fromLatin1(kErrorBusy), QStringLiteral("A download to the mouse is running"));
        return;
    }
    const auto slot = static_cast<std::size_t>(index);
    // The loaded profile's file is the window's: its unsaved edits are neither dropped nor stored.
    const bool loaded = slot == m_context.files.CurrentProfileIndex();
    if (loaded && UnsavedEdits()) {
        sendErrorReply(QString::fromLatin1(kErrorUnsavedEdits),
                       QStringLiteral("The window holds settings that are not saved"));
        return;
    }
    const JsonImport imported = m_context.json.ImportInto(slot, json.toStdString());
    if (!imported.problems.empty()) {
        QStringList problems;
        for (const std::string& problem : imported.problems) {
            problems << QString::fromStdString(problem);
        }
        sendErrorReply(QString::fromLatin1(kErrorInvalidProfile), problems.join(QLatin1Char('\n')));
        return;
    }
    if (!imported.error.empty()) {
        sendErrorReply(QString::fromLatin1(kErrorFailed), FromUtf8(imported.error));
        return;
    }
    if (loaded) {
        m_window->ReloadProfile();
        m_context.records.Snapshot();
    }
    Refresh();
}

// The mouse's own switches -----------------------------------------------------------------------

void VeldraneBusService::CpiStageReported(std::uint8_t stage, unsigned cpi)
{
    m_stage = stage;
    m_cpi = cpi;
    emit CpiStageChanged(stage, cpi);
    Refresh();
}

void VeldraneBusService::MacroKeyReported(std::uint8_t key)
{
    emit MacroKeyPressed(key);
}

} // namespace veldrane
