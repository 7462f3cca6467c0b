#pragma once

#include "acq/driver/live_exchange.h"
#include "acq/driver/measurement_driver.h"
#include "acq/driver/sample_waveform.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QPointer>
#include <QSerialPort>
#include <QSocketNotifier>
#include <QTimer>
#include <deque>
#include <memory>

// Our measurement driver. In simulation it makes one sample per interval from a seeded waveform;
// live it reads the instrument over its serial port with the exchange of LiveExchange:
// - instant sampling: one reading per interval;
// - average sampling: readings several times a second (every 200 ms, or as fast as the baud rate
//   allows when that is slower), averaged over each interval.
// The velocity is converted to the chosen unit and the flow rate computed from the duct area
// (FlowRate). Sampling starts on the next whole second, which is StartTime, so that sample k is
// taken at StartTime + (k - 1) x interval.
//
// Nothing runs between events: a timer is armed for the next sample, request or averaging
// interval, and for the reply time-out while a reply is awaited. Each sample, the end of sampling
// and a fault are signalled (samplesReady, runEnded, statusChanged).
//
// A reply reaches the port in pieces (a USB bridge hands over what came in each few
// milliseconds). So that each piece does not wake the program, the port is not watched for the
// time the whole exchange takes at the baud rate (plus kGatherSlackMs, and never longer than
// the reading period); then everything that has come is read at once, and whatever is still
// missing is read as it comes. The reply time-out is unchanged.
//
// Faults: a port that cannot be opened gives errstat 1; a port error or an unplugged instrument
// 3; no reply within a second 4; a malformed reply 6; parameters the driver cannot sample with
// (an interval below 0.1 s, no samples) 8. A fault stops sampling; it shows in errstat once the
// samples taken before it have been read, so none of them is lost.
class InstrumentDriver : public MeasurementDriver
{
    Q_OBJECT
public:
    explicit InstrumentDriver(QObject *parent = nullptr);
    ~InstrumentDriver() override;

    void startmeasu(float &sampleTime, qint32 &sampleCount, double &area1, double &area2,
                    double &area3, double &area4, qint16 &sampleType, qint16 &velocityUnit,
                    qint16 &flowUnit, qint16 &ductUnit, bool &simulation, qint32 &baudRate,
                    QString &port) override;
    double StartTime() override { return m_startTime; }
    qint32 SampleCnt() override { return m_produced; }
    qint32 InBufferCount() override { return qint32(m_buffer.size()); }
    qint16 errstat() override;
    QString Inputs() override;
    void StopMeasu() override;
    void EndVL4402Drv() override;

    static constexpr double kMinimumInterval = 0.1;   // seconds
    static constexpr int kAverageReadingMs = 200;     // reading period of average sampling
    static constexpr int kReplyTimeoutMs = 1000;
    static constexpr int kGatherSlackMs = 20; // a bridge's latency and the instrument's answer

    // For tests and demos: the simulation's seed, and whether to wait for the next whole second
    // before the first sample (on by default; off, StartTime is the current whole second).
    void setSeed(quint32 seed) { m_seed = seed; }
    void setStartOnWholeSecond(bool on) { m_alignStart = on; }

private:
    enum class Mode { Stopped, Simulation, Instant, Average };

    double runMs() const; // milliseconds since the run's first sample time
    void onTick();
    void schedule();
    void simulate(double now);
    void requestIfDue(double now);
    void closeWindowsDue(double now);
    void sendRequest();
    // Watching the port for characters on or off (the reply being gathered).
    void watchPort(bool on);
    void onReadyRead();
    void onPortError(QSerialPort::SerialPortError error);
    void onReading(const LiveExchange::Reading &reading);
    void emitAverage();
    void produce(double metresPerSecond, qint32 pressureTenths, int flag);
    void fail(qint16 code);
    void halt();

    Mode m_mode = Mode::Stopped;
    double m_intervalMs = 1000;
    double m_readingMs = kAverageReadingMs;
    qint32 m_requested = 0;
    qint32 m_produced = 0;
    double m_area = 0;
    int m_velocityUnit = 0;
    int m_flowUnit = 0;
    int m_ductUnit = 0;
    double m_startTime = 0;
    std::deque<QString> m_buffer;
    qint16 m_fault;

    quint32 m_seed = SampleWaveform::kDefaultSeed;
    bool m_alignStart = true;
    std::unique_ptr<SampleWaveform> m_waveform;

    QTimer m_tick;
    QTimer m_replyTimer;
    QTimer m_gatherTimer;
    QElapsedTimer m_clock;
    double m_originMs = 0; // m_clock time of the first sample

    QSerialPort *m_port = nullptr;
    QPointer<QSocketNotifier> m_portWatch; // the port's own read notifier
    QByteArray m_received;
    bool m_awaiting = false;
    qint32 m_requestsSent = 0;

    // Average sampling: the interval being gathered.
    qint32 m_windowsDue = 0;    // intervals that have ended but have no sample yet
    qint32 m_windowsEnded = 0;
    int m_readings = 0;
    double m_velocitySum = 0;
    double m_pressureSum = 0;
    int m_pressureReadings = 0;
    int m_lastFlag = 0;
};
