#include "common/core/event_wait.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

EventWait::Result EventWait::until(const std::function<bool()> &done, const QTimer *clock,
                                   const bool *abort)
{
    for (;;) {
        if (abort && *abort)
            return Result::Aborted;
        if (done())
            return Result::Done;
        if (!clock || !clock->isActive())
            return Result::ClockStopped;
        // Sleeps until at least the clock's next tick.
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
}

void EventWait::delay(int count, const bool *abort)
{
    if (count < 1)
        return;
    int ticks = 0;
    QTimer clock;
    clock.setInterval(100);
    QObject::connect(&clock, &QTimer::timeout, [&ticks] { ++ticks; });
    clock.start();
    until([&] { return ticks >= count; }, &clock, abort);
    clock.stop();
}

void sDelay(qint16 count)
{
    EventWait::delay(count);
}
