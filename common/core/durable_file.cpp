#include "common/core/durable_file.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace {
// A sync call, repeated when a signal interrupts it; 0 on success, as the call returns.
int retried(int (*call)(int), int fd)
{
    int r;
    do
        r = call(fd);
    while (r != 0 && errno == EINTR);
    return r;
}
} // namespace

bool DurableFile::syncData(int fd)
{
    return retried(::fdatasync, fd) == 0;
}

bool DurableFile::syncFolderOf(const QString &path)
{
    const QByteArray folder = QFile::encodeName(QFileInfo(path).absolutePath());
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool ok = retried(::fsync, fd) == 0 || errno == EINVAL || errno == EROFS;
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
