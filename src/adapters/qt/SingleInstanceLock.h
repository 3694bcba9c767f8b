#pragma once

#include <QLocalServer>
#include <QLockFile>
#include <QObject>
#include <QString>

#include <memory>

namespace veldrane {

// The name every instance of the program looks for.
inline constexpr char kSingleInstanceName[] = "QWZQ481CalveshMutex";

// One running instance per user: a lock file in a directory of the user's (the runtime directory
// by default) plus a local server of the same name beside it. The lock file holds the process id,
// so a lock left behind by a crashed instance is taken over; the server's socket left behind with
// it is removed then, since only the holder of the lock may listen. A later start can ask the
// running instance, through the server, to bring its window forward.
class SingleInstanceLock : public QObject
{
    Q_OBJECT

public:
    // An empty directory means the user's runtime directory.
    explicit SingleInstanceLock(QString directory = {}, QString name = QString::fromLatin1(kSingleInstanceName),
                                QObject* parent = nullptr);
    ~SingleInstanceLock() override;

    // True when this process now holds the lock and listens for activation requests; false when
    // another live process holds it.
    bool TryAcquire();
    bool IsHeld() const { return m_lock && m_lock->isLocked(); }

    // From a second instance: asks the running one to bring its window forward. True when it
    // received the request.
    bool RequestActivation() const;

    QString LockFilePath() const;
    QString ServerPath() const;

signals:
    // A later start asked this instance to show itself.
    void ActivationRequested();

private:
    void AcceptConnections();

    QString m_directory;
    QString m_name;
    std::unique_ptr<QLockFile> m_lock;
    QLocalServer m_server;
};

} // namespace veldrane
