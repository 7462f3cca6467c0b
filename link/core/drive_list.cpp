#include "link/core/drive_list.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStorageInfo>

QStringList DriveList::drives()
{
    QStringList list = {QStringLiteral("/")};
    const QString home = driveOf(QDir::homePath());
    if (!home.isEmpty() && !list.contains(home))
        list << home;
    const QList<QStorageInfo> volumes = QStorageInfo::mountedVolumes();
    QStringList removable;
    for (const QStorageInfo &v : volumes) {
        if (!v.isValid() || !v.isReady())
            continue;
        const QString root = v.rootPath();
        if (root.startsWith(QLatin1String("/media/")) || root.startsWith(QLatin1String("/run/media/"))
            || root.startsWith(QLatin1String("/mnt/"))) {
            if (!list.contains(root) && !removable.contains(root))
                removable << root;
        }
    }
    removable.sort();
    return list + removable;
}

QString DriveList::driveOf(const QString &path)
{
    const QStorageInfo info(path);
    if (!info.isValid())
        return QStringLiteral("/");
    return info.rootPath();
}

QString DriveList::defaultFolder()
{
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!documents.isEmpty() && QFileInfo(documents).isDir())
        return QDir::cleanPath(documents);
    return QDir::cleanPath(QDir::homePath());
}

bool DriveList::isReadableFolder(const QString &path)
{
    const QFileInfo info(path);
    return !path.isEmpty() && info.isDir() && info.isReadable() && info.isExecutable();
}

bool DriveList::isOnDrive(const QString &path, const QString &drive)
{
    const QString p = QDir::cleanPath(path);
    const QString d = QDir::cleanPath(drive);
    if (d == QLatin1String("/"))
        return p.startsWith(QLatin1Char('/'));
    return p == d || p.startsWith(d + QLatin1Char('/'));
}
