#pragma once

#include "acq/core/data_file_sync.h"
#include "acq/core/poll_pacing.h"
#include "acq/core/run_statistics.h"
#include "acq/core/sample_table.h"

#include <QObject>
#include <QSet>
#include <QTimer>
#include <functional>
#include <memory>

struct AppState;
struct IoFailure;
class ConnectionProbe;
class MeasurementDriver;
class RunDisplay;
class RunStatusView;

// The control of a measurement run: starts the driver with the current parameters, polls it on
// the tmrGetData timer, hands each batch to decoding, the tables and charts and the data file,
// and ends the run when the requested count is reached, when the driver reports a status, or
// when the user stops it. Everything runs on the user-interface thread.
//
// tmrGetData is a single shot, queued when the driver signals new samples, a status or the end
// of its sampling; signals that come before it fires share its poll, and each poll takes the whole
// batch. Polls come at most about four times a second (PollPacing). Between samples nothing runs,
// so a long run lets the machine sleep. A poll that shows a
// modal message runs a nested event loop; a poll queued meanwhile returns at once and is made
// again when the outer one has finished.
class RunController : public QObject
{
    Q_OBJECT
public:
    using DriverFactory = std::function<std::unique_ptr<MeasurementDriver>()>;

    static constexpr int kEndCalls = 10; // EndVL4402Drv is called this many times at the stop
    static constexpr qint64 kSyncEarlyMs = 100; // see DataFileSync::setEarlyMs

    // `probe` may be null when only simulated runs are made (a live start then fails at the probe).
    RunController(AppState &state, RunDisplay &display, RunStatusView &view,
                  DriverFactory driverFactory, ConnectionProbe *probe, QObject *parent = nullptr);
    ~RunController() override;

    // Starts a run with the parameters of AppState (after the parameter dialog accepted them).
    void sStartMeasu();
    // One poll of the driver.
    void tmrGetData_Timer();
    // Queues a poll (the driver has something to report).
    void queuePoll();
    // Ends the run: stops and releases the driver, brings tables and charts to browsing.
    // Does nothing when no run is active.
    void sStopMeasu();
    // The charts' time origin: startSecond and the X positions from startTime.
    void sGetStartDateAndSec();
    // Shows n samples as a whole run that has just ended (File > Open): the displays prepared as
    // at a start, the samples in polls of at most kShowRunBatch that `fill` puts into the table
    // (rows 1..count from sample `first`), then the browsing of the stop. The run's parameters,
    // startTime and the data state are AppState's already; no driver is involved and the data
    // file is not touched.
    using BatchFill = std::function<void(SampleTable &table, qint32 first, qint32 count)>;
    static constexpr qint32 kShowRunBatch = 8192;
    void sShowRun(qint32 n, const BatchFill &fill);
    // Shows the message of a status code; stops the run when the code says so. While a run is
    // active, a code that does not stop it is shown once per run.
    void sReportStatus(qint16 code);

    QTimer *tmrGetData() { return &m_tmrGetData; }
    // The clock that spaces the polls (the system's monotonic clock unless set).
    void setPollClock(PollPacing::Clock clock) { m_pacing = PollPacing(std::move(clock)); }
    // The last poll's samples (rows 1..n).
    const SampleTable &sampleTable() const { return m_sampleTable; }
    // Velocity and flow-rate figures of the run so far: reset when a run starts and by
    // resetStatistics (New), fed by every poll that brought samples.
    const RunStatistics &statistics() const { return m_statistics; }
    void resetStatistics();

    // The port handed to the driver: the chosen device path, or /dev/ttyS(n-1) for COM n.
    static QString portPathFor(const AppState &state);

Q_SIGNALS:
    // The run's figures changed (samples arrived, or they were reset).
    void statisticsChanged();

private:
    void startDriverCall();
    void prepareDisplays();
    // The tables and charts of one poll's n samples, and their browsing state after the stop.
    void showBatch(const SampleTable &table, qint32 n);
    void showBrowsing();
    void reportDataFileFailure(const IoFailure &failure);

    AppState &m_state;
    RunDisplay &m_display;
    RunStatusView &m_view;
    DriverFactory m_driverFactory;
    ConnectionProbe *m_probe;
    QTimer m_tmrGetData;
    PollPacing m_pacing;
    QTimer m_tmrSync; // syncs a waiting batch of the data file when it is due
    SampleTable m_sampleTable;
    RunStatistics m_statistics;
    bool m_polling = false;
    bool m_pollAgain = false;       // a poll was asked for while one was running
    bool m_runStarted = false;      // the driver was started (not only bound)
    QSet<qint16> m_reportedCodes;   // codes that do not stop the run, shown in this run
    DataFileSync m_dataFileSync;    // the data file reaches the disk once a second and at the end
    QString m_detail;               // lines shown under the next status message (a failed port)
};
