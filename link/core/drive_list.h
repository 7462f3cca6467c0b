#pragma once

#include <QString>
#include <QStringList>

// The drives of the folder browser: "/" and the mounted volumes a user saves to (the home
// volume, removable media under /media, /run/media and /mnt), each named by its mount point.
class DriveList
{
public:
    static QStringList drives();
    // The drive (mount point) that holds `path`.
    static QString driveOf(const QString &path);
    // The default folder: the Documents folder when it exists, else the home folder.
    static QString defaultFolder();
    // True when the folder exists and its entries can be listed.
    static bool isReadableFolder(const QString &path);
    // True when `path` lies on or under `drive`.
    static bool isOnDrive(const QString &path, const QString &drive);
};
