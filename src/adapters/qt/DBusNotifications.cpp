#include "adapters/qt/DBusNotifications.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QString>
#include <QStringList>
#include <QVariantMap>

#include <string>

namespace veldrane {

namespace {

constexpr char kService[] = "org.freedesktop.Notifications";
constexpr char kPath[] = "/org/freedesktop/Notifications";
constexpr char kInterface[] = "org.freedesktop.Notifications";
// A service that does not answer in this time is taken as absent for this notice: the GUI thread
// waits for the id that the next notice of the kind replaces.
constexpr int kCallTimeoutMs = 1000;
// "urgency" 0 low, 1 normal.
constexpr std::uint8_t kNormalUrgency = 1;

QString FromUtf8(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

DBusNotifications::DBusNotifications(std::string_view appName, std::string_view appIcon)
    : m_appName(appName), m_appIcon(appIcon)
{}

bool DBusNotifications::Notify(NoticeKind kind, std::string_view title, std::string_view text,
                               std::chrono::milliseconds shown)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        return false;
    }
    const auto slot = static_cast<std::size_t>(kind);
    QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kInterface, QStringLiteral("Notify"));
    const QVariantMap hints{{QStringLiteral("transient"), true},
                            {QStringLiteral("urgency"), QVariant::fromValue(kNormalUrgency)},
                            {QStringLiteral("desktop-entry"), QStringLiteral("veldrane")}};
    call << FromUtf8(m_appName) << m_lastIds[slot] << FromUtf8(m_appIcon) << FromUtf8(title) << FromUtf8(text)
         << QStringList() << hints << static_cast<std::int32_t>(shown.count());
    const QDBusMessage reply = bus.call(call, QDBus::Block, kCallTimeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) {
        return false;
    }
    m_lastIds[slot] = reply.arguments().constFirst().toUInt();
    return true;
}

} // namespace veldrane
