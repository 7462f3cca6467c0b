// The serial link end to end: the real link over QSerialPort against the virtual instrument on a
// pseudo-terminal.
#include "common/core/port_names.h"
#include "common/core/serial_link.h"
#include "common/core/status_codes.h"
#include "tools/ventsim/virtual_instrument.h"

#include <QElapsedTimer>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <ctime>

namespace {

using Fault = InstrumentOptions::Fault;

// The probe with the shortest waits, for tests of order rather than of timing.
constexpr LinkSettings kFast{"fast", 1, 1, 0, 2, true, true};

const QList<qint32> kOrder = {38400, 19200, 9600, 4800};

class Link : public ::testing::Test
{
protected:
    void instrument(qint32 baud, Fault fault = Fault::None,
                                  const std::function<void(InstrumentOptions &)> &adjust = {})
    {
        InstrumentOptions o;
        o.baud = baud;
        o.fault = fault;
        o.registerBridge = false;
        if (adjust)
            adjust(o);
        inst = std::make_unique<VirtualInstrument>(o);
        QString error;
        EXPECT_TRUE(inst->start(&error)) << error.toStdString();
    }

    QList<qint32> presenceRates() const
    {
        QList<qint32> rates;
        for (const auto &c : inst->commands())
            if (c.command == "P")
                rates.append(c.lineBaud);
        return rates;
    }

    static void expectIdle(SerialLink &link)
    {
        EXPECT_FALSE(link.isOpen());
        EXPECT_FALSE(link.tmrRs()->isActive());
        EXPECT_FALSE(link.tmrWait()->isActive());
        EXPECT_FALSE(link.isBusy());
    }

    std::unique_ptr<VirtualInstrument> inst;
};

TEST_F(Link, TheProbeFindsEachRateTryingThemInOrder)
{
    for (qint32 rate : kOrder) {
        instrument(rate);
        SerialLink link(kFast);
        link.setEnableUsb(false);
        EXPECT_EQ(link.fRsAutoConnect(inst->portPath()), status::kSuccess);
        EXPECT_EQ(link.gRsBaud(), rate);
        EXPECT_EQ(link.gLinkStatus(), status::kSuccess);
        EXPECT_EQ(presenceRates(), kOrder.mid(0, kOrder.indexOf(rate) + 1));
        ASSERT_FALSE(inst->commands().isEmpty());
        EXPECT_EQ(inst->commands().last().command, "U");
        EXPECT_EQ(inst->commands().last().lineBaud, rate);
        EXPECT_EQ(link.gUnitReply(), "\nm/s;m3/h;Pa;C\r");
        expectIdle(link);
    }
}

// "Enable USB" is on unless turned off: the probe tries 19200 only.
TEST_F(Link, EnableUsbTriesOnly19200AndOnlyVentlinkKeepsTheUnitReply)
{
    instrument(19200);
    SerialLink acq(LinkSettings::ventacq());
    SerialLink link(LinkSettings::ventlink());
    EXPECT_EQ(acq.fRsAutoConnect(inst->portPath()), status::kSuccess);
    EXPECT_EQ(acq.gUnitReply(), "");
    EXPECT_EQ(link.fRsAutoConnect(inst->portPath()), status::kSuccess);
    EXPECT_EQ(link.gUnitReply(), "\nm/s;m3/h;Pa;C\r");
    EXPECT_EQ(link.gRsBaud(), 19200);
    EXPECT_EQ(presenceRates(), QList<qint32>({19200, 19200}));
}

// An instrument that never gives a matching "AP" line is not found after all four rates: a silent
// one, one whose reply follows a leading LF, one at another rate whose replies arrive as noise. The
// silent one pays the full time-outs: a lower bound on its time is safe on any machine (load only
// slows), and busy waiting would show as CPU time close to the wall time.
TEST_F(Link, AnInstrumentWithoutAMatchingReplyGives3AfterAllFourRates)
{
    for (Fault fault : {Fault::Silent, Fault::LeadingLf, Fault::WrongBaud}) {
        const bool silent = fault == Fault::Silent;
        instrument(19200, fault);
        SerialLink link(silent ? LinkSettings::ventlink() : kFast);
        link.setEnableUsb(false);
        QElapsedTimer clock;
        clock.start();
        const std::clock_t cpu = std::clock();
        EXPECT_EQ(link.fRsAutoConnect(inst->portPath()), SerialLink::kCommError);
        const double seconds = clock.elapsed() / 1000.0;
        const double cpuSeconds = double(std::clock() - cpu) / CLOCKS_PER_SEC;
        EXPECT_EQ(presenceRates(), kOrder);
        EXPECT_EQ(link.gLinkStatus(), 3);
        expectIdle(link);
        for (const auto &c : inst->commands())
            EXPECT_TRUE(c.answered != silent || c.lineBaud != 19200); // what it did at its rate
        if (silent) {
            EXPECT_GT(seconds, 4.4); // 0.4 s after "P" and 0.75 to 1 s of receive time-out per rate
            EXPECT_LT(cpuSeconds, seconds / 4) << cpuSeconds << " s of CPU in " << seconds << " s";
        }
    }
}

TEST_F(Link, ALineWithoutCrIsReturnedAsReceivedAtTheTimeOut)
{
    instrument(19200, Fault::StopMidDump, [](InstrumentOptions &o) {
        o.faultAfter = 0;
        o.ahLines = 0;
    });
    SerialLink link(LinkSettings::ventacq());
    ASSERT_EQ(link.fRsOpen(inst->portPath(), 19200, false), status::kSuccess);
    ASSERT_EQ(link.fRsSend("H\r\n"), status::kSuccess);
    QString line;
    EXPECT_EQ(link.fRsReceive(line, "\r"), status::kSuccess);
    // Half of the 29 characters of "\n001;300;200;mm;VEL;10132;1\r\n".
    EXPECT_EQ(line, "\n001;300;200;m");
    EXPECT_FALSE(link.tmrRs()->isActive());
    EXPECT_EQ(link.fRsClose(), status::kSuccess);
}

TEST_F(Link, OpenFailuresAndOperationsOnAClosedPort)
{
    SerialLink link(LinkSettings::ventlink());
    link.setEnableUsb(false);
    EXPECT_EQ(link.fRsAutoConnect("/dev/no-such-port"), SerialLink::kOpenError);
    EXPECT_EQ(link.gLinkStatus(), 1);
    EXPECT_EQ(link.fRsClose(), status::kSuccess);
    EXPECT_EQ(link.fRsSend("P\r\n"), status::kFailure);
    EXPECT_EQ(link.gLinkStatus(), 3);
    QString out;
    EXPECT_EQ(link.fRsReceive(out, "\r"), SerialLink::kCommError);
    EXPECT_EQ(link.fRsStartRead(), status::kFailure);
    EXPECT_EQ(link.gLinkStatus(), status::kFailure);

    instrument(19200);
    ASSERT_EQ(link.fRsOpen(inst->portPath(), 19200, false), status::kSuccess);
    EXPECT_EQ(link.fRsOpen(inst->portPath(), 19200, false), SerialLink::kOpenError);
    EXPECT_EQ(link.fRsClose(), status::kSuccess);
    EXPECT_EQ(link.fRsClose(), status::kSuccess);
    EXPECT_EQ(link.fRsOpen(qint16(0), 19200, false), SerialLink::kOpenError);

    // A port another program holds: the probe ends at the first rate.
    QSerialPort other(inst->portPath());
    ASSERT_TRUE(other.open(QIODevice::ReadWrite));
    const int before = int(inst->commands().size());
    EXPECT_EQ(link.fRsAutoConnect(inst->portPath()), SerialLink::kOpenError);
    EXPECT_EQ(inst->commands().size(), before);
    expectIdle(link);
}

// A second probe started from an event inside the first fails to open the port and stops tmrRs:
// the outer probe's receives end as time-outs (a hang would end the test program). A nested wait
// stopping the clock ends the outer wait too.
TEST_F(Link, NestedOperationsEndAndTheOuterOnesDoNotHang)
{
    instrument(4800);
    SerialLink link(LinkSettings::ventacq());
    link.setEnableUsb(false);
    qint16 inner = 0;
    QTimer::singleShot(300, [&] { inner = link.fRsAutoConnect(inst->portPath()); });
    const qint16 outer = link.fRsAutoConnect(inst->portPath());
    EXPECT_EQ(inner, SerialLink::kOpenError);
    EXPECT_TRUE(outer == status::kSuccess || outer == SerialLink::kCommError) << outer;
    expectIdle(link);

    QTimer::singleShot(100, [&] { link.sRsWait(1); });
    link.sRsWait(25); // 5 s unless its clock is stopped
    EXPECT_LT(link.waitTicks(), 25); // ended as a time-out: the nested wait's one tick counted
    expectIdle(link);
}

// An abort from inside a nested wait ends that wait and the probe around it.
TEST_F(Link, AbortEndsTheProbeAndNestedOperations)
{
    instrument(19200, Fault::Silent);
    SerialLink link(LinkSettings::ventlink());
    link.setEnableUsb(false);
    qint16 inner = 0;
    QTimer::singleShot(100, [&] {
        QTimer::singleShot(200, [&] { link.abort(); });
        link.sRsWait(50);
        inner = 1;
    });
    EXPECT_EQ(link.fRsAutoConnect(inst->portPath()), status::kCancelled);
    EXPECT_EQ(inner, 1);
    EXPECT_EQ(link.gLinkStatus(), status::kCancelled);
    EXPECT_EQ(presenceRates(), QList<qint32>({38400})); // ended within the first rate
    expectIdle(link);

    // The flag belonged to that probe; the next one runs.
    instrument(38400);
    SerialLink fast(kFast);
    fast.setEnableUsb(false);
    fast.abort();
    EXPECT_EQ(fast.fRsAutoConnect(inst->portPath()), status::kSuccess);
}

// ventacq keeps the link's values in its AppState.
TEST_F(Link, BoundFieldsHoldTheLinksValues)
{
    instrument(19200);
    qint16 status = 0, port = 1, usbEnable = 1;
    qint32 baud = 9600, receiveTicks = 0, waitTicks = 0;
    QString portPath;
    SerialLink link(LinkSettings::ventacq());
    link.bind({&status, &port, &baud, &receiveTicks, &waitTicks, &portPath, nullptr, &usbEnable});
    EXPECT_EQ(link.fRsAutoConnect(inst->portPath()), status::kSuccess);
    // The found rate and status: LiveRun.TwentySamplesFromTheVirtualInstrument.
    EXPECT_EQ(portPath, inst->portPath());
    EXPECT_EQ(port, PortNames::numberForPath(inst->portPath()));
    EXPECT_GE(waitTicks, 2); // the last wait of ventacq's column

    usbEnable = 0; // read when the probe starts
    instrument(38400);
    EXPECT_EQ(link.fRsAutoConnect(inst->portPath()), status::kSuccess);
    EXPECT_EQ(baud, 38400);
}

} // namespace
