#pragma once

#include <QElapsedTimer>
#include <QtGlobal>

// Milliseconds of the system's monotonic clock since the first call in this process.
inline qint64 monotonicMs()
{
    static QElapsedTimer timer;
    if (!timer.isValid())
        timer.start();
    return timer.elapsed();
}
