// The contract every measurement driver keeps, checked for each implementation: our driver in
// simulation, live with instant and with average sampling (against a scripted instrument), and the
// scripted fake.
#include "acq/driver/instrument_driver.h"
#include "acq/driver/scripted_driver.h"
#include "common/core/status_codes.h"
#include "tests/acq/driver/pty_instrument.h"

#include <QTest>
#include <cmath>
#include <gtest/gtest.h>

namespace {

enum class Kind { Simulation, LiveInstant, LiveAverage, Scripted };

std::string kindName(Kind k)
{
    const char *names[] = {"Simulation", "LiveInstant", "LiveAverage", "Scripted"};
    return names[int(k)];
}

class DriverContract : public ::testing::TestWithParam<Kind>
{
protected:
    static constexpr qint32 kCount = 5;

    bool live() const { return GetParam() == Kind::LiveInstant || GetParam() == Kind::LiveAverage; }

    void SetUp() override
    {
        if (GetParam() == Kind::Scripted) {
            QVector<ScriptedDriver::Step> script;
            for (int i = 1; i <= kCount; ++i)
                script.push_back({{QString("%1.00,%2.00,10132,1").arg(i).arg(i * 36)}, i});
            driver = std::make_unique<ScriptedDriver>(script, 41395.0 + 37230.0 / 86400.0);
            return;
        }
        auto d = std::make_unique<InstrumentDriver>();
        d->setStartOnWholeSecond(false);
        driver = std::move(d);
    }

    // 100 x 100 mm, m/s and m3/h, 19200 baud.
    void start()
    {
        float interval = GetParam() == Kind::LiveAverage ? 0.25f : 0.1f;
        qint32 count = kCount, baud = 19200;
        double area = 10000;
        qint16 type = GetParam() == Kind::LiveAverage ? 1 : 0, unit = 0;
        bool simulation = GetParam() == Kind::Simulation;
        QString port = pty.portPath();
        driver->startmeasu(interval, count, area, area, area, area, type, unit, unit, unit,
                           simulation, baud, port);
    }

    // Polls like the run control until `count` samples were read; no fault may show meanwhile.
    QStringList collect(qint32 count)
    {
        QStringList out;
        QTest::qWaitFor([&] {
            EXPECT_GE(driver->SampleCnt(), 0);
            for (qint32 n = driver->InBufferCount(); n > 0; --n) {
                EXPECT_EQ(driver->errstat(), status::kSuccess);
                out << driver->Inputs();
            }
            EXPECT_EQ(driver->errstat(), status::kSuccess);
            return out.size() >= count;
        }, 5000);
        return out;
    }

    // A live driver closes its port once it takes no more samples.
    void expectPortClosed()
    {
        if (live())
            EXPECT_TRUE(QTest::qWaitFor([&] { return driver->findChildren<QSerialPort *>().isEmpty(); }));
    }

    PtyInstrument pty;
    std::unique_ptr<MeasurementDriver> driver;
};

TEST_P(DriverContract, StartTimeIsWholeSeconds)
{
    start();
    const double seconds = driver->StartTime() * 86400.0;
    EXPECT_NEAR(seconds, std::round(seconds), 1e-4);
    EXPECT_GT(driver->StartTime(), 40000.0);
}

TEST_P(DriverContract, SamplesComeInOrderAndNeverMoreThanRequested)
{
    ASSERT_TRUE(pty.isOpen());
    start();
    const QStringList samples = collect(kCount);
    ASSERT_EQ(samples.size(), kCount);
    expectPortClosed();
    for (int i = 0; i < 3; ++i)
        driver->SampleCnt(); // the fake moves on a step per poll
    EXPECT_EQ(driver->InBufferCount(), 0) << "nothing beyond the requested count";
    EXPECT_EQ(driver->errstat(), status::kSuccess);
    EXPECT_EQ(driver->SampleCnt(), kCount);
    double previous = -1;
    for (const QString &s : samples) {
        const QStringList f = s.split(',');
        ASSERT_EQ(f.size(), 4) << s.toStdString();
        if (GetParam() != Kind::Simulation) {
            // The instrument's (and the script's) velocities rise from sample to sample.
            EXPECT_GT(f[0].toDouble(), previous) << s.toStdString();
            previous = f[0].toDouble();
        }
        EXPECT_EQ(f[3], "1");
    }
}

TEST_P(DriverContract, StopAndEndMayBeCalledAgainAndAgain)
{
    start();
    collect(1);
    for (int i = 0; i < 3; ++i) {
        driver->StopMeasu();
        for (int k = 0; k < 10; ++k)
            driver->EndVL4402Drv();
    }
    const qint32 buffered = driver->InBufferCount();
    expectPortClosed();
    EXPECT_LE(driver->InBufferCount(), buffered) << "nothing is taken after the stop";
    EXPECT_GE(driver->SampleCnt(), 0);
}

INSTANTIATE_TEST_SUITE_P(Implementations, DriverContract,
                         ::testing::Values(Kind::Simulation, Kind::LiveInstant, Kind::LiveAverage,
                                           Kind::Scripted),
                         [](const ::testing::TestParamInfo<Kind> &info) { return kindName(info.param); });

} // namespace
