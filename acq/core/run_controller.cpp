#include "acq/core/run_controller.h"

#include "acq/core/app_state.h"
#include "acq/core/connection_probe.h"
#include "acq/core/data_file.h"
#include "acq/core/run_display.h"
#include "acq/core/sample_decoder.h"
#include "acq/core/status_report.h"
#include "acq/driver/measurement_driver.h"
#include "common/core/date_days.h"
#include "common/core/io_failure.h"
#include "common/core/message_presenter.h"
#include "common/core/status_codes.h"

#include <cmath>

RunController::RunController(AppState &state, RunDisplay &display, RunStatusView &view,
                             DriverFactory driverFactory, ConnectionProbe *probe, QObject *parent)
    : QObject(parent), m_state(state), m_display(display), m_view(view),
      m_driverFactory(std::move(driverFactory)), m_probe(probe)
{
    m_tmrGetData.setObjectName(QStringLiteral("tmrGetData"));
    m_tmrGetData.setSingleShot(true);
    connect(&m_tmrGetData, &QTimer::timeout, this, &RunController::tmrGetData_Timer);
    // A batch left waiting for its sync is synced when it is due, even if no batch follows.
    m_tmrSync.setSingleShot(true);
    // Batches a second apart (a run at 1 s) would otherwise each come a little too soon and be
    // synced by the timer alone, a moment later.
    m_dataFileSync.setEarlyMs(kSyncEarlyMs);
    connect(&m_tmrSync, &QTimer::timeout, this,
            [this] { m_dataFileSync.finish(m_state.lastDataPath); });
}

RunController::~RunController()
{
    m_tmrGetData.stop();
    m_tmrSync.stop();
    m_dataFileSync.finish(m_state.lastDataPath);
}

QString RunController::portPathFor(const AppState &state)
{
    if (!state.portPath.isEmpty())
        return state.portPath;
    return QStringLiteral("/dev/ttyS") + QString::number(qMax(0, state.portNumber - 1));
}

void RunController::sStartMeasu()
{
    if (m_state.measuring)
        return;
    const bool simulate = m_state.simulation == 1;

    // Bind a fresh driver for this run.
    m_state.driver = m_driverFactory ? m_driverFactory() : nullptr;
    m_runStarted = false;

    if (!simulate) {
        ConnectionProbe::Result probe;
        probe.status = status::kFailure;
        if (m_probe && m_state.driver)
            probe = m_probe->autoConnect(m_state.portNumber, portPathFor(m_state));
        m_state.statusCode = probe.status;
        if (probe.status == status::kCancelled) {
            // The operator stopped the probe: end the driver just bound, with no error message.
            m_state.measuring = true;
            sStopMeasu();
            return;
        }
        if (probe.status != status::kSuccess) {
            // Ends the driver just bound; the data of the previous run stay as they were. A port
            // that could not be opened is named with the system's reason below the message.
            m_detail = describeIoFailure(probe.failure, m_state.texts, m_state.languageOffset);
            sReportStatus(runstatus::kProbeFailed);
            m_detail.clear();
            return;
        }
        if (probe.baudRate > 0)
            m_state.baudRate = probe.baudRate;
    }
    if (!m_state.driver) {
        sReportStatus(runstatus::kProbeFailed);
        return;
    }

    m_state.statusCode = status::kSuccess;
    m_state.idle = 0;
    m_state.measuring = true;
    m_state.receivedCount = 0;
    m_state.dataState = 0;
    resetStatistics();
    m_state.openedRunPath.clear(); // the run's data file is the one to save from now on
    m_reportedCodes.clear();
    m_runStarted = true;
    m_pollAgain = false;
    m_pacing.restart();

    // A signal may come from inside startmeasu (a fault at once): the poll is queued either way.
    MeasurementDriver *driver = m_state.driver.get();
    connect(driver, &MeasurementDriver::samplesReady, this, &RunController::queuePoll);
    connect(driver, &MeasurementDriver::statusChanged, this, &RunController::queuePoll);
    connect(driver, &MeasurementDriver::runEnded, this, &RunController::queuePoll);
    startDriverCall();
    m_state.startTime = m_state.driver->StartTime();
    m_state.graphTimeStep = m_state.sampleTime;
    prepareDisplays();
}

void RunController::startDriverCall()
{
    // The driver takes every argument by reference: hand it copies.
    float sampleTime = m_state.sampleTime;
    qint32 sampleCount = m_state.sampleCount;
    double area1 = m_state.ductArea;
    double area2 = m_state.ductArea;
    double area3 = m_state.ductArea;
    double area4 = m_state.ductArea;
    qint16 sampleType = m_state.sampleType;
    qint16 velocityUnit = m_state.velocityUnit;
    qint16 flowUnit = m_state.flowUnit;
    qint16 ductUnit = m_state.ductUnit;
    bool simulation = m_state.simulation == 1;
    qint32 baudRate = m_state.baudRate;
    QString port = portPathFor(m_state);
    m_state.driver->startmeasu(sampleTime, sampleCount, area1, area2, area3, area4, sampleType,
                               velocityUnit, flowUnit, ductUnit, simulation, baudRate, port);
}

void RunController::prepareDisplays()
{
    m_display.smIniGraphDataNum(Panel::Velocity, 4, 1);
    m_display.smIniGraphDataNum(Panel::Flow, 4, 1);
    m_display.smSetGraphYAxiesTitile();
    m_display.smSetWCGraphBarSize();
    m_display.smGraphAxiesUnit(Panel::Velocity);
    m_display.smGraphAxiesUnit(Panel::Flow);
    m_display.sSetGraphYAxies();
    m_display.smSetGraphGrid(false);
    m_view.sInitiStatusBar();
    m_display.smInitTableTitle();
    m_display.clearTablesForRun();
    m_display.sShowGraphMark(Panel::Velocity, false);
    m_display.sShowGraphMark(Panel::Flow, false);
    m_display.resetScrollBarsForRun();
    sGetStartDateAndSec();
    m_display.smGraphXAexs(Panel::Velocity);
    m_display.smGraphXAexs(Panel::Flow);
    m_view.sShowPrgStat();
    m_view.sShowDataStat();
    m_view.sShowMenuStat();
}

void RunController::queuePoll()
{
    if (!m_state.measuring || !m_state.driver)
        return;
    if (m_polling)
        m_pollAgain = true; // after the running poll: what it has read is not all there is
    else if (const qint64 delay = m_pacing.delayForNews(); delay == 0 || !m_tmrGetData.isActive())
        m_tmrGetData.start(int(delay));
}

void RunController::tmrGetData_Timer()
{
    // A modal message shown by this poll runs a nested event loop: a poll queued meanwhile
    // returns at once and is made again when this one has finished.
    if (m_polling) {
        m_pollAgain = true;
        return;
    }
    if (!m_state.measuring || !m_state.driver)
        return;
    m_polling = true;
    m_pollAgain = false;
    m_pacing.polled();
    struct Reset
    {
        RunController &run;
        ~Reset()
        {
            run.m_polling = false;
            if (run.m_pollAgain) {
                run.m_pollAgain = false;
                run.queuePoll();
            }
        }
    } reset{*this};

    MeasurementDriver &driver = *m_state.driver;
    if (driver.SampleCnt() < 0)
        return;

    if (driver.InBufferCount() > 0) {
        const qint32 n = driver.InBufferCount();
        m_sampleTable.reset(n);
        const qint16 decoded = fmGetData(m_state, driver, m_sampleTable, n);
        if (decoded != status::kSuccess) {
            sReportStatus(decoded);
            return;
        }
        m_statistics.addBatch(m_sampleTable, n);
        Q_EMIT statisticsChanged();
        m_state.dataState = 3;
        m_view.sShowDataStat();
        m_view.sShowMeasuParam(n);
        showBatch(m_sampleTable, n);
        IoFailure failure;
        const bool saved = fSaveDataVXDFile(m_state, m_sampleTable, m_state.lastDataPath, n,
                                            m_state.startTime, &m_dataFileSync, &failure);
        m_state.receivedCount += n;
        if (!saved) {
            reportDataFileFailure(failure);
            return;
        }
        const qint64 due = m_dataFileSync.msUntilDue();
        if (due < 0)
            m_tmrSync.stop(); // synced with the batch: nothing left for the timer
        else if (!m_tmrSync.isActive())
            m_tmrSync.start(int(due));
        m_display.drawDue();
    }

    m_state.statusCode = driver.errstat();
    if (m_state.statusCode == status::kSuccess) {
        // A batch that passes the requested count ends the run too.
        if (m_state.receivedCount >= m_state.sampleCount)
            sReportStatus(runstatus::kRunComplete);
    } else {
        sReportStatus(m_state.statusCode);
    }
}

void RunController::resetStatistics()
{
    m_statistics.reset();
    Q_EMIT statisticsChanged();
}

void RunController::reportDataFileFailure(const IoFailure &failure)
{
    // Without its file the run would be lost on "Save": say so once and stop.
    if (m_state.presenter) {
        const QString where = failure.isSet()
            ? describeIoFailure(failure, m_state.texts, m_state.languageOffset)
            : m_state.lastDataPath;
        const QString text = m_state.messages[runstatus::kDataFileMessage].arg(where);
        m_state.presenter->notify(MessagePresenter::Icon::Exclamation, m_state.appTitle, text);
    }
    m_state.measuring = true;
    sStopMeasu();
}

void RunController::sStopMeasu()
{
    if (!m_state.measuring)
        return;
    if (m_tmrGetData.isActive() && !m_polling) {
        // Samples the driver has signalled may still wait for their poll (PollPacing): they
        // are taken first, so a stop keeps every sample that had arrived. That poll may end
        // the run itself.
        m_tmrGetData.stop();
        tmrGetData_Timer();
        if (!m_state.measuring)
            return;
    }
    m_tmrGetData.stop();
    m_pollAgain = false;

    if (m_state.driver) {
        m_state.driver->disconnect(this);
        m_state.driver->StopMeasu();
        for (int i = 0; i < kEndCalls; ++i)
            m_state.driver->EndVL4402Drv();
        m_state.driver.reset();
    }
    // The last batches of the run, if they came within a second of the last sync.
    m_tmrSync.stop();
    m_dataFileSync.finish(m_state.lastDataPath);

    // A start that failed at the probe leaves the previous run's data state as it was.
    if (m_runStarted)
        m_state.dataState = m_state.receivedCount < 1 ? 1 : 3;
    m_runStarted = false;
    m_state.measuring = false;
    m_state.idle = 1;

    m_view.sShowPrgStat();
    m_view.sShowDataStat();
    m_view.sShowMenuStat();
    m_view.sShowMeasuParam(m_state.receivedCount);
    m_state.statusCode = status::kSuccess;

    showBrowsing();
}

void RunController::showBatch(const SampleTable &table, qint32 n)
{
    m_display.sSetWSTableData(table, n, m_state.startTime);
    m_display.sSetWCTableData(table, n);
    m_display.sGraphData(Panel::Velocity, table, n, m_state.startSecond);
    m_display.sGraphShift(Panel::Velocity, n, m_state.startSecond);
    m_display.sGraphData(Panel::Flow, table, n, m_state.startSecond);
    m_display.sGraphShift(Panel::Flow, n, m_state.startSecond);
}

void RunController::showBrowsing()
{
    m_display.setTableBrowsing(Panel::Velocity);
    m_display.setTableBrowsing(Panel::Flow);
    m_display.sSetCursorPosition(Panel::Velocity);
    m_display.sSetCursorPosition(Panel::Flow);
    m_display.smGraphXAexs(Panel::Velocity);
    m_display.smGraphXAexs(Panel::Flow);
    m_display.sInitHcrollBar(Panel::Velocity, m_display.tableActiveRow(Panel::Velocity));
    m_display.sInitHcrollBar(Panel::Flow, m_display.tableActiveRow(Panel::Flow));
    m_display.sShowGraphMark(Panel::Velocity, true);
    m_display.sShowGraphMark(Panel::Flow, true);
    m_display.smSetGraphGrid(true);
}

void RunController::sShowRun(qint32 n, const BatchFill &fill)
{
    if (m_state.measuring)
        return;
    m_state.receivedCount = 0;
    m_state.graphTimeStep = m_state.sampleTime;
    prepareDisplays();
    m_statistics.reset();
    // As polls of a run: a bounded table at a time, so the samples never exist twice in full.
    SampleTable table;
    while (m_state.receivedCount < n) {
        const qint32 count = qMin(kShowRunBatch, n - m_state.receivedCount);
        fill(table, m_state.receivedCount + 1, count);
        m_statistics.addBatch(table, count);
        showBatch(table, count);
        m_state.receivedCount += count;
    }
    m_view.sShowMeasuParam(m_state.receivedCount);
    showBrowsing();
    Q_EMIT statisticsChanged();
}

void RunController::sGetStartDateAndSec()
{
    m_state.startSecond = std::nearbyint(DateDays::secondsOfDay(m_state.startTime));
    m_state.velXPosition = double(m_state.sampleTime) + m_state.startSecond;
    m_state.flowXPosition = m_state.velXPosition;
}

void RunController::sReportStatus(qint16 code)
{
    const StatusReport report = StatusReport::forCode(code);
    if (!report.stopsRun && m_state.measuring) {
        if (m_reportedCodes.contains(code))
            return;
        m_reportedCodes.insert(code);
    }
    if (m_state.presenter) {
        QString text = m_state.messages[size_t(report.messageIndex)];
        if (!m_detail.isEmpty())
            text += QLatin1Char('\n') + m_detail;
        m_state.presenter->notify(MessagePresenter::Icon::Information, m_state.appTitle, text);
    }
    if (report.stopsRun) {
        m_state.measuring = true;
        sStopMeasu();
    }
}
