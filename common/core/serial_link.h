#pragma once

#include "common/core/io_failure.h"
#include "common/core/link_settings.h"

#include <QObject>
#include <QSerialPort>
#include <QString>
#include <QTimer>
#include <array>

// Where the link keeps its values. A program binds the fields it already has (ventacq keeps them in
// AppState); a null member keeps the link's own storage. The fields are written while the link
// runs (the tick counters by the timers, the status by every failing operation).
struct LinkFields
{
    qint16 *status = nullptr;          // gLinkStatus (ventacq: statusCode)
    qint16 *port = nullptr;            // gRsPort, the port as a number (ventacq: portNumber)
    qint32 *baud = nullptr;            // gRsBaud, the rate the probe found (ventacq: baudRate)
    qint32 *receiveTicks = nullptr;    // ticks of tmrRs (ventacq: serialTicks)
    qint32 *waitTicks = nullptr;       // ticks of tmrWait (ventacq: waitTicks)
    QString *portPath = nullptr;       // the device path of the probed port (ventacq: portPath)
    QString *unitReply = nullptr;      // gUnitReply: last reply line to "U", CR included
    const qint16 *enableUsb = nullptr; // the "Enable USB" option, read when a probe starts
};

// The serial link to the instrument (mduRs232): open, close, send, receive and wait in the polled
// style, the baud-rate probe fRsAutoConnect, and fRsStartRead, which reopens the port in event
// mode for the memory dump. Results are 16-bit codes: -10000 success, 1 open error, 2 close error,
// 3 communication error, -20000 a failed send or start of the dump, -30000 ended by abort().
// The link never shows a message; the caller does.
//
// Waits let the event loop run and burn no CPU. A wait ends when its condition holds, as a
// time-out when its timer was stopped by nested code (a second probe started from an event
// inside a wait, for instance), and at once when abort() was called. The link must outlive any
// of its operations that is running: a window that closes during a probe calls abort() and
// deletes the link later (deleteLater()).
class SerialLink : public QObject
{
    Q_OBJECT
public:
    static constexpr qint16 kOpenError = 1;
    static constexpr qint16 kCloseError = 2;
    static constexpr qint16 kCommError = 3;
    // The rates the probe tries, in this order; with "Enable USB" on only position 2 (19200).
    static constexpr std::array<qint32, 4> kBaudTable = {38400, 19200, 9600, 4800};
    static constexpr int kUsbBaudPosition = 1;

    explicit SerialLink(const LinkSettings &settings, QObject *parent = nullptr);
    ~SerialLink() override;

    SerialLink(const SerialLink &) = delete;
    SerialLink &operator=(const SerialLink &) = delete;

    void bind(const LinkFields &fields);

    // Opens the port 8N1 without flow control (DTR and RTS as the port has them). In event mode
    // every received character is delivered by characterReceived(); in polled mode the characters
    // wait for fRsReceive(). -10000, or 1 (also when the port is already open).
    qint16 fRsOpen(const QString &portPath, qint32 baud, bool events);
    qint16 fRsOpen(qint16 portNumber, qint32 baud, bool events);
    // Closes the port; closing a port that is not open is no error. -10000 or 2.
    qint16 fRsClose();
    // Discards what waits in the receive buffer, then writes the text. -10000, or -20000 with
    // status 3.
    qint16 fRsSend(const QString &text);
    // Reads characters up to and including the terminator, or until the receive time-out
    // (receiveTickLimit ticks of tmrRs) with what came so far: both -10000. 3 when the port is
    // not open or failed; -30000 after abort().
    qint16 fRsReceive(QString &out, const QString &terminator);
    // Waits about ticks x 200 ms.
    void sRsWait(qint32 ticks);
    // The probe: finds the rate at which the instrument answers "P" with a line beginning "AP",
    // then asks it for its units ("U"). The port is closed afterwards in every outcome.
    // -10000, 1, 3, the failing operation's code, or -30000 after abort().
    qint16 fRsAutoConnect(const QString &portPath);
    qint16 fRsAutoConnect(qint16 portNumber);
    // Reopens the probed port (portPath(), gRsBaud()) in event mode and sends "H". -10000, or
    // -20000 when the port cannot be opened. The port stays open until fRsClose().
    qint16 fRsStartRead();

    // Ends every running wait of this link at once; the operations return -30000. The flag holds
    // until the next operation starts from outside any other operation of the link.
    void abort();
    bool isAborting() const { return m_abort; }
    // An operation of the link is running (a wait is in progress somewhere on the stack).
    bool isBusy() const { return m_depth > 0; }
    bool isOpen() const;
    bool isEventMode() const { return m_events; }
    // Why the port could not be opened in the last operation started from outside (a probe, an
    // open, the start of a dump); not set when it opened.
    const IoFailure &lastOpenFailure() const { return m_openFailure; }

    qint16 gLinkStatus() const { return *m_f.status; }
    qint16 gRsPort() const { return *m_f.port; }
    qint32 gRsBaud() const { return *m_f.baud; }
    QString gUnitReply() const { return *m_f.unitReply; }
    QString portPath() const { return *m_f.portPath; }
    qint32 receiveTicks() const { return *m_f.receiveTicks; }
    qint32 waitTicks() const { return *m_f.waitTicks; }
    // The "Enable USB" option when it is not bound to a program's flag.
    void setEnableUsb(bool on) { m_own.enableUsb = on ? 1 : 0; }
    bool enableUsb() const { return *m_f.enableUsb >= 1; }

    const LinkSettings &settings() const { return m_settings; }
    QTimer *tmrRs() { return &m_tmrRs; }
    QTimer *tmrWait() { return &m_tmrWait; }
    QSerialPort *port() { return m_port; }

signals:
    // Event mode: one received character, in arrival order.
    void characterReceived(char c);
    // Event mode: the CTS line changed (not available on pseudo-terminals).
    void ctsChanged(bool on);
    // Event mode: the port failed (unplugged, I/O error). The link has closed the port already.
    void portError(QSerialPort::SerialPortError error, const QString &text);

private:
    class Scope;

    void onReadyRead();
    void onPortError(QSerialPort::SerialPortError error);
    void queryCts();
    void stopEventMode();
    qint16 fail(qint16 status, qint16 result);

    struct Own
    {
        qint16 status = 0;
        qint16 port = 0;
        qint32 baud = 19200;
        qint32 receiveTicks = 0;
        qint32 waitTicks = 0;
        QString portPath;
        QString unitReply;
        qint16 enableUsb = 1;
    };

    const LinkSettings m_settings;
    Own m_own;
    IoFailure m_openFailure;
    LinkFields m_f;
    QSerialPort *m_port;
    QTimer m_tmrRs;
    QTimer m_tmrWait;
    QTimer m_ctsPoll;
    bool m_events = false;
    bool m_abort = false;
    bool m_portFailed = false;
    bool m_pinQuery = false;
    bool m_ctsKnown = false;
    bool m_cts = false;
    int m_depth = 0;
    int m_probeDepth = 0;
};
