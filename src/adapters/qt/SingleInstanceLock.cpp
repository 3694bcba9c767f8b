#include "adapters/qt/SingleInstanceLock.h"

#include <QDir>
#include <QLocalSocket>
#include <QStandardPaths>

namespace veldrane {

namespace {

// A later start sends kActivateRequest, its identity and a line feed; the running instance
// answers with one byte.
constexpr char kActivateRequest = 'A';
constexpr char kRequestEnd = '\n';
constexpr char kActivatedAnswer = 'A';
constexpr char kOtherOptionsAnswer = 'O';
constexpr int kConnectTimeoutMs = 500;
// The answer comes as soon as the running instance's event loop turns; a busy one (a save in
// progress) may take a while.
constexpr int kAnswerTimeoutMs = 5000;
// A request longer than this is not one of ours.
constexpr qsizetype kMaxRequestBytes = 64 * 1024;

QString RuntimeDirectory()
{
    QString directory = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (directory.isEmpty()) {
        directory = QDir::tempPath();
    }
    return directory;
}

} // namespace

SingleInstanceLock::SingleInstanceLock(QString directory, QString name, QObject* parent)
    : QObject(parent), m_directory(directory.isEmpty() ? RuntimeDirectory() : std::move(directory)),
      m_name(std::move(name))
{
    connect(&m_server, &QLocalServer::newConnection, this, &SingleInstanceLock::AcceptConnections);
}

SingleInstanceLock::~SingleInstanceLock()
{
    // The server's sockets die with it, after m_requests: their handlers must not run then.
    for (QLocalSocket* socket : m_server.findChildren<QLocalSocket*>()) {
        disconnect(socket, nullptr, this, nullptr);
    }
    m_server.close();
    if (m_lock) {
        m_lock->unlock();
    }
}

QString SingleInstanceLock::LockFilePath() const
{
    return QDir(m_directory).filePath(m_name + QStringLiteral(".lock"));
}

QString SingleInstanceLock::DefaultLockFilePath()
{
    return QDir(RuntimeDirectory()).filePath(QString::fromLatin1(kSingleInstanceName) + QStringLiteral(".lock"));
}

QString SingleInstanceLock::ServerPath() const
{
    return QDir(m_directory).filePath(m_name);
}

bool SingleInstanceLock::TryAcquire(const QString& identity)
{
    m_identity = identity;
    if (IsHeld()) {
        return true;
    }
    QDir().mkpath(m_directory);
    auto lock = std::make_unique<QLockFile>(LockFilePath());
    // Staleness by age would let a second instance in beside a long-running first one; only a
    // lock whose process is gone counts as stale.
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0)) {
        return false;
    }
    m_lock = std::move(lock);
    // A socket left by a crashed instance would make listen fail; the lock says nobody uses it.
    QLocalServer::removeServer(ServerPath());
    m_server.setSocketOptions(QLocalServer::UserAccessOption);
    m_server.listen(ServerPath());
    return true;
}

ActivationAnswer SingleInstanceLock::RequestActivation(const QString& identity) const
{
    QLocalSocket socket;
    socket.connectToServer(ServerPath());
    if (!socket.waitForConnected(kConnectTimeoutMs)) {
        return ActivationAnswer::NoAnswer;
    }
    socket.write(QByteArray(1, kActivateRequest) + identity.toUtf8() + kRequestEnd);
    if (!socket.waitForBytesWritten(kConnectTimeoutMs)) {
        return ActivationAnswer::NoAnswer;
    }
    QByteArray answer;
    while (answer.isEmpty() && socket.waitForReadyRead(kAnswerTimeoutMs)) {
        answer += socket.readAll();
    }
    socket.disconnectFromServer();
    if (answer.startsWith(kOtherOptionsAnswer)) {
        return ActivationAnswer::OtherOptions;
    }
    return answer.startsWith(kActivatedAnswer) ? ActivationAnswer::Activated : ActivationAnswer::NoAnswer;
}

void SingleInstanceLock::AcceptConnections()
{
    while (QLocalSocket* socket = m_server.nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            QByteArray& request = m_requests[socket];
            request += socket->readAll();
            const qsizetype end = request.indexOf(kRequestEnd);
            if (end < 0) {
                if (request.size() > kMaxRequestBytes) {
                    m_requests.remove(socket);
                    socket->abort();
                }
                return;
            }
            const QByteArray line = request.left(end);
            m_requests.remove(socket);
            if (!line.startsWith(kActivateRequest)) {
                socket->abort();
                return;
            }
            const bool same = QString::fromUtf8(line.mid(1)) == m_identity;
            socket->write(QByteArray(1, same ? kActivatedAnswer : kOtherOptionsAnswer));
            socket->flush();
            if (same) {
                emit ActivationRequested();
            }
        });
        connect(socket, &QObject::destroyed, this, [this, socket] { m_requests.remove(socket); });
    }
}

} // namespace veldrane
