#pragma once

#include "link/core/receive_queue.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <functional>

class DownloadView;
class LinkPort;
class RecordDecoder;
class RecordGrid;
struct LinkState;

// One download of the instrument's stored records, from "Read Data" to the CSV file.
//
// Start: checks the file name, probes the instrument and reads its units, reopens the port in
// event mode and sends the dump command. Received characters are cut into lines and queued;
// every tick of tmrGetData hands one line to the grid. The line ending with "/" writes the CSV
// file and ends the download. Failures end it with one message:
// - the CTS line changes or the port fails (the instrument was unplugged): code 3;
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
    LinkState &m_state;
    RecordGrid &m_grid;
    RecordDecoder &m_decoder;
    DownloadView &m_view;
    LinkPort &m_port;

    QTimer m_tmrGetData;
    ReceiveQueue m_queue;
    QElapsedTimer m_sinceByte;
    QString m_targetPath;
    std::function<QDateTime()> m_clock;
    std::function<QString(const QString &)> m_resolver;
    int m_tickMs = kTickMs;
    int m_watchdogMs = kWatchdogMs;
    bool m_receiving = false; // the port is open in event mode
    bool m_inTick = false;
    bool m_stopping = false;
    quint64 m_startGeneration = 0;
};
