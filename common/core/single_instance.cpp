#include "common/core/single_instance.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFileSystemWatcher>
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

QString SingleInstance::notePath() const
{
    QString path = m_path;
    path.chop(int(qstrlen(".lock")));
    return path + QStringLiteral(".raise");
}

void SingleInstance::askRunningToRaise() const
{
    QFile note(notePath());
    if (note.open(QIODevice::WriteOnly | QIODevice::Truncate))
        note.write("raise\n");
}

void SingleInstance::onRaiseRequest(std::function<void()> raise)
{
    m_raise = std::move(raise);
    QFile::remove(notePath()); // a note left from before this copy ran asks for nothing
    m_watcher = std::make_unique<QFileSystemWatcher>();
    m_watcher->addPath(QFileInfo(m_path).absolutePath());
    QObject::connect(m_watcher.get(), &QFileSystemWatcher::directoryChanged, m_watcher.get(),
                     [this] { checkNote(); });
}

void SingleInstance::checkNote()
{
    if (!QFile::exists(notePath()))
        return;
    QFile::remove(notePath());
    if (m_raise)
        m_raise();
}
