#include "acq/core/data_file_sync.h"

#include "common/core/durable_file.h"

#include <QFile>

#include <algorithm>
#include <fcntl.h>
#include <unistd.h>

DataFileSync::DataFileSync(Clock clock) : m_clock(orMonotonic(std::move(clock))) {}

void DataFileSync::restart()
{
    m_synced = false;
    m_waiting = false;
}

bool DataFileSync::batchWritten(int fd)
{
    m_waiting = true;
    if (m_synced && m_clock() - m_lastSync < kIntervalMs - m_earlyMs)
        return true;
    return sync(fd);
}

qint64 DataFileSync::msUntilDue() const
{
    if (!m_waiting)
        return -1;
    if (!m_synced)
        return 0;
    return std::max<qint64>(0, kIntervalMs - (m_clock() - m_lastSync));
}

bool DataFileSync::finish(const QString &path)
{
    if (!m_waiting)
        return true;
    // The file is closed between batches: syncing any descriptor of it syncs its data.
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool ok = sync(fd);
    ::close(fd);
    return ok;
}

bool DataFileSync::sync(int fd)
{
    if (!DurableFile::syncData(fd))
        return false;
    m_lastSync = m_clock();
    m_synced = true;
    m_waiting = false;
    ++m_syncs;
    return true;
}
