#pragma once

#include "common/core/monotonic_clock.h"

#include <QString>
#include <QtGlobal>

// Paces the syncs of the data file to the disk. The batches of a run are written whole lines at a
// time and flushed at once (a kill loses nothing); a power cut can still lose what the system had
// not yet written back. So a batch is also synced (fdatasync) when the last sync is at least a
// second old; a batch that comes sooner waits for the next batch, or for finish() when the run
// ends. A power cut then costs at most the samples of the last second, and the file never ends in
// half a line. A run at 10 samples a second syncs once a second, not ten times.
class DataFileSync
{
public:
    using Clock = MonotonicClock;
    static constexpr qint64 kIntervalMs = 1000;

    // Without a clock, the system's monotonic clock.
    explicit DataFileSync(Clock clock = Clock());

    // A new run: its first batch (with the header) is synced at once.
    void restart();
    // A batch that comes less than `ms` before the second is up is synced at once too, in the same
    // pass as its writing (0 by default). Batches that come once a second then never wait for a
    // sync of their own a moment later; the syncs stay almost a second apart and never later.
    void setEarlyMs(qint64 ms) { m_earlyMs = qBound(qint64(0), ms, kIntervalMs); }
    // After a batch was written and flushed to the open file `fd`: syncs it when due. False when
    // the sync failed (the batch stays waiting).
    bool batchWritten(int fd);
    // Syncs the file at `path` when a batch is waiting (the end of a run). False when it could
    // not be synced.
    bool finish(const QString &path);

    bool waiting() const { return m_waiting; }
    // Milliseconds until the waiting batch is due (0: due now); -1 when no batch waits. The run
    // control syncs it then, so a run that pauses keeps the one-second promise too.
    qint64 msUntilDue() const;
    int syncCount() const { return m_syncs; }

private:
    bool sync(int fd);

    Clock m_clock;
    qint64 m_lastSync = 0;
    qint64 m_earlyMs = 0;
    bool m_synced = false; // m_lastSync holds a time
    bool m_waiting = false;
    int m_syncs = 0;
};
