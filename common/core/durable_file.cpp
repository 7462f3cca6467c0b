#include "common/core/durable_file.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

bool DurableFile::syncData(int fd)
{
    int r;
    do
        r = ::fdatasync(fd);
    while (r != 0 && errno == EINTR);
    return r == 0;
}

bool DurableFile::syncFolderOf(const QString &path)
{
    const QByteArray folder = QFile::encodeName(QFileInfo(path).absolutePath());
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    int r;
    do
        r = ::fsync(fd);
    while (r != 0 && errno == EINTR);
    const bool ok = r == 0 || errno == EINVAL || errno == EROFS;
    ::close(fd);
    return ok;
}

bool DurableFile::commit(QSaveFile &file)
{
    if (!file.commit())
        return false;
    syncFolderOf(file.fileName());
    return true;
}
