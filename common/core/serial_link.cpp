#include "common/core/serial_link.h"

#include "common/core/event_wait.h"
#include "common/core/port_names.h"
#include "common/core/status_codes.h"

namespace {

constexpr int kCtsPollMs = 100;
constexpr char kTerminatorCr = '\r';

} // namespace

// Marks an operation of the link as running. The outermost operation clears a stale abort flag,
// so an abort ends the operations that were running when it was given, and no later one.
class SerialLink::Scope
{
public:
    explicit Scope(SerialLink &link) : m_link(link)
    {
        if (m_link.m_depth++ == 0)
            m_link.m_abort = false;
    }
    ~Scope() { --m_link.m_depth; }

    Scope(const Scope &) = delete;
    Scope &operator=(const Scope &) = delete;

private:
    SerialLink &m_link;
};

SerialLink::SerialLink(const LinkSettings &settings, QObject *parent)
    : QObject(parent), m_settings(settings), m_port(new QSerialPort(this))
{
    m_port->setObjectName(QStringLiteral("MSComm1"));
    m_tmrRs.setObjectName(QStringLiteral("tmrRs"));
    m_tmrWait.setObjectName(QStringLiteral("tmrWait"));
    m_tmrRs.setInterval(kReceiveTickMs);
    m_tmrWait.setInterval(kWaitTickMs);
    m_ctsPoll.setInterval(kCtsPollMs);
    bind(LinkFields());

    connect(&m_tmrRs, &QTimer::timeout, this, [this] { ++*m_f.receiveTicks; });
    connect(&m_tmrWait, &QTimer::timeout, this, [this] { ++*m_f.waitTicks; });
    connect(&m_ctsPoll, &QTimer::timeout, this, &SerialLink::queryCts);
    connect(m_port, &QSerialPort::readyRead, this, &SerialLink::onReadyRead);
    connect(m_port, &QSerialPort::errorOccurred, this, &SerialLink::onPortError);
}

SerialLink::~SerialLink()
{
    m_abort = true;
    m_tmrRs.stop();
    m_tmrWait.stop();
    m_ctsPoll.stop();
    if (m_port->isOpen())
        m_port->close();
}

void SerialLink::bind(const LinkFields &fields)
{
    m_f.status = fields.status ? fields.status : &m_own.status;
    m_f.port = fields.port ? fields.port : &m_own.port;
    m_f.baud = fields.baud ? fields.baud : &m_own.baud;
    m_f.receiveTicks = fields.receiveTicks ? fields.receiveTicks : &m_own.receiveTicks;
    m_f.waitTicks = fields.waitTicks ? fields.waitTicks : &m_own.waitTicks;
    m_f.portPath = fields.portPath ? fields.portPath : &m_own.portPath;
    m_f.unitReply = fields.unitReply ? fields.unitReply : &m_own.unitReply;
    m_f.enableUsb = fields.enableUsb ? fields.enableUsb : &m_own.enableUsb;
}

bool SerialLink::isOpen() const
{
    return m_port->isOpen();
}

qint16 SerialLink::fail(qint16 status, qint16 result)
{
    *m_f.status = status;
    return result;
}

qint16 SerialLink::fRsOpen(const QString &portPath, qint32 baud, bool events)
{
    if (m_port->isOpen() || portPath.isEmpty() || baud <= 0)
        return fail(kOpenError, kOpenError);
    m_openFailure = IoFailure();
    m_portFailed = false;
    m_port->setPortName(portPath);
    // The receive buffer is unbounded: a dump arriving faster than it is handled loses nothing.
    m_port->setReadBufferSize(0);
    const bool set = m_port->setBaudRate(baud) && m_port->setDataBits(QSerialPort::Data8)
        && m_port->setParity(QSerialPort::NoParity) && m_port->setStopBits(QSerialPort::OneStop)
        && m_port->setFlowControl(QSerialPort::NoFlowControl);
    if (!set || !m_port->open(QIODevice::ReadWrite)) {
        m_openFailure = IoFailure::forPort(portPath, m_port->error(), m_port->errorString());
        m_port->clearError();
        return fail(kOpenError, kOpenError);
    }
    m_events = events;
    if (events) {
        m_ctsKnown = false;
        m_ctsPoll.start();
        queryCts();
    }
    return status::kSuccess;
}

qint16 SerialLink::fRsOpen(qint16 portNumber, qint32 baud, bool events)
{
    return fRsOpen(PortNames::pathForNumber(portNumber), baud, events);
}

qint16 SerialLink::fRsClose()
{
    stopEventMode();
    if (m_port->isOpen())
        m_port->close();
    if (m_port->isOpen())
        return fail(kCloseError, kCloseError);
    return status::kSuccess;
}

qint16 SerialLink::fRsSend(const QString &text)
{
    if (!m_port->isOpen() || m_portFailed)
        return fail(kCommError, status::kFailure);
    m_port->clear(QSerialPort::Input);
    m_port->readAll();
    const QByteArray bytes = text.toLatin1();
    if (m_port->write(bytes) != bytes.size()) {
        m_port->clearError();
        return fail(kCommError, status::kFailure);
    }
    m_port->flush();
    return status::kSuccess;
}

qint16 SerialLink::fRsReceive(QString &out, const QString &terminator)
{
    Scope scope(*this);
    out.clear();
    *m_f.receiveTicks = 0;
    // Inside the probe tmrRs belongs to the probe: when nested code stopped it, this receive ends
    // as a time-out. A receive of its own runs the clock for its own duration.
    const bool ownClock = m_probeDepth == 0 && !m_tmrRs.isActive();
    if (ownClock)
        m_tmrRs.start(kReceiveTickMs);
    const auto finish = [&](qint16 result) {
        if (ownClock)
            m_tmrRs.stop();
        return result;
    };
    const QChar end = terminator.isEmpty() ? QChar() : terminator.at(0);
    const qint32 limit = m_settings.receiveTickLimit;
    bool clockStopped = false;
    for (;;) {
        if (m_abort)
            return finish(status::kCancelled);
        if (!m_port->isOpen() || m_portFailed)
            return finish(fail(kCommError, kCommError));
        char c = 0;
        while (m_port->bytesAvailable() > 0 && m_port->getChar(&c)) {
            out += QChar::fromLatin1(c);
            if (!terminator.isEmpty() && out.back() == end)
                return finish(status::kSuccess);
        }
        if (clockStopped || *m_f.receiveTicks >= limit)
            return finish(status::kSuccess);
        const auto result = EventWait::until(
            [&] {
                return m_portFailed || !m_port->isOpen() || m_port->bytesAvailable() > 0
                    || *m_f.receiveTicks >= limit;
            },
            &m_tmrRs, &m_abort);
        if (result == EventWait::Result::ClockStopped)
            clockStopped = true;
    }
}

void SerialLink::sRsWait(qint32 ticks)
{
    Scope scope(*this);
    *m_f.waitTicks = 0;
    m_tmrWait.start(kWaitTickMs);
    EventWait::until([&] { return *m_f.waitTicks >= ticks; }, &m_tmrWait, &m_abort);
    m_tmrWait.stop();
}

qint16 SerialLink::fRsAutoConnect(const QString &portPath)
{
    Scope scope(*this);
    ++m_probeDepth;
    m_tmrRs.start(kReceiveTickMs);
    *m_f.port = PortNames::numberForPath(portPath);
    *m_f.portPath = portPath;
    m_openFailure = IoFailure();
    if (m_settings.keepUnitReply)
        m_f.unitReply->clear();

    const QString cr = QString(QChar::fromLatin1(kTerminatorCr));
    const bool usbOnly = enableUsb();
    qint16 result = kCommError;
    for (int position = 0; position < int(kBaudTable.size()); ++position) {
        if (m_abort) {
            result = status::kCancelled;
            break;
        }
        if (usbOnly && position != kUsbBaudPosition)
            continue;
        const qint32 rate = kBaudTable[position];
        qint16 r = fRsOpen(portPath, rate, false);
        if (r != status::kSuccess) {
            result = r;
            break;
        }
        r = fRsSend(QStringLiteral("P\r\n"));
        if (r != status::kSuccess) {
            result = r;
            break;
        }
        sRsWait(m_settings.waitAfterPresence);
        QString line;
        r = fRsReceive(line, cr);
        if (m_abort) {
            result = status::kCancelled;
            break;
        }
        if (r == status::kSuccess && line.startsWith(QLatin1String("AP"))) {
            *m_f.baud = rate;
            QString dropped;
            fRsReceive(dropped, cr);
            fRsSend(QStringLiteral("U\r\n"));
            sRsWait(m_settings.waitAfterUnits);
            QString reply;
            fRsReceive(reply, cr);
            if (m_settings.waitBetweenUnitLines > 0)
                sRsWait(m_settings.waitBetweenUnitLines);
            fRsReceive(reply, cr);
            if (m_abort) {
                result = status::kCancelled;
                break;
            }
            if (m_portFailed) {
                // The port failed during the unit exchange (the cable was pulled): the instrument
                // is gone, which is a link error, not a connection with an empty unit reply.
                result = kCommError;
                break;
            }
            if (m_settings.keepUnitReply)
                *m_f.unitReply = reply;
            result = status::kSuccess;
            break;
        }
        fRsClose();
    }
    fRsClose();
    *m_f.status = result;
    m_tmrRs.stop();
    --m_probeDepth;
    return result;
}

qint16 SerialLink::fRsAutoConnect(qint16 portNumber)
{
    return fRsAutoConnect(PortNames::pathForNumber(portNumber));
}

qint16 SerialLink::fRsStartRead()
{
    QString path = *m_f.portPath;
    if (path.isEmpty())
        path = PortNames::pathForNumber(*m_f.port);
    if (fRsOpen(path, *m_f.baud, true) != status::kSuccess)
        return fail(status::kFailure, status::kFailure);
    *m_f.status = status::kSuccess;
    fRsSend(QStringLiteral("H\r\n"));
    return status::kSuccess;
}

void SerialLink::abort()
{
    m_abort = true;
    // Wake a wait that sleeps in the event loop, so it sees the flag now rather than at its
    // clock's next tick.
    QMetaObject::invokeMethod(this, [] {}, Qt::QueuedConnection);
}

void SerialLink::onReadyRead()
{
    // One character at a time: a handler that runs a nested event loop receives the following
    // characters there, still in arrival order.
    char c = 0;
    while (m_events && m_port->isOpen() && m_port->getChar(&c))
        emit characterReceived(c);
}

void SerialLink::onPortError(QSerialPort::SerialPortError error)
{
    if (m_pinQuery || error == QSerialPort::NoError)
        return;
    if (error != QSerialPort::ReadError && error != QSerialPort::ResourceError
        && error != QSerialPort::WriteError)
        return;
    // A failed port keeps signalling (a vanished device reports a read error on every pass of the
    // event loop), so it is closed at once.
    const bool events = m_events;
    const QString text = m_port->errorString();
    m_portFailed = true;
    stopEventMode();
    if (m_port->isOpen())
        m_port->close();
    if (events)
        emit portError(error, text);
}

void SerialLink::queryCts()
{
    if (!m_port->isOpen()) {
        m_ctsPoll.stop();
        return;
    }
    m_pinQuery = true;
    m_port->clearError();
    const QSerialPort::PinoutSignals pins = m_port->pinoutSignals();
    const bool unsupported = m_port->error() != QSerialPort::NoError;
    m_port->clearError();
    m_pinQuery = false;
    if (unsupported) {
        // Pseudo-terminals and some adapters have no modem lines: nothing to watch.
        m_ctsPoll.stop();
        return;
    }
    const bool cts = pins.testFlag(QSerialPort::ClearToSendSignal);
    const bool changed = m_ctsKnown && cts != m_cts;
    m_cts = cts;
    m_ctsKnown = true;
    if (changed)
        emit ctsChanged(cts);
}

void SerialLink::stopEventMode()
{
    m_events = false;
    m_ctsPoll.stop();
}
