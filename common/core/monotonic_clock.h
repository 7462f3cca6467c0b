#pragma once

#include <QElapsedTimer>
#include <QtGlobal>

#include <functional>

// Milliseconds of the system's monotonic clock since the first call in this process.
inline qint64 monotonicMs()
{
    static QElapsedTimer timer;
    if (!timer.isValid())
        timer.start();
    return timer.elapsed();
}

// A clock in milliseconds for classes that pace things in time; tests hand in their own.
using MonotonicClock = std::function<qint64()>;

// `clock`, or the system's monotonic clock when none is given.
inline MonotonicClock orMonotonic(MonotonicClock clock)
{
    return clock ? std::move(clock) : MonotonicClock(monotonicMs);
}
