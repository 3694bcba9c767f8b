#include "adapters/qt/SingleInstanceLock.h"

#include <QDir>
#include <QLocalSocket>
#include <QStandardPaths>

namespace veldrane {

namespace {

// The one byte a later start sends to the running instance.
constexpr char kActivateRequest = 'A';
constexpr int kConnectTimeoutMs = 500;

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
    m_server.close();
    if (m_lock) {
        m_lock->unlock();
    }
}

QString SingleInstanceLock::LockFilePath() const
{
    return QDir(m_directory).filePath(m_name + QStringLiteral(".lock"));
}

QString SingleInstanceLock::ServerPath() const
{
    return QDir(m_directory).filePath(m_name);
}

bool SingleInstanceLock::TryAcquire()
{
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

bool SingleInstanceLock::RequestActivation() const
{
    QLocalSocket socket;
    socket.connectToServer(ServerPath());
    if (!socket.waitForConnected(kConnectTimeoutMs)) {
        return false;
    }
    socket.write(&kActivateRequest, 1);
    const bool sent = socket.waitForBytesWritten(kConnectTimeoutMs);
    socket.disconnectFromServer();
    return sent;
}

void SingleInstanceLock::AcceptConnections()
{
    while (QLocalSocket* socket = m_server.nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            if (socket->readAll().contains(kActivateRequest)) {
                emit ActivationRequested();
            }
        });
    }
}

} // namespace veldrane
