#pragma once

#include "link/core/download_view.h"
#include "link/core/receive_queue.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <functional>
#include <optional>

class LinkPort;
class RecordDecoder;
class RecordGrid;
struct LinkState;

// One download of the instrument's stored records, from "Read Data" to the CSV file.
//
// Start: checks the file name, probes the instrument and reads its units, reopens the port in
// event mode and sends the dump command (a command that cannot be sent is code 3 at once).
// Received characters are cut into lines and queued; every tick of tmrGetData hands the queued
// lines to the grid in order, for at most about 30 ms (the rest waits for the next tick), so the
// grid keeps up with the wire and the window stays responsive. The line ending with "/" writes
// the CSV file and ends the download. The view hears of the progress on every tick and of how
// the download ended. Failures end it with one message:
// - the CTS line changes or the port fails (the instrument was unplugged): code 3; the lines
//   that came are shown first;
// - nothing is queued and no byte has come for the watchdog time (10 s): code 3;
// - the file cannot be written: code 8; an empty grid: "No Data!" (code 10).
// A tick never runs inside another (a message it shows is modal), and every path back to idle
// goes through sStopMeasu, which enables the controls again.
class DownloadSession : public QObject
{
    Q_OBJECT
public:
    static constexpr int kTickMs = 100;
    static constexpr int kWatchdogMs = 10000;
    // Work per tick: lines beyond it wait for the next tick.
    static constexpr int kTickBudgetMs = 30;

    DownloadSession(LinkState &state, RecordGrid &grid, RecordDecoder &decoder, DownloadView &view,
                    LinkPort &port, QObject *parent = nullptr);
    ~DownloadSession() override;

    // "Read Data" pressed.
    void cmdMeasuring_Click();
    // Ends a download or a failed start and returns to idle.
    void sStopMeasu();
    // Empties the grid, the line buffer and the queue; closes the port.
    void smInit();

    // Receive event of the port in event mode.
    void onReceived(const QByteArray &bytes);
    // CTS change or port failure during the download.
    void onLineFault();
    void tmrGetData_Timer();

    QTimer *tmrGetData() { return &m_tmrGetData; }
    ReceiveQueue &queue() { return m_queue; }
    // The file the running or last download writes.
    const QString &targetPath() const { return m_targetPath; }

    // Test builds shorten the clocks.
    void setTickInterval(int ms) { m_tickMs = ms; }
    void setWatchdogInterval(int ms) { m_watchdogMs = ms; }
    void setTickBudget(int ms) { m_budgetMs = ms; }
    // The clock of the file's date line (tests fix it).
    void setClock(std::function<QDateTime()> clock) { m_clock = std::move(clock); }

    // How the chosen instrument's serial text becomes its port when "Read Data" is pressed;
    // by default the port tables are searched.
    void setPortResolver(std::function<QString(const QString &)> resolver)
    {
        m_resolver = std::move(resolver);
    }

    // True from "Read Data" until the download is back at idle.
    bool isBusy() const;

    // The port of the instrument whose serial text is `serial`, looked up in the port tables at
    // the moment of use; empty when it is not attached.
    static QString portForInstrument(const LinkState &state, const QString &serial);

Q_SIGNALS:
    // Emitted when a download (or a failed start) has returned to idle.
    void stopped();

private:
    // Hands queued lines to the grid until the queue is empty, `budgetMs` has passed (-1: no
    // limit) or a line ends with "/"; that line is returned (and left unshown), else nothing.
    std::optional<QString> moveLinesToGrid(qint64 budgetMs);
    DownloadProgress progress(DownloadProgress::Stage stage) const;

    LinkState &m_state;
    RecordGrid &m_grid;
    RecordDecoder &m_decoder;
    DownloadView &m_view;
    LinkPort &m_port;

    QTimer m_tmrGetData;
    ReceiveQueue m_queue;
    QElapsedTimer m_sinceByte;
    QElapsedTimer m_sinceDump; // valid from the dump command to the end of the download
    bool m_saved = false;
    QString m_targetPath;
    std::function<QDateTime()> m_clock;
    std::function<QString(const QString &)> m_resolver;
    int m_tickMs = kTickMs;
    int m_watchdogMs = kWatchdogMs;
    int m_budgetMs = kTickBudgetMs;
    bool m_receiving = false; // the port is open in event mode
    bool m_inTick = false;
    bool m_stopping = false;
    quint64 m_startGeneration = 0;
};
