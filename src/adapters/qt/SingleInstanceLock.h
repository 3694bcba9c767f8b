#pragma once

#include <QByteArray>
#include <QHash>
#include <QLocalServer>
#include <QLockFile>
#include <QObject>
#include <QString>

#include <memory>

namespace veldrane {

// The name every instance of the program looks for.
inline constexpr char kSingleInstanceName[] = "QWZQ481CalveshMutex";

// What the running instance answers a later start that asks it to come forward.
enum class ActivationAnswer
{
    Activated,    // it runs with the same options and brings its window forward
    OtherOptions, // it runs with other options (another data folder) and stays as it is
    NoAnswer,     // nobody listens, or nobody answered in time
};

// One running instance per user: a lock file in a directory of the user's (the runtime directory
// by default) plus a local server of the same name beside it. The lock file holds the process id,
// so a lock left behind by a crashed instance is taken over; the server's socket left behind with
// it is removed then, since only the holder of the lock may listen. A later start can ask the
// running instance, through the server, to bring its window forward; it names what it would run
// with (its identity: the data folder), and the running instance comes forward only when that is
// its own, so that a start with other options is not mistaken for a second click on the menu.
//
// The request is one line, 'A' followed by the identity in UTF-8; the answer one byte, 'A' when
// the instance came forward, 'O' when it runs with another identity.
class SingleInstanceLock : public QObject
{
    Q_OBJECT

public:
    // An empty directory means the user's runtime directory.
    explicit SingleInstanceLock(QString directory = {}, QString name = QString::fromLatin1(kSingleInstanceName),
                                QObject* parent = nullptr);
    ~SingleInstanceLock() override;

    // True when this process now holds the lock and listens for activation requests with the
    // given identity; false when another live process holds it.
    bool TryAcquire(const QString& identity = {});
    bool IsHeld() const { return m_lock && m_lock->isLocked(); }

    // From a second instance with `identity`: asks the running one to bring its window forward.
    ActivationAnswer RequestActivation(const QString& identity = {}) const;

    QString LockFilePath() const;
    // The lock file of the default lock (the user's runtime directory, kSingleInstanceName), for a
    // companion program that must keep the configurator from starting while it works.
    static QString DefaultLockFilePath();
    QString ServerPath() const;

signals:
    // A later start asked this instance to show itself.
    void ActivationRequested();

private:
    void AcceptConnections();

    QString m_directory;
    QString m_name;
    QString m_identity;
    std::unique_ptr<QLockFile> m_lock;
    QLocalServer m_server;
    // What each connection has sent so far, until its line is whole.
    QHash<const QObject*, QByteArray> m_requests;
};

} // namespace veldrane
