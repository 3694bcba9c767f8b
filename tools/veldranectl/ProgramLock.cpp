#include "ProgramLock.h"

#include <QDir>
#include <QFileInfo>
#include <QLockFile>

#include "adapters/qt/SingleInstanceLock.h"

namespace veldrane::ctl {

ProgramLock::ProgramLock()
    : m_path(SingleInstanceLock::DefaultLockFilePath().toStdString()),
      m_lock(std::make_unique<QLockFile>(QString::fromStdString(m_path)))
{
    // As the program's own lock: only a lock whose process is gone is stale, whatever its age.
    m_lock->setStaleLockTime(0);
}

ProgramLock::~ProgramLock()
{
    m_lock->unlock();
}

bool ProgramLock::TryAcquire()
{
    QDir().mkpath(QFileInfo(QString::fromStdString(m_path)).path());
    return m_lock->tryLock(0);
}

std::string ProgramLock::Path() const
{
    return m_path;
}

} // namespace veldrane::ctl
