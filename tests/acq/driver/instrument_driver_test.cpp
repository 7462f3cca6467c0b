// Our driver: simulation, live readings against an instrument on a pty, and the faults.
#include "acq/driver/instrument_driver.h"
#include "common/core/date_days.h"
#include "common/core/status_codes.h"
#include "tests/acq/driver/pty_instrument.h"

#include <QDateTime>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace {

struct Params
{
    float interval = 0.1f;
    qint32 count = 5;
    double area = 1e6; // 1 m2 in mm2: the flow in m3/h is 3600 x the velocity
    qint16 type = 0;
    qint16 velocityUnit = 0, flowUnit = 0, ductUnit = 0;
    bool simulation = false;
    qint32 baud = 19200;
    QString port;
};

void start(InstrumentDriver &d, Params p)
{
    d.startmeasu(p.interval, p.count, p.area, p.area, p.area, p.area, p.type, p.velocityUnit,
                 p.flowUnit, p.ductUnit, p.simulation, p.baud, p.port);
}

// Reads everything until `count` samples were read, errstat reports a fault, or `ms` passed.
QStringList drain(InstrumentDriver &d, qint32 count, int ms, qint16 *fault = nullptr)
{
    QStringList out;
    QElapsedTimer t;
    t.start();
    qint16 e = status::kSuccess;
    while (out.size() < count && t.elapsed() < ms) {
        QTest::qWait(10);
        while (d.InBufferCount() > 0)
            out << d.Inputs();
        e = d.errstat();
        if (e != status::kSuccess)
            break;
    }
    if (fault)
        *fault = e;
    return out;
}

qint16 waitForFault(InstrumentDriver &d, int ms)
{
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms) {
        QTest::qWait(10);
        if (d.InBufferCount() == 0 && d.errstat() != status::kSuccess)
            return d.errstat();
    }
    return d.errstat();
}

class LiveDriver : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(pty.isOpen());
        driver.setStartOnWholeSecond(false);
        params.port = pty.portPath();
    }
    PtyInstrument pty;
    InstrumentDriver driver;
    Params params;
};

TEST_F(LiveDriver, InstantSamplingTakesOneReadingPerInterval)
{
    QElapsedTimer t;
    t.start();
    start(driver, params);
    const QStringList samples = drain(driver, 5, 3000);
    EXPECT_EQ(samples, (QStringList{"1.00,3600.00,10132,1", "1.01,3636.00,10132,1",
                                    "1.02,3672.00,10132,1", "1.03,3708.00,10132,1",
                                    "1.04,3744.00,10132,1"}));
    EXPECT_GE(t.elapsed(), 380) << "five readings 0.1 s apart";
    QTest::qWait(200);
    EXPECT_EQ(pty.requests(), 5);
}

TEST_F(LiveDriver, UnitsAndDuctAreaShapeTheSample)
{
    // 1 m/s through 1 ft2: 196.85 FPM and 196.85 ft3/min.
    params.velocityUnit = 1;
    params.flowUnit = 3;
    params.ductUnit = 2;
    params.area = 1;
    params.count = 1;
    pty.reply = [](int) { return QByteArray("AV;1.00;20.0;10136;2\r"); };
    EXPECT_EQ(drain((start(driver, params), driver), 1, 2000),
              QStringList{"196.85,196.85,10136,2"});
}

TEST_F(LiveDriver, AverageSamplingAveragesSeveralReadingsPerInterval)
{
    params.type = 1;
    params.interval = 0.6f;
    params.count = 2;
    pty.reply = [](int i) {
        return "AV;" + QByteArray::number(i + 1) + ".00;20.0;" + QByteArray::number(10130 + i)
             + ";1\r\n";
    };
    start(driver, params);
    const QStringList samples = drain(driver, 2, 4000);
    ASSERT_EQ(samples.size(), 2);
    // Replies carry velocities 1, 2, 3, ...: each sample is the mean of a run of them.
    int first = 0;
    for (const QString &s : samples) {
        const QStringList f = s.split(',');
        bool matched = false;
        double sum = 0;
        double pressure = 0;
        for (int last = first; last < pty.requests() && !matched; ++last) {
            sum += last + 1;
            pressure += 10130 + last;
            const int n = last - first + 1;
            if (QString::number(sum / n, 'f', 2) == f[0]) {
                EXPECT_GE(n, 2) << "several readings per interval";
                EXPECT_EQ(f[2].toInt(), qRound(pressure / n));
                first = last + 1;
                matched = true;
            }
        }
        EXPECT_TRUE(matched) << s.toStdString();
    }
}

TEST_F(LiveDriver, SilenceIsATimeOut)
{
    pty.reply = [](int i) { return i < 2 ? QByteArray("AV;1.00;20.0;10132;1\r\n") : QByteArray(); };
    start(driver, params);
    // The two samples taken before the fault are read first; then the fault shows.
    ASSERT_TRUE(QTest::qWaitFor([&] { return driver.InBufferCount() == 2; }, 5000));
    EXPECT_EQ(driver.errstat(), status::kSuccess);
    driver.Inputs();
    driver.Inputs();
    EXPECT_EQ(waitForFault(driver, 2000), 4);
}

TEST_F(LiveDriver, AMalformedReplyIsAFormatError)
{
    for (const QByteArray &bad : {QByteArray("XYZ\r\n"), QByteArray("AV;1.00;20.0;10132\r\n"),
                                  QByteArray("AV;fast;20.0;10132;1\r\n")}) {
        PtyInstrument instrument;
        instrument.reply = [bad](int) { return bad; };
        InstrumentDriver d;
        d.setStartOnWholeSecond(false);
        Params p = params;
        p.port = instrument.portPath();
        start(d, p);
        EXPECT_EQ(waitForFault(d, 1500), 6) << bad.constData();
    }
}

TEST_F(LiveDriver, EndlessGarbageWithoutLineEndIsAFormatError)
{
    pty.reply = [](int) { return QByteArray(300, 'x'); };
    start(driver, params);
    EXPECT_EQ(waitForFault(driver, 1500), 6);
}

TEST_F(LiveDriver, UnpluggingIsAPortError)
{
    params.count = 100;
    start(driver, params);
    drain(driver, 2, 2000);
    pty.unplug();
    EXPECT_EQ(waitForFault(driver, 1500), 3);
    const qint32 taken = driver.SampleCnt();
    QTest::qWait(200);
    EXPECT_EQ(driver.SampleCnt(), taken) << "sampling stopped";
}

TEST(InstrumentDriver, APortThatCannotBeOpenedIsAnOpenError)
{
    InstrumentDriver d;
    Params p;
    p.port = "/nonexistent/ttyUSB9";
    start(d, p);
    EXPECT_EQ(d.errstat(), 1);
    EXPECT_EQ(d.SampleCnt(), 0);
}

TEST(InstrumentDriver, ParametersItCannotSampleWithAreRefused)
{
    struct Case { float interval; qint32 count; };
    for (const Case &c : {Case{0.05f, 5}, Case{0.0f, 5}, Case{-1.0f, 5}, Case{1.0f, 0}}) {
        InstrumentDriver d;
        Params p;
        p.simulation = true;
        p.interval = c.interval;
        p.count = c.count;
        start(d, p);
        EXPECT_EQ(d.errstat(), 8) << c.interval << " " << c.count;
    }
}

TEST(InstrumentDriver, SimulationIsRepeatableAndPlausible)
{
    auto run = [](quint32 seed) {
        InstrumentDriver d;
        d.setStartOnWholeSecond(false);
        d.setSeed(seed);
        Params p;
        p.simulation = true;
        p.count = 5;
        p.area = 20000; // 100 x 200 mm
        start(d, p);
        return drain(d, 5, 3000);
    };
    const QStringList a = run(7);
    ASSERT_EQ(a.size(), 5);
    EXPECT_EQ(run(7), a);
    EXPECT_NE(run(8), a);
    const QRegularExpression form(R"(^(\d+\.\d\d),(\d+\.\d\d),(\d+),1$)");
    for (const QString &s : a) {
        const QRegularExpressionMatch m = form.match(s);
        ASSERT_TRUE(m.hasMatch()) << s.toStdString();
        const double v = m.captured(1).toDouble();
        EXPECT_GE(v, 0.0);
        EXPECT_LT(v, 20.0);
        EXPECT_NEAR(m.captured(2).toDouble(), v * 0.02 * 3600, 0.01 * 72 + 0.01);
        EXPECT_NEAR(m.captured(3).toInt(), 10132, 15);
    }
}

TEST(InstrumentDriver, SignalsEachSampleTheEndAndAFault)
{
    // What the run control's poll waits for instead of a clock.
    InstrumentDriver d;
    d.setStartOnWholeSecond(false);
    QSignalSpy samples(&d, &MeasurementDriver::samplesReady);
    QSignalSpy ended(&d, &MeasurementDriver::runEnded);
    QSignalSpy faults(&d, &MeasurementDriver::statusChanged);
    Params p;
    p.simulation = true;
    p.count = 3;
    start(d, p);
    ASSERT_TRUE(QTest::qWaitFor([&] { return ended.count() == 1; }, 3000));
    EXPECT_EQ(samples.count(), 3);
    EXPECT_EQ(d.InBufferCount(), 3);
    EXPECT_EQ(faults.count(), 0);

    InstrumentDriver unopened;
    QSignalSpy unopenedFaults(&unopened, &MeasurementDriver::statusChanged);
    p.simulation = false;
    p.port = "/nonexistent/ttyUSB9";
    start(unopened, p);
    EXPECT_EQ(unopenedFaults.count(), 1);
}

TEST(InstrumentDriver, FirstSampleOnTheNextWholeSecond)
{
    InstrumentDriver d;
    Params p;
    p.simulation = true;
    p.count = 1;
    const double before = DateDays::fromDateTime(QDateTime::currentDateTime());
    start(d, p);
    const double startTime = d.StartTime();
    EXPECT_GE(startTime, before);
    EXPECT_LE(startTime - before, 1.0 / 86400.0 + 1e-9);
    ASSERT_EQ(drain(d, 1, 2000).size(), 1);
    const double taken = DateDays::fromDateTime(QDateTime::currentDateTime());
    EXPECT_GE(taken, startTime - 0.005 / 86400.0) << "not before StartTime";
}

} // namespace
