#include "common/core/event_wait.h"

#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

TEST(EventWait, EndsWhenDoneWhenTheClockStopsOrOnAbort)
{
    QTimer clock;
    clock.setInterval(10);
    int ticks = 0;
    QObject::connect(&clock, &QTimer::timeout, [&] { ++ticks; });
    clock.start();
    EXPECT_EQ(EventWait::until([&] { return ticks >= 3; }, &clock), EventWait::Result::Done);

    // Nested code stops the clock: the wait ends as a time-out instead of hanging.
    QTimer::singleShot(15, [&] { clock.stop(); });
    EXPECT_EQ(EventWait::until([] { return false; }, &clock), EventWait::Result::ClockStopped);

    bool abort = false;
    clock.start();
    QTimer::singleShot(15, [&] { abort = true; });
    EXPECT_EQ(EventWait::until([] { return false; }, &clock, &abort), EventWait::Result::Aborted);
    clock.stop();
}

// Returning at once means not running the event loop: an event already posted stays pending.
TEST(EventWait, DelaysOfZeroAndAbortedDelaysReturnAtOnce)
{
    bool ran = false;
    QTimer::singleShot(0, [&ran] { ran = true; });
    sDelay(0);
    sDelay(-3);
    bool abort = true;
    EventWait::delay(50, &abort); // not after 5 s
    EXPECT_FALSE(ran);
    EXPECT_TRUE(QTest::qWaitFor([&ran] { return ran; }));
}

} // namespace
