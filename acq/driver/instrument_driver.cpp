#include "acq/driver/instrument_driver.h"

#include "acq/driver/flow_rate.h"
#include "common/core/date_days.h"
#include "common/core/status_codes.h"

#include <QDateTime>
#include <algorithm>
#include <cmath>

namespace {
constexpr qint16 kOpenError = 1;
constexpr qint16 kPortError = 3;
constexpr qint16 kTimeOut = 4;
constexpr qint16 kFormatError = 6;
constexpr qint16 kBadParameters = 8;
} // namespace

InstrumentDriver::InstrumentDriver(QObject *parent)
    : MeasurementDriver(parent), m_fault(status::kSuccess)
{
    m_tick.setSingleShot(true);
    m_tick.setTimerType(Qt::PreciseTimer);
    connect(&m_tick, &QTimer::timeout, this, &InstrumentDriver::onTick);
    m_replyTimer.setSingleShot(true);
    m_replyTimer.setInterval(kReplyTimeoutMs);
    connect(&m_replyTimer, &QTimer::timeout, this, [this] { fail(kTimeOut); });
    m_gatherTimer.setSingleShot(true);
    m_gatherTimer.setTimerType(Qt::PreciseTimer);
    connect(&m_gatherTimer, &QTimer::timeout, this, [this] { watchPort(true); });
}

InstrumentDriver::~InstrumentDriver()
{
    halt();
}

void InstrumentDriver::startmeasu(float &sampleTime, qint32 &sampleCount, double &area1,
                                  double & /*area2*/, double & /*area3*/, double & /*area4*/,
                                  qint16 &sampleType, qint16 &velocityUnit, qint16 &flowUnit,
                                  qint16 &ductUnit, bool &simulation, qint32 &baudRate,
                                  QString &port)
{
    halt();
    m_buffer.clear();
    m_fault = status::kSuccess;
    m_produced = 0;
    m_requestsSent = 0;
    m_windowsDue = 0;
    m_windowsEnded = 0;
    m_readings = 0;
    m_velocitySum = 0;
    m_pressureSum = 0;
    m_pressureReadings = 0;
    m_lastFlag = 0;
    m_received.clear();
    m_awaiting = false;

    // The first sample is taken on the next whole second (or now, on the current one).
    const QDateTime now = QDateTime::currentDateTime();
    const QTime t = now.time();
    m_startTime = DateDays::fromDate(now.date(), QTime(t.hour(), t.minute(), t.second()));
    m_clock.start();
    m_originMs = 0;
    if (m_alignStart && t.msec() > 0) {
        m_startTime = DateDays::addSeconds(m_startTime, 1.0);
        m_originMs = 1000 - t.msec();
    }

    m_intervalMs = double(sampleTime) * 1000.0;
    m_requested = sampleCount;
    m_area = area1;
    m_velocityUnit = velocityUnit;
    m_flowUnit = flowUnit;
    m_ductUnit = ductUnit;
    if (!std::isfinite(sampleTime) || double(sampleTime) < kMinimumInterval - 1e-6
        || sampleCount < 1 || !std::isfinite(area1)) {
        fail(kBadParameters);
        return;
    }

    if (simulation) {
        m_mode = Mode::Simulation;
        m_waveform = std::make_unique<SampleWaveform>(m_seed);
    } else {
        m_mode = sampleType == 1 ? Mode::Average : Mode::Instant;
        m_readingMs = std::max(std::min(double(kAverageReadingMs), m_intervalMs),
                               LiveExchange::exchangeMs(baudRate));
        const double period = m_mode == Mode::Average ? m_readingMs : m_intervalMs;
        m_gatherTimer.setInterval(int(std::min({LiveExchange::exchangeMs(baudRate) + kGatherSlackMs,
                                                period, kReplyTimeoutMs / 2.0})));
        m_port = new QSerialPort(this);
        m_port->setPortName(port);
        m_port->setBaudRate(baudRate);
        m_port->setDataBits(QSerialPort::Data8);
        m_port->setParity(QSerialPort::NoParity);
        m_port->setStopBits(QSerialPort::OneStop);
        m_port->setFlowControl(QSerialPort::NoFlowControl);
        if (!m_port->open(QIODevice::ReadWrite)) {
            fail(kOpenError);
            return;
        }
        connect(m_port, &QSerialPort::readyRead, this, &InstrumentDriver::onReadyRead);
        // The notifier through which the port reads what arrives. Should a port have none, its
        // characters are read piece by piece, which is slower but no different.
        const auto notifiers = m_port->findChildren<QSocketNotifier *>(Qt::FindDirectChildrenOnly);
        for (QSocketNotifier *n : notifiers) {
            if (n->type() == QSocketNotifier::Read)
                m_portWatch = n;
        }
        connect(m_port, &QSerialPort::errorOccurred, this, &InstrumentDriver::onPortError);
    }
    schedule();
}

qint16 InstrumentDriver::errstat()
{
    // A fault becomes visible once every sample taken before it has been read.
    return m_buffer.empty() ? m_fault : status::kSuccess;
}

QString InstrumentDriver::Inputs()
{
    if (m_buffer.empty())
        return QString();
    QString text = std::move(m_buffer.front());
    m_buffer.pop_front();
    return text;
}

void InstrumentDriver::StopMeasu()
{
    halt();
}

void InstrumentDriver::EndVL4402Drv()
{
    halt();
}

double InstrumentDriver::runMs() const
{
    return double(m_clock.elapsed()) - m_originMs;
}

void InstrumentDriver::onTick()
{
    const double now = runMs();
    switch (m_mode) {
    case Mode::Simulation:
        simulate(now);
        break;
    case Mode::Instant:
        requestIfDue(now);
        break;
    case Mode::Average:
        closeWindowsDue(now);
        requestIfDue(now);
        break;
    case Mode::Stopped:
        return;
    }
    schedule();
}

void InstrumentDriver::schedule()
{
    if (m_mode == Mode::Stopped || m_produced >= m_requested)
        return;
    double next = -1;
    switch (m_mode) {
    case Mode::Simulation:
        next = double(m_produced) * m_intervalMs;
        break;
    case Mode::Instant:
        if (!m_awaiting && m_requestsSent < m_requested)
            next = double(m_requestsSent) * m_intervalMs;
        break;
    case Mode::Average: {
        if (m_windowsEnded < m_requested)
            next = double(m_windowsEnded + 1) * m_intervalMs;
        if (!m_awaiting) {
            const double reading = double(m_requestsSent) * m_readingMs;
            next = next < 0 ? reading : std::min(next, reading);
        }
        break;
    }
    case Mode::Stopped:
        break;
    }
    if (next < 0) {
        m_tick.stop(); // the next reply moves things on
        return;
    }
    m_tick.start(int(std::max(0.0, std::ceil(next - runMs()))));
}

void InstrumentDriver::simulate(double now)
{
    while (m_mode == Mode::Simulation && m_produced < m_requested
           && double(m_produced) * m_intervalMs <= now) {
        const SampleWaveform::Reading r =
            m_waveform->next(double(m_produced) * m_intervalMs / 1000.0);
        produce(r.velocity, r.pressureTenths, 1);
    }
}

void InstrumentDriver::requestIfDue(double now)
{
    if (m_awaiting || !m_port || m_produced >= m_requested)
        return;
    const double period = m_mode == Mode::Average ? m_readingMs : m_intervalMs;
    if (m_mode == Mode::Instant && m_requestsSent >= m_requested)
        return;
    if (double(m_requestsSent) * period <= now)
        sendRequest();
}

void InstrumentDriver::closeWindowsDue(double now)
{
    while (m_windowsEnded < m_requested && double(m_windowsEnded + 1) * m_intervalMs <= now) {
        ++m_windowsEnded;
        if (m_readings > 0 && m_windowsDue == 0)
            emitAverage();
        else
            ++m_windowsDue; // closed by the next reading
    }
}

void InstrumentDriver::sendRequest()
{
    const QByteArray request = LiveExchange::request();
    if (m_port->write(request) != request.size()) {
        fail(kPortError);
        return;
    }
    ++m_requestsSent;
    m_awaiting = true;
    m_replyTimer.start();
    watchPort(false);
    m_gatherTimer.start();
}

void InstrumentDriver::watchPort(bool on)
{
    if (!on && m_received.size() > 0)
        return; // part of a reply is in: the rest is read as it comes
    if (m_portWatch)
        m_portWatch->setEnabled(on);
}

void InstrumentDriver::onReadyRead()
{
    if (!m_port)
        return;
    m_received += m_port->readAll();
    while (m_mode != Mode::Stopped) {
        const std::optional<QByteArray> line = LiveExchange::takeLine(&m_received);
        if (!line)
            break;
        if (!m_awaiting)
            continue; // nothing was asked: a stray line
        const std::optional<LiveExchange::Reading> reading = LiveExchange::parse(*line);
        if (!reading) {
            fail(kFormatError);
            return;
        }
        m_awaiting = false;
        m_replyTimer.stop();
        m_gatherTimer.stop();
        onReading(*reading);
    }
    if (m_mode != Mode::Stopped && m_received.size() > LiveExchange::kMaxLine) {
        fail(kFormatError);
        return;
    }
    if (m_mode != Mode::Stopped) {
        const double now = runMs();
        if (m_mode == Mode::Average)
            closeWindowsDue(now);
        requestIfDue(now);
        schedule();
    }
}

void InstrumentDriver::onPortError(QSerialPort::SerialPortError error)
{
    if (error == QSerialPort::NoError || error == QSerialPort::TimeoutError)
        return;
    fail(kPortError);
}

void InstrumentDriver::onReading(const LiveExchange::Reading &reading)
{
    if (m_mode == Mode::Instant) {
        produce(reading.velocity, reading.pressureKnown ? reading.pressureTenths : 0,
                reading.pressureKnown ? reading.flag : 0);
        return;
    }
    ++m_readings;
    m_velocitySum += reading.velocity;
    if (reading.pressureKnown) {
        m_pressureSum += reading.pressureTenths;
        ++m_pressureReadings;
        m_lastFlag = reading.flag;
    }
    if (m_windowsDue > 0) {
        --m_windowsDue;
        emitAverage();
    }
}

void InstrumentDriver::emitAverage()
{
    const double velocity = m_velocitySum / double(m_readings);
    const bool pressureKnown = m_pressureReadings > 0;
    const qint32 pressure =
        pressureKnown ? qint32(std::lround(m_pressureSum / double(m_pressureReadings))) : 0;
    const int flag = pressureKnown ? m_lastFlag : 0;
    m_readings = 0;
    m_velocitySum = 0;
    m_pressureSum = 0;
    m_pressureReadings = 0;
    produce(velocity, pressure, flag);
}

void InstrumentDriver::produce(double metresPerSecond, qint32 pressureTenths, int flag)
{
    if (m_produced >= m_requested)
        return;
    m_buffer.push_back(FlowRate::sampleText(metresPerSecond, m_area, m_velocityUnit, m_flowUnit,
                                            m_ductUnit, pressureTenths, flag));
    ++m_produced;
    const bool last = m_produced >= m_requested;
    if (last)
        halt(); // all samples taken: the port is free again
    Q_EMIT samplesReady();
    if (last)
        Q_EMIT runEnded();
}

void InstrumentDriver::fail(qint16 code)
{
    const bool first = m_fault == status::kSuccess;
    if (first)
        m_fault = code;
    halt();
    if (first)
        Q_EMIT statusChanged();
}

void InstrumentDriver::halt()
{
    m_mode = Mode::Stopped;
    m_tick.stop();
    m_replyTimer.stop();
    m_gatherTimer.stop();
    m_awaiting = false;
    m_portWatch = nullptr;
    if (m_port) {
        m_port->disconnect(this);
        m_port->close();
        m_port->deleteLater();
        m_port = nullptr;
    }
}
