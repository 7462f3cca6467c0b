// Our driver: simulation, live readings against a scripted instrument, and the faults.
#include "acq/driver/instrument_driver.h"
#include "common/core/date_days.h"
#include "common/core/status_codes.h"
#include "tests/acq/driver/pty_instrument.h"

#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>
#include <cmath>
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

// Reads everything until `count` samples were read or errstat reports a fault.
QStringList drain(InstrumentDriver &d, qint32 count)
{
    QStringList out;
    QTest::qWaitFor([&] {
        while (d.InBufferCount() > 0)
            out << d.Inputs();
        return out.size() >= count || d.errstat() != status::kSuccess;
    });
    return out;
}

// The fault, once every sample has been read.
qint16 waitForFault(InstrumentDriver &d)
{
    QTest::qWaitFor([&] { return d.errstat() != status::kSuccess; });
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
    start(driver, params);
    EXPECT_EQ(drain(driver, 5), (QStringList{"1.00,3600.00,10132,1", "1.01,3636.00,10132,1",
                                             "1.02,3672.00,10132,1", "1.03,3708.00,10132,1",
                                             "1.04,3744.00,10132,1"}));
    QTest::qWait(200); // nothing more happens: no request beyond the count
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
    start(driver, params);
    EXPECT_EQ(drain(driver, 1), QStringList{"196.85,196.85,10136,2"});
}

TEST_F(LiveDriver, AverageSamplingAveragesSeveralReadingsPerInterval)
{
    params.type = 1;
    params.interval = 0.6f;
    params.count = 3;
    // Reading i has velocity i + 1 and pressure 10130, 10130, 10132, 10130, 10130, 10132, ...: a
    // run of readings is found by its mean velocity, and its mean pressure mostly has a fraction
    // (10130.67 over three readings) that must be rounded, not cut off.
    const auto pressure = [](int i) { return 10130 + (i % 3 == 2 ? 2 : 0); };
    pty.reply = [&](int i) {
        return "AV;" + QByteArray::number(i + 1) + ".00;20.0;" + QByteArray::number(pressure(i))
             + ";1\r\n";
    };
    start(driver, params);
    const QStringList samples = drain(driver, 3);
    ASSERT_EQ(samples.size(), 3);
    int first = 0;
    int fractional = 0;
    for (const QString &s : samples) {
        const QStringList f = s.split(',');
        bool matched = false;
        double velocity = 0, pressureSum = 0;
        for (int last = first; last < pty.requests() && !matched; ++last) {
            velocity += last + 1;
            pressureSum += pressure(last);
            const int n = last - first + 1;
            if (QString::number(velocity / n, 'f', 2) != f[0])
                continue;
            matched = true;
            first = last + 1;
            EXPECT_GE(n, 2) << "several readings per interval";
            const double mean = pressureSum / n;
            if (mean - std::floor(mean) == 0.5)
                continue; // how halves go is not this test's business
            fractional += mean != std::floor(mean);
            EXPECT_EQ(f[2].toInt(), std::lround(mean)) << s.toStdString() << " mean " << mean;
        }
        EXPECT_TRUE(matched) << s.toStdString();
    }
    EXPECT_GT(fractional, 0) << "no mean pressure to round";
}

TEST_F(LiveDriver, SilenceIsATimeOut)
{
    pty.reply = [](int i) { return i < 2 ? QByteArray("AV;1.00;20.0;10132;1\r\n") : QByteArray(); };
    start(driver, params);
    // The two samples taken before the fault are read first; then the fault shows.
    ASSERT_TRUE(QTest::qWaitFor([&] { return driver.InBufferCount() == 2; }));
    EXPECT_EQ(driver.errstat(), status::kSuccess);
    driver.Inputs();
    driver.Inputs();
    EXPECT_EQ(waitForFault(driver), 4);
}

TEST_F(LiveDriver, UnpluggedWithSamplesBufferedGivesThemFirstThenAPortError)
{
    params.count = 100;
    start(driver, params);
    ASSERT_TRUE(QTest::qWaitFor([&] { return driver.InBufferCount() >= 3; })); // none read yet
    const qint32 buffered = driver.InBufferCount();
    pty.unplug();
    // The driver has seen the fault once it has let go of its port.
    ASSERT_TRUE(QTest::qWaitFor([&] { return driver.findChildren<QSerialPort *>().isEmpty(); }));
    const qint32 taken = driver.SampleCnt();
    ASSERT_GE(driver.InBufferCount(), buffered);
    ASSERT_EQ(driver.InBufferCount(), taken) << "every sample taken is still there";
    for (qint32 i = 0; i < taken; ++i) {
        EXPECT_EQ(driver.errstat(), status::kSuccess) << "sample " << i + 1 << " of " << taken;
        EXPECT_EQ(driver.Inputs(), QString("1.%1,%2.00,10132,1").arg(i, 2, 10, QChar('0')).arg(3600 + 36 * i));
    }
    EXPECT_EQ(driver.errstat(), 3);
    EXPECT_EQ(driver.SampleCnt(), taken) << "sampling stopped";
}

TEST_F(LiveDriver, AMalformedReplyIsAFormatError)
{
    for (const QByteArray &bad : {QByteArray("XYZ\r\n"), QByteArray("AV;1.00;20.0;10132\r\n"),
                                  QByteArray("AV;fast;20.0;10132;1\r\n"),
                                  QByteArray(300, 'x') /* endless, no line end */}) {
        PtyInstrument instrument;
        instrument.reply = [bad](int) { return bad; };
        InstrumentDriver d;
        d.setStartOnWholeSecond(false);
        Params p = params;
        p.port = instrument.portPath();
        start(d, p);
        EXPECT_EQ(waitForFault(d), 6) << bad.left(30).constData();
    }
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
        p.area = 20000; // 100 x 200 mm
        start(d, p);
        return drain(d, 5);
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

} // namespace

TEST(InstrumentDriver, TheFirstSampleWaitsForTheNextWholeSecond)
{
    InstrumentDriver d;
    Params p;
    p.simulation = true;
    p.count = 1;
    const double before = DateDays::fromDateTime(QDateTime::currentDateTime());
    start(d, p);
    EXPECT_GE(d.StartTime(), before) << "a start time before the call would stamp samples early";
    EXPECT_DOUBLE_EQ(std::round(d.StartTime() * 86400.0), d.StartTime() * 86400.0);
}
