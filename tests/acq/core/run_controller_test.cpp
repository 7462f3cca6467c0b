#include "acq/core/run_controller.h"
#include "acq/core/status_report.h"
#include "acq/driver/scripted_driver.h"
#include "common/core/status_codes.h"
#include "tests/acq/core/acq_test_support.h"

#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

using Step = ScriptedDriver::Step;

QStringList samples(int from, int count)
{
    QStringList out;
    for (int i = from; i < from + count; ++i)
        out << QString("%1.00,%2.0,10132,1").arg(i).arg(i * 10);
    return out;
}

class RunControllerTest : public ::testing::Test
{
protected:
    RunControllerTest()
    {
        state->presenter = &presenter;
        state->lastDataPath = dir.path() + "/VL4402Data.VXD";
        state->sampleCount = 5;
        state->sampleTime = 1.0f;
        state->portNumber = 3;
        state->portPath = "/dev/ttyUSB0";
        state->baudRate = 19200;
        state->ductArea = 20000;
        state->dataState = 1;
        probe.result.baudRate = 38400;
    }

    void start(QVector<Step> script)
    {
        controller = std::make_unique<RunController>(
            *state, display, display,
            [this, script] {
                auto d = std::make_unique<ScriptedDriver>(script, 41395.5);
                log = d->log();
                ++driversMade;
                return std::unique_ptr<MeasurementDriver>(std::move(d));
            },
            &probe);
        controller->sStartMeasu();
    }
    void poll(int times = 1)
    {
        for (int i = 0; i < times; ++i)
            controller->tmrGetData_Timer();
    }
    void expectDriverEnded()
    {
        EXPECT_EQ(log->stopCount, 1);
        EXPECT_EQ(log->endCount, 10);
        EXPECT_TRUE(log->destroyed);
        EXPECT_FALSE(state->driver);
        EXPECT_FALSE(controller->tmrGetData()->isActive());
    }

    QTemporaryDir dir;
    std::unique_ptr<AppState> state = acqtest::makeState();
    acqtest::RecordingPresenter presenter;
    acqtest::RecordingDisplay display;
    acqtest::FakeProbe probe;
    std::unique_ptr<RunController> controller;
    std::shared_ptr<ScriptedDriver::Log> log;
    int driversMade = 0;
};

TEST_F(RunControllerTest, StartHandsTheDriverItsThirteenArguments)
{
    state->sampleTime = 0.5f;
    state->sampleCount = 120;
    state->sampleType = 0;
    state->velocityUnit = 1;
    state->flowUnit = 3;
    state->ductUnit = 2;
    start({});
    ASSERT_TRUE(log);
    EXPECT_EQ(std::tuple(probe.calls, probe.lastPort, probe.lastPath),
              std::tuple(1, 3, "/dev/ttyUSB0"));
    for (double a : log->areas)
        EXPECT_EQ(a, 20000.0);
    EXPECT_EQ(std::tuple(log->velocityUnit, log->flowUnit, log->ductUnit), std::tuple(1, 3, 2));
    EXPECT_EQ(std::tuple(log->simulation, log->baudRate, log->port),
              std::tuple(false, 38400, "/dev/ttyUSB0"));
    EXPECT_EQ(log->calls, (QStringList{"startmeasu", "StartTime"}));

    EXPECT_TRUE(state->measuring);
    EXPECT_EQ(std::tuple(state->idle, state->dataState, state->receivedCount), std::tuple(0, 0, 0));
    EXPECT_EQ(std::tuple(state->startTime, state->graphTimeStep, state->startSecond),
              std::tuple(41395.5, 0.5f, 43200.0));
    EXPECT_EQ(std::tuple(state->velXPosition, state->flowXPosition), std::tuple(43200.5, 43200.5));
    EXPECT_FALSE(controller->tmrGetData()->isActive()) << "no poll before the driver has news";
    EXPECT_TRUE(controller->tmrGetData()->isSingleShot());
    for (const char *call : {"smIniGraphDataNum_ws(4,1)", "clearTablesForRun", "smSetGraphGrid(0)"})
        EXPECT_TRUE(display.calls.contains(call)) << call;
    // Without a chosen path the port number stands for a ttyS.
    state->portPath.clear();
    state->portNumber = 2;
    EXPECT_EQ(RunController::portPathFor(*state), "/dev/ttyS1");

    for (auto signal : {&MeasurementDriver::samplesReady, &MeasurementDriver::statusChanged,
                        &MeasurementDriver::runEnded}) {
        Q_EMIT(state->driver.get()->*signal)();
        EXPECT_TRUE(controller->tmrGetData()->isActive());
        controller->tmrGetData()->stop();
    }
}

// Polls come at most about four times a second: news soon after a poll waits for a later one.
TEST_F(RunControllerTest, NewsSoonAfterAPollIsPolledWithLaterNews)
{
    start({{samples(1, 2), 2}, {samples(3, 2), 4}});
    qint64 now = 0;
    controller->setPollClock([&now] { return now; });
    QTimer &timer = *controller->tmrGetData();
    Q_EMIT state->driver->samplesReady();
    EXPECT_EQ(std::pair(timer.isActive(), timer.interval()), std::pair(true, 0)) << "at once";
    timer.stop();
    poll();
    now = 100;
    Q_EMIT state->driver->samplesReady();
    EXPECT_EQ(std::pair(timer.isActive(), timer.interval()), std::pair(true, 400))
        << "half a second after the poll at the latest";
    now = 260;
    Q_EMIT state->driver->statusChanged();
    EXPECT_EQ(std::pair(timer.isActive(), timer.interval()), std::pair(true, 0)) << "the gap is over";
    EXPECT_TRUE(QTest::qWaitFor([&] { return !timer.isActive(); }, 5000));
    EXPECT_EQ(state->receivedCount, 4);
}

TEST_F(RunControllerTest, AStopTakesTheSamplesWaitingForTheirPoll)
{
    start({{samples(1, 2), 2}, {samples(3, 2), 4}});
    qint64 now = 0;
    controller->setPollClock([&now] { return now; });
    poll();
    now = 100;
    Q_EMIT state->driver->samplesReady();
    ASSERT_TRUE(controller->tmrGetData()->isActive());
    controller->sStopMeasu();
    EXPECT_EQ(std::tuple(state->receivedCount, state->measuring, state->dataState),
              std::tuple(4, false, 3));
    expectDriverEnded();
    QFile file(state->lastDataPath);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll().count("\r\n"), 9 + 4) << "header and all four samples";
}

TEST_F(RunControllerTest, CountReachedInSeveralBatches)
{
    start({{samples(1, 2), 2}, {{}, 2}, {samples(3, 2), 4}, {samples(5, 1), 5}});
    poll(3);
    EXPECT_EQ(std::tuple(state->receivedCount, state->measuring, state->dataState),
              std::tuple(4, true, 3));
    EXPECT_TRUE(presenter.shown.isEmpty());
    display.calls.clear();
    poll();
    EXPECT_EQ(std::tuple(state->receivedCount, state->measuring, state->dataState, state->idle),
              std::tuple(5, false, 3, 1));
    EXPECT_EQ(presenter.texts(), QStringList{"The measurement ended. "});
    EXPECT_EQ(std::pair(presenter.shown[0].icon, presenter.shown[0].caption),
              std::pair(MessagePresenter::Icon::Information,
                        QString("Ventolux Data Acquisition Software")));
    EXPECT_EQ(display.velocityCells, (QStringList{"1.00", "2.00", "3.00", "4.00", "5.00"}));
    EXPECT_EQ(display.flowCells, (QStringList{"10.0", "20.0", "30.0", "40.0", "50.0"}));
    // The last batch is drawn before the run switches to browsing.
    EXPECT_LT(display.calls.indexOf("sGraphData_ws(1,43200)"),
              display.calls.indexOf("setTableBrowsing_ws"));
    EXPECT_TRUE(display.calls.contains("smSetGraphGrid(1)"));
    expectDriverEnded();

    // A batch that overshoots the count ends the run too.
    start({{samples(1, 3), 3}, {samples(4, 4), 7}});
    poll(2);
    EXPECT_EQ(std::tuple(state->receivedCount, state->measuring), std::tuple(7, false));
}

TEST_F(RunControllerTest, SampleCntBelowZeroReadsNothing)
{
    Step waiting{samples(1, 2), -1, 4, -1};
    start({waiting, waiting, {{}, 4}});
    log->calls.clear();
    poll(2);
    EXPECT_EQ(log->calls, (QStringList{"SampleCnt", "SampleCnt"})) << "not even errstat";
    EXPECT_EQ(std::tuple(state->receivedCount, state->measuring), std::tuple(0, true));
    EXPECT_TRUE(presenter.shown.isEmpty());
    poll(); // once the count is up again, the waiting samples come through
    EXPECT_EQ(state->receivedCount, 4);
}

TEST_F(RunControllerTest, DecodingStatusMidBatchDropsTheBatch)
{
    start({{samples(1, 2), 2}, {samples(3, 3), 3, 4, 1}});
    poll();
    const QByteArray before = acqtest::readFile(state->lastDataPath);
    display.calls.clear();
    poll();
    EXPECT_FALSE(state->measuring);
    EXPECT_EQ(state->receivedCount, 2) << "the batch is not counted";
    EXPECT_EQ(acqtest::readFile(state->lastDataPath), before) << "nor saved";
    EXPECT_FALSE(display.calls.contains("sSetWSTableData(3)")) << "nor displayed";
    EXPECT_EQ(presenter.texts(), QStringList{"It is RS232c reception time-out."});
    EXPECT_EQ(std::tuple(state->dataState, state->statusCode), std::tuple(3, status::kSuccess));
}

TEST_F(RunControllerTest, StopTwiceDoesNothingTheSecondTime)
{
    start({{samples(1, 2), 2}});
    poll();
    controller->sStopMeasu();
    const QStringList calls = display.calls;
    controller->sStopMeasu();
    EXPECT_EQ(display.calls, calls);
    expectDriverEnded();
    EXPECT_EQ(state->dataState, 3);
    poll();
    EXPECT_EQ(state->receivedCount, 2) << "a poll after the stop does nothing";

    // Stopped before any sample: no data.
    start({{{}, 0}});
    poll();
    controller->sStopMeasu();
    EXPECT_EQ(std::tuple(state->dataState, state->idle, state->measuring), std::tuple(1, 1, false));
    EXPECT_TRUE(presenter.shown.isEmpty());
}

// A failed probe reports the link's status; one stopped by the operator reports nothing. Either
// way the driver made for the run is ended unstarted and the data stay as they were.
TEST_F(RunControllerTest, AFailedOrStoppedProbeEndsTheDriverAndKeepsThePreviousData)
{
    struct Case { qint16 status; qint32 dataState; QStringList texts; };
    for (const Case &c : {Case{3, 2, {"RS232c communication error."}}, Case{-30000, 3, {}}}) {
        presenter.shown.clear();
        state->dataState = c.dataState;
        state->receivedCount = 40;
        probe.result.status = c.status;
        start({{samples(1, 5), 5}});
        EXPECT_EQ(presenter.texts(), c.texts);
        EXPECT_EQ(log->startCount, 0);
        expectDriverEnded();
        EXPECT_EQ(std::tuple(state->measuring, state->idle), std::tuple(false, 1));
        EXPECT_EQ(state->dataState, c.dataState) << "saved data stay saved";
        EXPECT_EQ(state->baudRate, 19200);
    }
    EXPECT_EQ(driversMade, 2);
}

TEST_F(RunControllerTest, ADataFileFailureIsReportedOnceAndStopsTheRun)
{
    state->lastDataPath = dir.path() + "/no/such/folder/VL4402Data.VXD";
    start({{samples(1, 2), 2}, {samples(3, 2), 4}});
    poll(2);
    EXPECT_EQ(std::tuple(state->measuring, log->stopCount), std::tuple(false, 1));
    ASSERT_EQ(presenter.shown.size(), 1);
    EXPECT_EQ(presenter.shown[0].text,
              "The data file could not be written, so the measurement was stopped:\n"
                  + state->lastDataPath + ": no such file or folder");
    EXPECT_EQ(presenter.shown[0].icon, MessagePresenter::Icon::Exclamation);
    EXPECT_EQ(std::tuple(state->receivedCount, state->dataState), std::tuple(2, 3))
        << "the batch on display is counted";
}

TEST_F(RunControllerTest, ANestedTickDuringAMessageReturnsAtOnce)
{
    start({{samples(1, 5), 5}, {samples(6, 2), 7}});
    int nested = 0;
    presenter.whileShown = [&] {
        const int before = int(log->calls.size());
        controller->tmrGetData_Timer();
        nested += int(log->calls.size()) - before;
    };
    poll();
    EXPECT_EQ(std::tuple(nested, presenter.shown.size(), state->receivedCount, state->measuring),
              std::tuple(0, 1, 5, false));
}

// A code that does not stop the run is shown once per run; a signal while it is shown is polled
// after it.
TEST_F(RunControllerTest, ANonStoppingCodeIsShownOnceAndASignalMeanwhileIsPolledAfterIt)
{
    Step odd{{}, 0, 17, -1};
    start({odd, odd, {samples(1, 5), 5}});
    presenter.whileShown = [&] {
        if (state->driver)
            Q_EMIT state->driver->samplesReady();
    };
    poll();
    ASSERT_EQ(presenter.texts(), QStringList{"RS232c cannot be opened. "});
    EXPECT_TRUE(controller->tmrGetData()->isActive()) << "the samples signalled meanwhile wait";
    EXPECT_TRUE(QTest::qWaitFor([&] { return !controller->tmrGetData()->isActive(); }, 2000));
    EXPECT_EQ(std::tuple(presenter.shown.size(), state->measuring), std::tuple(1, true));
    poll(); // the second odd code came through the timer: this poll takes the samples
    EXPECT_EQ(std::tuple(state->receivedCount, state->measuring), std::tuple(5, false));
    EXPECT_EQ(presenter.texts(),
              (QStringList{"RS232c cannot be opened. ", "The measurement ended. "}));
}

TEST_F(RunControllerTest, StatusCodesTableAndReportsWhileIdle)
{
    struct Case { qint16 code; int index; bool stops; };
    const Case cases[] = {
        {1, 0, true},   {2, 1, true},   {3, 2, true},   {5, 2, true},   {4, 3, true},
        {7, 4, true},   {6, 5, true},   {8, 5, true},   {10, 10, false}, {11, 11, false},
        {12, 12, false}, {13, 13, false}, {20, 9, true}, {99, 14, true},  {9, 0, false},
        {14, 0, false}, {21, 0, false}, {98, 0, false}, {0, 0, false},   {-5, 0, false},
    };
    for (const Case &c : cases) {
        const StatusReport r = StatusReport::forCode(c.code);
        EXPECT_EQ(r.messageIndex, c.index) << c.code;
        EXPECT_EQ(r.stopsRun, c.stops) << c.code;
    }

    // While idle a code is shown each time and changes nothing.
    controller = std::make_unique<RunController>(*state, display, display, nullptr, nullptr);
    controller->sReportStatus(13);
    controller->sReportStatus(13);
    EXPECT_EQ(presenter.texts(), QStringList(2, "the value of input is error!"));
    EXPECT_TRUE(display.calls.isEmpty());
    EXPECT_EQ(state->dataState, 1);
}

} // namespace
