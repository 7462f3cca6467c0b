#include "common/core/event_wait.h"
#include "common/core/single_instance.h"

#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QStandardPaths>
#include <QSysInfo>
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

TEST(SingleInstance, SecondCopyIsRefusedAndAStaleLockIsTakenOver)
{
    {
        SingleInstance first(QStringLiteral("venttest-a"));
        ASSERT_TRUE(first.tryAcquire());
        SingleInstance second(QStringLiteral("venttest-a"));
        EXPECT_FALSE(second.tryAcquire());
    }
    // A lock left behind by a copy that crashed: its process is gone.
    SingleInstance probe(QStringLiteral("venttest-b"));
    QFile lock(probe.lockPath());
    ASSERT_TRUE(lock.open(QIODevice::WriteOnly));
    lock.write("2147483646\nventacq\n" + QSysInfo::machineHostName().toUtf8() + "\n");
    lock.close();
    SingleInstance next(QStringLiteral("venttest-b"));
    EXPECT_TRUE(next.tryAcquire());
}

} // namespace
