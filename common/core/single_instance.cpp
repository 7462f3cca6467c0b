#include "common/core/single_instance.h"

#include <QDir>
#include <QLockFile>
#include <QStandardPaths>

SingleInstance::SingleInstance(const QString &programName)
{
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty())
        dir = QDir::tempPath();
    dir += QStringLiteral("/ventolux");
    QDir().mkpath(dir);
    m_path = dir + QLatin1Char('/') + programName + QStringLiteral(".lock");
    m_lock = std::make_unique<QLockFile>(m_path);
    // Never stale by age: only a lock whose process is gone is taken over.
    m_lock->setStaleLockTime(0);
}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::tryAcquire()
{
    if (m_lock->isLocked())
        return true;
    return m_lock->tryLock(0);
}

QString SingleInstance::lockPath() const
{
    return m_path;
}
